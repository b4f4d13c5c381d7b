#pragma once

#include <iosfwd>
#include <optional>
#include <string>

namespace xamo {

// A script whose "#? " comment names another question than the one the program asked.
struct QuestionMismatch {
    std::string recorded;
    std::string asked;
};

// Whether the process ends when run_console returns: its knowledge base is then left to the
// system to take back with the process instead of being freed fact by fact.
enum class AtEnd { FreeEverything, ProcessEnds };

// Runs the program in a terminal until end of input or a confirmed quit. Returns the exit code.
// With `mismatch`, each question is checked against the one the script names before its answer;
// the run ends at the first that differs, which is stored there.
int run_console(std::istream& in, std::ostream& out, bool batch,
                std::optional<QuestionMismatch>* mismatch = nullptr,
                AtEnd at_end = AtEnd::FreeEverything);

}  // namespace xamo
