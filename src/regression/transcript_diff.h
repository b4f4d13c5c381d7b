// Differences between a stored transcript and a new one, as a unified diff in regions with
// context, for a replayed consultation and for anything else compared line by line.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace xamo {

// The lines of a text read as base files are read: UTF-8 or Windows-1250, a byte-order mark
// dropped, CR LF, LF and a lone CR each ending a line.
std::vector<std::string> transcript_lines(const std::string& bytes);

struct DiffLine {
    char kind = ' ';  // ' ' context, '-' only in the stored text, '+' only in the new one
    std::string text;
};

// One region of differences with its context; starts are 1-based line numbers.
struct DiffRegion {
    std::size_t expected_start = 0;
    std::size_t expected_count = 0;
    std::size_t got_start = 0;
    std::size_t got_count = 0;
    std::vector<DiffLine> lines;
};

struct TranscriptDiff {
    std::vector<DiffRegion> regions;
    std::size_t differing_lines = 0;  // lines removed plus lines added
    bool empty() const { return regions.empty(); }
};

// A shortest edit script between the two (an over-long one degrades to one replaced block
// between the common start and end), cut into regions with `context` lines around each.
TranscriptDiff diff_lines(const std::vector<std::string>& expected,
                          const std::vector<std::string>& got, std::size_t context = 3);

// The diff for a person: a summary line, then at most `max_regions` regions in unified form
// with invisible characters of differing lines shown, then how many regions were left out.
std::string format_diff(const TranscriptDiff& diff, std::size_t max_regions = 10);

// A line with trailing blanks and control characters made visible ("·" a blank, "→" a tab,
// "<0D>" a control character).
std::string visible(const std::string& line);

}  // namespace xamo
