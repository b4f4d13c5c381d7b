// What the knowledge-base checker reports, apart from how it is printed: findings with a stable
// code, a severity, a location, a one-line message, the evidence behind it and related locations.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace xamo {

enum class Severity { Error, Warning, Note };

struct Location {
    std::string file;
    std::size_t line = 0;    // 0: the file as a whole
    std::size_t column = 0;  // 0: the line as a whole
    std::string message;     // for a related location: what stands there
};

struct Finding {
    std::string code;
    Severity severity = Severity::Error;
    Location location;
    std::string message;
    // The details: flattened conditions of a counterexample, chains, lines of a dialog.
    std::vector<std::string> evidence;
    std::vector<Location> related;
    std::string source_line;       // the line in error (or its excerpt), for a caret
    std::size_t source_caret = 0;  // 0-based character of source_line under the caret
};

struct CheckResult {
    std::vector<Finding> findings;
    bool unreadable = false;  // a file could not be read (or no rule base was found)
    bool incomplete = false;  // a diagnosis did not finish (time limit, memory)
    std::size_t suppressed = 0;
    std::size_t files_checked = 0;
};

// The index of finding kinds, one entry per code.
struct FindingKind {
    std::string_view code;
    Severity severity;
    std::string_view title;  // Polish, one line: the message of a finding of this kind
    std::string_view help;   // Polish: why it matters and what to do
};

const std::vector<FindingKind>& finding_kinds();
// The kind of a code; nullptr for an unknown code.
const FindingKind* finding_kind(std::string_view code);

const char* severity_word(Severity severity);

// Codes of the kinds, named for the code that builds the findings.
namespace codes {
inline constexpr std::string_view unreadable = "RD100";
inline constexpr std::string_view no_rule_base = "RD101";
inline constexpr std::string_view syntax = "RD102";
inline constexpr std::string_view utf8 = "RD103";
inline constexpr std::string_view more_syntax = "RD104";
inline constexpr std::string_view load_refused = "RD105";
inline constexpr std::string_view external = "RD201";
inline constexpr std::string_view internal = "RD202";
inline constexpr std::string_view redundant = "RD203";
inline constexpr std::string_view single_condition = "RD204";
inline constexpr std::string_view repeated_number = "RD205";
inline constexpr std::string_view tautological_model = "RD206";
inline constexpr std::string_view model_arithmetic = "RD207";
inline constexpr std::string_view model_arithmetic_deep = "RD208";
inline constexpr std::string_view model_relational = "RD209";
inline constexpr std::string_view model_rule = "RD210";
inline constexpr std::string_view rule_constraint = "RD211";
inline constexpr std::string_view rule_constraint_redundant = "RD212";
inline constexpr std::string_view model_results = "RD213";
inline constexpr std::string_view models_same_condition = "RD214";
inline constexpr std::string_view entry_without_fact = "RD215";
inline constexpr std::string_view missing_media = "RD216";
inline constexpr std::string_view not_checked = "RD901";
inline constexpr std::string_view time_limit = "RD902";
inline constexpr std::string_view out_of_memory = "RD903";
}  // namespace codes

}  // namespace xamo
