#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <random>

#include "askable/askable.h"
#include "generators.h"
#include "kb/conditions.h"
#include "support/scripted_interaction.h"
#include "verify/model_contradictions.h"
#include "verify/model_rule_contradictions.h"
#include "verify/rule_constraint_contradictions.h"
#include "verify/rule_constraint_redundancy.h"

namespace xamo {
namespace {

class InterruptingUser : public ScriptedInteraction {
  public:
    bool progress_continues() override { return false; }
};

// "x12": written so that GCC 12's optimiser sees no overlapping copy where there is none.
std::string named(const char* prefix, long n) {
    std::string out = prefix;
    out += std::to_string(n);
    return out;
}

Fact basic(std::int32_t n, const std::string& condition, const std::string& result,
           const std::string& a1, const std::string& symbol, const std::string& a2) {
    return {Kind::model, {n, condition, result, a1, symbol, a2, 1}};
}

Fact extended(std::int32_t n, const std::string& condition, const std::string& result,
              const std::string& symbol, StringList list) {
    return {Kind::model_r, {n, condition, result, symbol, std::move(list), 1}};
}

class JointDiagnoses : public ::testing::Test {
  protected:
    void rule(std::int32_t n, const std::string& conclusion, StringList conditions) {
        store.add(make_rule(n, conclusion, std::move(conditions), 1));
    }
    void constraint(std::int32_t n, StringList members) {
        store.add({Kind::ograniczenie, {n, std::move(members)}});
    }
    void done() {
        store.set_text(Kind::nazwa_re, "REtest.BRD");
        store.set_text(Kind::nazwa_mo, "MOtest.BRD");
        store.set_text(Kind::nazwa_og, "OGtest.BRD");
        remember_askable(askable, ui, askable_conditions_of_rules(store, askable));
    }
    RuleDiagnosisContext context(ScriptedInteraction& user) {
        return {store, user, askable, flags, rules, [this](const std::vector<int>& ids, bool on) {
                    for (int id : ids) menu[id] = on;
                }};
    }
    std::vector<std::string> note_texts() const {
        std::vector<std::string> out;
        for (const auto& e : ui.of_kind("note")) out.push_back(e.text);
        return out;
    }

    FactStore store;
    AskableMemory askable;
    DiagnosisFlags flags;
    RuleDiagnosisMemory rules;
    ModelDiagnosisMemory models_memory;
    ConstraintDiagnosisMemory constraints_memory;
    ScriptedInteraction ui;
    std::map<int, bool> menu;
};

TEST_F(JointDiagnoses, ArithmeticTableTakesTheKindsInOrder) {
    store.add(basic(1, "bez warunku", "x", "a", "+", "b"));
    store.add(basic(2, "bez warunku", "y", "x", "sqrt", "0"));
    store.add(basic(3, "bez warunku", "r", "a", ">", "b"));  // relational: not in the table
    store.add(basic(4, "bez warunku", "n", "7", "liczba_warunków_reguły", "0"));
    store.add(extended(5, "bez warunku", "s", "+", {"a", "b", "c"}));
    store.add(extended(6, "bez warunku", "t", "<,<", {"a", "b", "c"}));
    store.add({Kind::model_liniowy,
               {7, "bez warunku", "l", StringList{"2", "k"}, StringList{"u", "v"}, 1}});
    store.add({Kind::model_wielomianowy,
               {8, "bez warunku", "p", "z", StringList{"1", "c1"}, IntegerList{0, 1}, 1}});
    EXPECT_EQ(models::arithmetic_table(store),
              (std::vector<ArithmeticModelArguments>{{1, "x", {"a", "b"}},
                                                     {2, "y", {"x", "0"}},
                                                     {5, "s", {"a", "b", "c"}},
                                                     {7, "l", {"u", "v", "2", "k"}},
                                                     {8, "p", {"1", "c1", "z"}}}));
}

TEST_F(JointDiagnoses, ModelBaseFindingsDirectIndirectAndRelational) {
    store.add(basic(1, "bez warunku", "x", "x", "+", "1"));  // x = x + 1
    store.add(basic(2, "bez warunku", "y", "z", "*", "2"));  // y and z feed each other
    store.add(basic(3, "bez warunku", "z", "y", "-", "3"));
    store.add(basic(4, "alarm", "alarm", "t", "<>", "5"));  // concludes its own condition
    store.add(extended(5, "ok", "ok", "<=,<", {"0", "t", "9"}));
    store.add(basic(6, "bez warunku", "w", "v", "sqrt", "0"));  // w and v: through a function
    store.add(extended(7, "bez warunku", "v", "max_list", {"1", "w"}));
    store.add(basic(8, "bez warunku", "q", "y", "+", "1"));  // fed by the cycle, on none
    done();
    RuleDiagnosisContext ctx = context(ui);
    ASSERT_TRUE(models::badaj_sprzecznosc_modeli(ctx, models_memory));
    EXPECT_EQ(models_memory.model_arytmetyczny_sprzeczny, (std::vector<ModelFinding>{{1, "x"}}));
    const auto& deep = models_memory.model_arytmetyczny_sprzeczny_gleboko;
    ASSERT_EQ(deep.size(), 4u);
    EXPECT_EQ(deep[0].number, 2);
    EXPECT_EQ(models::deep_chain(models_memory, deep[0]), (IntegerList{3, 2}));
    EXPECT_EQ(models::deep_chain(models_memory, deep[1]), (IntegerList{2, 3}));
    EXPECT_EQ(models::deep_chain(models_memory, deep[2]), (IntegerList{7, 6}));
    EXPECT_EQ(deep[3].number, 7);
    EXPECT_EQ(models_memory.model_relacyjny_sprzeczny,
              (std::vector<ModelFinding>{{4, "alarm"}, {5, "ok"}}));
    EXPECT_TRUE(flags.model_aryt_sprzeczny && flags.model_sprzeczny_gleboko &&
                flags.model_rela_sprzeczny && flags.contradiction_found());
}

TEST_F(JointDiagnoses, IndirectSearchFollowsOneDescent) {
    // From model 1 the descent takes y (model 2), whose first argument u leads nowhere back; the
    // choice is final, so the cycle through model 3 is not seen from model 1.
    store.add(basic(1, "bez warunku", "x", "y", "+", "p"));
    store.add(basic(2, "bez warunku", "y", "u", "+", "1"));
    store.add(basic(4, "bez warunku", "u", "k", "+", "1"));
    store.add(basic(3, "bez warunku", "p", "x", "+", "1"));
    done();
    RuleDiagnosisContext ctx = context(ui);
    ASSERT_TRUE(models::badaj_sprzecznosc_modeli(ctx, models_memory));
    std::vector<std::int32_t> numbers;
    for (const auto& f : models_memory.model_arytmetyczny_sprzeczny_gleboko)
        numbers.push_back(f.number);
    EXPECT_EQ(numbers, (std::vector<std::int32_t>{3}));
    EXPECT_EQ(
        models::deep_chain(models_memory, models_memory.model_arytmetyczny_sprzeczny_gleboko[0]),
        (IntegerList{1, 3}));
}

// The indirect search as the algorithm states it, on strings, without the pruning to cycles:
// the chains of the findings, newest first.
std::vector<IntegerList> plain_indirect_search(const std::vector<ArithmeticModelArguments>& table) {
    std::vector<IntegerList> out;
    const auto has = [](const StringList& list, const std::string& s) {
        return std::find(list.begin(), list.end(), s) != list.end();
    };
    for (const auto& start : table) {
        if (has(start.arguments, start.result)) continue;
        IntegerList chain{start.number};
        StringList visited{start.result};
        StringList current = start.arguments;
        bool moved = true;
        bool found = false;
        while (moved && !found) {
            moved = false;
            for (const auto& a : current) {
                if (is_constant(a) || has(visited, a)) continue;
                const ArithmeticModelArguments* step = nullptr;
                for (const auto& other : table) {
                    if (other.result != a || other.number == start.number) continue;
                    if (has(other.arguments, start.result)) {
                        chain.insert(chain.begin(), other.number);
                        out.push_back(chain);
                        found = true;
                        break;
                    }
                    if (!step) step = &other;
                }
                if (found) break;
                if (!step) continue;
                chain.insert(chain.begin(), step->number);
                visited.insert(visited.begin(), a);
                current = step->arguments;
                moved = true;
                break;
            }
        }
    }
    return out;
}

TEST_F(JointDiagnoses, IndirectSearchAgreesWithThePlainAlgorithmOnGeneratedBases) {
    std::mt19937 random(13);
    for (int base = 0; base < 300; ++base) {
        store = FactStore{};
        models_memory = ModelDiagnosisMemory{};
        // Few argument names, several models per name: cycles, shared arguments, constants.
        const int names = 3 + static_cast<int>(random() % 8);
        const auto name = [&] {
            return random() % 5 == 0 ? std::string("2")
                                     : named("a", static_cast<long>(random() % names));
        };
        for (int m = 1; m <= 10; ++m) {
            if (random() % 3 == 0) {
                store.add(extended(static_cast<std::int32_t>(random() % 12), "bez warunku",
                                   named("a", static_cast<long>(random() % names)), "+",
                                   {name(), name(), name()}));
            } else {
                store.add(basic(static_cast<std::int32_t>(random() % 12), "bez warunku",
                                named("a", static_cast<long>(random() % names)), name(), "*",
                                name()));
            }
        }
        RuleDiagnosisContext ctx = context(ui);
        ASSERT_TRUE(models::badaj_sprzecznosc_modeli(ctx, models_memory));
        std::vector<IntegerList> chains;
        for (const auto& f : models_memory.model_arytmetyczny_sprzeczny_gleboko)
            chains.push_back(models::deep_chain(models_memory, f));
        EXPECT_EQ(chains,
                  plain_indirect_search(models_memory.lista_argumentow_modelu_arytmetycznego))
            << "base " << base;
    }
}

TEST_F(JointDiagnoses, LongChainsAndRingsOfModels) {
    // 10,000 models in a chain whose end feeds back into its own last model, and a ring of 2,000.
    const int n = 10000;
    for (int i = 1; i < n; ++i)
        store.add(basic(i, "bez warunku", named("x", i), named("x", i + 1), "+", "1"));
    store.add(basic(n, "bez warunku", named("x", n), named("x", n - 1), "*", "2"));
    const int ring = 2000;
    for (int i = 0; i < ring; ++i)
        store.add(
            basic(n + 1 + i, "bez warunku", named("r", i), named("r", (i + 1) % ring), "-", "1"));
    done();
    RuleDiagnosisContext ctx = context(ui);
    ASSERT_TRUE(models::badaj_sprzecznosc_modeli(ctx, models_memory));
    const auto& deep = models_memory.model_arytmetyczny_sprzeczny_gleboko;
    ASSERT_EQ(deep.size(), static_cast<std::size_t>(2 + ring));
    EXPECT_EQ(deep[0].number, n - 1);
    EXPECT_EQ(deep[1].number, n);
    const IntegerList chain = models::deep_chain(models_memory, deep[2]);
    ASSERT_EQ(chain.size(), static_cast<std::size_t>(ring));
    EXPECT_EQ(chain.front(), n + ring);
    EXPECT_EQ(chain.back(), n + 1);
}

TEST_F(JointDiagnoses, ModelBaseLoadStepAndReport) {
    store.add(basic(1, "bez warunku", "x", "x", "+", "1"));
    store.add(basic(2, "bez warunku", "y", "z", "*", "2"));
    store.add(basic(3, "bez warunku", "z", "y", "-", "3"));
    done();
    RuleDiagnosisContext ctx = context(ui);
    EXPECT_EQ(models::informuj_sprzecznosc_mz(ctx, models_memory), models::Outcome::Found);
    EXPECT_FALSE(store.any(Kind::nazwa_mo));
    EXPECT_TRUE(store.any(Kind::model));
    EXPECT_EQ(models_memory.duplikat_nazwy_mo, "MOtest.BRD");
    EXPECT_TRUE(menu[10084]);

    ui.answers = {"Nie"};  // the offer to store the report
    models::pisz_sprzecznosc_mz(ctx, models_memory);
    const auto notes = note_texts();
    EXPECT_NE(
        ui.output.find(" Model 2 ma wynik 'y'\n tożsamy z jednym z argumentów zagnieżdżających "
                       "się z nim modeli o numerach:\n      3\n Można to wykazać usuwając "
                       "zagnieżdżenie na drodze podstawienia: \n      3 ==> 2\n"),
        std::string::npos)
        << ui.output;
    EXPECT_NE(std::find(notes.begin(), notes.end(),
                        "Model arytmetyczny 1 ma wynik 'x' \n tożsamy ze swym argumentem."),
              notes.end());
    EXPECT_NE(ui.output.find(" nie ma modeli relacyjnych sprzecznych."), std::string::npos);
    EXPECT_EQ(ui.output.find(" nie ma modeli arytmetycznych sprzecznych."), std::string::npos);
    // The faulty base leaves memory; the verdicts stay until a base is loaded again.
    EXPECT_FALSE(store.any(Kind::model));
    EXPECT_TRUE(flags.contradiction_found());
    EXPECT_EQ(ui.of_kind("note").back().text,
              " Koniec raportu diagnostyki sprzeczności bazy modeli MOtest.BRD");

    // Shown again, with the base gone, the report still walks its chains.
    ui.output.clear();
    ui.answers = {"Nie"};
    models::pisz_sprzecznosc_mz(ctx, models_memory);
    EXPECT_NE(ui.output.find("      3 ==> 2\n"), std::string::npos) << ui.output;
}

TEST_F(JointDiagnoses, InterruptedSearchesStoreNothing) {
    store.add(basic(1, "bez warunku", "x", "x", "+", "1"));
    store.add(basic(2, "w", "c", "p", ">", "1"));
    rule(1, "w", {"c", "d"});
    constraint(1, {"c", "d"});
    done();
    InterruptingUser user;
    RuleDiagnosisContext ctx = context(user);
    ctx.progress_delay = std::chrono::milliseconds(0);
    EXPECT_EQ(models::informuj_sprzecznosc_mz(ctx, models_memory), models::Outcome::Interrupted);
    EXPECT_EQ(model_rule::informuj_sprzecznosc_mr(ctx, models_memory),
              models::Outcome::Interrupted);
    EXPECT_FALSE(joint_contradictions::wyznacz_sprzecznosc_2(ctx, constraints_memory));
    EXPECT_FALSE(joint_redundancy::wyznacz_nadmiar_2(ctx, constraints_memory));
    EXPECT_FALSE(flags.contradiction_found());
    EXPECT_TRUE(store.any(Kind::nazwa_mo));
    EXPECT_TRUE(models_memory.model_arytmetyczny_sprzeczny.empty());
    EXPECT_TRUE(constraints_memory.sprzecznosc_2_wszystko.empty());
    EXPECT_TRUE(user.of_kind("note").empty());
}

TEST_F(JointDiagnoses, JointModelRuleSearchThroughFlatteningsAndModels) {
    // Model 10 ("<>") applies under s, which rule 1 concludes from k2 (through rule 2) and d; k2
    // is concluded by model 11, whose argument v comes from model 12 applied under s.
    store.add(basic(10, "s", "alarm", "t", "<>", "1"));
    store.add(basic(11, "u", "k2", "v", "<", "2"));
    store.add(basic(12, "s", "v", "t", "+", "1"));
    rule(1, "s", {"k", "d"});
    rule(2, "k", {"k2"});
    // Model 20 concludes the condition under which it applies, through rule 3 alone.
    store.add(extended(20, "p", "q", "<,<", {"0", "t", "5"}));
    rule(3, "p", {"q", "e"});
    // A cycle of models that never reaches model 30's condition: the search ends.
    store.add(basic(30, "g", "h", "t", ">", "0"));
    store.add(basic(31, "m", "f", "t", ">", "0"));
    store.add(basic(32, "f", "m", "t", ">", "0"));
    rule(4, "g", {"f"});
    done();
    RuleDiagnosisContext ctx = context(ui);
    ASSERT_TRUE(model_rule::badaj_sprzecznosc_mr(ctx, models_memory));
    EXPECT_EQ(models_memory.modele_i_reguly_sprzeczne,
              (std::vector<ModelRuleFinding>{{10, 1, {2}, {12, 11}}, {20, 3, {}, {20}}}));
    EXPECT_TRUE(flags.sprzecznosc_mr);

    ui.answers = {"Nie"};
    model_rule::pisz_sprzecznosc_mr(ctx, models_memory);
    const auto notes = note_texts();
    ASSERT_EQ(notes.size(), 3u);
    EXPECT_EQ(notes[1],
              " Model relacyjny 10 jest łącznie sprzeczny z regułą 1\n poprzez łańcuch "
              "zagnieżdżających się reguł o numerach [2]\n i poprzez łańcuch "
              "zagnieżdżających się modeli o numerach [11,12]");
    EXPECT_EQ(notes[2], " Model relacyjny 20 jest łącznie sprzeczny z regułą 3");

    // A fresh search replaces the verdict: without model 12 nothing leads back to s.
    store.remove_if(Kind::model, [](const Fact& f) { return number_of(f) == 12; });
    store.remove_if(Kind::model_r, [](const Fact&) { return true; });
    RuleDiagnosisContext again = context(ui);
    EXPECT_EQ(model_rule::informuj_sprzecznosc_mr(again, models_memory), models::Outcome::Clean);
    EXPECT_FALSE(flags.sprzecznosc_mr);
    EXPECT_TRUE(models_memory.modele_i_reguly_sprzeczne.empty());
}

// Rules that reach no condition a model computes are not flattened in a base without cycles; a
// cycle of rules elsewhere makes the search flatten every rule, and the findings agree.
TEST_F(JointDiagnoses, JointModelRuleSearchOnChainsPassesOverRulesReachingNoModel) {
    std::vector<std::vector<ModelRuleFinding>> found;
    for (const bool with_cycle : {false, true}) {
        store = FactStore{};
        askable = AskableMemory{};
        models_memory = ModelDiagnosisMemory{};
        for (const auto& r : bench::generate_chain_rules(30, bench::ChainShape::Branched))
            rule(r.number, r.conclusion, r.conditions);
        if (with_cycle) {
            rule(900, "y", {"z"});
            rule(901, "z", {"y"});
        }
        store.add(basic(10, "c_3", "alarm", "t", "<>", "1"));
        store.add(basic(11, "c_3", "a_20", "t", ">", "0"));  // a_20 lies below c_3
        store.add(basic(12, "c_7", "uwaga", "t", "<>", "1"));
        store.add(basic(13, "c_7", "a_2", "t", ">", "0"));  // a_2 lies above c_7
        done();
        RuleDiagnosisContext ctx = context(ui);
        ASSERT_TRUE(model_rule::badaj_sprzecznosc_mr(ctx, models_memory));
        found.push_back(models_memory.modele_i_reguly_sprzeczne);
    }
    ASSERT_FALSE(found[0].empty());
    EXPECT_EQ(found[0].front().model, 10);
    EXPECT_EQ(found[0], found[1]);
}

TEST_F(JointDiagnoses, JointContradictionsDirectAndIndirect) {
    rule(1, "w", {"a", "b"});  // directly with constraint 1
    rule(2, "v", {"x", "b"});  // indirectly, through rule 3
    rule(3, "x", {"a"});
    rule(4, "u", {"a", "d"});  // one member only
    constraint(1, {"a", "b", "c"});
    constraint(2, {"b", "a"});  // the same pair: each flattening is recorded once
    done();
    ui.answers = {"Tak"};
    RuleDiagnosisContext ctx = context(ui);
    joint_contradictions::testuj_sprzecznosc_2(ctx, constraints_memory);
    EXPECT_EQ(constraints_memory.sprzecznosc_2_wszystko,
              (std::vector<JointContradiction>{{1, 1, "w", {"b", "a"}, {"a", "b", "c"}, {}},
                                               {2, 1, "v", {"b", "a"}, {"a", "b", "c"}, {3}}}));
    EXPECT_TRUE(menu[10094]);
    EXPECT_EQ(ui.of_kind("note").back().title, "Informacja o sprzeczności");

    // The report removes the findings and the indirect flattening it shows, so the search run by
    // the report next time records only that one again.
    ui.answers = {"Nie", "Nie"};
    joint_contradictions::pisz_sprzecznosc_2(ctx, constraints_memory);
    EXPECT_NE(ui.output.find(" Reguła 1 jest bezpośrednio SRD2-sprzeczna z ograniczeniem 1 o "
                             "postaci:\n   ograniczenie(1, [a,b,c])\n"),
              std::string::npos);
    EXPECT_NE(ui.output.find("   reguła_spłaszczona(2, v, [b,a])\n Spłaszczenie uzyskano za "
                             "pomocą reguł o numerach: 3\n"),
              std::string::npos);
    EXPECT_TRUE(constraints_memory.sprzecznosc_2_wszystko.empty());
    EXPECT_EQ(constraints_memory.regula_splaszczona_s2.size(), 1u);
    ui.output.clear();
    joint_contradictions::pisz_sprzecznosc_2(ctx, constraints_memory);
    EXPECT_EQ(ui.output.find("bezpośrednio"), std::string::npos);
    EXPECT_NE(ui.output.find("pośrednio SRD2-sprzeczna"), std::string::npos);
}

// Rules that cannot reach two members of one constraint are not flattened: the findings on a
// chain with branches are still those of every flattening tested one by one.
TEST_F(JointDiagnoses, JointContradictionsOnChains) {
    for (const auto& r : bench::generate_chain_rules(30, bench::ChainShape::Branched))
        rule(r.number, r.conclusion, r.conditions);
    constraint(1, {"a_28", "e_20", "a_25"});
    constraint(2, {"a_3", "nieosiagalny"});
    done();
    std::vector<std::int32_t> expected;
    {
        RuleIndex index(store, askable);
        const StringList members{"a_28", "e_20", "a_25"};
        for (const auto& r : index.rules()) {
            Flattener flattener(index, r.conditions);
            const StringList flat = index.texts(flattener.next()->conditions);
            const auto held = std::count_if(members.begin(), members.end(), [&](const auto& m) {
                return std::find(flat.begin(), flat.end(), m) != flat.end();
            });
            if (held >= 2) expected.push_back(r.number);
        }
    }
    RuleDiagnosisContext ctx = context(ui);
    ASSERT_TRUE(joint_contradictions::wyznacz_sprzecznosc_2(ctx, constraints_memory));
    std::vector<std::int32_t> found;
    for (const auto& f : constraints_memory.sprzecznosc_2_wszystko) {
        EXPECT_EQ(f.constraint, 1);
        found.push_back(f.rule);
    }
    EXPECT_EQ(found, expected);
    EXPECT_EQ(found.size(), 27u);  // c_1 to c_25 and the branches d_10 and d_20 reach two
}

TEST_F(JointDiagnoses, RedundancyListOperations) {
    using Lists = std::vector<StringList>;
    EXPECT_EQ(joint_redundancy::usun_wspolne_2({{"a", "d"}, {"d", "b"}}), (Lists{{"a"}, {"b"}}));
    EXPECT_EQ(joint_redundancy::usun_wspolne_2({{"a", "d"}}), (Lists{{}}));
    EXPECT_EQ(joint_redundancy::redukuj_lista({{"a", "b"}, {"c"}, {"b", "a", "a"}}),
              (Lists{{"c"}, {"b", "a", "a"}}));
    EXPECT_TRUE(joint_redundancy::porownaj_listy_2({{"b"}, {"a"}}, {"a", "b"}));
    EXPECT_FALSE(joint_redundancy::porownaj_listy_2({{"b"}, {"a"}}, {"a", "b", "c"}));
    EXPECT_FALSE(joint_redundancy::porownaj_listy_2({{"b"}, {"a", "c"}}, {"a", "b", "c"}));
    EXPECT_FALSE(joint_redundancy::porownaj_listy_2({{}, {"a"}, {"b"}}, {"a", "b"}));
}

TEST_F(JointDiagnoses, JointRedundancyWithConstraints) {
    rule(1, "w", {"d", "a"});  // redundant with constraint 1: w holds whenever d does
    rule(2, "w", {"d", "b"});
    rule(3, "v", {"d", "a"});  // constraint 3 has a member without a rule: not redundant
    rule(4, "v", {"d", "c"});
    constraint(1, {"a", "b"});
    constraint(2, {"b", "a"});  // w is not examined again for this one
    constraint(3, {"a", "c", "e"});
    done();
    ui.answers = {"Tak"};
    RuleDiagnosisContext ctx = context(ui);
    joint_redundancy::testuj_nadmiar_2(ctx, constraints_memory);
    ASSERT_EQ(constraints_memory.reguly_nadmiarowe_n2.size(), 1u);
    const RedundantGroup& group = constraints_memory.reguly_nadmiarowe_n2[0];
    EXPECT_EQ(group.rules, (IntegerList{1, 2}));
    EXPECT_EQ(group.constraint, 1);
    EXPECT_EQ(group.conditions, (std::vector<StringList>{{"a", "d"}, {"b", "d"}}));
    EXPECT_EQ(constraints_memory.zbadany_wniosek, StringList{"w"});
    EXPECT_TRUE(menu[10095]);

    // The report consumes the group but keeps the examined conclusion: running it again searches
    // and finds nothing new.
    ui.answers = {"Nie"};
    joint_redundancy::pisz_nadmiar_2(ctx, constraints_memory);
    EXPECT_NE(ui.output.find(" Wymienione reguły oraz ograniczenie 1\n   ograniczenie(1, [a,b])\n "
                             "zawierają nadmiarowość łączną typu NRD2.\n"),
              std::string::npos);
    EXPECT_TRUE(constraints_memory.reguly_nadmiarowe_n2.empty());
    ui.output.clear();
    joint_redundancy::pisz_nadmiar_2(ctx, constraints_memory);
    EXPECT_NE(ui.output.find(" nie ma nadmiarowości typu NRD2."), std::string::npos);

    // The load question forgets what earlier searches recorded.
    ui.answers = {"Tak"};
    joint_redundancy::testuj_nadmiar_2(ctx, constraints_memory);
    EXPECT_EQ(constraints_memory.reguly_nadmiarowe_n2.size(), 1u);
}

}  // namespace
}  // namespace xamo
