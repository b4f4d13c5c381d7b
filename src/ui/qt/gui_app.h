// Entry of the Qt front end; main() includes this header only, never Qt.
#pragma once

namespace xamo {

// Runs the program with its main window until it is closed. Returns the exit code.
int run_gui(int& argc, char** argv);

}  // namespace xamo
