// "Dlaczego nie?" (10160): whole runs of both inference commands followed by the explanation, the
// availability of the command, and the walk alone on cycles, shared conditions and long chains.
#include "inference/why_not.h"

#include "app/why_not_command.h"
#include "inference_fixture.h"

namespace xamo::testing {
namespace {

using Lines = std::vector<std::string>;

class WhyNotTest : public InferenceTest {
  protected:
    // Forward: detail level 1, no labels, the questions interface, then the answers.
    void forward(const Lines& answers) {
        ui.answers = {"1", "NIE", "2"};
        ui.answers.insert(ui.answers.end(), answers.begin(), answers.end());
        app.commands().enable({10148});
        app.run_command(10148);
    }
    // Backward: detail level 1, no labels, the narrow kind, the hypothesis, then the answers.
    void backward(const std::string& hypothesis, const Lines& answers) {
        ui.answers = {"1", "NIE", "1", hypothesis};
        ui.answers.insert(ui.answers.end(), answers.begin(), answers.end());
        app.commands().enable({10149});
        app.run_command(10149);
    }
    // Runs 10160 choosing the item `choice` (1-based) and returns the explanation dialog's lines,
    // checking that the output stream got the same lines.
    Lines why_not(int choice) {
        ui.answers = {std::to_string(choice)};
        const std::size_t written = ui.output.size();
        EXPECT_EQ(app.run_command(kWhyNotCommand), CommandTable::RunResult::Done);
        const auto dialogs = ui.of_kind("explanation");
        if (dialogs.empty()) return {};
        std::string expected_output;
        for (const auto& line : dialogs.back().items) expected_output += line + "\n";
        // A line the run left open is ended first.
        std::string output = ui.output.substr(written);
        if (!output.empty() && output.front() == '\n') output.erase(0, 1);
        EXPECT_EQ(output, expected_output);
        return dialogs.back().items;
    }
    Lines offered() const {
        const auto lists = ui.of_kind("list");
        return lists.empty() ? Lines{} : lists.back().items;
    }
    std::string dialog_title() const { return ui.of_kind("explanation").back().title; }

    // A garden: a false answer, a condition concluded only by a rule numbered 0, a rule never
    // reached, and a condition refuted by another rule.
    void garden() {
        rule(1, "susza", {"brak_deszczu", "upał"});
        rule(2, "podlewanie", {"susza", "wieczór"});
        rule(3, "oprysk", {"mszyce", "szkodniki"});
        rule(0, "szkodniki", {"mszyce"});
        rule(4, "koniec", {"susza", "npodlewanie"});
        rule(5, "nawożenie", {"wiosna", "słabe_wzrosty"});
        rule(6, "zraszacz", {"podlewanie", "ogród"});
        askable({"brak_deszczu", "mszyce", "ogród", "słabe_wzrosty", "upał", "wieczór", "wiosna"});
    }
};

const char* const kEndedByRule4 = "Reguła 4 z wnioskiem „koniec” zakończyła wnioskowanie.";
const char* const kFirstFailing = "; pierwszy niespełniony w kolejności wnioskowania";
const char* const kNotConcluded =
    " nie został rozstrzygnięty: nie jest dopytywalny i nie wywnioskowała go żadna zastosowana "
    "reguła ani model";

TEST_F(WhyNotTest, AfterForwardInferenceEachKindOfBlockIsNamed) {
    garden();
    // brak_deszczu, upał: susza; wieczór no: npodlewanie; mszyce yes, szkodniki undecided; then
    // rule 4 concludes "koniec" before rules 5 and 6 are tried.
    forward({"Tak", "Tak", "Nie", "Tak"});
    ASSERT_TRUE(app.commands().enabled(kWhyNotCommand));

    EXPECT_EQ(why_not(1), (Lines{"Warunek „podlewanie” nie został wywnioskowany: jest fałszywy.",
                                 "Reguła 2: jeżeli susza, wieczór to podlewanie",
                                 "    warunek „wieczór” jest fałszywy (odpowiedź: nie)"}));
    EXPECT_EQ(offered(), (Lines{"podlewanie", "oprysk", "szkodniki", "nawożenie", "zraszacz"}));
    EXPECT_EQ(ui.of_kind("list").back().title, "Dlaczego nie?");
    EXPECT_EQ(dialog_title(), "Dlaczego nie: podlewanie");

    // "koniec" ended the run: an undecided condition says so first.
    EXPECT_EQ(why_not(2), (Lines{"Warunek „oprysk” nie został wywnioskowany ani zaprzeczony.",
                                 kEndedByRule4, "Reguła 3: jeżeli mszyce, szkodniki to oprysk",
                                 std::string("    warunek „szkodniki”") + kNotConcluded,
                                 "        Reguła 0: jeżeli mszyce to szkodniki",
                                 "            reguła 0 nigdy nie jest stosowana"}));
    EXPECT_EQ(why_not(3), (Lines{"Warunek „szkodniki” nie został wywnioskowany ani zaprzeczony.",
                                 kEndedByRule4, "Reguła 0: jeżeli mszyce to szkodniki",
                                 "    reguła 0 nigdy nie jest stosowana"}));
    EXPECT_EQ(why_not(4),
              (Lines{"Warunek „nawożenie” nie został wywnioskowany ani zaprzeczony.", kEndedByRule4,
                     "Reguła 5: jeżeli wiosna, słabe_wzrosty to nawożenie",
                     "    warunek „wiosna” nie został zapytany: wniosek „koniec” zakończył "
                     "wnioskowanie, zanim był potrzebny; pierwszy niespełniony w kolejności "
                     "wnioskowania",
                     "    warunek „słabe_wzrosty” nie został zapytany: reguła nie spełnia "
                     "wcześniejszego warunku"}));
    // Rule 6 was never tried, but its first condition is already refuted by rule 2.
    EXPECT_EQ(why_not(5), (Lines{"Warunek „zraszacz” nie został wywnioskowany ani zaprzeczony.",
                                 kEndedByRule4, "Reguła 6: jeżeli podlewanie, ogród to zraszacz",
                                 "    warunek „podlewanie” jest fałszywy (reguła 2 wywnioskowała "
                                 "„npodlewanie”); pierwszy niespełniony w kolejności wnioskowania",
                                 "    warunek „ogród” nie został zapytany: reguła nie spełnia "
                                 "wcześniejszego warunku"}));
}

TEST_F(WhyNotTest, AfterBackwardInferenceTheUnneededConditionsWereNotAsked) {
    rule(1, "susza", {"brak_deszczu", "upał"});
    rule(2, "podlewanie", {"susza", "wieczór"});
    rule(3, "oprysk", {"mszyce", "szkodniki"});
    rule(0, "szkodniki", {"mszyce"});
    rule(5, "nawożenie", {"wiosna", "słabe_wzrosty"});
    rule(6, "zraszacz", {"podlewanie", "ogród"});
    askable({"brak_deszczu", "mszyce", "ogród", "słabe_wzrosty", "upał", "wieczór", "wiosna"});
    // Hypotheses (narrow, sorted): nawożenie, oprysk, zraszacz. zraszacz needs podlewanie,
    // which needs susza (both answers yes) and wieczór (no): rule 2 refutes podlewanie, rule 6
    // then zraszacz; the summary and the report are declined.
    backward("3", {"Tak", "Tak", "Nie", "NIE", "Nie"});
    ASSERT_TRUE(app.commands().enabled(kWhyNotCommand));
    EXPECT_EQ(why_not(5), (Lines{"Warunek „zraszacz” nie został wywnioskowany: jest fałszywy.",
                                 "Reguła 6: jeżeli podlewanie, ogród to zraszacz",
                                 "    warunek „podlewanie” jest fałszywy (reguła 2 wywnioskowała "
                                 "„npodlewanie”); pierwszy niespełniony w kolejności wnioskowania",
                                 "    warunek „ogród” nie został zapytany: reguła nie spełnia "
                                 "wcześniejszego warunku"}));
    EXPECT_EQ(offered(), (Lines{"podlewanie", "oprysk", "szkodniki", "nawożenie", "zraszacz"}));
    EXPECT_EQ(why_not(1), (Lines{"Warunek „podlewanie” nie został wywnioskowany: jest fałszywy.",
                                 "Reguła 2: jeżeli susza, wieczór to podlewanie",
                                 "    warunek „wieczór” jest fałszywy (odpowiedź: nie)"}));
    EXPECT_EQ(why_not(2), (Lines{"Warunek „oprysk” nie został wywnioskowany ani zaprzeczony.",
                                 "Reguła 3: jeżeli mszyce, szkodniki to oprysk",
                                 "    warunek „mszyce” nie został zapytany: nie był potrzebny do "
                                 "sprawdzenia hipotezy; pierwszy niespełniony w kolejności "
                                 "wnioskowania",
                                 std::string("    warunek „szkodniki”") + kNotConcluded,
                                 "        Reguła 0: jeżeli mszyce to szkodniki",
                                 "            reguła 0 nigdy nie jest stosowana"}));
    EXPECT_EQ(why_not(3), (Lines{"Warunek „szkodniki” nie został wywnioskowany ani zaprzeczony.",
                                 "Reguła 0: jeżeli mszyce to szkodniki",
                                 "    reguła 0 nigdy nie jest stosowana"}));
}

TEST_F(WhyNotTest, FalseConditionsNameDeclaredFactsConstraintsAndNegatedAnswers) {
    rule(1, "ogrzewanie", {"dom", "piec"});
    rule(2, "kominek", {"blok", "komin"});
    rule(3, "taras", {"nogród", "ogród_zimowy"});
    askable({"blok", "dom", "komin", "ogród", "ogród_zimowy", "piec"});
    store.add(Fact{Kind::fakt, {std::string("npiec")}});
    store.add(constraint(1, {"dom", "blok"}));
    store.set_text(Kind::nazwa_og, "OGtest.BRD");
    // dom is chosen from the constraint, so blok is false; the declared npiec refutes rule 1's
    // second condition; "nogród?" is answered no; the summary and the report are declined.
    forward({"1", "Nie", "NIE", "Nie"});
    EXPECT_EQ(why_not(1).back(), "    warunek „piec” jest fałszywy (zadeklarowany fakt „npiec”)");
    EXPECT_EQ(why_not(2)[2],
              "    warunek „blok” jest fałszywy (wykluczony przez ograniczenie 1, "
              "w którym wybrano „dom”)" +
                  std::string(kFirstFailing));
    EXPECT_EQ(why_not(3)[2],
              "    warunek „nogród” jest fałszywy (odpowiedź: nie)" + std::string(kFirstFailing));
}

TEST_F(WhyNotTest, RelationalModelsShowTheirRelationAndApplicationCondition) {
    rule(1, "zniżka", {"pełnoletni"});
    askable({});
    model_base({"karta", "wiek"});
    store.add(model(1, "bez warunku", "pełnoletni", "wiek", ">=", "18"));
    store.add(model(2, "karta", "rabat", "wiek", "<", "26"));
    store.add(model_r(3, "bez warunku", "norma", "<,<", {"0", "wiek"}));
    store.add(Fact{Kind::argument_znany, {std::string("wiek"), 15.0}});
    // Model 1 refutes pełnoletni (15 >= 18 fails), rule 1 then refutes zniżka; the application
    // condition of model 2 is answered no; the summary and the report are declined.
    forward({"Nie", "NIE", "Nie"});
    EXPECT_EQ(why_not(1), (Lines{"Warunek „zniżka” nie został wywnioskowany: jest fałszywy.",
                                 "Reguła 1: jeżeli pełnoletni to zniżka",
                                 "    warunek „pełnoletni” jest fałszywy (model 1 wywnioskował "
                                 "„npełnoletni”)"}));
    EXPECT_EQ(offered(), (Lines{"zniżka", "pełnoletni", "rabat", "norma"}));
    EXPECT_EQ(why_not(2), (Lines{"Warunek „pełnoletni” nie został wywnioskowany: jest fałszywy.",
                                 "Model 1: pełnoletni, gdy wiek >= 18",
                                 "    relacja nie jest spełniona: 15 >= 18"}));
    EXPECT_EQ(why_not(3), (Lines{"Warunek „rabat” nie został wywnioskowany ani zaprzeczony.",
                                 "Model 2: jeżeli karta to rabat, gdy wiek < 26",
                                 "    warunek stosowania „karta” jest fałszywy (odpowiedź: nie)"}));
    EXPECT_EQ(why_not(4), (Lines{"Warunek „norma” nie został wywnioskowany ani zaprzeczony.",
                                 "Model 3: norma, gdy <,< [\"0\",\"wiek\"]",
                                 "    model nigdy nie jest stosowany: jego relacja wymaga trzech "
                                 "argumentów"}));
}

TEST_F(WhyNotTest, AvailableFromTheEndOfARunUntilTheRuleOrModelBaseChanges) {
    rule(1, "k", {"a"});
    askable({"a"});
    EXPECT_FALSE(app.commands().enabled(kWhyNotCommand));
    forward({"Tak", "NIE", "Nie"});
    EXPECT_TRUE(app.commands().enabled(kWhyNotCommand));
    // Everything concluded: a note says so.
    ui.answers.clear();
    app.run_command(kWhyNotCommand);
    EXPECT_EQ(ui.of_kind("note").back().text,
              "Wszystkie wnioski reguł i modeli zostały wywnioskowane.");

    // A run that does not start leaves the last run's explanation as it was.
    memory.blad_wykluczajacych = true;
    app.commands().enable({10149});
    app.run_command(10149);
    EXPECT_TRUE(app.commands().enabled(kWhyNotCommand));
    EXPECT_EQ(app.why_not().direction, RunDirection::Forward);
    memory.blad_wykluczajacych = false;

    // A rule base created (even when cancelled in the file dialog, it empties the rule base
    // first) disables it.
    app.commands().enable({10065});
    ui.answers = {""};
    app.run_command(10065);
    EXPECT_FALSE(app.commands().enabled(kWhyNotCommand));
    store.set_text(Kind::nazwa_re, "REtest.BRD");
    rule(1, "k", {"a"});
    askable({"a"});
    forward({"Nie", "NIE", "Nie"});
    EXPECT_TRUE(app.commands().enabled(kWhyNotCommand));
    EXPECT_EQ(why_not(1).back(), "    warunek „a” jest fałszywy (odpowiedź: nie)");
    app.commands().enable({10082});
    ui.answers = {""};
    app.run_command(10082);  // a model base created, cancelled too
    EXPECT_FALSE(app.commands().enabled(kWhyNotCommand));
}

// The walk alone, on a state set by hand: nothing established but "bez warunku".
class WhyNotWalk : public InferenceTest {
  protected:
    void SetUp() override {
        InferenceTest::SetUp();
        memory.rbd.add(0, "bez warunku");
    }
    // The run recorded as the bases and memory now stand.
    const WhyNotMemory& recorded() {
        const InferenceContext ctx = context();
        record_forward_run(record, ctx);
        return record;
    }
    Lines explain(const std::string& condition) { return WhyNot(recorded()).explain(condition); }
    WhyNotMemory record;
};

TEST_F(WhyNotWalk, CyclesStopAndSharedConditionsAreExplainedOnce) {
    askable({"r"});
    rule(1, "x", {"p", "q"});
    rule(2, "p", {"q"});
    rule(3, "q", {"p"});
    rule(4, "x", {"q"});
    rule(5, "x", {"r"});
    EXPECT_EQ(explain("x"),
              (Lines{"Warunek „x” nie został wywnioskowany ani zaprzeczony.",
                     "Reguła 1: jeżeli p, q to x",
                     std::string("    warunek „p”") + kNotConcluded + kFirstFailing,
                     "        Reguła 2: jeżeli q to p",
                     std::string("            warunek „q”") + kNotConcluded,
                     "                Reguła 3: jeżeli p to q",
                     "                    warunek „p” nie został rozstrzygnięty: zależy od "
                     "samego siebie (cykl reguł)",
                     "    warunek „q” nie został rozstrzygnięty (wyjaśnienie wyżej)",
                     "Reguła 4: jeżeli q to x",
                     "    warunek „q” nie został rozstrzygnięty (wyjaśnienie wyżej)",
                     "Reguła 5: jeżeli r to x",
                     "    warunek „r” nie został zapytany: wnioskowanie zakończyło się, zanim "
                     "był potrzebny"}));
}

// 100,000 levels, two rules each: c_i from c_(i+1), and from c_(i+1) with e. Explained without
// the guards this would be 2^100000 lines deep; with them the walk stops at the depth bound and
// refers to the conditions explained above, so it ends at once and never recurses.
TEST_F(WhyNotWalk, ALongSharedChainStaysBoundedAndLinear) {
    constexpr int kLevels = 100000;
    for (int i = 0; i < kLevels; ++i) {
        rule(2 * i + 1, numbered("c", i), {numbered("c", i + 1)});
        rule(2 * i + 2, numbered("c", i), {numbered("c", i + 1), "e"});
    }
    const WhyNot why(recorded());
    EXPECT_EQ(why.candidates().size(), static_cast<std::size_t>(kLevels));
    const Lines lines = why.explain("c0");
    const std::size_t levels = WhyNot::kMaxLevels;
    // The headline; per level a rule and its condition, twice; the last level stops; the
    // second rule of the top level names "e" as well.
    ASSERT_EQ(lines.size(), 1 + 4 * levels + 4 + 1);
    EXPECT_EQ(lines[1], "Reguła 1: jeżeli c1 to c0");
    const std::string deepest = std::string(4 * (2 * levels + 1), ' ') + "warunek „" +
                                numbered("c", static_cast<long>(levels) + 1) +
                                "” nie został rozstrzygnięty: dalszych przyczyn nie pokazano "
                                "(ponad 50 poziomów reguł)";
    EXPECT_EQ(lines[2 * levels + 2], deepest);
    EXPECT_EQ(lines[lines.size() - 2],
              "    warunek „c1” nie został rozstrzygnięty (wyjaśnienie "
              "wyżej); pierwszy niespełniony w kolejności wnioskowania");
}

}  // namespace
}  // namespace xamo::testing
