// `xamo_rd --cases TABLE DIR [--format json]`: a table of cases run against a knowledge base.
#pragma once

#include <iosfwd>
#include <string>

namespace xamo {

// Exit codes: 0 every row passed, 1 a row failed or left a question open, 2 usage, 3 the
// table or the base cannot be read or the table is bad.
int run_cases(const std::string& table, const std::string& directory, bool json, std::ostream& out,
              std::ostream& err);

}  // namespace xamo
