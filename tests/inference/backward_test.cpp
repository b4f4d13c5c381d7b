// Backward inference: the candidate lists, whole runs of command 10149 with a scripted user, and
// the engine alone on very long chains and on cycles.
#include "inference/backward.h"

#include <algorithm>
#include <memory>

#include "inference/backward_command.h"
#include "inference/models.h"
#include "inference_fixture.h"

namespace xamo::testing {
namespace {

using Lines = std::vector<std::string>;

class Backward : public InferenceTest {
  protected:
    // Detail level, no labels, hypothesis kind and the chosen hypothesis, then the answers of
    // the run; the summary and the report are declined at the end.
    void run_with(const std::string& detail, const std::string& kind, const std::string& choice,
                  Lines rest, const Lines& closing = {"NIE", "Nie"}) {
        ui.answers = {detail, "NIE", kind, choice};
        ui.answers.insert(ui.answers.end(), rest.begin(), rest.end());
        ui.answers.insert(ui.answers.end(), closing.begin(), closing.end());
        app.commands().enable({10149});
        app.run_command(10149);
    }
    Lines asked() const {
        Lines out;
        for (const auto& e : ui.of_kind("ask")) {
            if (e.title == "Warunek jest prawdą?") out.push_back(e.text);
        }
        return out;
    }
    const ScriptedInteraction::Event* explanation(const std::string& title) const {
        for (const auto& e : ui.events) {
            if (e.kind == "explanation" && e.title == title) return &e;
        }
        return nullptr;
    }
    Lines result_lines() const {
        const auto* e = explanation("Wynik wnioskowania:");
        return e ? e->items : Lines{};
    }
    Lines wstecz() const { return memory.rbd_wstecz.conditions(); }
};

TEST_F(Backward, NarrowAndBroadCandidateLists) {
    rule(1, "zapalenie", {"gorączka", "nkaszel"});
    rule(2, "grypa", {"zapalenie", "ból"});
    rule(3, "koniec", {"ból"});
    rule(4, "Angina", {"ból"});
    rule(5, "grypa", {"dreszcze"});
    EXPECT_EQ(hypothesis_candidates(store, HypothesisKind::Narrow), (Lines{"Angina", "grypa"}));
    EXPECT_EQ(hypothesis_candidates(store, HypothesisKind::Broad),
              (Lines{"Angina", "grypa", "zapalenie"}));

    // With a model base the relational conclusions join; a condition of a rule stays out of the
    // narrow list even when a model concludes it.
    store.set_text(Kind::nazwa_mo, "MOtest.BRD");
    store.add(model(1, "bez warunku", "ryzyko", "wiek", ">", "60"));
    store.add(model(2, "bez warunku", "dreszcze", "temperatura", ">", "39"));
    store.add(model(3, "bez warunku", "bmi", "masa", "/", "wzrost"));
    store.add(model_r(4, "bez warunku", "norma", "<=,<", {"0", "x", "10"}));
    EXPECT_EQ(hypothesis_candidates(store, HypothesisKind::Narrow),
              (Lines{"Angina", "grypa", "norma", "ryzyko"}));
    EXPECT_EQ(hypothesis_candidates(store, HypothesisKind::Broad),
              (Lines{"Angina", "dreszcze", "grypa", "norma", "ryzyko", "zapalenie"}));
}

TEST_F(Backward, EmptyListVerifiesNothing) {
    rule(1, "koniec", {"a"});
    askable({"a"});
    run_with("1", "1", "", {}, {});
    const auto lists = ui.of_kind("list");
    ASSERT_EQ(lists.size(), 1u);
    EXPECT_EQ(lists[0].title, "Hipoteza w sensie wąskim");
    EXPECT_TRUE(lists[0].items.empty());
    EXPECT_TRUE(asked().empty());
    EXPECT_FALSE(output_has("Sprawdzam"));
    EXPECT_TRUE(result_lines().empty());
    EXPECT_TRUE(ui.of_kind("note").size() == 1u);  // the opening note only
}

TEST_F(Backward, ProofFromDeclaredFactsNamesTheRule) {
    rule(7, "grypa", {"gorączka", "kaszel"});
    store.add(make_text_fact(Kind::fakt, "gorączka"));
    store.add(make_text_fact(Kind::fakt, "kaszel"));
    askable({"gorączka", "kaszel"});
    run_with("1", "1", "1", {});
    EXPECT_TRUE(asked().empty());
    EXPECT_EQ(
        result_lines(),
        (Lines{"Hipoteza w sensie wąskim: ", "   grypa", "jest prawdą dla bazy wiedzy ", "    TEST",
               "oraz dla zadeklarowanych faktów i  wartości argumentów", "na mocy reguły 7."}));
    EXPECT_TRUE(output_has("Sprawdzam hipotezę w sensie wąskim:  \n   grypa\n\n"));
    EXPECT_TRUE(output_has("Hipoteza główna  grypa jest testowana.\n"));
    EXPECT_TRUE(
        output_has("\nHipoteza w sensie wąskim: grypa\njest prawdą dla bazy wiedzy \n"
                   "TEST, dla zadeklarowanych faktów i  wartości argumentów.\n\n"));
    EXPECT_TRUE(output_has("w trakcie pomyślnego testowania hipotezy:\ngrypa"));
    EXPECT_FALSE(memory.hipoteza.has_value());
    const auto notes = titles("note");
    EXPECT_EQ(notes.back(), "Koniec wnioskowania wstecz");
}

TEST_F(Backward, FirstRefutedConditionRefutesWithoutFurtherQuestions) {
    rule(4, "grypa", {"gorączka", "kaszel", "ból"});
    askable({"ból", "gorączka", "kaszel"});
    run_with("1", "1", "1", {"Tak", "Nie"});
    EXPECT_EQ(asked(), (Lines{"gorączka?", "kaszel?"}));
    EXPECT_EQ(wstecz(), (Lines{"gorączka", "nkaszel", "ngrypa"}));
    EXPECT_EQ(result_lines(),
              (Lines{"Hipoteza: ", "    grypa", "nie jest prawdą  dla bazy wiedzy ", "    test",
                     "oraz zadeklarowanych faktów i wartości argumentów."}));
    EXPECT_TRUE(output_has("gorączka?                     TAK\n\n"));
    EXPECT_TRUE(output_has("kaszel?                     NIE\n\n"));
    EXPECT_TRUE(
        output_has("Hipoteza: grypa\njest nieprawdziwa dla bazy wiedzy: TEST, \n"
                   "zadeklarowanych faktów i wartości argumentów .\n\n"));
    EXPECT_TRUE(output_has("w trakcie niepomyślnego testowania hipotezy:\ngrypa"));
    const auto* rule_explained = explanation("Wyjaśnienie reguły");
    ASSERT_NE(rule_explained, nullptr);
    EXPECT_EQ(rule_explained->items.back(), "    ngrypa");
}

TEST_F(Backward, FirstOfTwoRulesThatHoldsProves) {
    rule(1, "grypa", {"dreszcze"});
    rule(2, "grypa", {"gorączka"});
    askable({"dreszcze", "gorączka"});
    run_with("1", "1", "1", {"Nie", "Tak"});
    EXPECT_EQ(asked(), (Lines{"dreszcze?", "gorączka?"}));
    ASSERT_FALSE(result_lines().empty());
    EXPECT_EQ(result_lines().back(), "na mocy reguły 2.");
}

TEST_F(Backward, NegatedHypothesisIsProvedByAFailingRuleForItsPositiveForm) {
    rule(1, "nzdrowy", {"zmęczenie"});
    rule(2, "zdrowy", {"apetyt", "sen"});
    askable({"apetyt", "sen", "zmęczenie"});
    // Broad list: nzdrowy, zdrowy (byte order).
    run_with("1", "2", "1", {"Tak", "Nie"});
    EXPECT_EQ(asked(), (Lines{"apetyt?", "sen?"}));
    EXPECT_EQ(wstecz(), (Lines{"apetyt", "nsen", "nzdrowy"}));
    EXPECT_EQ(result_lines().front(), "Hipoteza w sensie szerokim: ");
    EXPECT_EQ(result_lines().back(), "na mocy reguły 2.");
    EXPECT_TRUE(output_has("Sprawdzam hipotezę w sensie szerokim: \n   nzdrowy\n\n"));
}

TEST_F(Backward, RulesConcludingKoniecAreVerifiedFirst) {
    rule(1, "grypa", {"gorączka"});
    rule(2, "koniec", {"zdrowy"});
    askable({"gorączka", "zdrowy"});
    run_with("1", "1", "1", {"Tak"});
    // Once "koniec" holds no rule is used: the hypothesis stays undecided and nothing is reported.
    EXPECT_EQ(asked(), (Lines{"zdrowy?"}));
    EXPECT_TRUE(result_lines().empty());

    ui.events.clear();
    run_with("1", "1", "1", {"Nie", "Tak"});
    EXPECT_EQ(asked(), (Lines{"zdrowy?", "gorączka?"}));
    EXPECT_EQ(result_lines().back(), "na mocy reguły 1.");
}

TEST_F(Backward, WhyExplainsTheRuleAndAsksAgain) {
    rule(5, "grypa", {"gorączka", "kaszel"});
    askable({"gorączka", "kaszel"});
    run_with("2", "1", "1", {"Tak", "Dlaczego?", "Tak"});
    EXPECT_EQ(asked(), (Lines{"gorączka?", "kaszel?"}));
    const auto confirms = ui.of_kind("confirm");
    ASSERT_EQ(confirms.size(), 1u);
    EXPECT_EQ(confirms[0].title, "Wybierz:");
    EXPECT_EQ(confirms[0].text, "kaszel?");
    EXPECT_TRUE(
        output_has("kaszel?    DLACZEGO?Stosuję regułę 5: Jeżeli\n    gorączka\n    kaszel\nto \n"
                   "    grypa\nStąd wynika wniosek: \n    grypa\n\n"));
    EXPECT_TRUE(output_has(
        "\nDane są następujące fakty:\n    gorączka\n\nDane są następujące zmienne ustalone:\n"
        "\nZ reguły 5 może wynikać: grypa.\n    kaszel?                     TAK\n\n"));
    const auto* facts = explanation("Dane są następujące fakty i zmienne ustalone:");
    ASSERT_NE(facts, nullptr);
    EXPECT_EQ(facts->items, (Lines{"    gorączka"}));
    const auto* chain = explanation("Z reguł/reguły może wynikać:");
    ASSERT_NE(chain, nullptr);
    EXPECT_EQ(chain->items, (Lines{"Z reguły 5 może wynikać: grypa."}));
    EXPECT_EQ(result_lines().back(), "na mocy reguły 5.");
}

TEST_F(Backward, WhyAboutAnApplicationConditionShowsTheChainsOfRulesAndModels) {
    rule(1, "leczenie", {"ryzyko", "dorosły"});
    askable({"dorosły"});
    model_base({"dorosły", "wiek"});
    store.add(model(1, "bez warunku", "ryzyko", "wiek", ">", "60"));
    store.add(model(2, "dorosły", "dawka", "wiek", "*", "2"));
    run_with("1", "1", "1", {"70", "Dlaczego?", "Nie"});
    EXPECT_EQ(asked(), (Lines{"dorosły?"}));
    // Model 2 is not applied yet: its formula is explained, its value is not known.
    EXPECT_TRUE(
        output_has("dorosły?    DLACZEGO?\nStosuję model arytmetyczny podstawowy 2:\n"
                   "dla spełnionego warunku startowego:\n    dorosły\nzachodzi: \n"
                   "    dawka = wiek * 2\n\n\nDane są następujące fakty:\n    ryzyko\n\n"
                   "Dane są następujące zmienne ustalone:\n    wiek = 70\n    60 = 60\n\n"
                   "Z reguły 1 może wynikać: leczenie.\nZ modelu 1 może wynikać: ryzyko.\n"
                   "    dorosły?                     NIE\n\n"));
    const auto* model = explanation("Wyjaśnienie modelu arytmetycznego podstawowego");
    ASSERT_NE(model, nullptr);
    EXPECT_EQ(model->items, (Lines{"Stosuję model arytmetyczny podstawowy 2:",
                                   "dla spełnionego warunku startowego:", "    dorosły",
                                   "zachodzi: ", "    dawka = wiek * 2"}));
    const auto* models = explanation("Z modelu/modeli może wynikać:");
    ASSERT_NE(models, nullptr);
    EXPECT_EQ(models->items, (Lines{"Z modelu 1 może wynikać: ryzyko."}));
    EXPECT_EQ(result_lines().back(), "oraz zadeklarowanych faktów i wartości argumentów.");
}

TEST_F(Backward, WhyWithNothingToExplainLeavesTheConditionUnproved) {
    rule(2, "koniec", {"zdrowy"});
    rule(1, "grypa", {"gorączka"});
    askable({"gorączka", "zdrowy"});
    // "zdrowy" is asked before any rule was considered: nothing explains it.
    run_with("1", "1", "1", {"Dlaczego?", "Tak"});
    EXPECT_TRUE(ui.of_kind("confirm").empty());
    EXPECT_EQ(asked(), (Lines{"zdrowy?", "gorączka?"}));
    EXPECT_EQ(result_lines().back(), "na mocy reguły 1.");
}

TEST_F(Backward, DeclaredFactInATwoMemberConstraint) {
    rule(1, "grypa", {"gorączka", "ndreszcze"});
    askable({"dreszcze", "gorączka", "kaszel", "katar"});
    store.add(constraint(1, {"gorączka", "dreszcze"}));
    store.add(constraint(2, {"kaszel", "katar"}));
    store.set_text(Kind::nazwa_og, "OGtest.BRD");
    store.add(make_text_fact(Kind::fakt, "gorączka"));
    store.add(make_text_fact(Kind::fakt, "nkaszel"));
    run_with("1", "1", "1", {});
    // gorączka makes dreszcze false; nkaszel makes katar true.
    EXPECT_EQ(wstecz(), (Lines{"gorączka", "ndreszcze", "nkaszel", "katar", "grypa"}));
    EXPECT_EQ(memory.zanegowany_warunek_z_bazy_ograniczen, (Lines{"ndreszcze"}));
    EXPECT_TRUE(asked().empty());
    EXPECT_EQ(result_lines().back(), "na mocy reguły 1.");
}

TEST_F(Backward, TwoDeclaredMembersOfOneConstraintStopTheRun) {
    rule(1, "grypa", {"gorączka"});
    askable({"dreszcze", "gorączka"});
    store.add(constraint(1, {"gorączka", "dreszcze"}));
    store.add(make_text_fact(Kind::fakt, "gorączka"));
    store.add(make_text_fact(Kind::fakt, "dreszcze"));
    run_with("1", "1", "1", {}, {});
    EXPECT_TRUE(memory.blad_wykluczajacych);
    EXPECT_TRUE(memory.rbd_wstecz.empty());
    EXPECT_TRUE(result_lines().empty());
}

TEST_F(Backward, LinearModelIsAppliedWithoutExplanationRelationalModelDecides) {
    rule(1, "leczenie", {"ryzyko"});
    askable({});
    model_base({"masa", "wiek"});
    store.add(Fact{
        Kind::model_liniowy,
        {2, "bez warunku", "wskaźnik", StringList{"2", "0.5"}, StringList{"wiek", "masa"}, 1}});
    store.add(model(1, "bez warunku", "ryzyko", "wskaźnik", ">", "100"));
    run_with("2", "1", "1", {"40", "90"});
    EXPECT_EQ(titles("value"), (Lines{"Określ wartość argumentu", "Określ wartość argumentu"}));
    EXPECT_EQ(memory.zmienna_ustalona.get("wskaźnik"), 125.0);
    EXPECT_FALSE(output_has("Stosuję model arytmetyczny liniowy"));
    EXPECT_TRUE(output_has("Dane są wartości następujących argumentów:"));
    EXPECT_TRUE(output_has("Hipoteza pomocnicza ryzyko jest testowana."));
    EXPECT_TRUE(output_has("Stosuję model relacyjny podstawowy 1:"));
    EXPECT_EQ(wstecz(), (Lines{"ryzyko", "leczenie"}));
    EXPECT_EQ(result_lines().back(), "na mocy reguły 1.");
}

TEST_F(Backward, AnAnswerAboutAnApplicationConditionAlsoAnswersTheRuleCondition) {
    // "dorosły" is asked about as model 1's application condition; rule 1 needs it afterwards
    // and must not ask it again, nor model 2 after a "no".
    rule(1, "leczenie", {"ryzyko", "dorosły"});
    rule(2, "dieta", {"otyłość", "ciężki"});
    askable({"ciężki", "dorosły"});
    model_base({"ciężki", "dorosły", "wiek"});
    store.add(model(1, "dorosły", "ryzyko", "wiek", ">", "60"));
    store.add(model(2, "ciężki", "otyłość", "wiek", "<", "99"));
    store.add(model(3, "ciężki", "otyłość", "wiek", ">", "0"));
    run_with("1", "2", "2", {"Tak", "70"});
    EXPECT_EQ(titles("confirm"), (Lines{"Warunek stosowania modelu jest prawdą?"}));
    EXPECT_TRUE(asked().empty());
    EXPECT_EQ(result_lines().back(), "na mocy reguły 1.");

    ui.events.clear();
    run_with("1", "2", "1", {"Nie"});
    EXPECT_EQ(titles("confirm"), (Lines{"Warunek stosowania modelu jest prawdą?"}));
    EXPECT_TRUE(asked().empty());
    EXPECT_EQ(memory.model_stosowany.size(), 0u);
}

TEST_F(Backward, WhyAboutTheConditionOfARelationalModelNotYetApplied) {
    rule(1, "leczenie", {"gorączka", "dorosły"});
    askable({"dorosły", "gorączka"});
    model_base({"dorosły", "gorączka", "wiek"});
    store.add(model(1, "dorosły", "stary", "wiek", ">", "60"));
    // Only the model and its relation: the value of wiek is not known yet.
    run_with("1", "1", "1", {"Tak", "Dlaczego?", "Nie"});
    const auto* relation = explanation("Wyjaśnienie modelu relacyjnego podstawowego");
    ASSERT_NE(relation, nullptr);
    EXPECT_EQ(relation->items,
              (Lines{"Stosuję model relacyjny podstawowy 1:", "dla spełnionego warunku startowego:",
                     "    dorosły", "prawdą jest: ", "    stary", "jeżeli", "    wiek > 60"}));
    // With every value known, the values and the conclusion they give follow.
    ui.events.clear();
    store.add(Fact{Kind::argument_znany, {std::string("wiek"), 42.0}});
    run_with("1", "1", "1", {"Tak", "Dlaczego?", "Nie"});
    const auto* known = explanation("Wyjaśnienie modelu  relacyjnego podstawowego");
    ASSERT_NE(known, nullptr);
    EXPECT_EQ(Lines(known->items.begin() + 7, known->items.end()),
              (Lines{"Dla modelu 1 nie jest spełniona relacja: ", "    42 > 60",
                     "Stąd wynika wniosek: ", "   nstary"}));
}

TEST_F(Backward, RefutationOffersTheMediaOfTheRefutingRule) {
    rule(4, "grypa", {"gorączka"});
    askable({"gorączka"});
    ui.answers = {"1", "NIE", "1", "1", "Nie", "NIE", "Nie"};
    auto ctx = context();
    Lines offered;
    ctx.media.udziel_rady = [&](std::int32_t n, const std::string& c) {
        offered.push_back("rada " + std::to_string(n) + " " + c);
    };
    ctx.media.wyswietl_grafike = [&](std::int32_t n, const std::string& c) {
        offered.push_back("grafika " + std::to_string(n) + " " + c);
    };
    ctx.media.przesluchaj_melodie = [&](std::int32_t n, const std::string& c) {
        offered.push_back("dźwięk " + std::to_string(n) + " " + c);
    };
    BackwardInference backward(ctx);
    backward.run();
    EXPECT_EQ(offered, (Lines{"rada 4 ngrypa", "grafika 4 ngrypa", "dźwięk 4 ngrypa"}));
}

// The engine alone, on a store filled directly.
class BackwardEngineTest : public InferenceTest {
  protected:
    void SetUp() override {
        InferenceTest::SetUp();
        memory.szczegolowosc = "mała";
    }
    // An engine over the store as filled, verifying `hypothesis` as the main hypothesis.
    struct Run {
        InferenceContext ctx;
        ModelEvaluator models{ctx};
        BackwardEngine engine{ctx, models};
    };
    std::unique_ptr<Run> start(const std::string& hypothesis) {
        if (hypothesis.empty()) {
            memory.hipoteza.reset();
        } else {
            memory.hipoteza = hypothesis;
        }
        return std::unique_ptr<Run>(new Run{context()});
    }
};

TEST_F(BackwardEngineTest, ChainOfOneHundredThousandRules) {
    constexpr int kLength = 100000;
    for (int i = 1; i <= kLength; ++i) {
        store.add(make_rule(i, numbered("c", i), {numbered("c", i - 1)}, 0));
    }
    askable({"c0"});
    const std::string top = numbered("c", kLength);
    for (const bool yes : {true, false}) {
        memory.clear_run();
        ui.answers = {yes ? "Tak" : "Nie"};
        auto run = start(top);
        BackwardEngine& engine = run->engine;
        EXPECT_EQ(engine.weryfikowanie_hipotezy_cd(top), yes);
        EXPECT_EQ(memory.rbd_wstecz.size(), static_cast<std::size_t>(kLength + 1));
        EXPECT_EQ(yes ? engine.proved_by(top) : engine.refuted_by(top), kLength);
        EXPECT_TRUE(memory.rbd_wstecz.established(yes ? top : negacja(top)));
    }
    EXPECT_EQ(ui.of_kind("ask").size(), 2u);
}

TEST_F(BackwardEngineTest, ApplicationConditionsAreVerifiedAsHypotheses) {
    rule(1, "zima", {"mróz", "śnieg"});
    askable({"mróz", "śnieg"});
    model_base({"temperatura"});
    store.add(model(1, "zima", "ślisko", "temperatura", "<", "0", 0));
    store.add(model(2, "nzima", "sucho", "temperatura", ">", "5", 0));
    auto run = start("ślisko");
    BackwardEngine& engine = run->engine;
    // The positive application condition is verified by its rule: mróz and śnieg are asked.
    ui.answers = {"Tak", "Tak", "-3"};
    EXPECT_TRUE(engine.weryfikowanie_hipotezy_cd("ślisko"));
    EXPECT_EQ(engine.proved_by("zima"), 1);
    EXPECT_EQ(engine.proved_by("ślisko"), 1);
    // The negated one does not hold once zima is proved: model 2 is not applied.
    EXPECT_FALSE(engine.weryfikowanie_hipotezy_cd("sucho"));
    EXPECT_EQ(memory.model_stosowany.count(2), 0u);
    EXPECT_EQ(ui.of_kind("ask").size(), 2u);
}

TEST_F(BackwardEngineTest, NegatedApplicationConditionHoldsWhenItsRuleFails) {
    rule(1, "zima", {"mróz", "śnieg"});
    askable({"mróz", "śnieg"});
    model_base({"temperatura"});
    store.add(model(2, "nzima", "sucho", "temperatura", ">", "5", 0));
    auto run = start("sucho");
    BackwardEngine& engine = run->engine;
    ui.answers = {"Nie", "12"};
    EXPECT_TRUE(engine.weryfikowanie_hipotezy_cd("sucho"));
    EXPECT_EQ(engine.proved_by("nzima"), 1);
    EXPECT_EQ(memory.rbd_wstecz.conditions(), (Lines{"nmróz", "nzima", "sucho"}));
}

TEST_F(BackwardEngineTest, AnArgumentIsComputedByItsModel) {
    model_base({"masa", "wzrost"});
    store.add(model(3, "bez warunku", "bmi", "masa", "/", "wzrost", 1));
    auto run = start("bmi");
    BackwardEngine& engine = run->engine;
    ui.answers = {"80", "4"};
    EXPECT_TRUE(engine.weryfikowanie_hipotezy_cd("bmi"));
    EXPECT_EQ(memory.zmienna_ustalona.get("bmi"), 20.0);
    EXPECT_TRUE(output_has("Stosuję model arytmetyczny podstawowy 3:"));
}

TEST_F(BackwardEngineTest, CycleOfRulesEndsRefuted) {
    rule(1, "a", {"b"});
    rule(2, "b", {"c", "a"});
    rule(3, "c", {"d"});
    askable({"d"});
    ui.answers = {"Tak"};
    auto run = start("a");
    BackwardEngine& engine = run->engine;
    EXPECT_FALSE(engine.weryfikowanie_hipotezy_cd("a"));
    // a is under verification when rule 2 needs it: rule 2 refutes b, which refutes a.
    EXPECT_EQ(memory.rbd_wstecz.conditions(), (Lines{"d", "c", "nb", "na"}));
    EXPECT_EQ(engine.refuted_by("a"), 1);
    EXPECT_EQ(engine.refuted_by("b"), 2);
}

TEST_F(BackwardEngineTest, RecordingAndConstraintCompletion) {
    store.add(constraint(1, {"a", "b", "c"}));
    store.add(constraint(2, {"d", "e"}));
    store.add(constraint(3, {"a", "f"}));
    auto run = start("");
    BackwardEngine& engine = run->engine;
    // A positive member of a two-member constraint: only that constraint is completed.
    EXPECT_TRUE(engine.pamietaj_wstecz("a"));
    EXPECT_EQ(memory.rbd_wstecz.conditions(), (Lines{"a", "nf"}));
    // A negated member of a two-member constraint makes the other member true.
    EXPECT_TRUE(engine.pamietaj_wstecz("nd"));
    EXPECT_EQ(memory.rbd_wstecz.conditions(), (Lines{"a", "nf", "nd", "e"}));
    // A negation is refused when its positive form is established ...
    EXPECT_FALSE(engine.pamietaj_wstecz("na"));
    // ... and a positive condition displaces its recorded negation.
    EXPECT_TRUE(engine.pamietaj_wstecz("ng"));
    EXPECT_TRUE(engine.pamietaj_wstecz("g"));
    EXPECT_EQ(memory.rbd_wstecz.conditions(), (Lines{"a", "nf", "nd", "e", "g"}));
    // A member of longer constraints only: every other member not established becomes false.
    EXPECT_TRUE(engine.pamietaj_wstecz("b"));
    EXPECT_EQ(memory.rbd_wstecz.conditions(), (Lines{"a", "nf", "nd", "e", "g", "b", "nc"}));
    EXPECT_EQ(memory.zanegowany_warunek_z_bazy_ograniczen, (Lines{"nf", "nc"}));
}

}  // namespace
}  // namespace xamo::testing
