// Conditions, negation, constants and the distinguisher of base file names.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "kb/facts.h"

namespace xamo {

inline constexpr std::string_view kNoCondition = "bez warunku";
// Whether a rule's conditions are "bez warunku" alone (a fact stated as a rule).
inline bool only_no_condition(const NameList& conditions) {
    return conditions.size() == 1 && conditions.front() == kNoCondition;
}
inline constexpr std::string_view kEnd = "koniec";

// A condition beginning with the lower-case "n" is the negation of the rest.
bool is_negated(std::string_view condition);
std::string negacja(std::string_view condition);
StringList strip_negations(const NameList& conditions);

// A model field that reads completely as a real number is a constant with that value.
bool is_constant(std::string_view field);
std::optional<double> constant_value(std::string_view field);

// The part of a base file name (without directory) after the two-character prefix: its first
// token (a name of ASCII letters, digits and underscores starting with a letter or underscore, a
// run of digits, or else the single next character). Characters, not bytes, are counted.
std::string distinguisher(std::string_view file_name);
// The rest of the file name after the prefix and the distinguisher (normally ".BRD").
std::string name_extension(std::string_view file_name);
// The distinguisher as the titles and reports show it: ASCII letters in upper case.
std::string ascii_upper(std::string text);

// Lists as the system writes them in messages: ["a","nb"] and [2,5].
std::string list_text(const StringList& items);
std::string list_text(const NameList& items);
std::string list_text(const IntegerList& items);

}  // namespace xamo
