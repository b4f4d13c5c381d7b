#include "app/check.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "support/temp_dir.h"

namespace xamo {
namespace {

TEST(Check, ExitCodeIsTheWorstFinding) {
    CheckResult result;
    EXPECT_EQ(check_exit_code(result), 0);
    result.findings.push_back({"REa.BRD", 3, Severity::Warning, "uwaga", {}});
    EXPECT_EQ(check_exit_code(result), 0);
    result.findings.push_back({"REa.BRD", 4, Severity::Error, "błąd", {}});
    EXPECT_EQ(check_exit_code(result), 1);
    result.unreadable = true;
    EXPECT_EQ(check_exit_code(result), 2);
}

TEST(Check, FindingsPrintInCompilerFormAndAsValidJson) {
    const Finding finding{
        "baza \"x\".BRD", 7, Severity::Error, "wniosek „a”\tb", {"reguła 1: a, na"}};
    EXPECT_EQ(finding_text(finding),
              "baza \"x\".BRD:7: błąd: wniosek „a”\tb\n    reguła 1: a, na\n");
    EXPECT_EQ(finding_json(finding),
              "{\"file\": \"baza \\\"x\\\".BRD\", \"line\": 7, \"severity\": \"błąd\", "
              "\"text\": \"wniosek „a”\\tb\", \"evidence\": [\"reguła 1: a, na\"]}\n");
    const Finding whole{"MOa.BRD", 0, Severity::Warning, "t", {}};
    EXPECT_EQ(finding_text(whole), "MOa.BRD: ostrzeżenie: t\n");
    EXPECT_NE(finding_json(whole).find("\"line\": null"), std::string::npos);
}

// A directory must name one knowledge base: with two rule bases the user is asked to name the
// file, and nothing is loaded.
TEST(Check, DirectoryWithTwoRuleBasesIsRefused) {
    testing::TempDir dir;
    dir.write("REa.BRD",
              "regu\xb3"
              "a(1,\"a\",[\"b\",\"c\"],1)\r\n");
    dir.write("reb.brd",
              "regu\xb3"
              "a(1,\"a\",[\"b\",\"c\"],1)\r\n");
    const CheckResult result = check_knowledge_base(dir.path().string());
    EXPECT_EQ(check_exit_code(result), 2);
    ASSERT_EQ(result.findings.size(), 1u);
    EXPECT_NE(result.findings[0].text.find("więcej niż jedną bazę reguł"), std::string::npos);
}

// The other bases are found whatever the letter case of their prefix and extension; what the
// load refuses (a distinguisher differing in case) is reported as the load reports it.
TEST(Check, FindsTheOtherBasesWithoutRegardToCase) {
    testing::TempDir dir;
    const std::string rules = dir.write("REa.BRD",
                                        "regu\xb3"
                                        "a(1,\"a\",[\"b\",\"c\"],1)\r\n");
    const std::string model = "model(1,\"bez warunku\",\"x\",\"y\",\"-\",\"0\",1)\r\n";
    dir.write("moa.brd", model);
    CheckResult result = check_knowledge_base(rules);
    ASSERT_EQ(result.findings.size(), 1u);
    EXPECT_EQ(result.findings[0].line, 1u);
    EXPECT_NE(result.findings[0].file.find("moa.brd"), std::string::npos);
    EXPECT_NE(result.findings[0].text.find("tautologiczny"), std::string::npos);
    EXPECT_EQ(check_exit_code(result), 0);

    std::filesystem::remove(dir.file("moa.brd"));
    dir.write("MOA.BRD", model);
    result = check_knowledge_base(rules);
    ASSERT_EQ(result.findings.size(), 1u);
    EXPECT_NE(result.findings[0].text.find("nie odpowiada bazie reguł"), std::string::npos);
    EXPECT_EQ(check_exit_code(result), 1);
}

// Without a constraint base, models of one result are checked as inference would check them
// when it starts: conditions that need not exclude each other are an error of the model base.
TEST(Check, ModelsOfOneResultWithoutAConstraintBaseAreAnError) {
    testing::TempDir dir;
    const std::string rules = dir.write("REs.BRD",
                                        "regu\xb3"
                                        "a(1,\"zakup\",[\"promocja\",\"stac\"],1)\r\n"
                                        "regu\xb3"
                                        "a(2,\"zakup\",[\"wyprzedaz\",\"stac\"],1)\r\n");
    dir.write("MOs.BRD",
              "model(1,\"promocja\",\"cena\",\"bazowa\",\"*\",\"0.8\",1)\r\n"
              "model(2,\"wyprzedaz\",\"cena\",\"bazowa\",\"*\",\"0.5\",1)\r\n");
    const CheckResult result = check_knowledge_base(rules);
    ASSERT_EQ(result.findings.size(), 1u);
    EXPECT_NE(result.findings[0].file.find("MOs.BRD"), std::string::npos);
    EXPECT_EQ(result.findings[0].line, 0u);
    EXPECT_NE(result.findings[0].text.find("nie wykluczają się"), std::string::npos);
    EXPECT_EQ(check_exit_code(result), 1);
}

}  // namespace
}  // namespace xamo
