// Reading and writing whole sections in the base-file syntax: one fact per line, the functor,
// fields in parentheses, strings in double quotes with four escapes, lists in brackets. The reader
// is table driven: the section's fact kinds give functors and field types.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "kb/facts.h"
#include "kb/files.h"

namespace xamo {

enum class ReadErrorKind {
    // syntax errors, shown with a caret under the position
    IllegalNumber,
    RealExpected,
    StringExpected,
    OpenBracketExpected,
    CommaOrBracketExpected,
    UnknownFunctor,
    OpenParenExpected,
    CommaOrParenExpected,
    // reported by the load command without a position
    EmptyLine,
    IntegerOutOfRange,
    InputOutput,
};

struct ReadError {
    ReadErrorKind kind = ReadErrorKind::InputOutput;
    // The line in error, CR removed, UTF-8: a long line only around the position, at most
    // kErrorExcerptBefore characters before it and as many after, so a huge line is never copied.
    std::string line;
    std::size_t position = 0;     // characters read when the error was found (caret column)
    std::size_t line_offset = 0;  // characters of the line left out before `line`
    bool line_cut = false;        // characters after `line` were left out
    std::size_t line_number = 0;
    std::string detail;  // for input/output errors

    bool is_syntax() const;
    std::string message() const;  // Polish wording of the error kind
    // `line` as shown, with "..." where characters were left out, and the 0-based column of the
    // caret under it.
    std::string shown_line() const;
    std::size_t caret_column() const;
};

inline constexpr std::size_t kErrorExcerptBefore = 100;

// Adds the facts of the file at the end of their kinds, in file order. On the first line in error
// it stops and returns the error; the facts of earlier lines stay in the store.
std::optional<ReadError> read_section(FactStore& store, Section section, const std::string& path);
// The line of the file a fact was read from.
struct FactLine {
    Kind kind;
    std::size_t line = 0;
};

// Same, from bytes already in memory. With `lines`, the kind and line of every fact added are
// appended to it, in file order.
std::optional<ReadError> read_section_bytes(FactStore& store, Section section,
                                            const std::string& bytes,
                                            std::vector<FactLine>* lines = nullptr);

// The lines of a base file as the reader splits them: LF, CR LF or a lone CR ends a line.
std::vector<std::string_view> base_file_lines(std::string_view bytes);

// The text of a section as written to a file (UTF-8, lines ended by CR LF).
std::string section_text(const FactStore& store, Section section);
// One fact as the writer writes it (UTF-8, no line end).
std::string fact_text(const Fact& fact);
FileResult write_section(const FactStore& store, Section section, const std::string& path);

}  // namespace xamo
