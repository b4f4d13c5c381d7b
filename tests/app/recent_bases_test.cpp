#include "app/recent_bases.h"

#include <gtest/gtest.h>

#include "app/application.h"
#include "app/loading_commands.h"
#include "support/base_dir.h"
#include "support/scripted_interaction.h"

namespace xamo {
namespace {

TEST(BaseKindOfFile, PrefixNamesTheKindInAnyLetterCase) {
    EXPECT_EQ(base_kind_of_file("/bazy/REgrypa.BRD"), BaseKind::Rules);
    EXPECT_EQ(base_kind_of_file("rEgrypa.brd"), BaseKind::Rules);
    EXPECT_EQ(base_kind_of_file("Mogrypa.BRD"), BaseKind::Models);
    EXPECT_EQ(base_kind_of_file("ogGrypa.BRD"), BaseKind::Constraints);
    EXPECT_EQ(base_kind_of_file("RAgrypa.BRD"), BaseKind::Advice);
    EXPECT_EQ(base_kind_of_file("grgrypa.BRD"), BaseKind::Graphics);
    EXPECT_EQ(base_kind_of_file("DŹgrypa.BRD"), BaseKind::Sounds);
    EXPECT_EQ(base_kind_of_file("dźgrypa.BRD"), BaseKind::Sounds);
    EXPECT_EQ(base_kind_of_file("Dźgrypa.BRD"), BaseKind::Sounds);
    EXPECT_EQ(base_kind_of_file("DZgrypa.BRD"), std::nullopt);
    EXPECT_EQ(base_kind_of_file("D"), std::nullopt);
    EXPECT_EQ(base_kind_of_file("notatki.txt"), std::nullopt);
    EXPECT_EQ(base_kind_of_file("/RE/notatki.txt"), std::nullopt);  // the name, not the folder
}

TEST(RecentBases, MostRecentFirstEachOnceAtMostEight) {
    RecentBases recent;
    for (int i = 1; i <= 10; ++i) recent.add("RE" + std::to_string(i) + ".BRD");
    recent.add("RE5.BRD");
    ASSERT_EQ(recent.paths().size(), RecentBases::kMaxRecentBases);
    EXPECT_EQ(recent.paths()[0], "RE5.BRD");
    EXPECT_EQ(recent.paths()[1], "RE10.BRD");
    EXPECT_EQ(recent.paths().back(), "RE3.BRD");  // RE5 moved up, nothing fell out
    recent.assign({"a", "", "b", "a"});
    EXPECT_EQ(recent.paths(), (std::vector<std::string>{"a", "b"}));
}

// A file given without the dialog (dropped, chosen from the recent list) goes through the load
// command's sequence: its checks and questions, the recent list, and the recorded script,
// which holds the path as if it had been typed.
TEST(LoadBaseFile, GoesThroughTheLoadCommandAndItsRecord) {
    testing::BaseDir dir;
    ScriptedInteraction ui;
    Application app{ui};
    app.start();
    EXPECT_FALSE(load_base_file(app, BaseKind::Rules, "REx.BRD"));  // still disabled
    app.close_introduction();
    const std::string path =
        dir.write("REgrypa.BRD", {R"(reguła(1,"grypa",["gorączka","kaszel"],1))"});
    ui.answers = {"Nie", "Nie", "Nie"};
    ASSERT_TRUE(load_base_file(app, BaseKind::Rules, path));
    ui.expect_all_answers_used();
    EXPECT_TRUE(base_loaded(app.store(), BaseKind::Rules));
    EXPECT_TRUE(ui.of_kind("open").empty());
    EXPECT_EQ(app.recent_rule_bases().paths(), std::vector<std::string>{path});
    // The answers only, without the comments naming their questions.
    std::vector<std::string> lines;
    for (const auto& line : app.consultation_lines())
        if (line.rfind('#', 0) != 0) lines.push_back(line);
    ASSERT_GE(lines.size(), 5u);
    EXPECT_EQ(lines[lines.size() - 5], "10058");
    EXPECT_NE(lines[lines.size() - 4].find("REgrypa.BRD"), std::string::npos);
}

}  // namespace
}  // namespace xamo
