// The set over a shared list: it keeps the list it views, through copies and moves.
#include "kb/text_set.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace xamo {
namespace {

TEST(TextSet, KeepsTheListItViewsThroughCopiesAndMoves) {
    StringList texts;
    for (int i = 0; i < 5000; ++i) texts.push_back("warunek_ąę_" + std::to_string(i % 2500));
    auto list = std::make_unique<SharedTexts>(std::move(texts));
    auto set = std::make_unique<TextSet>(*list);
    list.reset();  // the set keeps the texts it views
    EXPECT_EQ(set->size(), 2500u);

    TextSet copy(*set);
    TextSet assigned(SharedTexts(StringList{"stary"}));
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
    EXPECT_FALSE(TextSet().contains(""));
}

}  // namespace
}  // namespace xamo
