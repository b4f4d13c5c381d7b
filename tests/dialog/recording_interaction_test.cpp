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
    EXPECT_EQ(ui.lines(), (std::vector<std::string>{"nie", "tak", "2", "1 3", "", "tekst", "3",
                                                    "anuluj", "2"}));
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
