#include "analysis/same_results.h"

#include <gtest/gtest.h>

#include "support/scripted_interaction.h"

namespace xamo {
namespace {

Fact basic(std::int32_t n, const std::string& w, const std::string& result,
           const std::string& symbol = "+") {
    return Fact{Kind::model,
                {n, w, result, std::string("a"), symbol, std::string("b"), std::int32_t{1}}};
}

Fact linear(std::int32_t n, const std::string& w, const std::string& result) {
    return Fact{Kind::model_liniowy,
                {n, w, result, StringList{"1"}, StringList{"x"}, std::int32_t{1}}};
}

class SameResults : public ::testing::Test {
  protected:
    FactStore store;
    ScriptedInteraction ui;
    void SetUp() override { store.set_text(Kind::nazwa_mo, "MOtest.BRD"); }
    bool check() { return testuj_wyniki_wszystkich_modeli_bez_ograniczen(store, ui); }
};

TEST_F(SameResults, ConditionAndItsNegationPass) {
    store.add(basic(1, "promocja", "cena"));
    store.add(basic(2, "npromocja", "cena"));
    EXPECT_TRUE(check());
    EXPECT_TRUE(ui.events.empty());
}

TEST_F(SameResults, UnrelatedConditionsStopInferenceNamingTheResult) {
    store.add(basic(1, "promocja", "cena"));
    store.add(basic(2, "wyprzedaz", "cena"));
    EXPECT_FALSE(check());
    ASSERT_EQ(ui.events.size(), 1u);
    EXPECT_EQ(ui.events[0].title, "Uwaga!");
    EXPECT_TRUE(ui.events[0].text.starts_with(
        "Baza modeli zawiera modele elementarne \no tych samych wynikach/wnioskach:\n"
        "               cena\nWarunki stosowania tych modeli nie wykluczają się, "));
}

TEST_F(SameResults, ExclusiveListOrConstraintBaseLetsEverythingPass) {
    store.add(basic(1, "promocja", "cena"));
    store.add(basic(2, "wyprzedaz", "cena"));
    store.add(Fact{Kind::modele_ekskluzywne, {StringList{"x", "y"}}});
    EXPECT_TRUE(check());
    store.remove_all(Kind::modele_ekskluzywne);
    store.set_text(Kind::nazwa_og, "OGtest.BRD");
    EXPECT_TRUE(check());
}

TEST_F(SameResults, RulesWithOppositeConditionsMakeConclusionsExclusive) {
    store.add(make_rule(1, "promocja", {"a", "b"}, 1));
    store.add(make_rule(2, "wyprzedaz", {"c", "nb"}, 1));
    store.add(basic(1, "promocja", "cena"));
    store.add(basic(2, "wyprzedaz", "cena"));
    EXPECT_TRUE(check());
}

TEST_F(SameResults, PairsOfKindsComeFirstAndRelationsDoNotCount) {
    store.add(basic(1, "p", "y"));
    store.add(linear(2, "q", "y"));
    store.add(basic(3, "p", "z", ">"));
    store.add(basic(4, "q", "z", ">"));
    store.add(basic(5, "p", "w", "sqrt"));
    store.add(basic(6, "q", "w", "sqrt"));
    EXPECT_FALSE(check());
    ASSERT_EQ(ui.events.size(), 1u);
    EXPECT_TRUE(
        ui.events[0].text.starts_with("Baza modeli zawiera modele elementarne i liniowe\n"));
    EXPECT_NE(ui.events[0].text.find("               y\n"), std::string::npos);
}

TEST_F(SameResults, NoModelBaseNoCheck) {
    store.remove_all(Kind::nazwa_mo);
    store.add(basic(1, "promocja", "cena"));
    store.add(basic(2, "wyprzedaz", "cena"));
    EXPECT_TRUE(check());
}

}  // namespace
}  // namespace xamo
