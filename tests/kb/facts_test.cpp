#include "kb/facts.h"

#include <gtest/gtest.h>

namespace xamo {
namespace {

TEST(FactStore, KeepsOrderAndRemovesAsAsked) {
    FactStore store;
    store.add(make_text_fact(Kind::sciezka, "b"));
    store.add_front(make_text_fact(Kind::sciezka, "a"));  // the latest directory comes first
    store.add(make_text_fact(Kind::sciezka, "c"));
    store.add(make_text_fact(Kind::sciezka, "b"));
    EXPECT_EQ(store.text(Kind::sciezka), "a");
    EXPECT_TRUE(
        store.remove_first(Kind::sciezka, [](const Fact& f) { return TextFact(f).text() == "b"; }));
    ASSERT_EQ(store.all(Kind::sciezka).size(), 3u);
    EXPECT_EQ(TextFact(store.all(Kind::sciezka)[1]).text(), "c");
    EXPECT_EQ(TextFact(store.all(Kind::sciezka)[2]).text(), "b");
    EXPECT_FALSE(
        store.remove_first(Kind::sciezka, [](const Fact& f) { return TextFact(f).text() == "x"; }));
    EXPECT_EQ(
        store.remove_if(Kind::sciezka, [](const Fact& f) { return TextFact(f).text() != "c"; }),
        2u);
    store.remove_all(Kind::sciezka);
    EXPECT_FALSE(store.any(Kind::sciezka));
    EXPECT_EQ(store.text(Kind::sciezka), std::nullopt);
}

TEST(FactStore, ClearingASectionLeavesTheOthers) {
    FactStore store;
    store.add(make_rule(1, "a", {"b", "c"}, 1));
    store.add(make_rule(1, "a", {"b"}, 1, Kind::off_regula));
    store.add(Fact{Kind::grafika, {std::int32_t{1}, std::string("a.bmp")}});
    store.add(Fact{Kind::ngrafika, {std::int32_t{1}, std::string("na.bmp")}});
    store.set_text(Kind::nazwa_re, "REa.BRD");
    store.set_text(Kind::nazwa_re, "REb.BRD");
    EXPECT_EQ(store.all(Kind::nazwa_re).size(), 1u);
    EXPECT_EQ(store.section_size(Section::Graphics), 2u);
    store.clear_section(Section::Graphics);
    EXPECT_EQ(store.section_size(Section::Graphics), 0u);
    EXPECT_EQ(store.section_size(Section::Rules), 2u);
    EXPECT_EQ(store.text(Kind::nazwa_re), "REb.BRD");
}

// The record of a run and copies of a store share the facts; whatever either does later, the
// other sees its own facts unchanged.
TEST(FactStore, SnapshotsAndCopiesKeepTheirFactsWhenTheStoreChanges) {
    FactStore store;
    store.add(make_rule(1, "a", {"b"}, 0));
    store.add(make_rule(2, "c", {"d"}, 0));
    const auto snapshot = store.share(Kind::regula);
    FactStore copy = store;
    store.add(make_rule(3, "e", {"f"}, 0));
    std::get<Name>(store.mutable_all(Kind::regula)[0].fields[Rule::conclusion_field]) = "x";
    store.remove_if(Kind::regula, [](const Fact& f) { return Rule(f).number() == 2; });
    ASSERT_EQ(snapshot->size(), 2u);
    EXPECT_EQ(Rule((*snapshot)[0]).conclusion(), "a");
    EXPECT_EQ(Rule((*snapshot)[1]).conclusion(), "c");
    EXPECT_EQ(copy.all(Kind::regula), *snapshot);
    ASSERT_EQ(store.all(Kind::regula).size(), 2u);
    EXPECT_EQ(Rule(store.all(Kind::regula)[0]).conclusion(), "x");
    store.clear_section(Section::Rules);
    copy.add(make_rule(4, "g", {"h"}, 0));
    EXPECT_FALSE(store.any(Kind::regula));
    EXPECT_EQ(snapshot->size(), 2u);
    EXPECT_EQ(copy.all(Kind::regula).size(), 3u);
}

// The report text grows line by line in place; a copy taken meanwhile keeps what it had.
TEST(FactStore, AGrowingTextLeavesItsCopiesAsTheyWere) {
    Name text;
    text.append("ab");
    const Name copy = text;
    for (int i = 0; i < 1000; ++i) text.append("cd");
    EXPECT_EQ(copy, "ab");
    EXPECT_EQ(text.size(), 2002u);
    EXPECT_EQ(text.view().substr(0, 6), "abcdcd");
    EXPECT_EQ(text.view().substr(1998), "cdcd");
}

TEST(FactStore, EveryKindBelongsToTheSectionTableInOrder) {
    std::size_t total = 0;
    for (std::size_t s = 0; s < kSectionCount; ++s) {
        const auto& kinds = section_kinds(static_cast<Section>(s));
        EXPECT_FALSE(kinds.empty());
        for (std::size_t i = 1; i < kinds.size(); ++i) EXPECT_LT(kinds[i - 1], kinds[i]);
        total += kinds.size();
    }
    EXPECT_EQ(total, kKindCount);
    EXPECT_EQ(kind_info(Kind::regula).functor, "reguła");
    EXPECT_EQ(kind_info(Kind::off_model_r).functor, "_model_r");
    EXPECT_EQ(kind_info(Kind::dzwiek).functor, "dźwięk");
    EXPECT_EQ(kind_info(Kind::nazwa_og).section, Section::Constraints);
}

}  // namespace
}  // namespace xamo
