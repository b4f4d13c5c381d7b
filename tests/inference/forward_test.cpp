// Whole forward runs through command 10148 with a scripted user.
#include "inference/forward.h"

#include "inference_fixture.h"

namespace xamo::testing {
namespace {

using Lines = std::vector<std::string>;

class Forward : public InferenceTest {
  protected:
    // Detail level, no labels, mode, then the answers of the run; `closing` declines the summary
    // and the report of a run that ends normally.
    void run_with(const std::string& detail, const std::string& mode, std::vector<std::string> rest,
                  const Lines& closing = {"NIE", "Nie"}) {
        ui.answers = {detail, "NIE", mode};
        ui.answers.insert(ui.answers.end(), rest.begin(), rest.end());
        ui.answers.insert(ui.answers.end(), closing.begin(), closing.end());
        app.commands().enable({10148});
        app.run_command(10148);
    }
    // A run refused before its first question.
    void run_refused() {
        app.commands().enable({10148});
        app.run_command(10148);
    }
    Lines questions() const {
        Lines out;
        for (const auto& e : ui.of_kind("confirm")) out.push_back(e.text);
        return out;
    }
    // Titles of the explanation dialogs, in order.
    Lines explanations() const { return titles("explanation"); }
    const ScriptedInteraction::Event* last_explanation(const std::string& title) const {
        const ScriptedInteraction::Event* found = nullptr;
        for (const auto& e : ui.events) {
            if (e.kind == "explanation" && e.title == title) found = &e;
        }
        return found;
    }
    // Numbers of the rules explained, in order.
    Lines fired_rules() const {
        Lines out;
        for (const auto& e : ui.of_kind("explanation")) {
            if (e.title == "Wyjaśnienie reguły") out.push_back(e.items.front());
        }
        return out;
    }
};

TEST_F(Forward, RuleNumberedZeroNeverFiresAndFalseConditionStopsTheRule) {
    rule(0, "zero", {"a"});
    rule(1, "k", {"a", "b", "c"});
    askable({"a", "b", "c"});
    run_with("1", "2", {"Tak", "Nie"});
    EXPECT_EQ(questions(), (Lines{"a?", "b?"}));
    EXPECT_EQ(fired_rules(), (Lines{"Stosuję regułę 1:"}));
    const auto* explanation = last_explanation("Wyjaśnienie reguły");
    ASSERT_NE(explanation, nullptr);
    EXPECT_EQ(explanation->items, (Lines{"Stosuję regułę 1:", "Jeżeli", "    a", "    b", "    c",
                                         "to", "    k", "Stąd wynika wniosek:", "    nk"}));
    EXPECT_TRUE(output_has("a?" + std::string(53, ' ') + "  TAK\n"));
    EXPECT_TRUE(output_has("b?" + std::string(53, ' ') + "    NIE\n"));
    EXPECT_TRUE(
        output_has("Stosuję regułę 1: Jeżeli\n    a\n    b\n    c\nto \n    k\n"
                   "Stąd wynika wniosek: \n    nk\n\n"));
    // The report text has the question without its padding.
    EXPECT_NE(app.report().text()->view().find("a?  TAK\n"), std::string::npos);
}

TEST_F(Forward, OpeningTextsAndNormalEnd) {
    rule(1, "k", {"a", "b"});
    askable({"a", "b"});
    run_with("2", "2", {"Tak", "Tak"});
    const auto notes = ui.of_kind("note");
    ASSERT_GE(notes.size(), 3u);
    EXPECT_EQ(notes[0].title, "Wnioskowanie rozwinięte dokładne w przód");
    EXPECT_EQ(notes[0].text.substr(0, 90),
              std::string("Wnioskowanie rozwinięte dokładne w przód dla:\n\nBazy reguł rozwiniętej "
                          "dokładnej\n    REtest.BRD")
                  .substr(0, 90));
    EXPECT_TRUE(
        output_has("Porady ekspertowe dla bazy reguł REtest.BRD\n                               "
                   "bazy modeli \n"));
    EXPECT_EQ(notes[1].text,
              "Brak możliwości dalszego wnioskowania!\n\nTeraz czas na podsumowanie!");
    EXPECT_EQ(notes[2].text,
              "To już wszystko, co wynika z bazy wiedzy TEST,\nz zadeklarowanych faktów "
              "i wartości argumentów.\n\nKoniec wnioskowania ekspertowego.");
    EXPECT_TRUE(
        output_has("To już wszystko, co wynika z bazy wiedzy test,\nz zadeklarowanych faktów i "
                   "wartości argumentów.\n\nKoniec wnioskowania w przód.\n\n"));
    // At "duża" every firing is followed by the facts, which never show "bez warunku".
    const auto* facts_shown = last_explanation("Dane są następujące fakty:");
    ASSERT_NE(facts_shown, nullptr);
    EXPECT_EQ(facts_shown->items, (Lines{"    a", "    b", "    k"}));
    EXPECT_EQ(titles("ask"),
              (Lines{"Tworzenie etykiet", "Plik podsumowania", "Raport wnioskowania/diagnostyki"}));
    EXPECT_TRUE(memory.rbd.empty());
    EXPECT_EQ(memory.szczegolowosc, "duża");
    EXPECT_FALSE(memory.jakiewnioskowanie.has_value());
}

TEST_F(Forward, WithoutRuleBaseOnlyTheNote) {
    store.remove_all(Kind::nazwa_re);
    run_refused();
    ASSERT_EQ(ui.of_kind("note").size(), 1u);
    EXPECT_EQ(ui.of_kind("note")[0].text, "Proszę załadować bazę reguł!");
    EXPECT_TRUE(ui.of_kind("option").empty());
}

TEST_F(Forward, FaultyBaseIsRefusedSilently) {
    rule(1, "k", {"a", "b"});
    askable({"a", "b"});
    app.numbering().duplicates[0] = true;
    run_refused();
    app.numbering().duplicates[0] = false;
    app.flags().sprzecznosc_1z = true;
    run_refused();
    EXPECT_EQ(titles("clear").size(), 2u);
    EXPECT_EQ(ui.events.size(), 2u);  // the clearing of the message window only
}

TEST_F(Forward, FileOrderAndRestart) {
    rule(1, "c", {"b1"});
    rule(2, "b1", {"a"});
    rule(3, "d", {"a"});
    askable({"a"});
    run_with("1", "2", {"Tak"});
    EXPECT_EQ(fired_rules(),
              (Lines{"Stosuję regułę 2:", "Stosuję regułę 1:", "Stosuję regułę 3:"}));
    EXPECT_EQ(questions(), (Lines{"a?"}));
}

TEST_F(Forward, LaterPositiveConclusionRevisesANegation) {
    rule(1, "x", {"a"});
    rule(2, "y", {"x"});
    rule(3, "x", {"b"});
    askable({"a", "b"});
    run_with("2", "2", {"Nie", "Tak"});
    // 1 gives nx, 2 gives ny, 3 gives x and re-enables 2, which now gives y.
    EXPECT_EQ(fired_rules(), (Lines{"Stosuję regułę 1:", "Stosuję regułę 2:", "Stosuję regułę 3:",
                                    "Stosuję regułę 2:"}));
    const auto* final_facts = last_explanation("Dane są następujące fakty:");
    ASSERT_NE(final_facts, nullptr);
    EXPECT_EQ(final_facts->items, (Lines{"    na", "    b", "    x", "    y"}));
}

TEST_F(Forward, DeclaredFactInAConstraintMakesTheOthersFalse) {
    store.add(make_text_fact(Kind::fakt, "a"));
    store.set_text(Kind::nazwa_og, "OGtest.BRD");
    store.add(constraint(1, {"a", "b", "c"}));
    rule(1, "k", {"b"});
    rule(2, "m", {"a"});
    askable({"a", "b", "c"});
    run_with("1", "2", {});
    EXPECT_TRUE(questions().empty());
    const auto* declared = last_explanation("W bazie reguł są następujące fakty:");
    ASSERT_NE(declared, nullptr);
    EXPECT_EQ(declared->items, (Lines{"    a"}));
    EXPECT_EQ(last_explanation("Wyjaśnienie reguły")->items.back(), "    m");
    EXPECT_EQ(memory.zanegowany_warunek_z_bazy_ograniczen, (StringList{"nb", "nc"}));
}

TEST_F(Forward, TwoDeclaredFactsOfOneConstraintBlockInference) {
    store.add(make_text_fact(Kind::fakt, "a"));
    store.add(make_text_fact(Kind::fakt, "b"));
    store.add(constraint(4, {"a", "b"}));
    rule(1, "k", {"a", "b"});
    askable({"a", "b"});
    run_with("1", "2", {}, {});
    const auto notes = ui.of_kind("note");
    ASSERT_EQ(notes.size(), 2u);
    EXPECT_EQ(notes[1].title, "Błąd bazy reguł! ");
    EXPECT_TRUE(
        output_has("Błąd bazy reguł! Dwa warunki wykluczające się:\n     a\n     b\n"
                   "z ograniczenia dokładnego 4 zostały zadeklarowane w bazie reguł jako fakty "
                   "z CF=1.0.\n"));
    EXPECT_TRUE(fired_rules().empty());
    EXPECT_TRUE(memory.blad_wykluczajacych);
    // Later commands do nothing until the rule base is loaded again.
    const auto events = ui.events.size();
    run_refused();
    EXPECT_EQ(ui.events.size(), events + 1);  // only the clearing of the message window
}

TEST_F(Forward, FactMenuLeavesUnselectedConditionsFalse) {
    store.set_text(Kind::nazwa_og, "OGtest.BRD");
    store.add(constraint(1, {"a", "b"}));
    rule(1, "k", {"b", "c", "nd"});
    askable({"a", "b", "c", "d"});
    run_with("1", "1", {"2", "1"});
    const auto lists = ui.of_kind("list");
    ASSERT_EQ(lists.size(), 1u);
    EXPECT_EQ(lists[0].title, "Przegląd warunków wykluczających się dla ograniczenia 1");
    EXPECT_EQ(lists[0].text, "Wybierz fakt z listy warunków dla ograniczenia 1");
    const auto many = ui.of_kind("list many");
    ASSERT_EQ(many.size(), 1u);
    EXPECT_EQ(many[0].items, (Lines{"c", "d"}));
    EXPECT_TRUE(questions().empty());
    EXPECT_EQ(last_explanation("Wyjaśnienie reguły")->items.back(), "    k");
}

TEST_F(Forward, FactMenuOffersOnlyConstraintMembersNotYetSettled) {
    store.set_text(Kind::nazwa_og, "OGtest.BRD");
    store.add(constraint(1, {"a", "b"}));
    store.add(constraint(2, {"b", "c", "d"}));
    store.add(constraint(3, {"a", "e"}));
    rule(1, "k", {"a", "b", "c", "d", "e"});
    askable({"a", "b", "c", "d", "e"});
    // a in constraint 1; constraint 2 offers c and d only; constraint 3 is settled by a.
    run_with("2", "1", {"1", "2"});
    const auto lists = ui.of_kind("list");
    ASSERT_EQ(lists.size(), 2u);
    EXPECT_EQ(lists[1].items, (Lines{"c", "d"}));
    EXPECT_EQ(last_explanation("Dane są następujące fakty:")->items,
              (Lines{"    a", "    nb", "    d", "    nc", "    ne", "    nk"}));
    EXPECT_TRUE(ui.of_kind("list many").empty());
}

TEST_F(Forward, EmptyFactMenuFallsBackToQuestions) {
    store.add(make_text_fact(Kind::fakt, "a"));
    rule(1, "k", {"a"});
    askable({"a"});
    run_with("1", "1", {});
    EXPECT_TRUE(ui.of_kind("list many").empty());
    EXPECT_TRUE(output_has("Wartości logiczne warunków dopytywalnych zostały\n"));
    EXPECT_EQ(last_explanation("Wyjaśnienie reguły")->items.back(), "    k");
    EXPECT_EQ(app.report().text()->view().find("Wartości logiczne"), std::string::npos);
}

TEST_F(Forward, KoniecEndsTheRunWithoutExplanationSummaryOrReport) {
    rule(1, "koniec", {"a"});
    rule(2, "z", {"a"});
    askable({"a"});
    run_with("2", "2", {"Tak"}, {});
    EXPECT_TRUE(fired_rules().empty());
    EXPECT_EQ(titles("note").back(), "Uwaga - koniec!");
    EXPECT_TRUE(output_has("Reguła z wnioskiem 'koniec' kończy wnioskowanie.\n"));
    EXPECT_EQ(titles("ask"), (Lines{"Tworzenie etykiet"}));
    EXPECT_TRUE(memory.rbd.established("koniec"));
    EXPECT_FALSE(memory.rbd.established("z"));
}

TEST_F(Forward, NegatedKoniecDoesNotEndTheRun) {
    rule(1, "koniec", {"a"});
    rule(2, "z", {"na"});
    askable({"a"});
    run_with("1", "2", {"Nie"});
    EXPECT_EQ(fired_rules(), (Lines{"Stosuję regułę 1:", "Stosuję regułę 2:"}));
    EXPECT_EQ(titles("ask").size(), 3u);
}

TEST_F(Forward, QuestionAboutANegatedCondition) {
    rule(1, "k", {"na"});
    askable({"a"});
    run_with("1", "2", {"Nie"});
    EXPECT_EQ(questions(), (Lines{"na?"}));
    EXPECT_TRUE(output_has("na?" + std::string(52, ' ') + "  NIE\n"));
    EXPECT_EQ(last_explanation("Wyjaśnienie reguły")->items.back(), "    nk");
}

TEST_F(Forward, ConstraintChoiceAnswersTheQuestion) {
    store.set_text(Kind::nazwa_og, "OGtest.BRD");
    store.add(constraint(3, {"a", "b", "c"}));
    rule(1, "k", {"b"});
    rule(2, "m", {"nc"});
    askable({"a", "b", "c"});
    run_with("1", "2", {"1"});
    const auto lists = ui.of_kind("list");
    ASSERT_EQ(lists.size(), 1u);
    EXPECT_EQ(lists[0].title, "Wskaż warunek będący prawdą!");
    EXPECT_EQ(lists[0].text, "Tylko jeden z warunków z ograniczenia 3 może być prawdą!");
    EXPECT_TRUE(
        output_has("Tylko jeden warunek z ograniczenia dla listy: \n   a\n   b\n   c\n"
                   " może być prawdą!\nWskaż warunek będący prawdą!\na"));
    EXPECT_EQ(fired_rules(), (Lines{"Stosuję regułę 1:", "Stosuję regułę 2:"}));
    EXPECT_EQ(last_explanation("Wyjaśnienie reguły")->items.back(), "    m");
}

TEST_F(Forward, ConstraintChoiceNeverOffersAMemberAlreadyRefuted) {
    store.set_text(Kind::nazwa_og, "OGtest.BRD");
    store.add(constraint(1, {"dom", "blok"}));
    store.add(constraint(2, {"blok", "opał"}));
    rule(1, "k", {"dom", "opał"});
    askable({"dom", "blok", "opał"});
    // Choosing "dom" refutes "blok"; the second choice must not offer it again.
    run_with("1", "2", {"1", "1"});
    const auto lists = ui.of_kind("list");
    ASSERT_EQ(lists.size(), 2u);
    EXPECT_EQ(lists[1].items, (Lines{"opał"}));
    EXPECT_EQ(last_explanation("Wyjaśnienie reguły")->items.back(), "    k");
}

TEST_F(Forward, SilentRuleFiresWithoutExplanation) {
    rule(1, "k", {"a"}, 0);
    askable({"a"});
    run_with("1", "2", {"Tak"});
    EXPECT_TRUE(fired_rules().empty());
    EXPECT_FALSE(output_has("Stosuję regułę"));
}

TEST_F(Forward, RulesRevisingEachOtherInACircleAreStopped) {
    // p holds when q does not, q holds when p does: no end state exists.
    rule(1, "q", {"s"});
    rule(2, "p", {"nq"});
    rule(3, "q", {"p"});
    askable({"s"});
    run_with("1", "2", {"Nie"});
    EXPECT_TRUE(output_has("Reguły wzajemnie odwołują swoje wnioski bez końca.\n"));
    EXPECT_EQ(titles("note")[1], "Uwaga błąd!");
    EXPECT_EQ(titles("note")[2], "Uwaga!");  // the normal end follows
    EXPECT_LT(fired_rules().size(), 20u);
}

TEST_F(Forward, FactsShownAfterFiringsListEverySupportAndFactsWrittenAsRules) {
    rule(0, "stały", {"bez warunku"});
    rule(1, "k", {"a", "b"});
    rule(2, "k", {"a", "nb"});
    rule(3, "k", {"na"});
    askable({"a", "b"});
    run_with("2", "2", {"Tak", "Nie"});
    // Rule 1 gives nk, rule 2 gives k (displacing nk), rule 3 adds nothing new.
    const auto* facts_shown = last_explanation("Dane są następujące fakty:");
    ASSERT_NE(facts_shown, nullptr);
    EXPECT_EQ(facts_shown->items, (Lines{"    stały", "    a", "    nb", "    k"}));
    EXPECT_EQ(fired_rules(),
              (Lines{"Stosuję regułę 1:", "Stosuję regułę 2:", "Stosuję regułę 3:"}));
    EXPECT_EQ(last_explanation("Wyjaśnienie reguły")->items.back(), "    nk");
}

TEST_F(Forward, LabelsAreKept) {
    rule(1, "k", {"a"});
    askable({"a"});
    // A character Windows-1250 lacks is refused where it is typed, naming it.
    ui.answers = {"1", "TAK", "pierwsza", "TAK", "zła ☃", "druga", "NIE", "2", "Tak", "NIE", "Nie"};
    app.commands().enable({10148});
    app.run_command(10148);
    EXPECT_EQ(memory.etykieta, (StringList{"pierwsza", "druga"}));
    ASSERT_FALSE(ui.of_kind("note").empty());
    EXPECT_NE(ui.of_kind("note").front().text.find("Znak '☃'"), std::string::npos);
}

}  // namespace
}  // namespace xamo::testing
