#include "app/edit_session.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "app/application.h"
#include "support/scripted_interaction.h"
#include "support/temp_dir.h"

namespace xamo {
namespace {

namespace fs = std::filesystem;

class EditSessionTest : public ::testing::Test {
  protected:
    EditSessionTest() : file(dir.write("REgrypa.BRD", original)) {}

    std::string read(const std::string& path) const {
        return dir.read(fs::path(path).filename().string());
    }

    // Windows-1250: "reguła", a non-breaking space, CR LF line ends.
    const std::string original =
        "regu\xB3"
        "a(1,\"a\xA0"
        "b\",[\"c\"],1)\r\nfakt(\"c\")\r\n";
    testing::TempDir dir;
    std::string file;
    ScriptedInteraction ui;
    Application app{ui};
};

TEST_F(EditSessionTest, LoadDecodesAndSaveWritesTheSameBytesBack) {
    app.commands().enable({10061});
    EditSession session(app, file);
    const auto text = session.load();
    ASSERT_TRUE(text);
    EXPECT_EQ(*text, "reguła(1,\"a\u00A0b\",[\"c\"],1)\nfakt(\"c\")\n");
    EXPECT_EQ(session.window_title(), "Edycja pliku: REgrypa.BRD");
    ASSERT_TRUE(session.save(*text + "fakt(\"ż\")\n"));
    EXPECT_EQ(read(file), original + "fakt(\"\xBF\")\r\n");
    EXPECT_NE(ui.output.find("Plik : " + file + " został zapisany\n"), std::string::npos);
    ASSERT_EQ(ui.of_kind("note").size(), 1u);
    EXPECT_EQ(ui.of_kind("note")[0].text, "Plik " + file + " został zapisany.");
    EXPECT_TRUE(session.closed());
    EXPECT_FALSE(app.commands().enabled(10061));
}

TEST_F(EditSessionTest, LineFeedFilesKeepTheirLineEnds) {
    dir.write("REgrypa.BRD", "fakt(\"a\")\nfakt(\"b\")\n");
    EditSession session(app, file);
    const auto text = session.load();
    ASSERT_TRUE(text);
    ASSERT_TRUE(session.save(*text));
    EXPECT_EQ(read(file), "fakt(\"a\")\nfakt(\"b\")\n");
}

TEST_F(EditSessionTest, UnencodableCharacterIsRefusedAndTheFileStaysAsItWas) {
    EditSession session(app, file);
    ASSERT_TRUE(session.load());
    EXPECT_FALSE(session.save("fakt(\"a\")\nfakt(\"Ж\")\n"));
    EXPECT_EQ(read(file), original);
    EXPECT_FALSE(session.closed());
    const auto notes = ui.of_kind("note");
    ASSERT_EQ(notes.size(), 1u);
    EXPECT_NE(notes[0].text.find("'Ж'"), std::string::npos);
    EXPECT_NE(notes[0].text.find("linii 2"), std::string::npos);
    EXPECT_EQ(ui.output, "");
    EXPECT_EQ(fs::directory_iterator(dir.path())->path(), file);  // no temporary file left behind
}

TEST_F(EditSessionTest, UnwritableFileIsReportedAndTheWindowStays) {
    EditSession session(app, dir.file("brak/REx.BRD"));
    EXPECT_FALSE(session.load());
    EXPECT_EQ(ui.of_kind("note").size(), 1u);
    EXPECT_FALSE(session.save("fakt(\"a\")\n"));
    EXPECT_EQ(ui.of_kind("note").size(), 2u);
    EXPECT_FALSE(session.closed());
}

TEST_F(EditSessionTest, SaveAsWritesTheChosenFileAndLeavesTheOriginal) {
    const std::string other = dir.file("REkopia.BRD");
    ui.answers = {other};
    EditSession session(app, file);
    ASSERT_TRUE(session.load());
    ASSERT_TRUE(session.save_as("fakt(\"nowy\")\n"));
    EXPECT_EQ(read(other), "fakt(\"nowy\")\r\n");
    EXPECT_EQ(read(file), original);
    EXPECT_EQ(ui.of_kind("save")[0].text, "*.*");
    EXPECT_EQ(ui.of_kind("note")[0].text, "Plik: " + other + " został zapisany.");
}

TEST_F(EditSessionTest, ClosingWithNoLeavesTheFileAndDisablesTheBrowseCommands) {
    app.commands().enable({10061, 10062, 10090, 10071});
    EditSession session(app, file);
    ASSERT_TRUE(session.load());
    ui.answers = {"NIE"};
    EXPECT_TRUE(session.close_request("zmieniony tekst\n", true));
    EXPECT_EQ(read(file), original);
    const auto asks = ui.of_kind("ask");
    ASSERT_EQ(asks.size(), 1u);
    EXPECT_EQ(asks[0].title, "Zapis pliku");
    EXPECT_EQ(asks[0].text, "Czy zapisać aktualną postać pliku ?");
    EXPECT_EQ(asks[0].items, (std::vector<std::string>{"&TAK", "&NIE"}));
    EXPECT_FALSE(app.commands().enabled(10061));
    EXPECT_FALSE(app.commands().enabled(10062));
    EXPECT_FALSE(app.commands().enabled(10090));
    EXPECT_TRUE(app.commands().enabled(10071));

    EditSession again(app, file);
    ASSERT_TRUE(again.load());
    ui.answers = {"TAK"};
    EXPECT_TRUE(again.close_request("fakt(\"x\")\n", true));
    EXPECT_EQ(read(file), "fakt(\"x\")\r\n");
}

// Two editors of one file: the later save asks before it replaces what the earlier one wrote,
// and "Nie" keeps the file and the window; a file untouched since it was read is saved silently.
TEST_F(EditSessionTest, SaveOverAFileChangedOnDiskAsksFirst) {
    EditSession first(app, file);
    EditSession second(app, file);
    ASSERT_TRUE(first.load());
    ASSERT_TRUE(second.load());
    EXPECT_FALSE(first.changed_on_disk());
    ASSERT_TRUE(second.save("fakt(\"drugi\")\n"));
    EXPECT_EQ(ui.of_kind("ask").size(), 0u);
    EXPECT_TRUE(first.changed_on_disk());

    ui.answers = {"NIE"};
    EXPECT_FALSE(first.save("fakt(\"pierwszy\")\n"));
    EXPECT_EQ(read(file), "fakt(\"drugi\")\r\n");
    EXPECT_FALSE(first.closed());
    const auto asks = ui.of_kind("ask");
    ASSERT_EQ(asks.size(), 1u);
    EXPECT_NE(asks[0].text.find("został zmieniony na dysku"), std::string::npos);

    ui.answers = {"TAK"};
    EXPECT_TRUE(first.save("fakt(\"pierwszy\")\n"));
    EXPECT_EQ(read(file), "fakt(\"pierwszy\")\r\n");
}

// An unchanged text closes without the question; browsing is disabled all the same.
TEST_F(EditSessionTest, ClosingAnUnchangedTextAsksNothing) {
    app.commands().enable({10061});
    EditSession session(app, file);
    const auto text = session.load();
    ASSERT_TRUE(text);
    EXPECT_TRUE(session.close_request(*text, false));
    EXPECT_TRUE(ui.events.empty());
    EXPECT_EQ(read(file), original);
    EXPECT_TRUE(session.closed());
    EXPECT_FALSE(app.commands().enabled(10061));
}

// A front end where the save question can be closed without an answer (Escape in the window).
struct CancellingInteraction : ScriptedInteraction {
    std::optional<int> ask_or_cancel(const std::string& title, const std::string& text,
                                     const std::vector<std::string>& buttons) override {
        events.push_back({"ask", title, text, buttons});
        return std::nullopt;
    }
};

TEST(EditSessionCancel, ClosingTheSaveQuestionKeepsTheWindowAndTheFile) {
    testing::TempDir dir;
    const std::string file = dir.write("REa.BRD", "fakt(\"a\")\r\n");
    CancellingInteraction ui;
    Application app(ui);
    EditSession session(app, file);
    ASSERT_TRUE(session.load());
    EXPECT_FALSE(session.close_request("fakt(\"b\")\n", true));
    EXPECT_FALSE(session.closed());
    EXPECT_EQ(ui.of_kind("ask").size(), 1u);
    EXPECT_EQ(dir.read("REa.BRD"), "fakt(\"a\")\r\n");
}

}  // namespace
}  // namespace xamo
