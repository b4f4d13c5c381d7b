#include "support/scripted_interaction.h"

#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include "dialog/answers.h"

namespace xamo {
namespace {

const std::vector<std::string> kYesNo = {"&Tak", "&Nie"};

void unanswered_question() {
    ScriptedInteraction ui;
    ui.ask("Pytanie", "a?", kYesNo);
}

void answer_left_over() {
    ScriptedInteraction ui;
    ui.answers = {"Tak", "Nie"};
    ui.confirm("Uwaga!", "Dalej?");
}

void answer_naming_no_button() {
    ScriptedInteraction ui;
    ui.answers = {"Dalej"};
    ui.ask("Pytanie", "a?", kYesNo);
}

void two_items_for_a_single_choice() {
    ScriptedInteraction ui;
    ui.answers = {"1 2"};
    ui.choose_from_list("Lista", "Wybierz", {"a", "b"}, false);
}

TEST(ScriptedInteraction, ScriptOutOfStepWithTheDialogsFailsTheTest) {
    EXPECT_NONFATAL_FAILURE(unanswered_question(), "has no answer for the question \"Pytanie\"");
    EXPECT_NONFATAL_FAILURE(answer_left_over(), "left answers unused: \"Nie\"");
    EXPECT_NONFATAL_FAILURE(answer_naming_no_button(), "names no button");
    EXPECT_NONFATAL_FAILURE(two_items_for_a_single_choice(), "chooses nothing");
}

// The console reads answers with the same code, so these hold at the terminal too.
TEST(Answers, ButtonsListsAndOptions) {
    EXPECT_EQ(answers::button("  dlaczego? ", {"&Tak", "&Nie", "&Dlaczego?"}), 3);
    EXPECT_EQ(answers::button("", kYesNo), 2);
    EXPECT_EQ(answers::button("2", kYesNo), 2);
    EXPECT_EQ(answers::button("0", kYesNo), std::nullopt);
    EXPECT_EQ(answers::list("1, 3 2", 3, true).chosen, (std::vector<int>{0, 2, 1}));
    EXPECT_EQ(answers::list("", 3, true).chosen, std::vector<int>{});
    EXPECT_EQ(answers::list("", 3, false).chosen, std::vector<int>{0});
    EXPECT_EQ(answers::list("1 2", 3, false).kind, answers::ListAnswer::Kind::Invalid);
    EXPECT_EQ(answers::list("Z", 3, false).kind, answers::ListAnswer::Kind::Quit);
    EXPECT_EQ(answers::list(" Anuluj", 3, false).kind, answers::ListAnswer::Kind::Cancel);
    EXPECT_EQ(answers::option("", 3, 2), 2);
    EXPECT_EQ(answers::option("4", 3, 2), std::nullopt);
}

}  // namespace
}  // namespace xamo
