#include "app/application.h"

#include <gtest/gtest.h>

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

}  // namespace
}  // namespace xamo
