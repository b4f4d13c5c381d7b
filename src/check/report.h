// The output formats of the checker: compiler-style text, JSON lines and SARIF 2.1.0. Every
// output is valid UTF-8: a text that is not (a path named on Windows) is read as Windows-1250.
#pragma once

#include <chrono>
#include <string>

#include "check/finding.h"

namespace xamo {

enum class CheckFormat { Text, Json, Sarif };

// Exit codes of a check, documented for the jobs that run it.
enum CheckExit : int {
    kCheckClean = 0,       // nothing worse than warnings
    kCheckErrors = 1,      // an error was found
    kCheckUnreadable = 2,  // a file could not be read, or a path names no knowledge base
    kCheckIncomplete = 3,  // a diagnosis did not finish (time limit, memory)
    kCheckUsage = 4,       // the command line was wrong
};

// The highest code that applies.
int check_exit_code(const CheckResult& result);

// "FILE:LINE:COLUMN: severity: message [code]", the line in error with a caret, the evidence
// indented, then the related locations as notes. Control characters are shown escaped.
std::string finding_text(const Finding& finding);
// Errors, warnings, suppressed findings, files checked and the time taken.
std::string summary_text(const CheckResult& result, std::chrono::milliseconds elapsed);
// One finding as a JSON object on one line.
std::string finding_json(const Finding& finding);
// The whole result as one SARIF log.
std::string sarif_log(const CheckResult& result);

}  // namespace xamo
