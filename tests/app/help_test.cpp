#include "app/help.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "app/application.h"
#include "support/scripted_interaction.h"
#include "support/temp_dir.h"

namespace xamo {
namespace {

namespace fs = std::filesystem;

// The help command runs in a directory of its own, which is the program's current directory.
class HelpTest : public ::testing::Test {
  protected:
    HelpTest() : previous(fs::current_path()) {
        fs::create_directories(work.path() / "baza");
        fs::current_path(work.path() / "baza");
        fs::create_directories(work.path() / "guide");
        work.write("guide/index.html", "<html></html>");
        app.set_guide_directories({work.file("brak"), work.file("guide")});
        app.start();
        app.close_introduction();
    }
    ~HelpTest() override { fs::current_path(previous); }

    fs::path previous;
    testing::TempDir work;
    ScriptedInteraction ui;
    Application app{ui};
};

TEST_F(HelpTest, HelpFileOfTheCurrentDirectoryComesFirstInAnyLetterCase) {
    const std::string help_file = work.write("baza/XAMO_rd.CHM", "");
    EXPECT_EQ(app.run_command(10153), CommandTable::RunResult::Done);
    const auto opened = ui.of_kind("document");
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0].text, help_file);
    EXPECT_TRUE(ui.of_kind("note").empty());
}

TEST_F(HelpTest, WithoutAHelpFileTheGuideOpens) {
    app.run_command(10153);
    const auto opened = ui.of_kind("document");
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0].text, work.file("guide/index.html"));
    EXPECT_TRUE(ui.of_kind("note").empty());
}

TEST_F(HelpTest, WhenNothingOpensANoteSaysWhy) {
    const std::string help_file = work.write("baza/xamo_RD.chm", "");
    ui.documents_open = false;
    app.run_command(10153);
    ASSERT_EQ(ui.of_kind("document").size(), 2u);  // the help file, then the guide
    auto notes = ui.of_kind("note");
    ASSERT_EQ(notes.size(), 1u);
    EXPECT_EQ(notes[0].title, "Uwaga!");
    EXPECT_EQ(notes[0].text, "Nie można otworzyć pliku pomocy " + help_file +
                                 ": system nie ma programu, który by go otworzył.\n"
                                 "Nie można otworzyć podręcznika użytkownika " +
                                 work.file("guide/index.html") +
                                 ": system nie ma przeglądarki stron HTML.");

    fs::remove(help_file);
    app.set_guide_directories({work.file("brak")});
    app.run_command(10153);
    notes = ui.of_kind("note");
    ASSERT_EQ(notes.size(), 2u);
    EXPECT_EQ(notes[1].text,
              "Nie znaleziono podręcznika użytkownika: program zainstalowano bez niego.\n"
              "W bieżącym katalogu nie ma też pliku xamo_RD.chm.");
}

// A build finds the guide of its sources, so help works before the program is installed.
TEST(Help, TheGuideIsFoundFromABuildTree) {
    const auto guide = find_user_guide(default_guide_directories());
    ASSERT_TRUE(guide);
    EXPECT_EQ(fs::path(*guide), fs::path(XAMO_SOURCE_DIR) / "docs" / "guide" / "index.html");
}

}  // namespace
}  // namespace xamo
