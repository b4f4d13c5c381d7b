#include <gtest/gtest.h>

#include <sstream>

#include "ui/console/console_interaction.h"

namespace xamo {
namespace {

// A line far longer than any answer is skipped with a note, and the next line answers instead:
// a pasted megabyte never becomes a path or a choice.
TEST(ConsoleInput, OverlongLineIsSkippedAndTheNextOneAnswers) {
    std::istringstream in(std::string(200000, 'x') + "\nnie\n");
    std::ostringstream out;
    ConsoleInteraction ui(in, out, true);
    EXPECT_EQ(ui.ask("Pytanie", "Dalej?", {"&Tak", "&Nie"}), 2);
    EXPECT_NE(out.str().find("! Wiersz jest za długi (ponad 65536 znaków) i został pominięty."),
              std::string::npos);
    EXPECT_LT(out.str().size(), 1000u);
}

}  // namespace
}  // namespace xamo
