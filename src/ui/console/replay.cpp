#include "ui/console/replay.h"

#include <ostream>
#include <sstream>
#include <vector>

#include "kb/codec.h"
#include "kb/files.h"
#include "ui/console/console_app.h"

namespace xamo {
namespace {

std::vector<std::string> split_lines(const std::string& text) {
    std::vector<std::string> lines;
    std::string line;
    for (char c : text) {
        if (c == '\n') {
            if (!line.empty() && line.back() == '\r') line.pop_back();
            lines.push_back(std::move(line));
            line.clear();
        } else {
            line.push_back(c);
        }
    }
    if (!line.empty()) lines.push_back(std::move(line));
    return lines;
}

std::optional<std::string> read_text(const std::string& path, std::ostream& out) {
    std::string bytes;
    const FileResult read = read_file_bytes(path, bytes);
    if (!read.ok) {
        out << "Nie można odczytać pliku " << path << ": " << read.error << "\n";
        return std::nullopt;
    }
    return utf8_from_either(bytes);
}

const std::string& line_or_end(const std::vector<std::string>& lines, std::size_t index) {
    static const std::string end = "(koniec przebiegu)";
    return index < lines.size() ? lines[index] : end;
}

}  // namespace

std::optional<std::size_t> first_difference(const std::string& expected, const std::string& got) {
    const auto a = split_lines(expected);
    const auto b = split_lines(got);
    const std::size_t common = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < common; ++i) {
        if (a[i] != b[i]) return i + 1;
    }
    if (a.size() != b.size()) return common + 1;
    return std::nullopt;
}

int run_replay(const std::string& script_path, const std::optional<std::string>& expected_path,
               std::ostream& out) {
    const auto script = read_text(script_path, out);
    if (!script) return 2;
    std::optional<std::string> expected;
    if (expected_path) {
        expected = read_text(*expected_path, out);
        if (!expected) return 2;
    }
    std::istringstream in(*script);
    std::ostringstream transcript;
    run_console(in, transcript, true);
    if (!expected) {
        out << transcript.str();
        return 0;
    }
    const auto difference = first_difference(*expected, transcript.str());
    if (!difference) {
        out << "Przebieg zgodny z zapisanym (wierszy: " << split_lines(transcript.str()).size()
            << ").\n";
        return 0;
    }
    const std::size_t index = *difference - 1;
    out << "Przebieg różni się od zapisanego w wierszu " << *difference << ":\n"
        << "  zapisany:  " << line_or_end(split_lines(*expected), index) << "\n"
        << "  otrzymany: " << line_or_end(split_lines(transcript.str()), index) << "\n";
    return 1;
}

}  // namespace xamo
