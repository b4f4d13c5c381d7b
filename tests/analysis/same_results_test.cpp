#include "analysis/same_results.h"

#include <gtest/gtest.h>

#include "askable/askable.h"
#include "kb/model_symbols.h"
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

// --- with a constraint base -------------------------------------------------------------------

class SameResultsWithConstraints : public SameResults {
  protected:
    void SetUp() override {
        SameResults::SetUp();
        store.set_text(Kind::nazwa_og, "OGtest.BRD");
    }
    void rule(std::int32_t n, const std::string& conclusion, StringList conditions) {
        store.add(make_rule(n, conclusion, std::move(conditions), 1));
    }
    void constraint(std::int32_t n, StringList members) {
        store.add(Fact{Kind::ograniczenie, {n, std::move(members)}});
    }
    bool check_with_constraints() {
        remember_askable(askable, ui, askable_conditions_of_rules(store, askable));
        ui.output.clear();
        RuleDiagnosisContext ctx(store, ui, askable, flags, diagnoses);
        return testuj_wyniki_wszystkich_modeli_z_og(ctx);
    }
    std::vector<std::string> note_titles() const {
        std::vector<std::string> out;
        for (const auto& e : ui.of_kind("note")) out.push_back(e.title);
        return out;
    }

    AskableMemory askable;
    DiagnosisFlags flags;
    RuleDiagnosisMemory diagnoses;
};

TEST_F(SameResultsWithConstraints, KnownExclusionsLeaveTheGroupOut) {
    store.add(basic(1, "promocja", "cena"));
    store.add(basic(2, "wyprzedaz", "cena", "sqrt"));
    constraint(1, {"wyprzedaz", "inne", "promocja"});
    EXPECT_TRUE(check_with_constraints());
    store.remove_all(Kind::ograniczenie);
    store.add(Fact{Kind::modele_ekskluzywne, {StringList{"promocja", "wyprzedaz"}}});
    EXPECT_TRUE(check_with_constraints());
    // A condition and its negation, and models sharing one condition, need nothing.
    store.remove_all(Kind::modele_ekskluzywne);
    store.remove_all(Kind::model);
    store.add(basic(1, "promocja", "cena"));
    store.add(basic(2, "npromocja", "cena"));
    store.add(basic(3, "bez warunku", "podatek"));
    store.add(basic(4, "bez warunku", "podatek"));
    EXPECT_TRUE(check_with_constraints());
    EXPECT_TRUE(ui.events.empty());
}

TEST_F(SameResultsWithConstraints, ConditionsConcludedByNothingAreNamed) {
    // A one-argument function counts, the rule-condition count does not.
    rule(1, "promocja", {"a", "b"});
    store.add(basic(1, "promocja", "cena"));
    store.add(basic(2, "wyprzedaz", "cena", "sqrt"));
    store.add(basic(3, "nzima", "cena"));
    store.add(basic(4, "lato", "cena", std::string(kRuleConditionCount)));
    constraint(1, {"a", "b"});
    EXPECT_FALSE(check_with_constraints());
    ASSERT_EQ(note_titles(), std::vector<std::string>{"Uwaga!"});
    EXPECT_EQ(ui.events[0].text,
              "Brak reguł dla następujących warunków startowych modeli o tym samym wyniku:\n"
              "[\"wyprzedaz\",\"nzima\"]\nZaładowanych baz nie można stosować dla wnioskowania!"
              "\nPrzejdź do opcji edycji baz i wprowadź niezbędne poprawki.");
    EXPECT_EQ(ui.output,
              "Brak reguł dla następujących warunków startowych modeli \no tym samym wyniku:\n"
              "[\"wyprzedaz\",\"nzima\"]\nZaładowanych baz nie można stosować dla "
              "wnioskowania!\nPrzejdź do opcji edycji baz i wprowadź niezbędne poprawki.\n");
}

TEST_F(SameResultsWithConstraints, ARelationalModelOrTheRulesOfThePositiveFormConclude) {
    rule(1, "zima", {"a", "b"});
    store.add(basic(1, "wyprzedaz", "cena"));
    store.add(basic(2, "nzima", "cena"));
    store.add(basic(3, "mroz", "wyprzedaz", ">"));
    EXPECT_TRUE(check_with_constraints());
    EXPECT_TRUE(ui.events.empty());
}

TEST_F(SameResultsWithConstraints, RulesThatFireTogetherUnloadTheBases) {
    rule(1, "promocja", {"a", "b"});
    rule(2, "wyprzedaz", {"a", "b", "c"});
    rule(3, "inne", {"d", "e"});
    store.add(basic(1, "promocja", "cena"));
    store.add(basic(2, "wyprzedaz", "cena"));
    store.add(basic(3, "inne", "cena"));
    constraint(1, {"d", "e"});
    EXPECT_FALSE(check_with_constraints());
    const std::string title = "Wnioski następujących reguł nie wykluczają się wzajemnie:";
    EXPECT_EQ(note_titles(), (std::vector<std::string>{title, title, title, "Attention!"}));
    EXPECT_EQ(ui.events[1].text, "Numer reguły:  2    Wniosek:  wyprzedaz");
    EXPECT_EQ(ui.output,
              "\nWnioski następujących reguł, bedące warunkami startowymi modeli o tych samych "
              "wynikach,  nie wykluczają się wzajemnie: \n\nNumer reguły:  1    Wniosek:  "
              "promocja\nNumer reguły:  2    Wniosek:  wyprzedaz\nNumer reguły:  3    Wniosek:  "
              "inne\n\nZaładowane bazy reguł, modeli i ograniczeń nie możesz stosować dla "
              "wnioskowania.\nPrzejdź do opcji edycji baz i popraw jedną lub wszystkie.\n");
}

TEST_F(SameResultsWithConstraints, EachResultIsJudgedOnItsOwnRules) {
    // Rules 1 and 2 fire together, but they give the conditions of models of different results.
    rule(1, "promocja", {"a", "b"});
    rule(2, "wyprzedaz", {"a", "b", "c"});
    rule(3, "zima", {"d", "e"});
    rule(4, "lato", {"f", "g"});
    store.add(basic(1, "promocja", "cena"));
    store.add(linear(2, "zima", "cena"));
    store.add(basic(3, "wyprzedaz", "koszt"));
    store.add(linear(4, "lato", "koszt"));
    constraint(1, {"d", "f"});
    EXPECT_TRUE(check_with_constraints());
    // A third model of cena under wyprzedaz brings the two rules into one group.
    store.add(linear(5, "wyprzedaz", "cena"));
    EXPECT_FALSE(check_with_constraints());
    EXPECT_EQ(ui.of_kind("note").back().title, "Attention!");
}

TEST_F(SameResultsWithConstraints, NothingWithoutAModelBase) {
    store.remove_all(Kind::nazwa_mo);
    store.add(basic(1, "promocja", "cena"));
    store.add(basic(2, "wyprzedaz", "cena"));
    EXPECT_TRUE(check_with_constraints());
    EXPECT_TRUE(ui.events.empty());
}

}  // namespace
}  // namespace xamo
