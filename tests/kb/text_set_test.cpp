// The owning set of texts: its own copies, through growth, copying and moving.
#include "kb/text_set.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace xamo {
namespace {

TEST(TextSet, KeepsItsOwnCopiesThroughGrowthCopiesAndMoves) {
    auto set = std::make_unique<TextSet>();
    set->reserve(4);
    for (int i = 0; i < 5000; ++i) {
        // The inserted text dies at once: the set must not look at it afterwards.
        std::string text = "warunek_ąę_" + std::to_string(i % 2500);
        EXPECT_EQ(set->insert(text), i < 2500) << text;
    }
    EXPECT_EQ(set->size(), 2500u);

    TextSet copy(*set);
    TextSet assigned;
    assigned.insert("stary");
    assigned = *set;
    set.reset();  // the copies outlive the original
    TextSet moved(std::move(copy));
    for (const TextSet* s : {&moved, &assigned}) {
        EXPECT_EQ(s->size(), 2500u);
        EXPECT_TRUE(s->contains("warunek_ąę_0"));
        EXPECT_TRUE(s->contains("warunek_ąę_2499"));
        EXPECT_FALSE(s->contains("warunek_ąę_2500"));
        EXPECT_FALSE(s->contains("stary"));
    }
    moved.clear();
    EXPECT_FALSE(moved.contains("warunek_ąę_0"));
    EXPECT_TRUE(moved.insert("warunek_ąę_0"));
}

}  // namespace
}  // namespace xamo
