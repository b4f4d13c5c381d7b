// The set over a shared list: it keeps the list it views, through copies and moves.
#include "kb/text_set.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

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

// A set over members of the rules' numbering looks texts up there: a name of the rules that is
// no member, a text the rules do not name and the empty text are not in it, also once the store
// has moved on and the list it came from is gone.
TEST(TextSet, OverNumberedNamesHoldsItsMembersOnly) {
    FactStore store;
    store.add(make_rule(1, "ciepło", {"słońce", "nwiatr"}, 0));
    store.add(make_rule(2, "lato", {"ciepło", "długi_dzień"}, 0));
    const auto names = store.rule_names();
    auto numbered = std::make_unique<NumberedNames>(
        names, std::vector<std::uint32_t>{names->find("słońce"), names->find("długi_dzień"),
                                          names->find("słońce")});
    const TextSet set(SharedTexts(StringList{"długi_dzień", "słońce"}), *numbered);
    numbered.reset();
    store.remove_all(Kind::regula);
    EXPECT_EQ(set.size(), 2u);
    EXPECT_TRUE(set.contains("słońce"));
    EXPECT_TRUE(set.contains("długi_dzień"));
    for (const char* absent : {"ciepło", "nwiatr", "wiatr", "zima", ""})
        EXPECT_FALSE(set.contains(absent)) << absent;
}

}  // namespace
}  // namespace xamo
