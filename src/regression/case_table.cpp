#include "regression/case_table.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>

#include "dialog/answers.h"
#include "kb/codec.h"

namespace xamo {
namespace {

const std::string kHypothesis = "hipoteza";
const std::string kExpected = "oczekiwane";
const std::string kExcluded = "wykluczone";

char separator_of(const std::string& text) {
    const std::string header = text.substr(0, text.find_first_of("\r\n"));
    const auto count = [&header](char c) { return std::count(header.begin(), header.end(), c); };
    return count(';') > count(',') ? ';' : ',';
}

std::vector<std::string> split_list(const std::string& field) {
    std::vector<std::string> items;
    std::size_t from = 0;
    while (from <= field.size()) {
        const std::size_t bar = std::min(field.find('|', from), field.size());
        const std::string item = answers::trim(field.substr(from, bar - from));
        if (!item.empty()) items.push_back(item);
        from = bar + 1;
    }
    return items;
}

// A number as the value dialog reads it: blanks around, a decimal comma.
bool is_number(const std::string& text) {
    std::string plain = answers::trim(text);
    std::replace(plain.begin(), plain.end(), ',', '.');
    if (plain.empty()) return false;
    char* end = nullptr;
    std::strtod(plain.c_str(), &end);
    return end == plain.c_str() + plain.size();
}

std::string place(std::size_t row, const std::string& column) {
    return "Wiersz " + std::to_string(row) + ", kolumna „" + column + "”: ";
}

}  // namespace

std::vector<std::vector<std::string>> csv_records(const std::string& bytes) {
    std::string text = utf8_from_either(bytes);
    if (text.rfind("\xEF\xBB\xBF", 0) == 0) text.erase(0, 3);
    const char separator = separator_of(text);
    std::vector<std::vector<std::string>> records;
    std::vector<std::string> record;
    std::string field;
    bool quoted = false;
    bool any = false;
    const auto end_record = [&] {
        record.push_back(std::move(field));
        field.clear();
        // Blank lines between rows are skipped.
        if (record.size() > 1 || !answers::trim(record.front()).empty())
            records.push_back(std::move(record));
        record.clear();
        any = false;
    };
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        any = true;
        if (quoted) {
            if (c != '"') {
                field.push_back(c);
            } else if (i + 1 < text.size() && text[i + 1] == '"') {
                field.push_back('"');
                ++i;
            } else {
                quoted = false;
            }
        } else if (c == '"') {
            quoted = true;
        } else if (c == separator) {
            record.push_back(std::move(field));
            field.clear();
        } else if (c == '\r' || c == '\n') {
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
            end_record();
        } else {
            field.push_back(c);
        }
    }
    if (any) end_record();
    return records;
}

CaseTableResult case_rows(const std::vector<std::vector<std::string>>& records,
                          const CaseVocabulary& vocabulary) {
    if (records.empty()) return std::string("Tabela przypadków jest pusta.");
    std::vector<std::string> header;
    for (const auto& name : records.front()) header.push_back(answers::trim(name));
    for (const auto& name : header) {
        const bool known = name == kHypothesis || name == kExpected || name == kExcluded ||
                           vocabulary.conditions.count(name) || vocabulary.arguments.count(name);
        if (!known) {
            return place(1, name) +
                   "nie jest warunkiem ani argumentem dopytywalnym bazy, ani kolumną "
                   "hipoteza, oczekiwane, wykluczone.";
        }
    }
    std::vector<CaseRow> rows;
    for (std::size_t r = 1; r < records.size(); ++r) {
        const auto& record = records[r];
        CaseRow row;
        row.line = r + 1;
        if (record.size() != header.size()) {
            return "Wiersz " + std::to_string(row.line) + " ma pól " +
                   std::to_string(record.size()) + ", a nagłówek kolumn " +
                   std::to_string(header.size()) + ".";
        }
        for (std::size_t c = 0; c < header.size(); ++c) {
            const std::string& name = header[c];
            const std::string value = answers::trim(record[c]);
            if (name == kExpected) {
                row.expected = split_list(value);
            } else if (name == kExcluded) {
                row.excluded = split_list(value);
            } else if (name == kHypothesis) {
                if (!value.empty()) row.hypothesis = value;
            } else if (value.empty()) {
                continue;  // not declared: the question stays open
            } else if (vocabulary.conditions.count(name)) {
                std::string answer = value;
                for (char& ch : answer)
                    ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
                if (answer != "tak" && answer != "nie")
                    return place(row.line, name) + "„" + value + "” nie jest ani tak, ani nie.";
                row.facts[name] = answer == "tak";
            } else {
                if (!is_number(value))
                    return place(row.line, name) + "„" + value + "” nie jest liczbą.";
                row.values[name] = value;
            }
        }
        rows.push_back(std::move(row));
    }
    return rows;
}

}  // namespace xamo
