#include "ui/console/replay.h"

#include <gtest/gtest.h>

namespace xamo {
namespace {

TEST(Replay, FirstDifferenceIgnoresLineEndsAndCountsAMissingLine) {
    EXPECT_FALSE(first_difference("a\r\nb\r\n", "a\nb\n"));
    EXPECT_EQ(first_difference("a\nb\nc\n", "a\nx\nc\n"), 2u);
    EXPECT_EQ(first_difference("a\nb\n", "a\nb\nc\n"), 3u);
    EXPECT_EQ(first_difference("a\nb\nc", "a\nb\n"), 3u);
    EXPECT_FALSE(first_difference("", ""));
}

}  // namespace
}  // namespace xamo
