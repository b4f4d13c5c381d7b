// `xamo_rd --check PATH...`: checks knowledge bases without a window and prints the findings.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace xamo {

enum class CheckFormat { Text, Json };

// Returns the exit code: the highest of the paths' codes (0 clean, 1 errors, 2 unreadable).
int run_check(const std::vector<std::string>& paths, CheckFormat format, std::ostream& out);

}  // namespace xamo
