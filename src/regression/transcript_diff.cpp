#include "regression/transcript_diff.h"

#include <algorithm>
#include <cstdint>

#include "kb/codec.h"

namespace xamo {
namespace {

// Beyond this many edits the search stops and the rest counts as one replaced block: the
// trace of the search grows with the square of the edits.
constexpr std::ptrdiff_t kMaxEdits = 2000;

struct Op {
    char kind;             // ' ', '-', '+'
    std::size_t expected;  // index of the line in `expected` (for ' ' and '-')
    std::size_t got;       // index of the line in `got` (for ' ' and '+')
};

using Lines = std::vector<std::string>;

// Myers' greedy search over a[lo_a, hi_a) and b[lo_b, hi_b); nothing when it needs more than
// kMaxEdits edits.
bool shortest_script(const Lines& a, std::size_t lo_a, std::size_t hi_a, const Lines& b,
                     std::size_t lo_b, std::size_t hi_b, std::vector<Op>& ops) {
    const auto n = static_cast<std::ptrdiff_t>(hi_a - lo_a);
    const auto m = static_cast<std::ptrdiff_t>(hi_b - lo_b);
    const std::ptrdiff_t max = std::min(n + m, kMaxEdits);
    const std::ptrdiff_t offset = max + 1;
    std::vector<std::ptrdiff_t> v(static_cast<std::size_t>(2 * max + 3), 0);
    std::vector<std::vector<std::ptrdiff_t>> trace;
    const auto at = [&](std::ptrdiff_t k) -> std::ptrdiff_t& {
        return v[static_cast<std::size_t>(k + offset)];
    };
    const auto same = [&](std::ptrdiff_t x, std::ptrdiff_t y) {
        return a[lo_a + static_cast<std::size_t>(x)] == b[lo_b + static_cast<std::size_t>(y)];
    };
    std::ptrdiff_t found = -1;
    for (std::ptrdiff_t d = 0; d <= max && found < 0; ++d) {
        trace.push_back(v);
        for (std::ptrdiff_t k = -d; k <= d; k += 2) {
            std::ptrdiff_t x =
                (k == -d || (k != d && at(k - 1) < at(k + 1))) ? at(k + 1) : at(k - 1) + 1;
            std::ptrdiff_t y = x - k;
            while (x < n && y < m && same(x, y)) ++x, ++y;
            at(k) = x;
            if (x >= n && y >= m) {
                found = d;
                break;
            }
        }
    }
    if (found < 0) return false;
    std::vector<Op> reversed;
    std::ptrdiff_t x = n;
    std::ptrdiff_t y = m;
    for (std::ptrdiff_t d = found; d >= 0; --d) {
        const auto& before = trace[static_cast<std::size_t>(d)];
        const auto prev_at = [&](std::ptrdiff_t k) {
            return before[static_cast<std::size_t>(k + offset)];
        };
        const std::ptrdiff_t k = x - y;
        const bool down = k == -d || (k != d && prev_at(k - 1) < prev_at(k + 1));
        const std::ptrdiff_t prev_k = down ? k + 1 : k - 1;
        const std::ptrdiff_t prev_x = d == 0 ? 0 : prev_at(prev_k);
        const std::ptrdiff_t prev_y = d == 0 ? 0 : prev_x - prev_k;
        while (x > prev_x && y > prev_y) {
            --x, --y;
            reversed.push_back(
                {' ', lo_a + static_cast<std::size_t>(x), lo_b + static_cast<std::size_t>(y)});
        }
        if (d == 0) break;
        if (down) {
            --y;
            reversed.push_back(
                {'+', lo_a + static_cast<std::size_t>(x), lo_b + static_cast<std::size_t>(y)});
        } else {
            --x;
            reversed.push_back(
                {'-', lo_a + static_cast<std::size_t>(x), lo_b + static_cast<std::size_t>(y)});
        }
    }
    ops.insert(ops.end(), reversed.rbegin(), reversed.rend());
    return true;
}

std::vector<Op> edit_script(const Lines& a, const Lines& b) {
    std::size_t prefix = 0;
    while (prefix < a.size() && prefix < b.size() && a[prefix] == b[prefix]) ++prefix;
    std::size_t suffix = 0;
    while (suffix < a.size() - prefix && suffix < b.size() - prefix &&
           a[a.size() - 1 - suffix] == b[b.size() - 1 - suffix])
        ++suffix;
    std::vector<Op> ops;
    for (std::size_t i = 0; i < prefix; ++i) ops.push_back({' ', i, i});
    const std::size_t end_a = a.size() - suffix;
    const std::size_t end_b = b.size() - suffix;
    if (!shortest_script(a, prefix, end_a, b, prefix, end_b, ops)) {
        for (std::size_t i = prefix; i < end_a; ++i) ops.push_back({'-', i, prefix});
        for (std::size_t j = prefix; j < end_b; ++j) ops.push_back({'+', end_a, j});
    }
    for (std::size_t i = 0; i < suffix; ++i) ops.push_back({' ', end_a + i, end_b + i});
    return ops;
}

DiffRegion region_of(const std::vector<Op>& ops, std::size_t first, std::size_t last,
                     const Lines& a, const Lines& b) {
    DiffRegion region;
    region.expected_start = ops[first].expected + 1;
    region.got_start = ops[first].got + 1;
    for (std::size_t i = first; i <= last; ++i) {
        const Op& op = ops[i];
        const bool from_expected = op.kind != '+';
        region.lines.push_back({op.kind, from_expected ? a[op.expected] : b[op.got]});
        region.expected_count += op.kind != '+' ? 1 : 0;
        region.got_count += op.kind != '-' ? 1 : 0;
    }
    return region;
}

std::string range(std::size_t start, std::size_t count) {
    // An empty side names the line before it, as unified diffs do.
    return std::to_string(count == 0 ? start - 1 : start) + "," + std::to_string(count);
}

}  // namespace

std::vector<std::string> transcript_lines(const std::string& bytes) {
    std::string text = utf8_from_either(bytes);
    if (text.rfind("\xEF\xBB\xBF", 0) == 0) text.erase(0, 3);
    std::vector<std::string> lines;
    std::string line;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c != '\r' && c != '\n') {
            line.push_back(c);
            continue;
        }
        if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        lines.push_back(std::move(line));
        line.clear();
    }
    if (!line.empty()) lines.push_back(std::move(line));
    return lines;
}

TranscriptDiff diff_lines(const Lines& expected, const Lines& got, std::size_t context) {
    const std::vector<Op> ops = edit_script(expected, got);
    TranscriptDiff diff;
    std::size_t i = 0;
    while (i < ops.size()) {
        if (ops[i].kind == ' ') {
            ++i;
            continue;
        }
        const std::size_t first = i >= context ? i - context : 0;
        std::size_t last_change = i;
        // Changes closer than twice the context share one region.
        for (std::size_t j = i; j < ops.size() && j <= last_change + 2 * context; ++j) {
            if (ops[j].kind != ' ') last_change = j;
        }
        for (std::size_t j = i; j <= last_change; ++j)
            diff.differing_lines += ops[j].kind != ' ' ? 1 : 0;
        const std::size_t last = std::min(ops.size() - 1, last_change + context);
        diff.regions.push_back(region_of(ops, first, last, expected, got));
        i = last_change + 1;
    }
    return diff;
}

std::string visible(const std::string& line) {
    std::size_t end = line.size();
    while (end > 0 && (line[end - 1] == ' ' || line[end - 1] == '\t')) --end;
    std::string shown;
    for (std::size_t i = 0; i < line.size(); ++i) {
        const auto c = static_cast<unsigned char>(line[i]);
        if (i >= end) {
            shown += c == ' ' ? "·" : "→";
        } else if (c < 0x20 && c != '\t') {
            static const char* hex = "0123456789ABCDEF";
            shown += std::string("<") + hex[c >> 4] + hex[c & 15] + ">";
        } else {
            shown.push_back(static_cast<char>(c));
        }
    }
    return shown;
}

std::string format_diff(const TranscriptDiff& diff, std::size_t max_regions) {
    std::string text = "Przebieg różni się od zapisanego: różniących się wierszy " +
                       std::to_string(diff.differing_lines) + ", miejsc z różnicami " +
                       std::to_string(diff.regions.size()) + ".\n--- zapisany\n+++ otrzymany\n";
    const std::size_t shown = std::min(max_regions, diff.regions.size());
    for (std::size_t r = 0; r < shown; ++r) {
        const DiffRegion& region = diff.regions[r];
        text += "@@ -" + range(region.expected_start, region.expected_count) + " +" +
                range(region.got_start, region.got_count) + " @@\n";
        for (const DiffLine& line : region.lines) {
            text += line.kind;
            text += line.kind == ' ' ? line.text : visible(line.text);
            text += '\n';
        }
    }
    if (shown < diff.regions.size()) {
        text += "(pominięto dalsze miejsca z różnicami: " +
                std::to_string(diff.regions.size() - shown) + ")\n";
    }
    return text;
}

}  // namespace xamo
