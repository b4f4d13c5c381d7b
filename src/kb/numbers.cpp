#include "kb/numbers.h"

#include <array>
#include <charconv>
#include <cmath>
#include <limits>

namespace xamo {
namespace {

bool is_digit(char c) { return c >= '0' && c <= '9'; }

std::size_t skip_digits(std::string_view text, std::size_t pos) {
    while (pos < text.size() && is_digit(text[pos])) ++pos;
    return pos;
}

bool word_at(std::string_view text, std::size_t pos, std::string_view word) {
    if (text.size() - pos < word.size()) return false;
    for (std::size_t i = 0; i < word.size(); ++i) {
        char c = text[pos + i];
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
        if (c != word[i]) return false;
    }
    return true;
}

}  // namespace

NumberScan scan_integer(std::string_view text, std::size_t& pos, std::int32_t& value) {
    std::size_t p = pos;
    const bool negative = p < text.size() && text[p] == '-';
    if (negative) ++p;
    const std::size_t digits_start = p;
    p = skip_digits(text, p);
    if (p == digits_start) return NumberScan::NotANumber;
    std::int64_t v = 0;
    for (std::size_t i = digits_start; i < p; ++i) {
        v = v * 10 + (text[i] - '0');
        if (v > std::int64_t{1} << 32) break;  // already out of range; stop before overflow
    }
    if (negative) v = -v;
    pos = p;
    if (v < std::numeric_limits<std::int32_t>::min() ||
        v > std::numeric_limits<std::int32_t>::max()) {
        return NumberScan::OutOfRange;
    }
    value = static_cast<std::int32_t>(v);
    return NumberScan::Ok;
}

NumberScan scan_real(std::string_view text, std::size_t& pos, double& value) {
    std::size_t p = pos;
    bool negative = false;
    if (p < text.size() && (text[p] == '+' || text[p] == '-')) {
        negative = text[p] == '-';
        ++p;
    }
    if (word_at(text, p, "NAN")) {
        pos = p + 3;
        value = std::numeric_limits<double>::quiet_NaN();
        return NumberScan::Ok;
    }
    if (word_at(text, p, "INF")) {
        pos = p + 3;
        value = negative ? -std::numeric_limits<double>::infinity()
                         : std::numeric_limits<double>::infinity();
        return NumberScan::Ok;
    }
    const std::size_t mantissa_start = p;
    p = skip_digits(text, p);
    if (p == mantissa_start) return NumberScan::NotANumber;
    if (p + 1 < text.size() && text[p] == '.' && is_digit(text[p + 1])) {
        p = skip_digits(text, p + 1);
    }
    if (p < text.size() && (text[p] == 'e' || text[p] == 'E')) {
        std::size_t q = p + 1;
        if (q < text.size() && (text[q] == '+' || text[q] == '-')) ++q;
        const std::size_t exp_start = q;
        q = skip_digits(text, q);
        if (q > exp_start) {
            std::size_t significant = exp_start;
            while (significant + 1 < q && text[significant] == '0') ++significant;
            if (q - significant > 3 ||
                std::stoi(std::string(text.substr(significant, q - significant))) > 308) {
                pos = q;
                return NumberScan::OutOfRange;
            }
            p = q;
        }
    }
    double parsed = 0;
    const auto result = std::from_chars(text.data() + mantissa_start, text.data() + p, parsed);
    pos = p;
    if (result.ec == std::errc::result_out_of_range) {
        // Underflow reads as zero; overflow is refused.
        if (std::isinf(parsed) || parsed == 0.0) {
            bool all_small = true;
            for (std::size_t i = mantissa_start; i < p; ++i) {
                if (text[i] == 'e' || text[i] == 'E') {
                    all_small = i + 1 < p && text[i + 1] == '-';
                    break;
                }
            }
            if (!all_small) return NumberScan::OutOfRange;
            parsed = 0.0;
        }
    } else if (result.ec != std::errc{}) {
        return NumberScan::NotANumber;
    }
    if (std::isinf(parsed)) return NumberScan::OutOfRange;
    value = negative ? -parsed : parsed;
    return NumberScan::Ok;
}

std::optional<double> read_constant(std::string_view text) {
    std::size_t pos = 0;
    while (pos < text.size() && text[pos] == ' ') ++pos;
    double value = 0;
    if (scan_real(text, pos, value) != NumberScan::Ok || pos != text.size()) return std::nullopt;
    if (!std::isfinite(value)) return std::nullopt;
    return value;
}

std::string format_real(double value) {
    if (std::isnan(value)) return "nan";
    if (std::isinf(value)) return value < 0 ? "-inf" : "inf";
    std::array<char, 64> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
    return std::string(buffer.data(), result.ptr);
}

}  // namespace xamo
