#include "dialog/answers.h"

#include <sstream>

namespace xamo::answers {
namespace {

std::string lower_ascii(std::string text) {
    for (char& c : text) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return text;
}

std::string without_ampersand(const std::string& caption) {
    std::string out;
    for (char c : caption) {
        if (c != '&') out.push_back(c);
    }
    return out;
}

std::optional<int> index_in(const std::string& text, int count) {
    if (text.empty() || text.size() > 9) return std::nullopt;
    for (char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
    }
    const int n = std::stoi(text);
    if (n < 1 || n > count) return std::nullopt;
    return n;
}

bool cancels(const std::string& lower) { return lower == "cancel" || lower == "anuluj"; }

}  // namespace

std::string trim(const std::string& text) {
    const auto first = text.find_first_not_of(" \t\r");
    if (first == std::string::npos) return {};
    const auto last = text.find_last_not_of(" \t\r");
    return text.substr(first, last - first + 1);
}

std::optional<int> button(const std::string& answer, const std::vector<std::string>& buttons) {
    const int count = static_cast<int>(buttons.size());
    const std::string given = trim(answer);
    if (given.empty()) return count;
    if (const auto n = index_in(given, count)) return n;
    for (int i = 0; i < count; ++i) {
        if (lower_ascii(given) ==
            lower_ascii(without_ampersand(buttons[static_cast<std::size_t>(i)]))) {
            return i + 1;
        }
    }
    return std::nullopt;
}

SelectionAnswer selection(const std::string& answer, int count) {
    const std::string given = lower_ascii(trim(answer));
    if (given.empty() || cancels(given)) return {true, std::nullopt};
    if (const auto n = index_in(given, count)) return {true, *n - 1};
    return {};
}

ListAnswer list(const std::string& answer, int count, bool multiple) {
    const std::string given = trim(answer);
    if (lower_ascii(given) == "z") return {ListAnswer::Kind::Quit, {}};
    if (cancels(lower_ascii(given))) return {ListAnswer::Kind::Cancel, {}};
    if (given.empty()) {
        if (multiple || count == 0) return {ListAnswer::Kind::Chosen, {}};
        return {ListAnswer::Kind::Chosen, {0}};
    }
    ListAnswer out{ListAnswer::Kind::Chosen, {}};
    std::istringstream parts(given);
    for (std::string token; parts >> token;) {
        std::istringstream commas(token);
        for (std::string piece; std::getline(commas, piece, ',');) {
            if (piece.empty()) continue;
            const auto n = index_in(piece, count);
            if (!n) return {ListAnswer::Kind::Invalid, {}};
            out.chosen.push_back(*n - 1);
        }
    }
    if (out.chosen.empty() || (!multiple && out.chosen.size() != 1))
        return {ListAnswer::Kind::Invalid, {}};
    return out;
}

std::optional<int> option(const std::string& answer, int count, int preselected) {
    const std::string given = trim(answer);
    if (given.empty()) return preselected;
    return index_in(given, count);
}

}  // namespace xamo::answers
