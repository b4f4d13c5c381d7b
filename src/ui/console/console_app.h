#pragma once

#include <iosfwd>

namespace xamo {

// Runs the program in a terminal until end of input or a confirmed quit. Returns the exit code.
int run_console(std::istream& in, std::ostream& out, bool batch);

}  // namespace xamo
