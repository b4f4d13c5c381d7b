#include "verify/flattening.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <numeric>
#include <optional>
#include <random>

#include "askable/askable.h"
#include "generators.h"
#include "kb/conditions.h"
#include "support/numbered.h"
#include "support/scripted_interaction.h"
#include "verify/list_helpers.h"

namespace xamo {
namespace {

using testing::numbered;

using Flat = std::pair<StringList, IntegerList>;

class Flattening : public ::testing::Test {
  protected:
    void rule(std::int32_t n, const std::string& conclusion, StringList conditions) {
        store.add(make_rule(n, conclusion, std::move(conditions), 1));
    }
    // Computes the askable conditions as the rule-base load does.
    void done() { remember_askable(askable, ui, askable_conditions_of_rules(store, askable)); }

    std::vector<Flat> flatten(std::size_t position, bool* cycle = nullptr) {
        RuleIndex index(store, askable);
        Flattener flattener(index, index.rules()[position].conditions);
        std::vector<Flat> out;
        while (const auto* f = flattener.next())
            out.emplace_back(index.texts(f->conditions), f->numbers);
        if (cycle) *cycle = flattener.reached_cycle();
        return out;
    }

    // The operations as the algorithm states them, on plain lists and recursion: one pass
    // chooses a replacement per condition, joins the chosen lists from the last condition's to
    // the first's, reduces, and passes again while something is not askable.
    std::vector<Flat> reference(const StringList& conditions) {
        std::vector<Flat> out;
        std::function<void(const StringList&, std::size_t, std::vector<StringList>, IntegerList)>
            pass = [&](const StringList& list, std::size_t i, std::vector<StringList> chosen,
                       IntegerList numbers) {
                if (i == list.size()) {
                    const StringList joined = redukuj(usuniecie_list_wewnetrznych(chosen));
                    if (sprawdz_niedopytywalnosc(askable, joined)) {
                        pass(joined, 0, {}, numbers);
                    } else {
                        out.emplace_back(joined, odwracanie(usun(redukuj_i(numbers), 0)));
                    }
                    return;
                }
                for (const auto& [number, replacement] : replacements(list[i])) {
                    auto next_chosen = chosen;
                    next_chosen.insert(next_chosen.begin(), replacement);
                    auto next_numbers = numbers;
                    next_numbers.insert(next_numbers.begin(), number);
                    pass(list, i + 1, next_chosen, next_numbers);
                }
            };
        pass(conditions, 0, {}, {});
        return out;
    }
    std::vector<std::pair<std::int32_t, StringList>> replacements(const std::string& c) {
        std::vector<std::pair<std::int32_t, StringList>> out;
        for (const Fact& f : store.all(Kind::regula)) {
            const Rule r(f);
            if (is_negated(c) && r.conclusion() == c.substr(1)) {
                const StringList conditions = r.conditions().texts();
                for (auto d = conditions.rbegin(); d != conditions.rend(); ++d)
                    out.push_back({r.number(), {negacja(*d)}});
            } else if (!is_negated(c) && r.conclusion() == c) {
                out.push_back({r.number(), r.conditions().texts()});
            }
        }
        if (is_askable(askable, c)) out.push_back({0, {c}});
        return out;
    }

    FactStore store;
    AskableMemory askable;
    ScriptedInteraction ui;
};

TEST_F(Flattening, ExamplesOfTheAlgorithm) {
    rule(1, "x", {"y", "a"});
    rule(2, "y", {"b", "c"});
    rule(3, "v", {"ny"});
    rule(4, "u", {"a", "b", "a"});
    done();
    EXPECT_EQ(flatten(0), (std::vector<Flat>{{{"a", "b", "c"}, {2}}}));
    // Askable conditions only: the list reversed, no repetitions, no numbers.
    EXPECT_EQ(flatten(1), (std::vector<Flat>{{{"c", "b"}, {}}}));
    // A negated condition: the negation of one condition of the rule, from the last to the first.
    EXPECT_EQ(flatten(2), (std::vector<Flat>{{{"nc"}, {2}}, {{"nb"}, {2}}}));
    EXPECT_EQ(flatten(3), (std::vector<Flat>{{{"b", "a"}, {}}}));
}

TEST_F(Flattening, AlternativesInOrderAndDeadEnds) {
    rule(1, "x", {"y", "z"});
    rule(2, "y", {"a"});
    rule(3, "y", {"b", "a"});
    rule(4, "z", {"a"});
    rule(5, "w", {"y", "bez warunku"});  // "bez warunku" is never askable: no flattening
    done();
    // The earlier rule first; the shared "a" stands once; numbers in order of first use.
    EXPECT_EQ(flatten(0), (std::vector<Flat>{{{"a"}, {2, 4}}, {{"b", "a"}, {3, 4}}}));
    EXPECT_TRUE(flatten(4).empty());
}

TEST_F(Flattening, AgreesWithThePlainAlgorithmOnGeneratedBases) {
    std::mt19937 random(12345);
    for (int base = 0; base < 40; ++base) {
        store = FactStore{};
        askable = AskableMemory{};
        // Layered: conditions of layer k rules are askable or conclusions of lower layers, some
        // negated; a few names start with "n" themselves.
        std::vector<std::string> concluded;
        const StringList leaves = {"a", "b", "c", "nadwaga", "d"};
        int number = 1;
        for (int layer = 0; layer < 4; ++layer) {
            std::vector<std::string> made;
            const int conclusions = 1 + static_cast<int>(random() % 3);
            for (int k = 0; k < conclusions; ++k) {
                const std::string conclusion = numbered(numbered("w", layer) + "_", k);
                const int count = 1 + static_cast<int>(random() % 2);
                for (int r = 0; r < count; ++r) {
                    StringList conditions;
                    const int size = 1 + static_cast<int>(random() % 3);
                    for (int i = 0; i < size; ++i) {
                        const bool inner = !concluded.empty() && random() % 2 == 0;
                        std::string c = inner ? concluded[random() % concluded.size()]
                                              : leaves[random() % leaves.size()];
                        if (random() % 3 == 0) c = negacja(c);
                        conditions.push_back(c);
                    }
                    rule(number++, conclusion, conditions);
                }
                made.push_back(conclusion);
            }
            concluded.insert(concluded.end(), made.begin(), made.end());
        }
        done();
        const auto& rules = store.all(Kind::regula);
        for (std::size_t i = 0; i < rules.size(); ++i) {
            bool cycle = true;
            EXPECT_EQ(flatten(i, &cycle), reference(Rule(rules[i]).conditions().texts()))
                << "base " << base << ", rule " << i + 1;
            EXPECT_FALSE(cycle);
        }
    }
}

TEST_F(Flattening, AgreesWithThePlainAlgorithmOnChains) {
    using bench::ChainShape;
    for (const ChainShape shape : {ChainShape::Plain, ChainShape::Negated, ChainShape::Branched}) {
        store = FactStore{};
        askable = AskableMemory{};
        for (const auto& r : bench::generate_chain_rules(30, shape))
            rule(r.number, r.conclusion, r.conditions);
        // Two ways to conclude the bottom, one through a condition already met higher up.
        rule(100, "c_31", {"x", "a_5"});
        rule(101, "c_31", {"na_2", "y"});
        done();
        const auto& rules = store.all(Kind::regula);
        for (std::size_t i = 0; i < rules.size(); ++i) {
            EXPECT_EQ(flatten(i), reference(Rule(rules[i]).conditions().texts()))
                << "shape " << static_cast<int>(shape) << ", rule " << i + 1;
        }
    }
}

// The deepest rule of a long chain, flattened one result at a time: the first and the last of
// its two flattenings, without keeping the others or the passes between.
TEST_F(Flattening, FirstAndLastFlatteningOfAHundredThousandRuleChain) {
    const int length = 100000;
    for (const auto& r : bench::generate_chain_rules(length))
        rule(r.number, r.conclusion, r.conditions);
    rule(length + 1, numbered("c_", length + 1), {"x", "a_1"});
    rule(length + 2, numbered("c_", length + 1), {"y"});
    done();
    RuleIndex index(store, askable);
    Flattener flattener(index, index.rules().front().conditions);
    std::optional<Flat> first, last;
    std::size_t count = 0;
    while (const auto* f = flattener.next()) {
        last.emplace(index.texts(f->conditions), f->numbers);
        if (!first) first = last;
        ++count;
    }
    ASSERT_EQ(count, 2u);
    // Every a_i once and the bottom's own condition; the rules below in chain order.
    ASSERT_EQ(first->first.size(), static_cast<std::size_t>(length) + 1);
    ASSERT_EQ(last->first.size(), static_cast<std::size_t>(length) + 1);
    IntegerList numbers(length);
    std::iota(numbers.begin(), numbers.end(), 2);
    EXPECT_EQ(first->second, numbers);
    numbers.back() = length + 2;
    EXPECT_EQ(last->second, numbers);
    // The lists alternate sides at each pass; a_1, met again at the bottom, keeps its last place.
    const auto position = [](const StringList& list, const std::string& c) {
        return std::find(list.begin(), list.end(), c) - list.begin();
    };
    EXPECT_EQ(std::count(first->first.begin(), first->first.end(), "a_1"), 1);
    EXPECT_LT(position(first->first, "x"), first->first.size());
    EXPECT_LT(position(last->first, "y"), last->first.size());
    EXPECT_EQ(position(first->first, "x"), position(last->first, "y"));
}

TEST_F(Flattening, GeneratedBasesWithCyclesEnd) {
    std::mt19937 random(777);
    int cut = 0;
    for (int base = 0; base < 60; ++base) {
        store = FactStore{};
        askable = AskableMemory{};
        // Any conclusion may be a condition of any rule, so chains may lead back to themselves.
        const int conclusions = 2 + static_cast<int>(random() % 4);
        for (int r = 0; r < 8; ++r) {
            StringList conditions;
            for (int i = 0, size = 1 + static_cast<int>(random() % 3); i < size; ++i) {
                std::string c = random() % 3 == 0 ? numbered("a", random() % 3)
                                                  : numbered("k", random() % conclusions);
                if (random() % 4 == 0) c = negacja(c);
                conditions.push_back(c);
            }
            rule(r + 1, numbered("k", random() % conclusions), conditions);
        }
        done();
        for (std::size_t i = 0; i < store.all(Kind::regula).size(); ++i) {
            bool cycle = false;
            const auto result = flatten(i, &cycle);
            // Without a cut the choices were those of the plain algorithm, which then ends too.
            if (cycle)
                ++cut;
            else
                EXPECT_EQ(result, reference(Rule(store.all(Kind::regula)[i]).conditions().texts()));
        }
    }
    EXPECT_GT(cut, 0);
}

// A rule may be numbered 0 like an askable condition's own replacement: the cycle through it is
// cut all the same (it was followed until memory ran out).
TEST_F(Flattening, ACycleThroughARuleNumberedZeroIsCut) {
    rule(1, "w", {"x"});
    rule(2, "x", {"y"});
    rule(0, "y", {"x"});
    rule(4, "y", {"a"});
    done();
    bool cycle = false;
    EXPECT_EQ(flatten(0, &cycle), (std::vector<Flat>{{{"a"}, {2, 4}}}));
    EXPECT_TRUE(cycle);
}

TEST_F(Flattening, CyclesAreCutAndReported) {
    rule(1, "w", {"x"});
    rule(2, "x", {"y"});
    rule(3, "y", {"x"});
    rule(4, "y", {"a"});
    rule(5, "s", {"ns"});  // the negation of its own conclusion
    rule(6, "v", {"a", "b"});
    done();
    bool cycle = false;
    // Through the cycle x -> y -> x only the way out through rule 4 is left.
    EXPECT_EQ(flatten(0, &cycle), (std::vector<Flat>{{{"a"}, {2, 4}}}));
    EXPECT_TRUE(cycle);
    EXPECT_EQ(flatten(1, &cycle), (std::vector<Flat>{{{"a"}, {4}}}));
    EXPECT_TRUE(cycle);
    EXPECT_TRUE(flatten(4, &cycle).empty());
    EXPECT_TRUE(cycle);
    EXPECT_EQ(flatten(5, &cycle), (std::vector<Flat>{{{"b", "a"}, {}}}));
    EXPECT_FALSE(cycle);
}

TEST_F(Flattening, LongChainsUseNoCallStackAndFirstResultsComeAtOnce) {
    // A chain of 20,000 rules flattens without deep recursion.
    const int chain = 20000;
    for (int i = 0; i < chain; ++i) rule(i + 1, numbered("c", i), {numbered("c", i + 1), "g"});
    rule(chain + 1, numbered("c", chain), {"a"});
    // 2^40 flattenings: taking the first two must not enumerate the rest.
    for (int level = 0; level < 40; ++level) {
        const std::string below = level == 0 ? "a" : numbered("e", level - 1);
        rule(100000 + 2 * level, numbered("e", level), {below, "p"});
        rule(100001 + 2 * level, numbered("e", level), {below, "q"});
    }
    rule(200000, "top", {"e39"});
    done();
    const auto result = flatten(0);
    ASSERT_EQ(result.size(), 1u);
    EXPECT_EQ(result[0].first, (StringList{"g", "a"}));
    EXPECT_EQ(result[0].second.size(), static_cast<std::size_t>(chain));

    RuleIndex index(store, askable);
    Flattener many(index, index.rules().back().conditions);
    ASSERT_NE(many.next(), nullptr);
    const auto* second = many.next();
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(second->numbers.size(), 40u);
}

TEST_F(Flattening, OperationsOnStrings) {
    rule(1, "x", {"y", "a"});
    rule(2, "y", {"b", "c"});
    done();
    RuleIndex index(store, askable);
    EXPECT_EQ(szukaj_regule(index, "ny"),
              (std::vector<std::pair<std::int32_t, StringList>>{{2, {"nc"}}, {2, {"nb"}}}));
    EXPECT_EQ(szukaj_regule(index, "na"),
              (std::vector<std::pair<std::int32_t, StringList>>{{0, {"na"}}}));
    // A condition outside the rule base is interned on demand.
    EXPECT_TRUE(szukaj_regule(index, "inny").empty());
    std::vector<Flat> seen;
    EXPECT_FALSE(splaszcz(index, {"x", "nb"}, [&](const StringList& f, const IntegerList& n) {
        seen.emplace_back(f, n);
        return false;
    }));
    EXPECT_EQ(seen, (std::vector<Flat>{{{"a", "b", "c", "nb"}, {1, 2}}}));
    EXPECT_TRUE(sprawdz_niedopytywalnosc(askable, {"a", "y"}));
    EXPECT_FALSE(sprawdz_niedopytywalnosc(askable, {"a", "nb"}));
}

TEST(ListHelpers, AsTheDiagnosesUseThem) {
    EXPECT_EQ(redukuj({"a", "b", "a", "c", "b"}), (StringList{"a", "c", "b"}));
    EXPECT_EQ(redukuj_i({0, 2, 0, 3, 2}), (IntegerList{0, 3, 2}));
    EXPECT_EQ(usun({0, 2, 0, 3}, 0), (IntegerList{2, 3}));
    EXPECT_EQ(neguj_liste({"a", "nb", "c"}), (StringList{"nc", "b", "na"}));
    EXPECT_EQ(iloczyn_zbiorow({"c", "a", "b", "a"}, {"a", "c"}), (StringList{"c", "a", "a"}));
    EXPECT_EQ(roznica_zbiorow({"c", "a", "b", "a"}, {"a"}), (StringList{"c", "b"}));
    EXPECT_EQ(usuniecie_list_wewnetrznych({{"a"}, {}, {"b", "a"}}), (StringList{"a", "b", "a"}));
    EXPECT_TRUE(podzbior_ogolny({"b", "a", "b"}, {"a", "b", "c"}));
    EXPECT_TRUE(podzbior_ogolny({"a", "b", "c"}, {"c", "a"}));
    EXPECT_FALSE(podzbior_ogolny({"a", "d"}, {"a", "b"}));
}

}  // namespace
}  // namespace xamo
