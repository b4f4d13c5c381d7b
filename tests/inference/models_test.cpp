// Model application inside forward runs: kind order, values, explanations, hazards, grades and
// the data-error check.
#include "inference/models.h"

#include <algorithm>

#include "inference_fixture.h"

namespace xamo::testing {
namespace {

using Lines = std::vector<std::string>;

class Models : public InferenceTest {
  protected:
    // Detail level, no labels, questions mode, the answers of the run; `closing` declines the
    // summary and the report of a run that ends normally.
    void run_with(const std::string& detail, std::vector<std::string> rest,
                  const std::vector<std::string>& closing = {"NIE", "Nie"}) {
        ui.answers = {detail, "NIE", "2"};
        ui.answers.insert(ui.answers.end(), rest.begin(), rest.end());
        ui.answers.insert(ui.answers.end(), closing.begin(), closing.end());
        app.commands().enable({10148});
        app.run_command(10148);
    }
    std::optional<double> value(const std::string& name) const {
        return memory.zmienna_ustalona.get(name);
    }
    const ScriptedInteraction::Event* explanation(const std::string& title) const {
        for (const auto& e : ui.events) {
            if (e.kind == "explanation" && e.title == title) return &e;
        }
        return nullptr;
    }
    Lines notes() const {
        Lines out;
        for (const auto& e : ui.of_kind("note")) out.push_back(e.title + "|" + e.text);
        return out;
    }
    bool noted(const std::string& text) const {
        for (const auto& e : ui.of_kind("note")) {
            if (e.text.find(text) != std::string::npos) return true;
        }
        return false;
    }
};

TEST_F(Models, ModelsOnlyWhenNoRuleFiresInKindOrder) {
    rule(1, "k", {"duzo"});
    rule(2, "m", {"a"});
    askable({"a"});
    model_base({});
    app.askable().lista_wnioskow_modeli = {"duzo"};
    store.add(model(5, "bez warunku", "duzo", "s", ">", "10"));
    store.add(Fact{Kind::model_wielomianowy,
                   {std::int32_t{4}, std::string("bez warunku"), std::string("w"), std::string("3"),
                    StringList{"2", "0", "1"}, IntegerList{0, 1, 2}, std::int32_t{1}}});
    store.add(Fact{Kind::model_liniowy,
                   {std::int32_t{3}, std::string("bez warunku"), std::string("s"),
                    StringList{"2", "1"}, StringList{"x", "w"}, std::int32_t{1}}});
    store.add(model_r(2, "bez warunku", "x", "+", {"1", "2", "3"}));
    store.add(model(1, "bez warunku", "y", "2", "*", "x"));
    run_with("1", {"Tak"});
    Lines order;
    for (const auto& e : ui.of_kind("explanation")) {
        if (e.title.starts_with("Wyjaśnienie")) order.push_back(e.items.front());
    }
    // y needs x: the basic model computes x through the extended one first.
    EXPECT_EQ(order, (Lines{"Stosuję regułę 2:", "Stosuję model arytmetyczny rozszerzony 2:",
                            "Stosuję model arytmetyczny podstawowy 1:",
                            "Stosuję model arytmetyczny wielomianowy 4:",
                            "Stosuję model arytmetyczny liniowy 3:",
                            "Stosuję model relacyjny podstawowy 5:", "Stosuję regułę 1:"}));
    EXPECT_EQ(value("x"), 6);
    EXPECT_EQ(value("y"), 12);
    EXPECT_EQ(value("w"), 11);
    EXPECT_EQ(value("s"), 23);
    const auto* extended = explanation("Wyjaśnienie modelu arytmetycznego rozwiniętego");
    ASSERT_NE(extended, nullptr);
    EXPECT_EQ(extended->items, (Lines{"Stosuję model arytmetyczny rozszerzony 2:",
                                      "dla spełnionego warunku startowego:", "    bez warunku",
                                      "zachodzi: ", "    x = ", "       1  +", "       2  +",
                                      "       3", "Stąd wynika wartość: ", "  x = 6"}));
    EXPECT_TRUE(output_has("zachodzi: \n    x = \n      1  +\n      2  +\n      3\n"));
    const auto* linear = explanation("Wyjaśnienie modelu arytmetycznego liniowego");
    ASSERT_NE(linear, nullptr);
    EXPECT_EQ(Lines(linear->items.begin() + 4, linear->items.end()),
              (Lines{"    s = ", "      2 * x + ", "      1 * w",
                     "Stąd wynika wartość: ", "    s = 23"}));
    const auto* polynomial = explanation("Wyjaśnienie modelu arytmetycznego wielomianowego");
    ASSERT_NE(polynomial, nullptr);
    EXPECT_EQ(polynomial->items[5], "      2 * 3^0 + ");
    const auto* relation = explanation("Wyjaśnienie modelu relacyjnego podstawowego");
    ASSERT_NE(relation, nullptr);
    EXPECT_EQ(relation->items,
              (Lines{"Stosuję model relacyjny podstawowy 5:", "dla spełnionego warunku startowego:",
                     "    bez warunku", "prawdą jest: ", "    duzo", "jeżeli", "    s > 10",
                     "Dla modelu 5 jest spełniona relacja: ", "    23 > 10",
                     "Stąd wynika wniosek: ", "   duzo"}));
}

TEST_F(Models, ValuesOfTheOperationsAndTheBasicFormulaLines) {
    askable({});
    model_base({});
    store.add(model(1, "bez warunku", "r", "2.5", "round", "0"));
    store.add(model(2, "bez warunku", "t", "-2.7", "trunc", "0", 0));
    store.add(model(3, "bez warunku", "d", "-7", "div", "2", 0));
    store.add(model(4, "bez warunku", "m", "-7", "mod", "2", 0));
    store.add(model(5, "bez warunku", "z", "-1.25", "zaokrąglenie_do_N", "1"));
    store.add(model(6, "bez warunku", "p", "2", "A^N", "2.5", 0));
    store.add(model(7, "bez warunku", "e", "r", "=", "0"));
    run_with("1", {});
    EXPECT_EQ(value("r"), 3);
    EXPECT_EQ(value("t"), -2);
    EXPECT_EQ(value("d"), -3);
    EXPECT_EQ(value("m"), -1);
    EXPECT_EQ(value("z"), -1.2);
    EXPECT_EQ(value("p"), 8);
    EXPECT_EQ(value("e"), 3);
    EXPECT_EQ(value("2.5"), 2.5);  // a literal is fixed under its own text
    EXPECT_TRUE(output_has("zachodzi: \n    r = round  2.5\nStąd wynika wartość: \n  r = 3\n\n"));
    EXPECT_TRUE(output_has("    z = -1.25 zaokrąglenie_do_N 1\n"));
    EXPECT_TRUE(output_has("    e = r\n"));
    EXPECT_FALSE(output_has("Stosuję model arytmetyczny podstawowy 2:"));
}

TEST_F(Models, ArithmeticHazardsAreReportedOnceAndInferenceGoesOn) {
    askable({});
    model_base({});
    store.add(model(1, "bez warunku", "y", "5", "/", "0"));
    store.add(model(2, "bez warunku", "q", "7", "div", "0"));
    store.add(model(3, "bez warunku", "l", "0", "log", "0"));
    store.add(model(4, "bez warunku", "k", "y", "+", "1"));
    store.add(model(5, "bez warunku", "s", "-9", "sqrt", "0"));
    store.add(model(6, "bez warunku", "s1", "9", "sqrt", "1"));
    run_with("1", {});
    EXPECT_EQ(value("y"), 1);
    EXPECT_TRUE(output_has("Próba dzielenia przez 0!\n"));
    EXPECT_FALSE(value("q"));
    EXPECT_FALSE(value("l"));
    EXPECT_EQ(value("k"), 2);
    EXPECT_EQ(value("s"), 3);
    EXPECT_FALSE(value("s1"));
    const Lines all = notes();
    EXPECT_EQ(std::count(all.begin(), all.end(), "Uwaga!|Próba dzielenia przez 0!"), 1);
    EXPECT_EQ(std::count(all.begin(), all.end(), "Uwaga!|Pierwiastek z liczby ujemnej!"), 1);
    EXPECT_EQ(std::count_if(all.begin(), all.end(),
                            [](const std::string& n) {
                                return n.starts_with(
                                    "Uwaga błąd!|Błąd arytmetyczny w modelu 2:\n"
                                    "dzielenie przez 0.");
                            }),
              1);
    EXPECT_TRUE(noted("Błąd arytmetyczny w modelu 3:\nlogarytm z liczby niedodatniej."));
}

TEST_F(Models, CycleAmongModelsFailsForTheQuantity) {
    askable({});
    model_base({});
    store.add(model(1, "bez warunku", "p", "q", "+", "1"));
    store.add(model(2, "bez warunku", "q", "p", "*", "2"));
    store.add(model(3, "bez warunku", "r", "4", "+", "1"));
    run_with("1", {});
    EXPECT_FALSE(value("p"));
    EXPECT_FALSE(value("q"));
    EXPECT_EQ(value("r"), 5);
    EXPECT_TRUE(noted("Cykl w bazie modeli: wartość argumentu"));
}

TEST_F(Models, LongChainOfModelsDoesNotExhaustTheStack) {
    askable({});
    model_base({});
    const int length = 5000;
    for (int i = length; i >= 1; --i) {
        store.add(model(i, "bez warunku", numbered("v", i), numbered("v", i - 1), "+", "1", 0));
    }
    memory.zmienna_ustalona.set("v0", 0);
    store.add(Fact{Kind::argument_znany, {std::string("v0"), 0.0}});
    run_with("1", {});
    EXPECT_EQ(value(numbered("v", length)), length);
    EXPECT_EQ(titles("note"),
              (Lines{"Wnioskowanie rozwinięte dokładne w przód", "Uwaga!", "Uwaga!"}));
}

TEST_F(Models, ArgumentValuesAreAskedUntilTheyAreNumbers) {
    askable({});
    model_base({"x", "z", "v"});
    store.add(model(1, "bez warunku", "y", "x", "*", "2"));
    store.add(model(2, "bez warunku", "w", "z", "+", "1"));
    store.add(model(3, "bez warunku", "u", "v", "+", "0"));
    // Not a number, empty, two commas: a note each and the question again; a decimal comma
    // counts as a decimal point, blanks around the number are ignored.
    run_with("1", {"21", "abc", "", "1,2,3", " 7,5 ", "-0.25e1"});
    EXPECT_EQ(value("y"), 42);
    EXPECT_EQ(value("w"), 8.5);
    EXPECT_EQ(value("u"), -2.5);
    const auto values = ui.of_kind("value");
    ASSERT_EQ(values.size(), 6u);
    EXPECT_EQ(values[0].title, "Określ wartość argumentu");
    EXPECT_EQ(values[0].text, "x");
    EXPECT_EQ(values[4].text, "z");
    const std::string refused =
        "Uwaga!|Wartością argumentu z musi być liczba,\nnp. 120 albo 120,5.\nPodaj ją jeszcze raz.";
    const Lines all = notes();
    EXPECT_EQ(std::count(all.begin(), all.end(), refused), 3);
    EXPECT_TRUE(output_has("Określ wartość oceny: x\nx=21\n\n"));
    // One question in the output, however often the dialog came back.
    EXPECT_TRUE(output_has("Określ wartość oceny: z\nz=7.5\n\n"));
    const std::string asked = "Określ wartość oceny: z";
    EXPECT_EQ(ui.output.find(asked), ui.output.rfind(asked));
}

TEST_F(Models, ExtendedRelationNeedsThreeMembers) {
    askable({});
    model_base({"x"});
    app.askable().lista_wnioskow_modeli = {"w_normie", "dwa"};
    store.add(model_r(1, "bez warunku", "dwa", "<,<", {"1", "2"}));
    store.add(model_r(2, "bez warunku", "w_normie", "<=,<", {"0", "x", "10"}));
    run_with("2", {"0"});
    const auto* relation = explanation("Wyjaśnienie modelu relacyjnego rozwiniętego");
    ASSERT_NE(relation, nullptr);
    EXPECT_EQ(relation->items[6], "    0 <= x < 10");
    EXPECT_EQ(relation->items[8], "    0 <= 0 < 10");
    EXPECT_EQ(relation->items.back(), "   w_normie");
    const auto* facts = explanation("Dane są następujące fakty:");
    ASSERT_NE(facts, nullptr);
    EXPECT_EQ(facts->items, (Lines{"    w_normie"}));
}

TEST_F(Models, RelationThatDoesNotHoldConcludesTheNegation) {
    askable({});
    model_base({});
    store.add(model(1, "bez warunku", "alarm", "5", ">", "7"));
    store.add(model(2, "bez warunku", "nspokoj", "5", ">", "7"));
    store.add(model(3, "bez warunku", "rozne", "3", "<>", "4"));
    run_with("2", {});
    const auto* negative = explanation("Wyjaśnienie modelu  relacyjnego podstawowego");
    ASSERT_NE(negative, nullptr);
    EXPECT_EQ(negative->items[4], "    nalarm");
    EXPECT_EQ(negative->items[7], "Dla modelu 1 nie jest spełniona relacja: ");
    const auto* last = explanation("Dane są następujące fakty:");
    ASSERT_NE(last, nullptr);
    Lines final_facts;
    for (const auto& e : ui.of_kind("explanation")) {
        if (e.title == "Dane są następujące fakty:") final_facts = e.items;
    }
    EXPECT_EQ(final_facts, (Lines{"    nalarm", "    spokoj", "    rozne"}));
}

TEST_F(Models, GradesOutOfRangeAreRefused) {
    askable({});
    model_base({"Ocena_alarm", "Ocena_cisza"});
    store.add(model(1, "bez warunku", "alarm", "7", ">", "5"));
    store.add(model(2, "bez warunku", "ncisza", "7", ">", "5"));
    run_with("1", {"11"});
    EXPECT_TRUE(
        output_has("Określ ocenę wniosku na skali 1 -10: Ocena_alarm\nOkreśl wartość oceny: "
                   "Ocena_alarm\nBłąd! Ocena musi być zawarta w przedziale 0 - 10\n"));
    EXPECT_TRUE(noted("Ocena musi być zawarta w przedziale 0 - 10"));
    EXPECT_FALSE(value("Ocena_alarm"));
    EXPECT_EQ(value("Ocena_ncisza"), std::nullopt);
    const auto values = ui.of_kind("value");
    ASSERT_EQ(values.size(), 1u);
    EXPECT_EQ(values[0].title, "Określ ocenę  wniosku na skali 1 - 10!");
}

TEST_F(Models, GradeAcceptedAndShownAgain) {
    askable({});
    model_base({"Ocena_alarm"});
    store.add(model(1, "bez warunku", "alarm", "7", ">", "5"));
    run_with("1", {"0"});
    EXPECT_EQ(value("Ocena_alarm"), 0);
    const auto* again = explanation("Wynik określenia oceny:");
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(again->items.back(), "Ocena_alarm=0");
    EXPECT_EQ(again->items.front(), "Stosuję model relacyjny podstawowy 1:");
}

TEST_F(Models, GradeModelDeclaresTheGrade) {
    askable({});
    model_base({"Ocena_ryzyka"});
    store.add(model(1, "bez warunku", "ryzyko", "Ocena_ryzyka", "=", "0"));
    store.add(model(2, "bez warunku", "wynik", "Ocena_ryzyka", "*", "10"));
    run_with("1", {"7"});
    EXPECT_EQ(value("Ocena_ryzyka"), 7);
    EXPECT_EQ(value("wynik"), 70);
    EXPECT_TRUE(
        output_has("należy zadeklarować wartość zmiennej: \n    Ocena_ryzyka\n"
                   "do której zostanie przyrównany wynik \nryzyko\n"
                   "Deklaruj ocenę  na skali 1 -10: Ocena_ryzyka\n"));
    ASSERT_NE(explanation("Wynik deklarowania oceny:"), nullptr);
}

TEST_F(Models, DataErrorModelRemovesTheValueAndAsksAgain) {
    askable({});
    model_base({"wiek"});
    store.add(model(9, "bez warunku", "Pomyłka we wprowadzonych danych", "wiek", "<", "0"));
    store.add(model(1, "bez warunku", "rocznik", "2026", "-", "wiek"));
    run_with("1", {"-5", "40"});
    EXPECT_EQ(value("rocznik"), 1986);
    EXPECT_TRUE(
        noted("Błędne dane zostały usunięte. Wnioskuj dalej i w odpowiednim miejscu wprowadź "
              "poprawione dane."));
    EXPECT_EQ(titles("note")[1], "Pomyłka we wprowadzonych danych!");
    ASSERT_EQ(ui.of_kind("value").size(), 2u);
    EXPECT_EQ(memory.model_stosowany.count(9), 1u);
}

TEST_F(Models, ApplicationConditionsAreAskedAndNegationsNeverHold) {
    askable({});
    model_base({"zima"});
    store.add(model(1, "zima", "ogrzewanie", "1", "+", "1"));
    store.add(model(2, "nzima", "chlodzenie", "1", "+", "1"));
    run_with("1", {"Tak"});
    EXPECT_EQ(value("ogrzewanie"), 2);
    EXPECT_FALSE(value("chlodzenie"));
    const auto confirms = ui.of_kind("confirm");
    ASSERT_EQ(confirms.size(), 1u);
    EXPECT_EQ(confirms[0].title, "Warunek stosowania modelu jest prawdą?");
}

TEST_F(Models, NegatedApplicationConditionAskedThroughItsPositiveForm) {
    askable({});
    model_base({"zima"});
    store.add(model(1, "nzima", "chlodzenie", "1", "+", "1"));
    run_with("1", {"Nie"});
    EXPECT_EQ(value("chlodzenie"), 2);
    EXPECT_EQ(ui.of_kind("confirm").at(0).text, "zima?");
}

TEST_F(Models, KnownArgumentsArePresentedAndUsed) {
    askable({});
    model_base({"x"});
    store.add(Fact{Kind::argument_znany, {std::string("x"), 4.0}});
    store.add(model(1, "bez warunku", "y", "x", "sqrt", "0"));
    run_with("2", {});
    EXPECT_EQ(value("y"), 2);
    ASSERT_NE(explanation("W bazie modeli są wartości następujących argumentów:"), nullptr);
    EXPECT_TRUE(output_has("W bazie modeli są wartości następujących argumentów:\n    x=4\n"));
    const auto* values = explanation("Dane są wartości następujących argumentów:");
    ASSERT_NE(values, nullptr);
    // Literals are fixed under their own text, but they are not arguments: never listed.
    EXPECT_EQ(values->items, (Lines{"    x=4"}));
}

TEST_F(Models, ApplicationConditionInAConstraintIsChosenFromItsMembers) {
    askable({});
    model_base({"lato", "zima"});
    store.set_text(Kind::nazwa_og, "OGtest.BRD");
    store.add(constraint(7, {"lato", "zima"}));
    store.add(model(1, "nlato", "a", "1", "+", "1"));
    store.add(model(2, "zima", "b", "1", "+", "1"));
    store.add(model(3, "lato", "c", "1", "+", "1"));
    run_with("1", {"2"});
    const auto lists = ui.of_kind("list");
    ASSERT_EQ(lists.size(), 1u);
    EXPECT_EQ(lists[0].text, "Tylko jeden warunek z ograniczenia 7 może być prawdą!");
    EXPECT_TRUE(ui.of_kind("confirm").empty());
    EXPECT_EQ(value("a"), 2);  // nlato is recorded once zima is chosen
    EXPECT_EQ(value("b"), 2);
    EXPECT_FALSE(value("c"));
}

TEST_F(Models, DeclaredModelFactsOfOneConstraintBlockInference) {
    askable({"a", "b"});
    rule(1, "k", {"a", "b"});
    model_base({});
    store.add(make_text_fact(Kind::m_fakt, "a"));
    store.add(make_text_fact(Kind::m_fakt, "b"));
    store.add(constraint(3, {"b", "a"}));
    run_with("1", {}, {});
    const auto all = ui.of_kind("note");
    ASSERT_EQ(all.size(), 2u);
    EXPECT_EQ(all[1].title, "Błąd bazy modeli! ");
    EXPECT_EQ(all[1].text,
              "Dwa warunki wykluczające się\n   a\n   b\nz ograniczenia 3\nzostały "
              "zadeklarowane w bazie modeli jako m_fakty.\nWnioskowanie nie jest możliwe! "
              "\n\nAby poprawić bazę reguł, przejdź do opcji:\n   'Baza modeli dokładna\n"
              "   Edycja bazy modelił' \ni popraw błędną bazę modeli.");
    EXPECT_TRUE(
        output_has("z ograniczenia dokładnego 3 zostały zadeklarowane w bazie modeli jako "
                   "m_fakty.\n\nWnioskowanie nie jest możliwe! Aby poprawić bazę reguł przejdź "
                   "do opcji:\n      'Baza modeli dokładna/Edycja bazy modeli' \n"));
    EXPECT_TRUE(memory.blad_wykluczajacych);
}

TEST_F(Models, RuleConditionCountComesOnlyThroughAnotherModel) {
    rule(5, "k", {"a", "b", "c"});
    askable({"a", "b", "c"});
    model_base({});
    store.add(model(1, "bez warunku", "n", "5", "liczba_warunków_reguły", "0"));
    store.add(model(2, "bez warunku", "dwa_n", "n", "*", "2"));
    run_with("1", {"Nie"});
    EXPECT_EQ(value("dwa_n"), 6);
    EXPECT_EQ(value("n"), 3);
}

}  // namespace
}  // namespace xamo::testing
