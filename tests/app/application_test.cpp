#include "app/application.h"

#include <gtest/gtest.h>

#include <cctype>
#include <set>
#include <vector>

#include "app/command_catalog.h"
#include "support/scripted_interaction.h"

namespace xamo {
namespace {

TEST(Application, NothingRunsUntilTheIntroductionCloses) {
    ScriptedInteraction ui;
    Application app(ui);
    app.start();
    EXPECT_EQ(ui.main_title, kStartTitle);
    for (const auto& info : command_catalog())
        EXPECT_FALSE(app.commands().enabled(info.id)) << info.id;
    EXPECT_EQ(app.run_command(10154), CommandTable::RunResult::Disabled);
    EXPECT_TRUE(ui.of_kind("note").empty());

    app.close_introduction();
    for (int id : startup_commands()) EXPECT_TRUE(app.commands().enabled(id)) << id;
    EXPECT_FALSE(app.commands().enabled(10071));  // model bases only after a rule base
    EXPECT_FALSE(app.commands().enabled(10148));
    EXPECT_EQ(app.run_command(10154), CommandTable::RunResult::Done);
    EXPECT_EQ(ui.of_kind("note").back().title, "O programie");
    // The version of the build, as "Wersja 1.2.3".
    const std::string about = ui.of_kind("note").back().text;
    const auto version = about.rfind("\nWersja ");
    ASSERT_NE(version, std::string::npos) << about;
    EXPECT_TRUE(std::isdigit(static_cast<unsigned char>(about[version + 8]))) << about;
    EXPECT_EQ(app.run_command(4242), CommandTable::RunResult::Unknown);
}

TEST(Application, QuitQuestionAnsweredNoKeepsTheProgram) {
    ScriptedInteraction ui;
    Application app(ui);
    app.start();
    app.close_introduction();
    app.store().set_text(Kind::nazwa_re, "REa.BRD");
    ui.answers = {"Nie"};
    EXPECT_FALSE(app.request_close());
    EXPECT_FALSE(app.finished());
    EXPECT_EQ(app.store().text(Kind::nazwa_re), "REa.BRD");
    EXPECT_EQ(ui.events.back().text, "Czy na pewno chcesz zakończyć program ?");
    ui.answers = {"Tak"};
    EXPECT_TRUE(app.request_close());
    EXPECT_TRUE(app.finished());
}

TEST(Application, ConfirmedFinishInsideADialogEndsTheCommandAndTheProgram) {
    ScriptedInteraction ui;
    Application app(ui);
    app.start();
    app.close_introduction();
    int after_dialog = 0;
    app.commands().set_handler(10152, [&] {
        ui.choose_from_list("Wybierz fakt", "", {"a", "b"}, false);
        ++after_dialog;
    });
    ui.answers = {"z", "Nie", "z", "Tak"};  // "Zakończ", stay; "Zakończ", confirm
    app.run_command(10152);
    EXPECT_EQ(after_dialog, 0);
    EXPECT_TRUE(app.finished());
    EXPECT_EQ(ui.of_kind("confirm").size(), 2u);
}

TEST(Application, CommandOutOfMemoryEndsWithANoteAndTheProgramGoesOn) {
    ScriptedInteraction ui;
    Application app(ui);
    app.start();
    app.close_introduction();
    app.store().set_text(Kind::nazwa_re, "REgrypa.BRD");
    app.commands().set_handler(10152, [] { throw std::bad_alloc(); });
    EXPECT_EQ(app.run_command(10152), CommandTable::RunResult::Done);
    EXPECT_FALSE(app.finished());
    ASSERT_EQ(ui.of_kind("note").size(), 1u);
    EXPECT_EQ(ui.of_kind("note")[0].text,
              "Zabrakło pamięci operacyjnej: polecenie zostało przerwane.");
    EXPECT_EQ(app.store().text(Kind::nazwa_re), "REgrypa.BRD");
}

// Every command the menu can enable either runs its handler or says that it is not available yet.
// The list below can only shrink: a command that gains its handler must be taken off it.
TEST(Application, EnabledCommandsWithoutAHandlerSayTheyAreNotAvailableYet) {
    ScriptedInteraction ui;
    Application app(ui);
    std::set<int> can_be_enabled(startup_commands().begin(), startup_commands().end());
    for (const auto& info : command_catalog()) {
        const auto& after = commands_enabled_after_load(info.id);
        can_be_enabled.insert(after.begin(), after.end());
    }
    std::vector<int> without_handler;
    for (int id : can_be_enabled) {
        const CommandInfo* info = app.commands().find(id);
        ASSERT_NE(info, nullptr) << id;
        if (!info->is_submenu && !app.commands().has_handler(id)) without_handler.push_back(id);
    }
    const std::vector<int> still_to_come = {};
    EXPECT_EQ(without_handler, still_to_come);

    // A command without its handler, such as the about box made so for the test.
    app.commands().set_handler(10154, {});
    app.start();
    app.close_introduction();
    EXPECT_EQ(app.run_command(10154), CommandTable::RunResult::NotYetAvailable);
    const auto notes = ui.of_kind("note");
    ASSERT_EQ(notes.size(), 1u);
    EXPECT_EQ(notes[0].title, "Uwaga!");
    EXPECT_EQ(notes[0].text,
              "Polecenie „O programie” nie jest jeszcze dostępne w tej wersji programu.");
    // A submenu is no command: typing its id is an unknown command, as before.
    EXPECT_EQ(app.run_command(10150), CommandTable::RunResult::Unknown);
    EXPECT_EQ(ui.of_kind("note").size(), 1u);
}

}  // namespace
}  // namespace xamo
