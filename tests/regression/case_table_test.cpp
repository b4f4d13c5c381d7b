#include "regression/case_table.h"

#include <gtest/gtest.h>

namespace xamo {
namespace {

using Records = std::vector<std::vector<std::string>>;

// Spreadsheets in Poland write semicolons and Windows-1250; quotes may hold a separator, a
// doubled quote or a line break; blank lines and a byte-order mark are skipped.
TEST(CaseTable, CsvRecordsFollowTheSeparatorOfTheHeader) {
    const std::string text =
        "\xEF\xBB\xBF"
        "a;b;c,d\r\n\"x;1\";\"y \"\"z\"\"\";\r\n\r\n1,5;\"p\nq\";\n";
    EXPECT_EQ(csv_records(text),
              (Records{{"a", "b", "c,d"}, {"x;1", "y \"z\"", ""}, {"1,5", "p\nq", ""}}));
    EXPECT_EQ(csv_records("pogoda,czas\nnie,tak"), (Records{{"pogoda", "czas"}, {"nie", "tak"}}));
    EXPECT_EQ(csv_records("opa\xb3\n"), (Records{{"opał"}}));
}

// Rows declare facts and values, name a hypothesis and list expectations; an empty cell
// declares nothing; every fault names its row and column.
TEST(CaseTable, RowsAreCheckedAgainstTheAskableNamesOfTheBase) {
    const CaseVocabulary vocabulary{{"pogoda", "czas"}, {"temperatura"}};
    const auto rows =
        case_rows({{"pogoda", "czas", "temperatura", "hipoteza", "oczekiwane", "wykluczone"},
                   {"TAK", "", " 20,5 ", "spacer", "spacer | odpoczynek", ""}},
                  vocabulary);
    ASSERT_TRUE(std::holds_alternative<std::vector<CaseRow>>(rows));
    const CaseRow& row = std::get<std::vector<CaseRow>>(rows).front();
    EXPECT_EQ(row.line, 2u);
    EXPECT_EQ(row.facts, (std::map<std::string, bool>{{"pogoda", true}}));
    EXPECT_EQ(row.values.at("temperatura"), "20,5");
    EXPECT_EQ(row.hypothesis, "spacer");
    EXPECT_EQ(row.expected, (std::vector<std::string>{"spacer", "odpoczynek"}));
    EXPECT_TRUE(row.excluded.empty());
    const auto note = [&vocabulary](const Records& records) {
        const auto result = case_rows(records, vocabulary);
        return std::holds_alternative<std::string>(result) ? std::get<std::string>(result) : "";
    };
    EXPECT_EQ(note({{"pogoda", "deszcz"}}),
              "Wiersz 1, kolumna „deszcz”: nie jest warunkiem ani argumentem dopytywalnym bazy, "
              "ani kolumną hipoteza, oczekiwane, wykluczone.");
    EXPECT_EQ(note({{"pogoda"}, {"może"}}),
              "Wiersz 2, kolumna „pogoda”: „może” nie jest ani tak, ani nie.");
    EXPECT_EQ(note({{"temperatura"}, {"1"}, {"12x"}}),
              "Wiersz 3, kolumna „temperatura”: „12x” nie jest liczbą.");
    EXPECT_EQ(note({{"pogoda", "czas"}, {"tak"}}), "Wiersz 2 ma pól 1, a nagłówek kolumn 2.");
    EXPECT_EQ(note({}), "Tabela przypadków jest pusta.");
}

}  // namespace
}  // namespace xamo
