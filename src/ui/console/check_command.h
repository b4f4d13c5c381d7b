// `xamo_rd --check ...`: checks knowledge bases without a window and prints the findings.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace xamo {

// The arguments after --check; returns the exit code of the check.
int run_check(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err);

}  // namespace xamo
