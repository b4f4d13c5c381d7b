#include "inference/memory.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace xamo::testing {
namespace {

std::vector<std::pair<std::int32_t, std::string>> facts_of(const WorkingMemory& memory) {
    std::vector<std::pair<std::int32_t, std::string>> facts;
    for (const auto& [number, condition] : memory) facts.emplace_back(number, condition);
    return facts;
}

// A copy outlives its original: its index must look at its own texts, keep the order of the
// facts, skip the removed ones and go on counting as the original would.
TEST(WorkingMemoryCopy, OutlivesItsOriginalWithTheSameFacts) {
    WorkingMemory copy;
    copy.add(9, "stale");
    {
        auto original = std::make_unique<WorkingMemory>();
        original->add(0, "ciepło");
        original->add(1, "wiatr");
        original->add(2, "ciepło");
        original->remove(1, "wiatr");
        original->add(3, "nwiatr");
        copy = *original;
    }
    const WorkingMemory expected{{0, "ciepło"}, {2, "ciepło"}, {3, "nwiatr"}};
    EXPECT_EQ(facts_of(copy), facts_of(expected));
    EXPECT_EQ(copy.size(), 3U);
    EXPECT_EQ(copy.signature(), expected.signature());
    EXPECT_EQ(copy.count("ciepło"), 2U);
    EXPECT_FALSE(copy.established("wiatr"));
    EXPECT_FALSE(copy.established("stale"));
    EXPECT_TRUE(copy.has(3, "nwiatr"));

    EXPECT_EQ(copy.add(4, "wiatr"), 1U);
    EXPECT_EQ(copy.add(5, "ciepło"), 3U);
    EXPECT_TRUE(copy.remove(0, "ciepło"));
    EXPECT_EQ(copy.count("ciepło"), 2U);
}

// Handing the facts over leaves the source empty and usable, and the target answers by text.
TEST(WorkingMemoryCopy, HandOverMovesEveryFact) {
    WorkingMemory source{{0, "ciepło"}, {1, "nwiatr"}};
    WorkingMemory target{{7, "stale"}};
    source.hand_over(target);
    EXPECT_TRUE(source.empty());
    EXPECT_FALSE(source.established("ciepło"));
    source.add(2, "ciepło");
    EXPECT_EQ(source.count("ciepło"), 1U);
    const WorkingMemory expected{{0, "ciepło"}, {1, "nwiatr"}};
    EXPECT_EQ(facts_of(target), facts_of(expected));
    EXPECT_EQ(target.signature(), expected.signature());
    EXPECT_TRUE(target.has(1, "nwiatr"));
    EXPECT_FALSE(target.established("stale"));
}

// Negated texts are not looked up while no negated condition was recorded: the first one, and
// the first after clearing, must still be found.
TEST(WorkingMemoryNegations, AreFoundFromTheFirstRecorded) {
    WorkingMemory memory;
    memory.add(0, "a");
    EXPECT_FALSE(memory.established("na"));
    memory.add(1, "na");
    EXPECT_TRUE(memory.has(1, "na"));
    memory.clear();
    EXPECT_FALSE(memory.established("na"));
    memory.add(2, "nnb");
    EXPECT_EQ(memory.count("nnb"), 1U);
    EXPECT_TRUE(memory.remove(2, "nnb"));
    EXPECT_FALSE(memory.established("nnb"));
}

// A memory given the rules' names keeps conditions among them and other texts apart, but
// answers, orders, copies and hands over all of them alike, and tells the names it knows.
TEST(WorkingMemoryNames, ConditionsAmongTheRulesNamesAndOthersAreOneMemory) {
    FactStore store;
    store.add(make_rule(1, "ciepło", {"słońce", "nwiatr"}, 0));
    const auto names = store.rule_names();
    struct Told : MemoryObserver {
        std::vector<std::pair<std::string, std::uint32_t>> names;
        void fact_changed(std::int32_t, std::string_view c, std::uint32_t name, int) override {
            names.emplace_back(c, name);
        }
        void rule_mark_changed(std::int32_t) override {}
        void model_mark_changed(std::int32_t) override {}
        void value_changed(const std::string&) override {}
    } told;
    auto original = std::make_unique<WorkingMemory>();
    original->reserve(8, names);
    original->observe(&told);
    original->add(0, "słońce");
    original->add(0, "deszcz");
    original->add(2, "nwiatr");
    original->add(3, "słońce");
    EXPECT_TRUE(original->remove(0, "słońce"));
    EXPECT_EQ(original->name_at(original->intern("nwiatr")), names->find("nwiatr"));
    EXPECT_EQ(original->name_at(original->intern("deszcz")), WorkingMemory::kNoName);
    EXPECT_EQ(told.names.front(), std::make_pair(std::string("słońce"), names->find("słońce")));
    EXPECT_EQ(told.names[1].second, WorkingMemory::kNoName);

    WorkingMemory copy;
    copy = *original;
    WorkingMemory target;
    original->hand_over(target);
    original.reset();
    const WorkingMemory expected{{0, "deszcz"}, {2, "nwiatr"}, {3, "słońce"}};
    for (const WorkingMemory* memory : {&copy, &target}) {
        EXPECT_EQ(facts_of(*memory), facts_of(expected));
        EXPECT_EQ(memory->signature(), expected.signature());
        EXPECT_TRUE(memory->has(2, "nwiatr"));
        EXPECT_EQ(memory->count("słońce"), 1U);
        EXPECT_TRUE(memory->established("deszcz"));
        EXPECT_FALSE(memory->established("ciepło"));
    }
    EXPECT_EQ(copy.add(4, "deszcz"), 2U);
    EXPECT_EQ(copy.add(5, "ciepło"), 1U);
    EXPECT_FALSE(target.established("ciepło"));
}

}  // namespace
}  // namespace xamo::testing
