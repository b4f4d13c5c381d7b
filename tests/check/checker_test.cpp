#include "check/checker.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "check/report.h"
#include "support/temp_dir.h"

namespace xamo {
namespace {

// "reguła(N,"conclusion",[conditions],1)" in Windows-1250, one line.
std::string rule(int number, const std::string& conclusion, const std::string& conditions) {
    return "regu\xb3"
           "a(" +
           std::to_string(number) + ",\"" + conclusion + "\",[" + conditions + "],1)\r\n";
}

std::vector<const Finding*> with_code(const CheckResult& result, std::string_view code) {
    std::vector<const Finding*> found;
    for (const auto& finding : result.findings) {
        if (finding.code == code) found.push_back(&finding);
    }
    return found;
}

TEST(Check, ExitCodeIsTheWorstFinding) {
    CheckResult result;
    EXPECT_EQ(check_exit_code(result), kCheckClean);
    result.findings.push_back({"RD204", Severity::Warning, {"REa.BRD", 3, 0, ""}, "u", {}, {}, ""});
    EXPECT_EQ(check_exit_code(result), kCheckClean);
    result.findings.push_back({"RD202", Severity::Error, {"REa.BRD", 4, 0, ""}, "b", {}, {}, ""});
    EXPECT_EQ(check_exit_code(result), kCheckErrors);
    result.unreadable = true;
    EXPECT_EQ(check_exit_code(result), kCheckUnreadable);
    result.incomplete = true;
    EXPECT_EQ(check_exit_code(result), kCheckIncomplete);
}

// Compiler form with the caret under the column and related locations as notes; control
// characters of a base shown escaped; JSON well-formed UTF-8 whatever the bytes of a path.
TEST(Check, FindingsPrintInCompilerFormAndAsValidJson) {
    Finding finding{"RD102",
                    Severity::Error,
                    {"baza \"x\".BRD", 7, 3, ""},
                    "wniosek „a”\x1b[31m",
                    {"reguła 1: a, na"},
                    {{"REa.BRD", 2, 0, "tu"}},
                    "ab\x1b"
                    "cd",
                    2};
    EXPECT_EQ(finding_text(finding),
              "baza \"x\".BRD:7:3: błąd: wniosek „a”\\x1B[31m [RD102]\n"
              "    ab\\x1Bcd\n"
              "      ^\n"
              "    reguła 1: a, na\n"
              "REa.BRD:2: uwaga: tu\n");
    EXPECT_EQ(finding_json(finding),
              "{\"file\": \"baza \\\"x\\\".BRD\", \"line\": 7, \"column\": 3, \"severity\": "
              "\"błąd\", \"code\": \"RD102\", \"text\": \"wniosek „a”\\u001b[31m\", \"evidence\": "
              "[\"reguła 1: a, na\"], \"related\": [{\"file\": \"REa.BRD\", \"line\": 2, "
              "\"column\": null, \"text\": \"tu\"}]}\n");
    // A directory named on Windows: "ł" as the Windows-1250 byte.
    finding.location.file = "kat\xb3/REa.BRD";
    EXPECT_NE(finding_json(finding).find("\"file\": \"katł/REa.BRD\""), std::string::npos);
    EXPECT_NE(finding_text(finding).find("katł/REa.BRD:7:3:"), std::string::npos);
    // A message in UTF-8 naming such a path keeps its own letters.
    finding.evidence = {"Nie można otworzyć pliku kat\xb3/REa.BRD."};
    EXPECT_NE(finding_json(finding).find("\"Nie można otworzyć pliku katł/REa.BRD.\""),
              std::string::npos);
    EXPECT_NE(sarif_log({{finding}, false, false, 0, 1}).find("kat%C5%82/REa.BRD"),
              std::string::npos);
}

// The code index in docs/ is the interface CI jobs rely on: every code with its severity.
TEST(Check, EveryCodeIsInTheDocumentedIndex) {
    std::ifstream in(std::string(XAMO_SOURCE_DIR) + "/docs/CHECK_CODES.md");
    const std::string index{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    ASSERT_FALSE(index.empty());
    for (const FindingKind& kind : finding_kinds()) {
        const std::string row =
            "| " + std::string(kind.code) + " | " + severity_word(kind.severity) + " |";
        EXPECT_NE(index.find(row), std::string::npos) << row;
    }
}

// A directory must name one knowledge base: with two rule bases the user is asked to name the
// file, and nothing is loaded.
TEST(Check, DirectoryWithTwoRuleBasesIsRefused) {
    testing::TempDir dir;
    dir.write("REa.BRD", rule(1, "a", "\"b\",\"c\""));
    dir.write("reb.brd", rule(1, "a", "\"b\",\"c\""));
    const CheckResult result = check_paths({dir.path().string()});
    EXPECT_EQ(check_exit_code(result), kCheckUnreadable);
    ASSERT_EQ(result.findings.size(), 1u);
    EXPECT_NE(result.findings[0].message.find("więcej niż jedną bazę reguł"), std::string::npos);
}

// The other bases are found whatever the letter case of their prefix and extension; what the
// load refuses (a distinguisher differing in case) is reported as the load reports it.
TEST(Check, FindsTheOtherBasesWithoutRegardToCase) {
    testing::TempDir dir;
    const std::string rules = dir.write("REa.BRD", rule(1, "a", "\"b\",\"c\""));
    const std::string model = "model(1,\"bez warunku\",\"x\",\"y\",\"-\",\"0\",1)\r\n";
    dir.write("moa.brd", model);
    CheckResult result = check_paths({rules});
    ASSERT_EQ(result.findings.size(), 1u);
    EXPECT_EQ(result.findings[0].location.line, 1u);
    EXPECT_EQ(result.findings[0].code, "RD206");
    EXPECT_NE(result.findings[0].location.file.find("moa.brd"), std::string::npos);
    EXPECT_EQ(check_exit_code(result), kCheckClean);

    std::filesystem::remove(dir.file("moa.brd"));
    dir.write("MOA.BRD", model);
    result = check_paths({rules});
    ASSERT_EQ(result.findings.size(), 1u);
    EXPECT_EQ(result.findings[0].code, "RD105");
    EXPECT_EQ(check_exit_code(result), kCheckErrors);
}

// Without a constraint base, models of one result are checked as inference would check them
// when it starts: an error at the first model of that result, the other one related.
TEST(Check, ModelsOfOneResultWithoutAConstraintBaseAreAnError) {
    testing::TempDir dir;
    const std::string rules = dir.write("REs.BRD", rule(1, "zakup", "\"promocja\",\"stac\"") +
                                                       rule(2, "zakup", "\"wyprzedaz\",\"stac\""));
    dir.write("MOs.BRD",
              "model(1,\"promocja\",\"cena\",\"bazowa\",\"*\",\"0.8\",1)\r\n"
              "model(2,\"wyprzedaz\",\"cena\",\"bazowa\",\"*\",\"0.5\",1)\r\n");
    const CheckResult result = check_paths({rules});
    ASSERT_EQ(result.findings.size(), 1u);
    const Finding& finding = result.findings[0];
    EXPECT_EQ(finding.code, "RD213");
    EXPECT_NE(finding.location.file.find("MOs.BRD"), std::string::npos);
    EXPECT_EQ(finding.location.line, 1u);
    ASSERT_EQ(finding.related.size(), 1u);
    EXPECT_EQ(finding.related[0].line, 2u);
    EXPECT_EQ(check_exit_code(result), kCheckErrors);
}

// Every syntax error of a file, at the load's caret column, up to a hundred and then one note;
// the other bases of the knowledge base get a note naming the finding that stopped them.
TEST(Check, ReportsEverySyntaxErrorAndNotesTheBasesItStops) {
    testing::TempDir dir;
    const std::string bad =
        "regu\xb3"
        "a(2,\"b\" [\"c\"],1)\r\n";
    const std::string rules =
        dir.write("REz.BRD", rule(1, "a", "\"b\",\"c\"") + bad + rule(3, "a", "\"d\",\"e\"") + bad);
    dir.write("MOz.BRD", "model(1,\"bez warunku\",\"x\",\"y\",\"-\",\"0\",1)\r\n");
    CheckResult result = check_paths({rules});
    const auto syntax = with_code(result, "RD102");
    ASSERT_EQ(syntax.size(), 2u);
    EXPECT_EQ(syntax[0]->location.line, 2u);
    EXPECT_EQ(syntax[1]->location.line, 4u);
    EXPECT_EQ(syntax[0]->location.column, 14u);  // under the "[" after the missing comma
    const auto stopped = with_code(result, "RD901");
    ASSERT_EQ(stopped.size(), 1u);
    EXPECT_EQ(stopped[0]->severity, Severity::Note);
    ASSERT_EQ(stopped[0]->related.size(), 1u);
    EXPECT_EQ(stopped[0]->related[0].line, 2u);
    EXPECT_EQ(check_exit_code(result), kCheckErrors);

    std::string many;
    for (int i = 0; i < 130; ++i) many += bad;
    result = check_paths({dir.write("REm.BRD", many)});
    EXPECT_EQ(with_code(result, "RD102").size(), 100u);
    const auto more = with_code(result, "RD104");
    ASSERT_EQ(more.size(), 1u);
    EXPECT_NE(more[0]->message.find("30"), std::string::npos);
}

// A base saved in UTF-8, with or without the mark, is named as such.
TEST(Check, RecognisesAFileSavedInUtf8) {
    testing::TempDir dir;
    const std::string utf8_rule = "reguła(1,\"a\",[\"b\",\"c\"],1)\r\n";
    for (const std::string& bytes : {utf8_rule, "\xEF\xBB\xBF" + utf8_rule}) {
        const CheckResult result = check_paths({dir.write("REu.BRD", bytes)});
        ASSERT_EQ(result.findings.size(), 1u);
        EXPECT_EQ(result.findings[0].code, "RD103");
        EXPECT_EQ(result.findings[0].location.line, 1u);
    }
}

// Files given together that belong to one knowledge base are checked once, as that base.
TEST(Check, FilesOfOneKnowledgeBaseAreCheckedTogether) {
    testing::TempDir dir;
    const std::string rules = dir.write("REk.BRD", rule(1, "a", "\"b\",\"c\""));
    const std::string models =
        dir.write("MOk.BRD", "model(1,\"bez warunku\",\"x\",\"y\",\"-\",\"0\",1)\r\n");
    const CheckResult result = check_paths({models, rules});
    EXPECT_EQ(result.files_checked, 2u);
    ASSERT_EQ(result.findings.size(), 1u);
    EXPECT_EQ(result.findings[0].code, "RD206");
    EXPECT_EQ(check_exit_code(result), kCheckClean);
}

// A cycle of three rules is one finding, the other rules related; a remark before a fact
// silences the code it names for that fact only, and is counted.
TEST(Check, OneFindingPerCycleAndSuppressionByRemark) {
    testing::TempDir dir;
    CheckResult result = check_paths(
        {dir.write("REc.BRD", rule(1, "a", "\"b\",\"x\"") + rule(2, "b", "\"c\",\"x\"") +
                                  rule(3, "c", "\"a\",\"x\""))});
    auto cycle = with_code(result, "RD201");
    ASSERT_EQ(cycle.size(), 1u);
    EXPECT_EQ(cycle[0]->location.line, 1u);
    ASSERT_EQ(cycle[0]->related.size(), 2u);
    EXPECT_EQ(cycle[0]->related[1].line, 3u);

    result = check_paths({dir.write("REp.BRD",
                                    "rem_regu\xb3"
                                    "a(\"check: pomi\xf1 RD204\")\r\n" +
                                        rule(1, "a", "\"b\"") + rule(2, "c", "\"d\""))});
    const auto single = with_code(result, "RD204");
    ASSERT_EQ(single.size(), 1u);
    EXPECT_EQ(single[0]->location.line, 3u);
    EXPECT_EQ(result.suppressed, 1u);
}

// Findings about a declared fact or a constraint stand at its line.
TEST(Check, LoadRefusalsStandAtTheFactConcerned) {
    testing::TempDir dir;
    CheckResult result = check_paths(
        {dir.write("REf.BRD", rule(1, "a", "\"b\",\"c\"") + "fakt(\"b\")\r\nfakt(\"zzz\")\r\n")});
    auto refused = with_code(result, "RD105");
    ASSERT_EQ(refused.size(), 1u);
    EXPECT_EQ(refused[0]->location.line, 3u);
    EXPECT_NE(refused[0]->message.find("zzz"), std::string::npos);

    const std::string rules = dir.write("REo.BRD", rule(1, "a", "\"b\",\"c\""));
    dir.write("OGo.BRD", "ograniczenie(1,[\"b\",\"c\"])\r\nograniczenie(2,[\"b\"])\r\n");
    result = check_paths({rules});
    refused = with_code(result, "RD105");
    ASSERT_EQ(refused.size(), 1u);
    EXPECT_EQ(refused[0]->location.line, 2u);
}

// Two models of one result under one condition; advice for a rule that does not exist and
// advice files that are missing.
TEST(Check, FindsModelsOfOneConditionAndDanglingAdvice) {
    testing::TempDir dir;
    const std::string rules = dir.write("bazy/REr.BRD", rule(1, "a", "\"b\",\"c\""));
    dir.write("bazy/MOr.BRD",
              "model(1,\"bez warunku\",\"x\",\"y\",\"+\",\"1\",1)\r\n"
              "model(2,\"bez warunku\",\"x\",\"y\",\"+\",\"2\",1)\r\n");
    dir.write("bazy/RAr.BRD", "rada(1,\"jest.hlp\")\r\nrada(7,\"brak.hlp\")\r\n");
    dir.write("RADY/r/jest.hlp", "rada\r\n");
    const CheckResult result = check_paths({rules});
    const auto same = with_code(result, "RD214");
    ASSERT_EQ(same.size(), 1u);
    EXPECT_EQ(same[0]->location.line, 2u);
    const auto dangling = with_code(result, "RD215");
    ASSERT_EQ(dangling.size(), 1u);
    EXPECT_EQ(dangling[0]->location.line, 2u);
    const auto missing = with_code(result, "RD216");
    ASSERT_EQ(missing.size(), 1u);
    EXPECT_NE(missing[0]->message.find("brak.hlp"), std::string::npos);
}

// Each level of the chain has two alternative rules, so flattening grows as 2^levels, and the
// second holds the first's conditions, so the redundancy search compares every pair of their
// flattenings: the time limit stops the diagnoses and the check ends with a finding that says so.
TEST(Check, TimeLimitStopsTheFlatteningDiagnoses) {
    testing::TempDir dir;
    std::string chain;
    for (int level = 1; level <= 18; ++level) {
        const std::string below = level == 1 ? "start" : "c" + std::to_string(level - 1);
        const std::string name = "c" + std::to_string(level);
        chain += rule(2 * level - 1, name, "\"" + below + "\",\"a" + std::to_string(level) + "\"");
        std::string both = "\"" + below;
        both += "\",\"a" + std::to_string(level);
        both += "\",\"b" + std::to_string(level) + "\"";
        chain += rule(2 * level, name, both);
    }
    CheckOptions options;
    options.time_limit = std::chrono::seconds(1);
    const auto start = std::chrono::steady_clock::now();
    const CheckResult result = check_paths({dir.write("REt.BRD", chain)}, options);
    // Without the limit this runs for minutes; each diagnosis begun after the deadline still runs
    // until its progress is first polled, so allow some seconds past it.
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(8));
    ASSERT_EQ(with_code(result, "RD902").size(), 1u);
    EXPECT_EQ(check_exit_code(result), kCheckIncomplete);
}

}  // namespace
}  // namespace xamo
