#include "askable/askable.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "askable/list_ops.h"
#include "kb/codec.h"
#include "support/scripted_interaction.h"

namespace xamo {
namespace {

TEST(ListOps, ReduceKeepsLastOccurrences) {
    EXPECT_EQ(reduce({"a", "b", "a", "c", "b"}), (StringList{"a", "c", "b"}));
    EXPECT_EQ(last_occurrences({0, 1, 0, 2, 1}, 3), (std::vector<std::uint32_t>{0, 2, 1}));
    // A long first list, and a short one against a long second list.
    EXPECT_EQ(difference({"c", "a", "b", "a"}, {"a"}), (StringList{"c", "b"}));
    EXPECT_EQ(difference({"a", "x", "a"}, {"c", "a", "b", "c"}), (StringList{"x"}));
    EXPECT_EQ(intersection({"c", "a", "b"}, {"b", "c"}), (StringList{"c", "b"}));
    // Upper case before lower case, Polish letters after ASCII ones (Windows-1250 bytes).
    EXPECT_EQ(sorted({"żur", "b", "Ala", "ala", "ąb", "z"}),
              (StringList{"Ala", "ala", "b", "z", "ąb", "żur"}));
}

TEST(ListOps, SortedIsTheStableSortInWindows1250OrderOfAnyTexts) {
    // Long shared prefixes, Polish letters, characters without a Windows-1250 byte ('À', '中'),
    // the one whose byte is 0xFF ('˙'), a NUL, broken UTF-8 and many repeated texts; and lists
    // where every character has a byte, which are sorted by counting.
    const std::vector<std::string> any{"a",    "b",    "_1",      "ą", "ż",
                                       "Ś",    "À",    "中",      "˙", std::string(1, '\0'),
                                       "\xFF", "\xFE", "warunek_"};
    const std::vector<std::string> with_bytes{
        "a", "b", "_1", "ą", "ż", "Ś", "˙", "Z", std::string(1, '\0'), "warunek_"};
    std::mt19937 random(11);
    for (const auto& pieces : {any, with_bytes}) {
        for (int round = 0; round < 200; ++round) {
            StringList list;
            for (int i = 0; i < 60; ++i) {
                std::string text;
                for (std::size_t n = random() % 6; n > 0; --n)
                    text += pieces[random() % pieces.size()];
                list.push_back(text);
            }
            StringList expected = list;
            std::stable_sort(
                expected.begin(), expected.end(),
                [](const std::string& x, const std::string& y) { return cp1250_less(x, y); });
            ASSERT_EQ(sorted(list), expected) << "round " << round;
        }
    }
}

class Askable : public ::testing::Test {
  protected:
    void rules(const std::vector<Fact>& facts) {
        for (const auto& f : facts) store.add(f);
        remember_askable(memory, ui, askable_conditions_of_rules(store, memory));
    }
    void model(std::int32_t n, const std::string& condition, const std::string& result,
               const std::string& a, const std::string& op, const std::string& b) {
        store.add(Fact{Kind::model, {n, condition, result, a, op, b, std::int32_t{1}}});
    }
    void models() {
        store.set_text(Kind::nazwa_mo, "MOx.BRD");
        compute_model_lists(store, memory);
        askable_with_models(memory);
        askable_of_models(store, memory);
        write_display_lists(memory, ui, "REx.BRD", "MOx.BRD");
    }

    FactStore store;
    AskableMemory memory;
    ScriptedInteraction ui;
};

TEST_F(Askable, RuleBaseConditionsConclusionsAndReservedWords) {
    rules({make_rule(1, "c", {"a", "b"}, 1), make_rule(2, "e", {"c", "nd"}, 1),
           make_rule(3, "koniec", {"e", "bez warunku"}, 1)});
    EXPECT_EQ(memory.lista_warunkow, (StringList{"a", "b", "c", "d", "e", "bez warunku"}));
    EXPECT_EQ(memory.lista_wnioskow_regul, (StringList{"c", "e"}));
    EXPECT_EQ(memory.lista_warunkow_dopytywalnych, (StringList{"a", "b", "d"}));
    EXPECT_EQ(ui.output, "a\nb\nd\n");
    EXPECT_TRUE(is_askable(memory, "a"));
    EXPECT_TRUE(is_askable(memory, "nd"));
    EXPECT_FALSE(is_askable(memory, "c"));
    EXPECT_FALSE(is_askable(memory, "nc"));
    EXPECT_TRUE(has_non_askable(memory, {"a", "nc"}));
    EXPECT_FALSE(has_non_askable(memory, {"a", "nb"}));
}

TEST_F(Askable, ConditionsInOrderOfTheirLastUseAndKoniecAsAConditionStaysAskable) {
    rules({make_rule(1, "c", {"b", "a"}, 1), make_rule(2, "koniec", {"nb", "koniec"}, 1),
           make_rule(3, "koniec", {"c", "x"}, 1)});
    EXPECT_EQ(memory.lista_warunkow, (StringList{"a", "b", "koniec", "c", "x"}));
    EXPECT_EQ(memory.lista_wnioskow_regul, (StringList{"c"}));
    EXPECT_EQ(memory.lista_warunkow_dopytywalnych, (StringList{"a", "b", "koniec", "x"}));
}

// Names are numbered some names after they are read: over a base with far more names than are
// in flight at once, the lists are still the reductions of the plain lists in base order.
TEST_F(Askable, ManyRulesGiveTheReductionsOfTheirConditionsAndConclusions) {
    std::vector<Fact> facts;
    StringList conditions, conclusions;
    std::mt19937 random(7);
    for (int i = 0; i < 500; ++i) {
        std::string conclusion(1, 'w');
        conclusion += std::to_string(random() % 300);
        StringList body;
        for (unsigned k = 0; k < 1 + random() % 4; ++k) {
            const auto n = random() % 400;
            std::string name(1, n % 2 ? 'w' : 'a');
            name += std::to_string(n);
            conditions.push_back(name);
            std::string written(n % 3 == 0 ? "n" : "");
            written += name;
            body.push_back(written);
        }
        conclusions.push_back(conclusion);
        facts.push_back(make_rule(i + 1, conclusion, body, 0));
    }
    rules(facts);
    EXPECT_EQ(memory.lista_warunkow, reduce(conditions));
    EXPECT_EQ(memory.lista_wnioskow_regul, reduce(conclusions));
    for (const auto& c : memory.lista_warunkow_dopytywalnych)
        EXPECT_EQ(std::count(conclusions.begin(), conclusions.end(), c), 0) << c;
}

TEST_F(Askable, ModelArgumentsConstantsAndNegatedApplicationConditions) {
    rules({make_rule(1, "c", {"a", "wynik"}, 1)});
    model(1, "bez warunku", "y", "x", "+", "2");
    model(2, "nzima", "z", "y", "*", "3");
    model(3, "a", "wynik", "z", ">", "10");
    models();
    EXPECT_EQ(memory.lista_argumentow_modeli, (StringList{"x", "y"}));
    EXPECT_EQ(memory.lista_wnioskow_modeli, (StringList{"wynik"}));
    EXPECT_EQ(memory.lista_argumentow_dopytywalnych, (StringList{"a", "x"}));
    EXPECT_EQ(memory.lista_wszystkich_dopytywalnych_dla_wyswietlania, (StringList{"a"}));
    EXPECT_EQ(memory.lista_warunkow_i_argumentow_dopytywalnych, (StringList{"a", "x"}));
    // With a model base loaded constraints are checked against the list of both bases.
    EXPECT_TRUE(is_askable_for_constraints(store, memory, "x"));
    store.remove_all(Kind::nazwa_mo);
    EXPECT_FALSE(is_askable_for_constraints(store, memory, "x"));
    EXPECT_TRUE(is_askable_for_constraints(store, memory, "a"));
    EXPECT_FALSE(find_name_clash(memory, ui, "REx.BRD", "MOx.BRD"));
}

TEST_F(Askable, NameClashes) {
    rules({make_rule(1, "ryzyko", {"wiek", "palenie"}, 1)});
    model(1, "bez warunku", "ryzyko", "t", ">", "1");
    models();
    EXPECT_TRUE(find_name_clash(memory, ui, "REx.BRD", "MOx.BRD"));
    EXPECT_EQ(ui.events.back().title, "Błąd: jednakowe nazwy wniosków bazy reguł i bazy modeli");

    store.remove_all(Kind::model);
    model(1, "bez warunku", "bmi", "wiek", "/", "2");
    models();
    EXPECT_TRUE(find_name_clash(memory, ui, "REx.BRD", "MOx.BRD"));
    EXPECT_EQ(ui.events.back().title,
              "Błąd: jednakowe nazwy zmiennych bazy reguł i/lub zmiennych bazy modeli");
    EXPECT_NE(ui.events.back().text.find("[\"wiek\"]"), std::string::npos);
}

}  // namespace
}  // namespace xamo
