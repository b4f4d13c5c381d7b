#include "regression/case_source.h"

#include "kb/codec.h"

namespace xamo {
namespace {

// The table name as one quoted identifier, whatever it holds.
std::string quoted_identifier(const std::string& name) {
    std::string quoted = "\"";
    for (const char c : name) quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
    return quoted + "\"";
}

// The start of every note about a table that could not be read.
std::string unreadable(const std::string& source, const std::string& table) {
    return "Nie można odczytać tabeli " + utf8_from_either(table) + " ze źródła danych " +
           utf8_from_either(source) + ":\n";
}

}  // namespace

std::variant<std::vector<std::vector<std::string>>, std::string> case_records_from_connection(
    DataConnection& connection, const std::string& source, const std::string& table) {
    const std::string failed = unreadable(source, table);
    const std::string statement = "SELECT * FROM " + quoted_identifier(table);
    const auto names = connection.column_names(statement);
    if (!names.ok()) return failed + utf8_from_either(names.error);
    const auto rows = connection.query(statement, names.value->size());
    if (!rows.ok()) return failed + utf8_from_either(rows.error);
    std::vector<std::vector<std::string>> records;
    records.reserve(rows.value->size() + 1);
    records.push_back({});
    for (const auto& name : *names.value) records.back().push_back(utf8_from_either(name));
    for (const auto& row : *rows.value) {
        records.push_back({});
        for (const auto& cell : row) records.back().push_back(utf8_from_either(cell));
    }
    return records;
}

std::variant<std::vector<std::vector<std::string>>, std::string> case_records_from_source(
    DataSourceAccess& access, const std::string& source, const std::string& table) {
    auto connected = access.connect(source);
    if (!connected.ok()) return unreadable(source, table) + utf8_from_either(connected.error);
    return case_records_from_connection(**connected.value, source, table);
}

}  // namespace xamo
