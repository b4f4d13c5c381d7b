// Checking a knowledge base without a window: every base of it is loaded by the load commands
// with every diagnosis question answered yes, and what the load-time checks and diagnoses found
// is turned into findings that name the file and line of the fact concerned.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace xamo {

enum class Severity { Error, Warning };

struct Finding {
    std::string file;
    std::size_t line = 0;  // 0: the file as a whole
    Severity severity = Severity::Error;
    std::string text;
    // The flattened conditions that show the finding, one list per line (a counterexample).
    std::vector<std::string> evidence;
};

struct CheckResult {
    std::vector<Finding> findings;
    bool unreadable = false;  // a file could not be read (or no rule base was found)
};

// `path` is a rule-base file or a directory holding one knowledge base.
CheckResult check_knowledge_base(const std::string& path);

// 0 clean (warnings allowed), 1 an error was found, 2 a file could not be read.
int check_exit_code(const CheckResult& result);

// One finding in the compiler form "FILE:LINE: błąd: text", evidence indented below it.
std::string finding_text(const Finding& finding);
// One finding as a JSON object on one line.
std::string finding_json(const Finding& finding);

}  // namespace xamo
