// The choice of a table of an external data source, shared by the import and the case-table
// check: the list of sources, the connection, the list of its tables. Every failure and every
// empty list ends the choice with a note; giving up a list ends it silently.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "askable/data_source.h"

namespace xamo {

class UserInteraction;

struct ChosenTable {
    std::unique_ptr<DataConnection> connection;
    std::string source;     // as shown to the user
    std::string table;      // as shown to the user
    std::string raw_table;  // as the driver named it, for the query
};

// `title` and `prompt` are those of the table list, which differ from command to command.
std::optional<ChosenTable> choose_source_table(UserInteraction& ui, DataSourceAccess& access,
                                               const std::string& title, const std::string& prompt);

// "\nBłąd ODBC: " and the driver's text, read as the import reads every text of a source.
std::string odbc_error(const std::string& error);

}  // namespace xamo
