#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <map>
#include <random>

#include "askable/askable.h"
#include "generators.h"
#include "kb/conditions.h"
#include "support/numbered.h"
#include "support/scripted_interaction.h"
#include "verify/external_contradictions.h"
#include "verify/internal_contradictions.h"
#include "verify/redundancy.h"

namespace xamo {
namespace {

using testing::numbered;

// A user who interrupts every search as soon as its progress is shown.
class InterruptingUser : public ScriptedInteraction {
  public:
    void begin_progress(const std::string& title, const std::string&) override {
        progress_titles.push_back(title);
    }
    bool progress_continues() override { return false; }
    std::vector<std::string> progress_titles;
};

class Diagnoses : public ::testing::Test {
  protected:
    void rule(std::int32_t n, const std::string& conclusion, StringList conditions) {
        store.add(make_rule(n, conclusion, std::move(conditions), 1));
    }
    void done() {
        store.set_text(Kind::nazwa_re, "REtest.BRD");
        remember_askable(askable, ui, askable_conditions_of_rules(store, askable));
    }
    RuleDiagnosisContext context(ScriptedInteraction& user) {
        return {store, user, askable, flags, memory, [this](const std::vector<int>& ids, bool on) {
                    for (int id : ids) menu[id] = on;
                }};
    }
    std::vector<std::string> note_titles() const {
        std::vector<std::string> out;
        for (const auto& e : ui.of_kind("note")) out.push_back(e.title);
        return out;
    }

    FactStore store;
    AskableMemory askable;
    DiagnosisFlags flags;
    RuleDiagnosisMemory memory;
    ScriptedInteraction ui;
    std::map<int, bool> menu;
};

using Findings = std::vector<ExternalFinding>;

TEST_F(Diagnoses, ExternalFindingsFollowThePathsOfRules) {
    rule(1, "a", {"na"});  // self
    rule(2, "b", {"c"});   // 2 and 3: direct, through a negation
    rule(3, "c", {"nb"});
    rule(4, "d", {"e"});  // 4, 5, 6: indirect
    rule(5, "e", {"f"});
    rule(6, "f", {"nd"});
    rule(7, "g", {"h", "x"});  // 7 and 8: a cycle
    rule(8, "h", {"g"});
    rule(9, "k", {"x", "nx"});  // askable conditions only: nothing
    done();
    RuleDiagnosisContext ctx = context(ui);
    ASSERT_TRUE(external::badaj_sprzecznosc_1z(ctx));
    EXPECT_EQ(memory.reguly_sprzeczne, (Findings{{1, 1, {1}},
                                                 {2, 3, {3, 2}},
                                                 {3, 2, {2, 3}},
                                                 {4, 6, {6, 5, 4}},
                                                 {5, 4, {4, 6, 5}},
                                                 {6, 5, {5, 4, 6}},
                                                 {7, 8, {8, 7}},
                                                 {8, 7, {7, 8}}}));
    EXPECT_EQ(external::classify(memory.reguly_sprzeczne[0]), external::FindingKind::Self);
    EXPECT_EQ(external::classify(memory.reguly_sprzeczne[1]), external::FindingKind::Direct);
    EXPECT_EQ(external::classify(memory.reguly_sprzeczne[3]), external::FindingKind::Indirect);
    EXPECT_TRUE(flags.sprzecznosc_1z);
    EXPECT_EQ(memory.reguly_sprzeczne_dla_analizy, (IntegerList{1, 2, 3, 4, 5, 6, 7, 8}));
    EXPECT_FALSE(memory.marked_for_analysis(9));

    // Reported at load: the load stops, the report command is enabled.
    EXPECT_FALSE(external::informuj_sprzecznosc_1z(ctx));
    EXPECT_EQ(note_titles(), (std::vector<std::string>{"Informacja o sprzeczności"}));
    EXPECT_TRUE(menu[10067]);
}

// The search as the algorithm states it, recursive, on plain strings.
Findings plain_external_search(const FactStore& store) {
    Findings out;
    const auto& rules = store.all(Kind::regula);
    std::function<void(std::int32_t, const std::string&, const StringList&, IntegerList,
                       StringList)>
        explore = [&](std::int32_t root, const std::string& t, const StringList& list,
                      IntegerList chain, StringList visited) {
            for (const auto& c : list) {
                if (c == "n" + t || t == "n" + c || c == t) out.push_back({root, chain[0], chain});
                const bool negated = is_negated(c);
                const std::string c2 = negated ? c.substr(1) : c;
                const std::string t2 = negated ? negacja(t) : t;
                if (std::find(visited.begin(), visited.end(), c2) != visited.end()) continue;
                for (const Fact& f : rules) {
                    if (Rule(f).conclusion() != c2) continue;
                    IntegerList longer = chain;
                    longer.insert(longer.begin(), Rule(f).number());
                    StringList more = visited;
                    more.insert(more.begin(), c2);
                    explore(root, t2, Rule(f).conditions().texts(), longer, more);
                }
            }
        };
    for (const Fact& f : rules) {
        const Rule r(f);
        explore(r.number(), r.conclusion().str(), r.conditions().texts(), {r.number()},
                {r.conclusion().str()});
    }
    return out;
}

TEST_F(Diagnoses, ExternalSearchAgreesWithThePlainAlgorithmOnGeneratedBases) {
    std::mt19937 random(99);
    for (int base = 0; base < 200; ++base) {
        store = FactStore{};
        memory = RuleDiagnosisMemory{};
        // Few conclusions, many rules: diamonds, cycles and negations in every mix.
        const int conclusions = 3 + static_cast<int>(random() % 6);
        const bool layered = base % 2 == 0;
        for (int r = 0; r < 10; ++r) {
            const int level = static_cast<int>(random() % conclusions);
            StringList conditions;
            for (int i = 0, size = 1 + static_cast<int>(random() % 3); i < size; ++i) {
                const int below = layered ? (level ? static_cast<int>(random() % level) : -1)
                                          : static_cast<int>(random() % conclusions);
                std::string c = below < 0 || random() % 4 == 0 ? numbered("a", random() % 3)
                                                               : numbered("k", below);
                if (random() % 3 == 0) c = "n" + c;
                conditions.push_back(c);
            }
            rule(r + 1, numbered("k", level), conditions);
        }
        RuleDiagnosisContext ctx = context(ui);
        ASSERT_TRUE(external::badaj_sprzecznosc_1z(ctx));
        EXPECT_EQ(memory.reguly_sprzeczne, plain_external_search(store)) << "base " << base;
        EXPECT_EQ(flags.sprzecznosc_1z, !memory.reguly_sprzeczne.empty());
    }
}

// Chains of every shape, plain and closed by a last rule that leads back into them (negated or
// not), so that some roots find contradictions deep down and the others none.
TEST_F(Diagnoses, ExternalSearchAgreesWithThePlainAlgorithmOnChains) {
    using bench::ChainShape;
    for (const ChainShape shape : {ChainShape::Plain, ChainShape::Negated, ChainShape::Branched}) {
        for (int back : {0, 7, -7, 25, -33}) {
            store = FactStore{};
            memory = RuleDiagnosisMemory{};
            const auto chain = bench::generate_chain_rules(40, shape);
            for (const auto& r : chain) rule(r.number, r.conclusion, r.conditions);
            if (back != 0) {
                const std::string target = numbered("c_", std::abs(back));
                rule(static_cast<std::int32_t>(chain.size()) + 1, "c_41",
                     {back < 0 ? "n" + target : target, "a_41"});
            }
            RuleDiagnosisContext ctx = context(ui);
            ASSERT_TRUE(external::badaj_sprzecznosc_1z(ctx));
            const Findings plain = plain_external_search(store);
            EXPECT_EQ(memory.reguly_sprzeczne, plain)
                << "shape " << static_cast<int>(shape) << ", back " << back;
            EXPECT_EQ(plain.empty(), back == 0);
        }
    }
}

TEST_F(Diagnoses, ExternalSearchOfAWideLayeredBaseVisitsEachRuleOnce) {
    // 40 layers of two rules each: 2^40 paths from the top, none of them a finding.
    for (int level = 0; level < 40; ++level) {
        const std::string below = level == 0 ? "a" : numbered("e", level - 1);
        rule(2 * level + 1, numbered("e", level), {below, "p"});
        rule(2 * level + 2, numbered("e", level), {"n" + below, "q"});
    }
    RuleDiagnosisContext ctx = context(ui);
    ASSERT_TRUE(external::badaj_sprzecznosc_1z(ctx));
    EXPECT_TRUE(memory.reguly_sprzeczne.empty());
}

TEST_F(Diagnoses, ExternalSearchOfAConsistentBaseAndOfAnInterruptedOne) {
    rule(1, "a", {"b", "nc"});
    rule(2, "b", {"c", "d"});
    done();
    ui.answers = {"Tak"};
    RuleDiagnosisContext ctx = context(ui);
    EXPECT_TRUE(external::testuj_sprzecznosc_1z(ctx));
    EXPECT_FALSE(flags.sprzecznosc_1z);
    EXPECT_TRUE(memory.reguly_sprzeczne.empty());
    EXPECT_EQ(note_titles(),
              (std::vector<std::string>{"Wynik diagnozowania sprzeczności zewnętrznej"}));

    store.add(make_rule(3, "d", {"na"}, 1));
    InterruptingUser user;
    user.answers = {"Tak"};
    RuleDiagnosisContext interrupted = context(user);
    interrupted.progress_delay = std::chrono::milliseconds(0);
    // Interrupting counts as declining: no verdict, no finding, no message, the load goes on.
    EXPECT_TRUE(external::testuj_sprzecznosc_1z(interrupted));
    EXPECT_EQ(user.progress_titles.size(), 1u);
    EXPECT_FALSE(flags.sprzecznosc_1z);
    EXPECT_TRUE(memory.reguly_sprzeczne.empty());
    EXPECT_TRUE(user.of_kind("note").empty());
    // Only a line in the message window says the base was not fully checked.
    EXPECT_TRUE(user.output.ends_with(
        "\n Diagnostyka sprzeczności zewnętrznych została przerwana. Baza reguł REtest.BRD nie "
        "została w pełni sprawdzona.\n"));
}

TEST_F(Diagnoses, InternalContradictionsPerConclusion) {
    rule(1, "a", {"b", "nb"});  // self-contradictory, but rule 2 gives "a" consistently
    rule(2, "a", {"e"});
    rule(3, "p", {"c", "nd"});  // contradictory through rule 4
    rule(4, "c", {"d"});
    rule(5, "q", {"f", "nf"});  // self-contradictory, no other way to "q"
    rule(6, "r", {"ns"});       // the repeated condition gives the same flattening twice
    rule(7, "s", {"g", "g"});
    done();
    RuleDiagnosisContext ctx = context(ui);
    ASSERT_TRUE(internal::wyznacz_sprzecznosc_1w(ctx));
    EXPECT_TRUE(memory.sprzecznosc_1_w);
    std::vector<std::pair<std::int32_t, bool>> verdicts;
    for (const auto& v : memory.sprzecznosc_1w) verdicts.emplace_back(v.number, v.contradictory);
    EXPECT_EQ(verdicts, (std::vector<std::pair<std::int32_t, bool>>{
                            {3, true}, {4, false}, {5, true}, {6, false}, {7, false}}));
    // Kept are the flattenings the report can show: of conclusions without a consistent one.
    EXPECT_EQ(memory.regula_splaszczona_1w,
              (std::vector<FlattenedRule>{{3, "p", {"nd", "d"}, {4}}, {5, "q", {"nf", "f"}, {}}}));
    EXPECT_TRUE(internal::testuj_sprzecznosc({"a", "x", "na"}));
    // Negation takes off a leading "n", so the test depends on the order: "nna" negated is "na".
    EXPECT_TRUE(internal::testuj_sprzecznosc({"nna", "na"}));
    EXPECT_FALSE(internal::testuj_sprzecznosc({"na", "nna"}));
}

// The search against every flattening of every rule tested one by one: the contradictory
// verdicts left, in order, and the flattenings kept for the report.
TEST_F(Diagnoses, InternalSearchAgreesWithFlatteningEveryRuleOnChains) {
    using bench::ChainShape;
    int contradictory = 0;
    const std::vector<std::vector<StringList>> bottoms = {
        {},                 // the chain ends at an askable condition
        {{"na_5", "x"}},    // a_5 with its negation under rules 1 to 5
        {{"nnb", "nb"}},    // a pair whose order decides
        {{"na_5"}, {"y"}},  // two ways down: one contradictory, one not
        {{"na_12", "na_5"}}};
    for (const ChainShape shape :
         {ChainShape::Plain, ChainShape::Negated, ChainShape::Branched, ChainShape::Alternatives}) {
        // Two rules per level double the flattenings at each.
        const int length = shape == ChainShape::Alternatives ? 9 : 30;
        for (std::size_t b = 0; b < bottoms.size(); ++b) {
            store = FactStore{};
            memory = RuleDiagnosisMemory{};
            askable = AskableMemory{};
            const auto chain = bench::generate_chain_rules(length, shape);
            for (const auto& r : chain) rule(r.number, r.conclusion, r.conditions);
            std::int32_t number = 100;
            for (const auto& conditions : bottoms[b])
                rule(number++, numbered("c_", length + 1), conditions);
            done();
            // Every flattening, duplicates of one rule dropped, as the plain algorithm has it.
            std::map<std::string, bool> all_contradictory;
            std::vector<std::pair<FlattenedRule, bool>> plain;
            {
                RuleIndex index(store, askable);
                for (const auto& r : index.rules()) {
                    Flattener flattener(index, r.conditions);
                    std::vector<FlattenedRule> own;
                    while (const auto* f = flattener.next()) {
                        FlattenedRule flat{r.number, index.text(r.conclusion),
                                           index.texts(f->conditions), f->numbers};
                        if (std::find(own.begin(), own.end(), flat) != own.end()) continue;
                        own.push_back(flat);
                        const bool bad = internal::testuj_sprzecznosc(flat.conditions);
                        auto [it, fresh] = all_contradictory.emplace(flat.conclusion, bad);
                        if (!fresh) it->second = it->second && bad;
                        plain.emplace_back(flat, bad);
                    }
                }
            }
            std::vector<std::int32_t> expected_verdicts;
            std::vector<FlattenedRule> expected_kept;
            for (const auto& [flat, bad] : plain) {
                if (!all_contradictory[flat.conclusion]) continue;
                expected_verdicts.push_back(flat.number);
                expected_kept.push_back(flat);
            }
            RuleDiagnosisContext ctx = context(ui);
            ASSERT_TRUE(internal::wyznacz_sprzecznosc_1w(ctx));
            std::vector<std::int32_t> verdicts;
            for (const auto& v : memory.sprzecznosc_1w) {
                if (v.contradictory) verdicts.push_back(v.number);
            }
            const std::string where = "shape " + std::to_string(static_cast<int>(shape)) +
                                      ", bottom " + std::to_string(b);
            EXPECT_EQ(verdicts, expected_verdicts) << where;
            EXPECT_EQ(memory.regula_splaszczona_1w, expected_kept) << where;
            EXPECT_EQ(memory.sprzecznosc_1_w, !expected_verdicts.empty()) << where;
            if (!expected_verdicts.empty()) ++contradictory;
        }
    }
    EXPECT_GE(contradictory, 6);
}

TEST_F(Diagnoses, InternalReportRemovesTheIndirectFindingsItShows) {
    rule(1, "q", {"f", "nf"});
    rule(2, "p", {"c", "nd"});
    rule(3, "c", {"d"});
    done();
    ui.answers = {"Tak", "Nie", "Nie"};  // the question; the offers to store each report
    RuleDiagnosisContext ctx = context(ui);
    internal::testuj_sprzecznosc_1w(ctx);
    EXPECT_TRUE(menu[10068]);
    internal::pisz_sprzecznosc_1w(ctx);
    const auto first = ui.of_kind("note").size();
    EXPECT_NE(ui.output.find(" Spłaszczenie uzyskano za pomocą reguł o numerach: 3"),
              std::string::npos);
    ui.output.clear();
    internal::pisz_sprzecznosc_1w(ctx);
    // The second report: the self-contradiction again, the indirect one no more.
    EXPECT_EQ(ui.of_kind("note").size() - first, 4u);
    EXPECT_NE(ui.output.find(" Reguła 1 jest wewnętrznie SRD1-samosprzeczna."), std::string::npos);
    EXPECT_EQ(ui.output.find("pośrednio"), std::string::npos);
}

TEST_F(Diagnoses, RedundantPairsThroughFlattening) {
    rule(1, "w", {"x"});
    rule(2, "w", {"a"});
    rule(3, "x", {"a"});
    rule(4, "v", {"a", "b"});
    rule(5, "v", {"b", "a"});  // the same up to order
    rule(6, "v", {"y"});       // two flattenings, both contained in rule 4's
    rule(7, "y", {"a"});
    rule(8, "y", {"b"});
    rule(9, "u", {"a"});
    rule(10, "u", {"b"});  // disjoint: no pair
    done();
    RuleDiagnosisContext ctx = context(ui);
    ASSERT_TRUE(redundancy::wyznacz_nadmiar(ctx));
    EXPECT_TRUE(memory.jest_nadmiar);
    EXPECT_EQ(memory.reguly_nadmiarowe_n1, (std::vector<std::pair<std::int32_t, std::int32_t>>{
                                               {1, 2}, {4, 5}, {4, 6}, {4, 6}, {5, 6}, {5, 6}}));
    ASSERT_EQ(memory.para_splaszczona_n1.size(), 6u);
    EXPECT_EQ(memory.para_splaszczona_n1[0].first_conditions, StringList{"a"});
    EXPECT_EQ(memory.para_splaszczona_n1[0].first_numbers, IntegerList{3});

    // The report shows each pair of rules once and consumes them.
    ui.answers = {"Nie"};
    redundancy::pisz_nadmiar(ctx);
    std::size_t shown = 0;
    for (const auto& e : ui.of_kind("note")) {
        if (e.text.find("zawierają nadmiar typu NED1") != std::string::npos) ++shown;
    }
    EXPECT_EQ(shown, 4u);
    EXPECT_TRUE(memory.reguly_nadmiarowe_n1.empty());
    EXPECT_TRUE(memory.para_splaszczona_n1.empty());
}

// The redundancy search against every pair of flattenings of every two rules of one conclusion
// compared one by one, on chains where most pairs of rules cannot hold each other.
TEST_F(Diagnoses, RedundancySearchAgreesWithComparingEveryPairOnChains) {
    using bench::ChainShape;
    using Pairs = std::vector<std::pair<std::int32_t, std::int32_t>>;
    std::size_t found = 0;
    for (const ChainShape shape :
         {ChainShape::Plain, ChainShape::Negated, ChainShape::Branched, ChainShape::Alternatives}) {
        const int length = shape == ChainShape::Alternatives ? 8 : 30;
        store = FactStore{};
        memory = RuleDiagnosisMemory{};
        askable = AskableMemory{};
        for (const auto& r : bench::generate_chain_rules(length, shape))
            rule(r.number, r.conclusion, r.conditions);
        rule(100, "c_3", {"c_4"});  // within the flattenings of the other rules of c_3
        rule(101, "c_2", {"b_2", "a_7", "c_3"});
        rule(102, numbered("c_", length + 1), {"x"});
        rule(103, numbered("c_", length + 1), {"y", "x"});
        done();
        Pairs expected;
        std::vector<RedundantFlattenings> expected_flattenings;
        {
            RuleIndex index(store, askable);
            const auto all = [&](const RuleIndex::IndexedRule& r) {
                std::vector<Flattening> out;
                Flattener flattener(index, r.conditions);
                while (const auto* f = flattener.next()) out.push_back(*f);
                return out;
            };
            const auto within = [](std::vector<ConditionId> a, std::vector<ConditionId> b) {
                std::sort(a.begin(), a.end());
                std::sort(b.begin(), b.end());
                return std::includes(b.begin(), b.end(), a.begin(), a.end()) ||
                       std::includes(a.begin(), a.end(), b.begin(), b.end());
            };
            const auto& rules = index.rules();
            for (std::size_t i = 0; i < rules.size(); ++i) {
                for (std::size_t j = i + 1; j < rules.size(); ++j) {
                    if (rules[i].conclusion != rules[j].conclusion) continue;
                    const auto n1 = rules[i].number, n2 = rules[j].number;
                    if (std::find(expected.begin(), expected.end(), std::pair{n1, n2}) !=
                            expected.end() ||
                        std::find(expected.begin(), expected.end(), std::pair{n2, n1}) !=
                            expected.end())
                        continue;
                    for (const Flattening& f1 : all(rules[i])) {
                        for (const Flattening& f2 : all(rules[j])) {
                            if (!within(f1.conditions, f2.conditions)) continue;
                            expected.emplace_back(n1, n2);
                            expected_flattenings.push_back(
                                {n1, index.text(rules[i].conclusion), index.texts(f1.conditions),
                                 f1.numbers, n2, index.texts(f2.conditions), f2.numbers});
                        }
                    }
                }
            }
        }
        RuleDiagnosisContext ctx = context(ui);
        redundancy::wyznacz_nadmiar(ctx);
        const std::string where = "shape " + std::to_string(static_cast<int>(shape));
        EXPECT_EQ(memory.reguly_nadmiarowe_n1, expected) << where;
        EXPECT_TRUE(memory.para_splaszczona_n1 == expected_flattenings) << where;
        found += expected.size();
    }
    EXPECT_GE(found, 8u);
}

// A base without cycles is decided with shortcuts (rules that cannot be contradictory or cannot
// hold each other are not flattened); a cycle of two rules elsewhere turns them off. Both ways
// give the same findings on layered bases with negations, contradictions and redundant rules.
TEST_F(Diagnoses, ShortcutsOfBasesWithoutCyclesChangeNoFinding) {
    struct Result {
        std::vector<std::pair<std::int32_t, std::string>> contradictory;
        std::vector<FlattenedRule> shown;
        std::vector<std::pair<std::int32_t, std::int32_t>> redundant;
        std::vector<RedundantFlattenings> pairs;
        bool operator==(const Result&) const = default;
    };
    for (const int rules : {120, 400}) {
        std::vector<Result> results;
        for (const bool with_cycle : {false, true}) {
            store = FactStore{};
            memory = RuleDiagnosisMemory{};
            askable = AskableMemory{};
            const auto layered = bench::generate_layered_rules(rules);
            for (const auto& r : layered) rule(r.number, r.conclusion, r.conditions);
            const std::string top = layered.back().conclusion;
            rule(90003, "sprzeczny", {"p", "np"});
            rule(90004, "przez_warstwy", {top, "n" + top});
            if (with_cycle) {
                rule(90001, "cykl_y", {"cykl_z"});
                rule(90002, "cykl_z", {"cykl_y"});
            }
            done();
            RuleDiagnosisContext ctx = context(ui);
            ASSERT_TRUE(internal::wyznacz_sprzecznosc_1w(ctx));
            redundancy::wyznacz_nadmiar(ctx);
            Result result{{},
                          memory.regula_splaszczona_1w,
                          memory.reguly_nadmiarowe_n1,
                          memory.para_splaszczona_n1};
            for (const auto& v : memory.sprzecznosc_1w) {
                if (v.contradictory) result.contradictory.emplace_back(v.number, v.conclusion);
            }
            results.push_back(std::move(result));
        }
        EXPECT_FALSE(results[0].contradictory.empty());
        EXPECT_FALSE(results[0].redundant.empty());
        EXPECT_TRUE(results[0] == results[1]) << rules << " rules";
    }
}

TEST_F(Diagnoses, RedundancyVerdictsAndMenu) {
    rule(1, "u", {"a"});
    rule(2, "u", {"b"});
    done();
    ui.answers = {"Tak"};
    RuleDiagnosisContext ctx = context(ui);
    redundancy::testuj_nadmiar_1(ctx);
    EXPECT_EQ(note_titles(), (std::vector<std::string>{"Wynik diagnozowania nadmiarowości"}));
    EXPECT_FALSE(menu[10069]);

    store.add(make_rule(3, "u", {"b", "a"}, 1));
    RuleDiagnosisContext again = context(ui);
    EXPECT_TRUE(redundancy::informuj_nadmiar(again));
    EXPECT_EQ(note_titles().back(), "Uwaga:");
    EXPECT_TRUE(menu[10069] && menu[10108] && !menu[10094] && !menu[10095]);

    flags.sprzecznosc_1z = true;
    EXPECT_FALSE(redundancy::informuj_nadmiar(again));
}

TEST_F(Diagnoses, CyclesAreToldOncePerCommandAndInterruptedSearchesStoreNothing) {
    rule(1, "w", {"x"});
    rule(2, "x", {"y"});
    rule(3, "y", {"x"});
    rule(4, "y", {"a"});
    rule(5, "w", {"a"});
    done();
    ui.answers = {"Tak", "Tak"};
    RuleDiagnosisContext ctx = context(ui);
    internal::testuj_sprzecznosc_1w(ctx);
    redundancy::testuj_nadmiar_1(ctx);
    std::size_t cycle_notes = 0;
    for (const auto& e : ui.of_kind("note")) {
        if (e.text.find("nie można spłaszczyć całkowicie") != std::string::npos) {
            ++cycle_notes;
            EXPECT_EQ(e.text.rfind("Reguł 1, 2, 3 nie można", 0), 0u) << e.text;
        }
    }
    EXPECT_EQ(cycle_notes, 1u);
    EXPECT_EQ(memory.reguly_nadmiarowe_n1,
              (std::vector<std::pair<std::int32_t, std::int32_t>>{{1, 5}, {3, 4}}));

    memory = RuleDiagnosisMemory{};
    InterruptingUser user;
    RuleDiagnosisContext interrupted = context(user);
    interrupted.progress_delay = std::chrono::milliseconds(0);
    EXPECT_FALSE(internal::wyznacz_sprzecznosc_1w(interrupted));
    EXPECT_FALSE(redundancy::wyznacz_nadmiar(interrupted));
    EXPECT_TRUE(memory.regula_splaszczona_1w.empty());
    EXPECT_TRUE(memory.reguly_nadmiarowe_n1.empty());
    EXPECT_FALSE(memory.jest_nadmiar);
}

}  // namespace
}  // namespace xamo
