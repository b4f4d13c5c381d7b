// The records of a case table kept in a data source: the header is the table's column names.
#pragma once

#include <string>
#include <variant>
#include <vector>

#include "askable/data_source.h"

namespace xamo {

// The header and the rows of `table` of `source`, cells read as UTF-8 or Windows-1250, or a
// Polish note with the driver's error.
std::variant<std::vector<std::vector<std::string>>, std::string> case_records_from_source(
    DataSourceAccess& access, const std::string& source, const std::string& table);
// The same from a connection already open to `source`.
std::variant<std::vector<std::vector<std::string>>, std::string> case_records_from_connection(
    DataConnection& connection, const std::string& source, const std::string& table);

}  // namespace xamo
