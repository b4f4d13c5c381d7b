#include "kb/conditions.h"

#include "kb/codec.h"
#include "kb/numbers.h"

namespace xamo {
namespace {

bool ascii_letter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool ascii_digit(char c) { return c >= '0' && c <= '9'; }

// Byte length of the distinguisher token at the start of `rest`.
std::size_t token_length(std::string_view rest) {
    if (rest.empty()) return 0;
    const char first = rest[0];
    std::size_t n = 1;
    if (ascii_letter(first) || first == '_') {
        while (n < rest.size() &&
               (ascii_letter(rest[n]) || ascii_digit(rest[n]) || rest[n] == '_')) {
            ++n;
        }
        return n;
    }
    if (ascii_digit(first)) {
        while (n < rest.size() && ascii_digit(rest[n])) ++n;
        return n;
    }
    std::size_t pos = 0;
    utf8_next(rest, pos);
    return pos;
}

std::string_view after_prefix(std::string_view file_name) {
    return file_name.substr(utf8_offset(file_name, 2));
}

}  // namespace

bool is_negated(std::string_view condition) { return !condition.empty() && condition[0] == 'n'; }

std::string negacja(std::string_view condition) {
    if (is_negated(condition)) return std::string(condition.substr(1));
    // Built by appending: GCC 12 at -O3 reports a false -Wrestrict overlap for "n" + string.
    std::string negated;
    negated.reserve(condition.size() + 1);
    negated.push_back('n');
    negated.append(condition);
    return negated;
}

StringList strip_negations(const NameList& conditions) {
    StringList out;
    out.reserve(conditions.size());
    for (const Name& c : conditions)
        out.emplace_back(is_negated(c) ? c.view().substr(1) : c.view());
    return out;
}

std::optional<double> constant_value(std::string_view field) { return read_constant(field); }

bool is_constant(std::string_view field) { return constant_value(field).has_value(); }

std::string distinguisher(std::string_view file_name) {
    const auto rest = after_prefix(file_name);
    return std::string(rest.substr(0, token_length(rest)));
}

std::string name_extension(std::string_view file_name) {
    const auto rest = after_prefix(file_name);
    return std::string(rest.substr(token_length(rest)));
}

namespace {

template <typename List>
std::string quoted_list_text(const List& items) {
    std::string out = "[";
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (i) out += ',';
        out += '"';
        out += std::string_view(items[i]);
        out += '"';
    }
    return out + "]";
}

}  // namespace

std::string list_text(const StringList& items) { return quoted_list_text(items); }
std::string list_text(const NameList& items) { return quoted_list_text(items); }

std::string list_text(const IntegerList& items) {
    std::string out = "[";
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (i) out += ',';
        out += std::to_string(items[i]);
    }
    return out + "]";
}

std::string ascii_upper(std::string text) {
    for (char& c : text) {
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    }
    return text;
}

}  // namespace xamo
