#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "kb/codec.h"
#include "ui/application.h"
#include "ui/edit_session.h"
#include "ui/scripted_interaction.h"

namespace xamo {
namespace {

namespace fs = std::filesystem;

std::string read_bytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class EditSessionTest : public ::testing::Test {
protected:
    EditSessionTest() {
        dir = fs::temp_directory_path() /
              ("xamo_edit_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(dir);
        file = dir / "REgrypa.BRD";
        std::ofstream(file, std::ios::binary) << original;
    }
    ~EditSessionTest() override { fs::remove_all(dir); }

    // Windows-1250: "reguła", a non-breaking space, CR LF line ends.
    const std::string original = "regu\xB3" "a(1,\"a\xA0" "b\",[\"c\"],1)\r\nfakt(\"c\")\r\n";
    fs::path dir;
    fs::path file;
    ScriptedInteraction ui;
    Application app{ui};
};

TEST_F(EditSessionTest, LoadDecodesAndSaveWritesTheSameBytesBack) {
    app.commands().enable({10061});
    EditSession session(app, file.string());
    const auto text = session.load();
    ASSERT_TRUE(text);
    EXPECT_EQ(*text, "reguła(1,\"a\u00A0b\",[\"c\"],1)\nfakt(\"c\")\n");
    EXPECT_EQ(session.window_title(), "Edycja pliku: REgrypa.BRD");
    ASSERT_TRUE(session.save(*text + "fakt(\"ż\")\n"));
    EXPECT_EQ(read_bytes(file), original + "fakt(\"\xBF\")\r\n");
    EXPECT_NE(ui.output.find("Plik : " + file.string() + " został zapisany\n"), std::string::npos);
    ASSERT_EQ(ui.of_kind("note").size(), 1u);
    EXPECT_EQ(ui.of_kind("note")[0].text, "Plik " + file.string() + " został zapisany.");
    EXPECT_TRUE(session.closed());
    EXPECT_FALSE(app.commands().enabled(10061));
}

TEST_F(EditSessionTest, LineFeedFilesKeepTheirLineEnds) {
    std::ofstream(file, std::ios::binary) << "fakt(\"a\")\nfakt(\"b\")\n";
    EditSession session(app, file.string());
    const auto text = session.load();
    ASSERT_TRUE(text);
    ASSERT_TRUE(session.save(*text));
    EXPECT_EQ(read_bytes(file), "fakt(\"a\")\nfakt(\"b\")\n");
}

TEST_F(EditSessionTest, UnencodableCharacterIsRefusedAndTheFileStaysAsItWas) {
    EditSession session(app, file.string());
    ASSERT_TRUE(session.load());
    EXPECT_FALSE(session.save("fakt(\"a\")\nfakt(\"Ж\")\n"));
    EXPECT_EQ(read_bytes(file), original);
    EXPECT_FALSE(session.closed());
    const auto notes = ui.of_kind("note");
    ASSERT_EQ(notes.size(), 1u);
    EXPECT_NE(notes[0].text.find("'Ж'"), std::string::npos);
    EXPECT_NE(notes[0].text.find("linii 2"), std::string::npos);
    EXPECT_EQ(ui.output, "");
    EXPECT_EQ(fs::directory_iterator(dir)->path(), file);  // no temporary file left behind
}

TEST_F(EditSessionTest, UnwritableFileIsReportedAndTheWindowStays) {
    EditSession session(app, (dir / "brak" / "REx.BRD").string());
    EXPECT_FALSE(session.load());
    EXPECT_EQ(ui.of_kind("note").size(), 1u);
    EXPECT_FALSE(session.save("fakt(\"a\")\n"));
    EXPECT_EQ(ui.of_kind("note").size(), 2u);
    EXPECT_FALSE(session.closed());
}

TEST_F(EditSessionTest, SaveAsWritesTheChosenFileAndLeavesTheOriginal) {
    const fs::path other = dir / "REkopia.BRD";
    ui.answers = {other.string()};
    EditSession session(app, file.string());
    ASSERT_TRUE(session.load());
    ASSERT_TRUE(session.save_as("fakt(\"nowy\")\n"));
    EXPECT_EQ(read_bytes(other), "fakt(\"nowy\")\r\n");
    EXPECT_EQ(read_bytes(file), original);
    EXPECT_EQ(ui.of_kind("save")[0].text, "*.*");
    EXPECT_EQ(ui.of_kind("note")[0].text, "Plik: " + other.string() + " został zapisany.");
}

TEST_F(EditSessionTest, ClosingWithNoLeavesTheFileAndDisablesTheBrowseCommands) {
    app.commands().enable({10061, 10062, 10090, 10071});
    EditSession session(app, file.string());
    ASSERT_TRUE(session.load());
    ui.answers = {"NIE"};
    EXPECT_TRUE(session.close_request("zmieniony tekst\n"));
    EXPECT_EQ(read_bytes(file), original);
    const auto asks = ui.of_kind("ask");
    ASSERT_EQ(asks.size(), 1u);
    EXPECT_EQ(asks[0].title, "Zapis pliku");
    EXPECT_EQ(asks[0].text, "Czy zapisać aktualną postać pliku ?");
    EXPECT_EQ(asks[0].items, (std::vector<std::string>{"&TAK", "&NIE"}));
    EXPECT_FALSE(app.commands().enabled(10061));
    EXPECT_FALSE(app.commands().enabled(10062));
    EXPECT_FALSE(app.commands().enabled(10090));
    EXPECT_TRUE(app.commands().enabled(10071));

    EditSession again(app, file.string());
    ASSERT_TRUE(again.load());
    ui.answers = {"TAK"};
    EXPECT_TRUE(again.close_request("fakt(\"x\")\n"));
    EXPECT_EQ(read_bytes(file), "fakt(\"x\")\r\n");
}

}  // namespace
}  // namespace xamo
