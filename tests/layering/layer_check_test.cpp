#include "layering/layer_check.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace xamo::layering {
namespace {

const char* kTable = R"(# bottom to top
kb:
dialog: kb
loading: kb dialog
app: kb dialog loading
ui/qt: kb dialog app toolkit
main: ui/qt
)";

TEST(LayerCheck, UpwardAndSidewaysIncludesAreNamedWithFileAndLine) {
    const auto layers = parse_layers(kTable);
    const auto found = check_file(layers, "kb/facts.cpp",
                                  "#include \"kb/facts.h\"\n#include <vector>\n"
                                  "#  include \"dialog/interaction.h\"\n");
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0].file, "kb/facts.cpp");
    EXPECT_EQ(found[0].line, 3);
    EXPECT_EQ(found[0].why, "layer kb may not include layer dialog");

    EXPECT_TRUE(
        check_file(layers, "app/application.cpp", "#include \"loading/loading.h\"\n").empty());
    EXPECT_EQ(check_file(layers, "loading/loading.cpp", "#include \"app/application.h\"\n").size(),
              1u);
    EXPECT_EQ(check_file(layers, "main.cpp", "#include \"app/application.h\"\n").size(), 1u);
    EXPECT_EQ(check_file(layers, "kb/a.cpp", "#include \"elsewhere.h\"\n").size(), 1u);
}

TEST(LayerCheck, ToolkitHeadersOnlyWhereTheTableAllowsThem) {
    const auto layers = parse_layers(kTable);
    EXPECT_TRUE(check_file(layers, "ui/qt/window.cpp", "#include <QWidget>\n").empty());
    EXPECT_EQ(layer_of(layers, "ui/qt/window.cpp"), "ui/qt");
    EXPECT_EQ(check_file(layers, "app/sound.cpp", "#include <SDL2/SDL.h>\n").size(), 1u);
    EXPECT_EQ(check_file(layers, "kb/x.cpp", "#include <QString>\n").size(), 1u);
}

TEST(LayerCheck, PlantedUpwardIncludeInATreeFails) {
    const auto root =
        std::filesystem::temp_directory_path() /
        ("xamo_layers_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()));
    std::filesystem::create_directories(root / "kb");
    std::filesystem::create_directories(root / "app");
    std::ofstream(root / "kb" / "facts.h") << "#pragma once\n";
    std::ofstream(root / "app" / "application.h") << "#include \"kb/facts.h\"\n";
    const auto layers = parse_layers(kTable);
    EXPECT_TRUE(check_tree(layers, root.string()).empty());
    std::ofstream(root / "kb" / "facts.cpp")
        << "#include \"kb/facts.h\"\n#include \"app/application.h\"\n";
    const auto found = check_tree(layers, root.string());
    std::filesystem::remove_all(root);
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0].file, "kb/facts.cpp");
    EXPECT_EQ(found[0].line, 2);
}

TEST(LayerCheck, TableNamingAnUnknownLayerIsRefused) {
    EXPECT_THROW(parse_layers("kb: nowhere\n"), std::runtime_error);
    EXPECT_THROW(parse_layers("no colon here\n"), std::runtime_error);
}

}  // namespace
}  // namespace xamo::layering
