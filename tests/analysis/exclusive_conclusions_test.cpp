#include "analysis/exclusive_conclusions.h"

#include <gtest/gtest.h>

#include "askable/askable.h"
#include "support/numbered.h"
#include "support/scripted_interaction.h"

namespace xamo {
namespace {

TEST(AssumptionTest, CountsTheListsContainedInEachAssumption) {
    // [a] lies within [a,b]; [c] within nothing else; repeated members count once.
    EXPECT_EQ(fired_counts({{"a", "b"}, {"a"}, {"c"}}), (std::vector<std::size_t>{2, 1, 1}));
    EXPECT_EQ(fired_counts({{"a", "b"}, {"c", "d"}}), (std::vector<std::size_t>{1, 1}));
    EXPECT_EQ(fired_counts({{"b", "a"}, {"a", "b", "a"}}), (std::vector<std::size_t>{2, 2}));
    // An empty list fires under every assumption, and assuming nothing fires every rule.
    EXPECT_EQ(fired_counts({{}, {"a"}, {"b"}}), (std::vector<std::size_t>{3, 2, 2}));
    EXPECT_EQ(fired_counts({{"a"}}), (std::vector<std::size_t>{1}));
}

TEST(StructuralTests, CommonConditionsAndDifferentLengths) {
    EXPECT_TRUE(common_conditions({{"a", "b"}, {"c", "a"}}));
    EXPECT_FALSE(common_conditions({{"a", "b"}, {"c", "d"}}));
    EXPECT_FALSE(common_conditions({{"a", "b"}, {"b", "c"}, {"c", "a"}}));
    EXPECT_TRUE(common_conditions({{"a"}}));
    EXPECT_FALSE(common_conditions({{}}));
    EXPECT_TRUE(different_lengths({{"a"}, {"b", "c"}}));
    EXPECT_FALSE(different_lengths({{"a", "b"}, {"c", "d"}}));
    EXPECT_FALSE(different_lengths({{"a"}}));
}

TEST(VerdictTable, FirstRowThatHoldsAndRowsThatWriteNothing) {
    using M = ExclusionMode;
    const auto title = [](M mode, bool nie, bool c, bool d) -> std::string {
        const auto v = verdict(mode, nie, c, d);
        return v ? v->title : "-";
    };
    EXPECT_EQ(title(M::ExactlyOne, false, false, false),
              "Wnioski następujących reguł wykluczają się wzajemnie do jednego:");
    for (const auto& [nie, c, d] : {std::tuple{false, true, false}, std::tuple{false, false, true},
                                    std::tuple{true, false, false}}) {
        EXPECT_EQ(title(M::ExactlyOne, nie, c, d),
                  "Wnioski następujących reguł nie wykluczają się wzajemnie do jednego:");
    }
    EXPECT_EQ(title(M::AtMostOne, false, true, true),
              "Wnioski następujących reguł wykluczają się wzajemnie do żadnego:");
    EXPECT_EQ(title(M::AtMostOne, true, false, false),
              "Wnioski następujących reguł nie wykluczają się wzajemnie do żadnego:");
    // Mode 2: a common condition with equal lengths, or NIE with different lengths, writes nothing.
    EXPECT_EQ(title(M::AtMostOne, false, true, false), "-");
    EXPECT_EQ(title(M::AtMostOne, true, false, true), "-");
    // Mode 3: NIE first, then C before D.
    EXPECT_EQ(title(M::NotExclusive, true, true, false),
              "Wnioski następujących reguł nie wykluczają się wzajemnie:");
    EXPECT_EQ(title(M::NotExclusive, false, true, true),
              "Wnioski następujących reguł  wykluczają się wzajemnie:");
    EXPECT_EQ(std::string(verdict(M::NotExclusive, false, true, true)->line),
              "\nWnioski następujĄcych reguł  wykluczają się wzajemnie: ");
    EXPECT_EQ(title(M::NotExclusive, false, false, true),
              "Wnioski następujących reguł nie wykluczają się wzajemnie:");
    EXPECT_EQ(title(M::NotExclusive, false, false, false),
              "Wnioski następujących reguł wykluczają się wzajemnie:");
}

class Analysis : public ::testing::Test {
  protected:
    void SetUp() override { store.set_text(Kind::nazwa_re, "REtest.BRD"); }
    void rule(std::int32_t n, const std::string& conclusion, StringList conditions) {
        store.add(make_rule(n, conclusion, std::move(conditions), 1));
    }
    void done() {
        remember_askable(askable, ui, askable_conditions_of_rules(store, askable));
        ui.output.clear();
    }
    void run(ExclusionMode mode, const std::string& choice) {
        ui.answers.push_back(choice);
        RuleDiagnosisContext ctx(store, ui, askable, flags, diagnoses);
        analiza_bazy_wiedzy(ctx, memory, mode);
    }
    std::vector<std::string> note_titles() const {
        std::vector<std::string> out;
        for (const auto& e : ui.of_kind("note")) out.push_back(e.title);
        return out;
    }

    FactStore store;
    ScriptedInteraction ui;
    AskableMemory askable;
    DiagnosisFlags flags;
    RuleDiagnosisMemory diagnoses;
    ExclusionMemory memory;
};

TEST_F(Analysis, ChosenRulesAreFlattenedAndJudgedWithOneNoteEach) {
    rule(1, "x", {"y", "a"});
    rule(2, "y", {"b", "c"});
    rule(3, "z", {"d", "e", "f"});
    rule(4, "w", {"g", "h", "i"});
    done();
    run(ExclusionMode::ExactlyOne, "1 3 4");
    const auto lists = ui.of_kind("list many");
    ASSERT_EQ(lists.size(), 1u);
    EXPECT_EQ(lists[0].title, "Wybór wniosków do testowania wykluczalności");
    EXPECT_EQ(lists[0].items, (std::vector<std::string>{"1  x", "2  y", "3  z", "4  w"}));
    // Rule 1 in its flattening, rules chosen in list order.
    ASSERT_EQ(memory.regula_do_testowania.size(), 3u);
    EXPECT_EQ(memory.regula_do_testowania[0], (TestedRule{1, "x", {"a", "b", "c"}}));
    EXPECT_FALSE(memory.wykluczenie_do_jednego);
    const std::string title = "Wnioski następujących reguł wykluczają się wzajemnie do jednego:";
    EXPECT_EQ(note_titles(), (std::vector<std::string>{"Uwaga!", title, title, title}));
    EXPECT_EQ(ui.of_kind("note")[2].text, "Numer reguły:  3    Wniosek:  z");
    EXPECT_EQ(ui.output, "\n" + title +
                             "\n\nNumer reguły:  1    Wniosek:  x\nNumer reguły:  3    "
                             "Wniosek:  z\nNumer reguły:  4    Wniosek:  w\n");
}

TEST_F(Analysis, ContainedRuleSetsTheFlagOfTheMode) {
    rule(1, "p", {"a", "b"});
    rule(2, "q", {"a", "b", "c"});
    done();
    run(ExclusionMode::NotExclusive, "1 2");
    EXPECT_TRUE(memory.wykluczenie);
    EXPECT_FALSE(memory.wykluczenie_do_jednego);
    EXPECT_EQ(note_titles().back(), "Wnioski następujących reguł nie wykluczają się wzajemnie:");
    // The next analysis starts afresh.
    run(ExclusionMode::ExactlyOne, "2");
    EXPECT_FALSE(memory.wykluczenie);
    EXPECT_EQ(memory.regula_do_testowania.size(), 1u);
}

TEST_F(Analysis, ExternallyContradictoryRulesAreNotOfferedAndSharedNumbersKeepTheirRule) {
    rule(1, "a", {"b", "c"});
    rule(2, "d", {"e", "f"});
    rule(2, "g", {"h", "i"});
    done();
    diagnoses.marked.insert(1);
    run(ExclusionMode::NotExclusive, "2");
    EXPECT_EQ(ui.of_kind("list many")[0].items, (std::vector<std::string>{"2  d", "2  g"}));
    ASSERT_EQ(memory.regula_do_testowania.size(), 1u);
    EXPECT_EQ(memory.regula_do_testowania[0].conclusion, "g");
}

TEST_F(Analysis, NoChoiceNoFlatteningOrNoRuleBaseGiveNoVerdict) {
    // Rule 1 needs the negation of w, whose only rule has no condition to negate.
    rule(1, "x", {"nw", "a"});
    store.add(make_rule(2, "w", {}, 1));
    rule(3, "y", {"b", "c"});
    done();
    run(ExclusionMode::ExactlyOne, "");
    run(ExclusionMode::ExactlyOne, "3 1");
    EXPECT_EQ(note_titles(), (std::vector<std::string>{"Uwaga!", "Uwaga!"}));
    EXPECT_TRUE(ui.output.empty());
    store.remove_all(Kind::nazwa_re);
    RuleDiagnosisContext ctx(store, ui, askable, flags, diagnoses);
    analiza_bazy_wiedzy(ctx, memory, ExclusionMode::AtMostOne);
    EXPECT_EQ(ui.events.size(), 4u);
}

TEST_F(Analysis, ARuleOnACycleIsToldAndHasNoVerdict) {
    rule(1, "a", {"b", "c"});
    rule(2, "b", {"a", "d"});
    done();
    run(ExclusionMode::NotExclusive, "1");
    ASSERT_EQ(note_titles().size(), 2u);
    EXPECT_NE(ui.of_kind("note")[1].text.find("Reguły 1 nie można spłaszczyć całkowicie"),
              std::string::npos);
    EXPECT_TRUE(ui.output.empty());
}

TEST_F(Analysis, OneRuleOfTenThousandIsAnsweredAtOnceWhateverItsFlattenings) {
    // c0 is concluded twice at each of 24 levels: rule 1 has 2^24 flattenings, of which the
    // analysis needs only the first.
    rule(1, "top", {"c0", "z"});
    std::int32_t n = 2;
    for (int level = 0; level < 24; ++level) {
        const std::string here = testing::numbered("c", level);
        const std::string below = testing::numbered("c", level + 1);
        rule(n++, here, {below, testing::numbered("a", level)});
        rule(n++, here, {below, testing::numbered("b", level)});
    }
    while (n <= 10000) {
        rule(n, testing::numbered("w", n), {testing::numbered("u", n), testing::numbered("v", n)});
        ++n;
    }
    done();
    // Walking all 2^24 flattenings would not end within the test's time limit.
    run(ExclusionMode::ExactlyOne, "1");
    ASSERT_EQ(memory.regula_do_testowania.size(), 1u);
    EXPECT_EQ(memory.regula_do_testowania[0].conditions.size(), 26u);
    EXPECT_EQ(note_titles().back(),
              "Wnioski następujących reguł nie wykluczają się wzajemnie do jednego:");
}

}  // namespace
}  // namespace xamo
