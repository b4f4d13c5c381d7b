// `xamo_rd --check [OPTIONS] PATH...`: the command line of the checker, its run and exit code.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace xamo {

// The usage text of the checker (Polish), as --help prints it.
const std::string& check_usage();

// `arguments` are those after --check. Prints to `out` (findings, help) and `err` (usage errors);
// returns the exit code (see CheckExit).
int run_check_command(const std::vector<std::string>& arguments, std::ostream& out,
                      std::ostream& err);

}  // namespace xamo
