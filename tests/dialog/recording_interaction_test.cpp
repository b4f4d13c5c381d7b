#include "dialog/recording_interaction.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "support/scripted_interaction.h"

namespace xamo {
namespace {

// Every answer is kept as the line the console would read for it, so the script replays the
// same choices: buttons by caption (by number where captions repeat), lists by 1-based numbers,
// cancelled file dialogs as empty lines, cancelled selections as "anuluj".
TEST(RecordingInteraction, KeepsEachAnswerAsTheConsoleLineThatGivesIt) {
    ScriptedInteraction inner;
    RecordingInteraction ui(inner);
    inner.answers = {"2", "1", "2", "1 3", "", "tekst", "3", "", "2"};
    EXPECT_EQ(ui.ask("t", "?", {"&Tak", "&Nie"}), 2);
    EXPECT_TRUE(ui.confirm("t", "?"));
    EXPECT_EQ(ui.ask("t", "?", {"Dalej", "Dalej"}), 2);
    EXPECT_EQ(ui.choose_from_list("t", "p", {"a", "b", "c"}, true), (std::vector<int>{0, 2}));
    EXPECT_FALSE(ui.choose_file_to_open("t", {}, "*.BRD"));
    EXPECT_EQ(ui.enter_text("t", "p", ""), "tekst");
    EXPECT_EQ(ui.choose_option({"t", "p", {"x", "y", "z"}, 1}), 3);
    EXPECT_FALSE(ui.select_item("t", "c", {"a"}));
    EXPECT_EQ(ui.select_item("t", "c", {"a", "b"}), 1);
    std::vector<std::string> answers;
    std::vector<std::string> questions;
    for (const auto& line : ui.lines())
        (line.rfind(kQuestionComment, 0) == 0 ? questions : answers).push_back(line);
    EXPECT_EQ(answers, (std::vector<std::string>{"nie", "tak", "2", "1 3", "", "tekst", "3",
                                                 "anuluj", "2"}));
    // Each answer follows the comment naming its question.
    ASSERT_EQ(questions.size(), answers.size());
    EXPECT_EQ(ui.lines()[0], "#? t: ?");
    EXPECT_EQ(ui.lines()[8], "#? t");
}

// A question is named by its title and the last line of its text, paths below the home
// directory relative to it; a check sees each question before it is recorded.
TEST(RecordingInteraction, NamesEachQuestionForTheCheckAndTheScript) {
    EXPECT_EQ(question_label("Wybierz:", "Baza\n   REx.BRD\nChcesz?\n\n"), "Wybierz: Chcesz?");
    EXPECT_EQ(question_label(" Tytuł ", ""), "Tytuł");
    EXPECT_EQ(question_label("", "a\r\nb\r\n"), "b");
    ScriptedInteraction inner;
    RecordingInteraction ui(inner);
    ui.set_home("/dom/baza");
    std::vector<std::string> checked;
    ui.set_question_check([&checked](const std::string& label) { checked.push_back(label); });
    inner.answers = {"1"};
    ui.ask("Usunąć?", "Plik /dom/baza/RADY/x.HLP", {"&Tak", "&Nie"});
    EXPECT_EQ(checked, (std::vector<std::string>{"Usunąć?: Plik RADY/x.HLP"}));
    EXPECT_EQ(ui.lines(), (std::vector<std::string>{"#? Usunąć?: Plik RADY/x.HLP", "tak"}));
}

// Only whole directory names are rewritten: a longer name sharing the prefix, or a path that
// merely contains the directory inside another, stays as it is.
TEST(RecordingInteraction, RelativePathsRewriteOnlyTheDirectoryItself) {
    const std::string home = "/tmp/kopia";
    EXPECT_EQ(relative_paths("bazy grafiki /tmp/kopia/BAZY/GR.BRD", home),
              "bazy grafiki BAZY/GR.BRD");
    EXPECT_EQ(relative_paths("w katalogu /tmp/kopia, /tmp/kopia.\n/tmp/kopia", home),
              "w katalogu ., ..\n.");
    EXPECT_EQ(relative_paths("/tmp/kopia2/x /x/tmp/kopia/y", home), "/tmp/kopia2/x /x/tmp/kopia/y");
    EXPECT_EQ(relative_paths("/tmp/kopia/a i /tmp/kopia/b", home + "/"), "a i b");
    EXPECT_EQ(relative_paths("/a", "/"), "/a");
}

TEST(RecordingInteraction, PathsBelowTheCurrentDirectoryAreKeptRelative) {
    const auto here = std::filesystem::current_path();
    EXPECT_EQ(script_path((here / "BAZY" / "REx.BRD").string()),
              (std::filesystem::path("BAZY") / "REx.BRD").string());
    EXPECT_EQ(script_path("REx.BRD"), "REx.BRD");
    EXPECT_EQ(script_path("/elsewhere/../REx.BRD"), here == "/" ? "REx.BRD" : "/REx.BRD");
}

TEST(RecordingInteraction, OutputAndRedirectionPassThrough) {
    ScriptedInteraction inner;
    RecordingInteraction ui(inner);
    ui.write("wiersz");
    ui.new_line();
    EXPECT_EQ(inner.output, "wiersz\n");
    EXPECT_TRUE(ui.lines().empty());
}

}  // namespace
}  // namespace xamo
