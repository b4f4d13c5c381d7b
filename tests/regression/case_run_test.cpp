#include "regression/case_run.h"

#include <gtest/gtest.h>

#include "support/base_dir.h"

namespace xamo {
namespace {

// Rows run on several workers, each with a base of its own, give what one worker gives, row by
// row, whatever order the workers take them in; the coverage counts only rules that established
// their conclusion, and rows stopped at an open question count for nothing.
TEST(CaseRun, RowsOnSeveralWorkersGiveWhatOneWorkerGives) {
    testing::BaseDir base;
    const CaseBaseFiles files{
        base.write("REdzien.BRD",
                   {R"(reguła(1,"spacer",["pogoda","czas"],1))",
                    R"(reguła(2,"kino",["npogoda","czas"],1))",
                    R"(reguła(3,"odpoczynek",["spacer"],1))", R"(reguła(4,"burza",["grzmot"],1))"}),
        "", ""};
    std::vector<std::vector<std::string>> records = {
        {"pogoda", "czas", "grzmot", "oczekiwane", "wykluczone"}};
    const std::vector<std::vector<std::string>> kinds = {
        {"tak", "tak", "nie", "spacer|odpoczynek", "kino"},
        {"nie", "tak", "nie", "kino", "spacer"},
        {"tak", "nie", "nie", "spacer", ""},
        {"tak", "tak", "", "", ""},
    };
    for (int i = 0; i < 200; ++i) records.push_back(kinds[static_cast<std::size_t>(i) % 4]);
    const auto one = run_case_table(files, records, 1);
    const auto four = run_case_table(files, records, 4);
    ASSERT_TRUE(std::holds_alternative<CaseReport>(one)) << std::get<std::string>(one);
    ASSERT_TRUE(std::holds_alternative<CaseReport>(four));
    const auto& a = std::get<CaseReport>(one);
    const auto& b = std::get<CaseReport>(four);
    ASSERT_EQ(a.outcomes.size(), 200u);
    for (std::size_t i = 0; i < a.outcomes.size(); ++i) {
        EXPECT_EQ(a.outcomes[i].status, b.outcomes[i].status) << i;
        EXPECT_EQ(a.outcomes[i].established, b.outcomes[i].established) << i;
        EXPECT_EQ(a.outcomes[i].rules, b.outcomes[i].rules) << i;
    }
    EXPECT_EQ(a.outcomes[0].status, CaseOutcome::Status::Pass);
    EXPECT_EQ(a.outcomes[1].status, CaseOutcome::Status::Pass);
    EXPECT_EQ(a.outcomes[2].status, CaseOutcome::Status::Fail);
    EXPECT_EQ(a.outcomes[2].missing, (std::vector<std::string>{"spacer"}));
    EXPECT_EQ(a.outcomes[3].status, CaseOutcome::Status::Unanswered);
    EXPECT_EQ(a.outcomes[3].question, "grzmot?");
    EXPECT_EQ(a.passed(), 100u);
    EXPECT_EQ(b.coverage.rules_fired, (std::vector<std::int32_t>{1, 2, 3}));
    EXPECT_EQ(b.coverage.rules_never, (std::vector<std::int32_t>{4}));
    EXPECT_EQ(b.coverage.conclusions_never, (std::vector<std::string>{"burza"}));

    // Backward: a final hypothesis and one that is a condition of another rule (offered among
    // the broad ones) are verified; only the rules that proved their conclusion count.
    const auto backward =
        run_case_table(files,
                       {{"pogoda", "czas", "hipoteza", "oczekiwane", "wykluczone"},
                        {"tak", "tak", "odpoczynek", "odpoczynek", ""},
                        {"nie", "tak", "spacer", "", "spacer"}},
                       2);
    ASSERT_TRUE(std::holds_alternative<CaseReport>(backward));
    const auto& c = std::get<CaseReport>(backward);
    EXPECT_EQ(c.passed(), 2u);
    EXPECT_EQ(c.coverage.rules_fired, (std::vector<std::int32_t>{1, 3}));
}

}  // namespace
}  // namespace xamo
