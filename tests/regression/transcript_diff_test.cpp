#include "regression/transcript_diff.h"

#include <gtest/gtest.h>

namespace xamo {
namespace {

std::vector<std::string> numbered(int count, const std::string& prefix = "w") {
    std::vector<std::string> lines;
    for (int i = 1; i <= count; ++i) {
        std::string line = prefix;
        line += std::to_string(i);
        lines.push_back(line);
    }
    return lines;
}

// Transcripts are read as base files are: any line end, a byte-order mark, Windows-1250.
TEST(TranscriptDiff, LineEndsAndByteOrderMarkAreNoDifference) {
    const auto lines = transcript_lines("a\r\nb\rc\nd");
    EXPECT_EQ(lines, (std::vector<std::string>{"a", "b", "c", "d"}));
    EXPECT_EQ(transcript_lines("\xEF\xBB\xBF"
                               "a\r\nb\r\n"),
              transcript_lines("a\nb"));
    EXPECT_EQ(transcript_lines("\xB3\xF3\n"), (std::vector<std::string>{"łó"}));
    EXPECT_TRUE(diff_lines(transcript_lines("a\r\nb\r\n"), transcript_lines("a\rb\r")).empty());
}

// A changed line shows three lines of context each side; changes closer than twice the context
// share one region, farther ones get their own; a missing last line is a difference too.
TEST(TranscriptDiff, RegionsCarryContextAndMergeWhenClose) {
    auto changed = numbered(40);
    changed[9] = "x10";
    changed[14] = "x15";
    changed[34] = "x35";
    const TranscriptDiff diff = diff_lines(numbered(40), changed);
    ASSERT_EQ(diff.regions.size(), 2u);
    EXPECT_EQ(diff.differing_lines, 6u);
    const DiffRegion& first = diff.regions[0];
    EXPECT_EQ(first.expected_start, 7u);
    EXPECT_EQ(first.expected_count, 12u);  // lines 7..18
    EXPECT_EQ(first.lines.front().text, "w7");
    EXPECT_EQ(first.lines[3].kind, '-');
    EXPECT_EQ(first.lines[4].kind, '+');
    EXPECT_EQ(first.lines[4].text, "x10");
    auto shorter = numbered(40);
    shorter.pop_back();
    const TranscriptDiff missing = diff_lines(numbered(40), shorter);
    ASSERT_EQ(missing.regions.size(), 1u);
    EXPECT_EQ(format_diff(missing).substr(format_diff(missing).find("@@")),
              "@@ -37,4 +37,3 @@\n w37\n w38\n w39\n-w40\n");
}

// An inserted line is found as one insertion, not as every later line changed.
TEST(TranscriptDiff, AnInsertionIsOneLineAndAnOverLongScriptStillCountsEveryLine) {
    auto inserted = numbered(500);
    inserted.insert(inserted.begin() + 100, "nowe pytanie");
    const TranscriptDiff diff = diff_lines(numbered(500), inserted);
    EXPECT_EQ(diff.differing_lines, 1u);
    EXPECT_EQ(diff_lines(numbered(3000), numbered(3000, "inny ")).differing_lines, 6000u);
}

// At most ten regions are shown, then how many were left out; trailing blanks and control
// characters of differing lines are shown.
TEST(TranscriptDiff, ShowsTenRegionsAndMakesInvisibleCharactersVisible) {
    auto changed = numbered(200);
    for (int i = 0; i < 12; ++i) changed[static_cast<std::size_t>(i * 15 + 5)] += " ";
    const std::string text = format_diff(diff_lines(numbered(200), changed));
    EXPECT_EQ(text.find("Przebieg różni się od zapisanego: różniących się wierszy 24, miejsc z "
                        "różnicami 12.\n"),
              0u);
    EXPECT_NE(text.find("+w6·\n"), std::string::npos);
    EXPECT_NE(text.find("(pominięto dalsze miejsca z różnicami: 2)"), std::string::npos);
    EXPECT_EQ(visible("a\tb \t"), "a\tb·→");
    EXPECT_EQ(visible("x\x01y"), "x<01>y");
}

}  // namespace
}  // namespace xamo
