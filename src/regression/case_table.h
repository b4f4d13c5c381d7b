// A table of cases: one consultation per row, the answers and values it gives and the
// conclusions it expects. Read from CSV (UTF-8 or Windows-1250, comma or semicolon) or from
// rows already split into fields (a data source).
#pragma once

#include <cstddef>
#include <map>
#include <optional>
#include <string>
#include <unordered_set>
#include <variant>
#include <vector>

namespace xamo {

struct CaseRow {
    std::size_t line = 0;                       // 1-based row of the table, the header being 1
    std::map<std::string, bool> facts;          // askable condition -> tak/nie
    std::map<std::string, std::string> values;  // askable argument -> number as typed
    std::optional<std::string> hypothesis;      // backward inference of it; else forward
    std::vector<std::string> expected;          // must be established
    std::vector<std::string> excluded;          // must not be established
};

// What the table may name: the askable conditions and arguments of the loaded base.
struct CaseVocabulary {
    std::unordered_set<std::string> conditions;
    std::unordered_set<std::string> arguments;
};

using CaseTableResult = std::variant<std::vector<CaseRow>, std::string>;  // rows or the note

// Fields of a CSV text: the separator is the one of ';' and ',' the header holds more of;
// fields may be quoted with '"' (a doubled quote inside is one).
std::vector<std::vector<std::string>> csv_records(const std::string& bytes);

// The rows of a table whose first record is the header; a bad table gives a Polish note
// naming the row and the column.
CaseTableResult case_rows(const std::vector<std::vector<std::string>>& records,
                          const CaseVocabulary& vocabulary);

}  // namespace xamo
