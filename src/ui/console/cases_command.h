// `xamo_rd --cases TABLE DIR [--odbc SOURCE] [--format json]`: a table of cases run against a
// knowledge base; TABLE is a CSV file, or with --odbc a table of that data source.
#pragma once

#include <iosfwd>
#include <optional>
#include <string>

namespace xamo {

class DataSourceAccess;

struct CasesOptions {
    std::string table;
    std::string directory;
    std::optional<std::string> source;  // the data source holding the table
    bool json = false;
};

// Exit codes: 0 every row passed, 1 a row failed or left a question open, 2 usage, 3 the
// table or the base cannot be read or the table is bad.
int run_cases(const CasesOptions& options, DataSourceAccess& sources, std::ostream& out,
              std::ostream& err);
// The same through ODBC.
int run_cases(const CasesOptions& options, std::ostream& out, std::ostream& err);

}  // namespace xamo
