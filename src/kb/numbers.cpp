#include "kb/numbers.h"

#include <algorithm>
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

// The decimal exponent of the first significant digit of an unsigned real as scanned ("120" is
// 2, "0.05" is -2, "5e-3" is -3); a number without a significant digit counts as 0.
long decimal_magnitude(std::string_view number) {
    std::size_t p = 0;
    long integer_digits = 0;
    long leading_fraction_zeros = 0;
    bool significant = false;
    for (; p < number.size() && is_digit(number[p]); ++p) {
        if (number[p] != '0') significant = true;
        if (significant) ++integer_digits;
    }
    if (p < number.size() && number[p] == '.') {
        for (++p; p < number.size() && is_digit(number[p]); ++p) {
            if (significant) continue;
            if (number[p] != '0') {
                significant = true;
                break;
            }
            ++leading_fraction_zeros;
        }
        p = skip_digits(number, p);
    }
    if (!significant) return 0;
    long exponent = 0;
    if (p < number.size() && (number[p] == 'e' || number[p] == 'E')) {
        ++p;
        const bool minus = p < number.size() && number[p] == '-';
        if (p < number.size() && (number[p] == '+' || number[p] == '-')) ++p;
        // Bounded, so a negative exponent of any length cannot overflow.
        for (; p < number.size() && is_digit(number[p]); ++p) {
            exponent = std::min(exponent * 10 + (number[p] - '0'), 100000L);
        }
        if (minus) exponent = -exponent;
    }
    const long first = integer_digits > 0 ? integer_digits - 1 : -(leading_fraction_zeros + 1);
    return first + exponent;
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
        const bool negative_exponent = text[exp_start - 1] == '-';
        q = skip_digits(text, q);
        if (q > exp_start) {
            std::size_t significant = exp_start;
            while (significant + 1 < q && text[significant] == '0') ++significant;
            // A positive exponent above 308 is too large; a negative one is left to the
            // magnitude below, since the writer prints subnormals such as 1e-309.
            if (!negative_exponent &&
                (q - significant > 3 ||
                 std::stoi(std::string(text.substr(significant, q - significant))) > 308)) {
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
        // Beyond the range of a double: a large magnitude is refused, a tiny one reads as zero.
        // The two are told apart by the decimal exponent of the first significant digit.
        if (decimal_magnitude(text.substr(mantissa_start, p - mantissa_start)) >= 0)
            return NumberScan::OutOfRange;
        parsed = 0.0;
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

std::optional<double> read_typed_number(std::string_view text) {
    while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
    std::string number(text);
    const auto comma = number.find(',');
    if (comma != std::string::npos && number.find(',', comma + 1) == std::string::npos &&
        number.find('.') == std::string::npos) {
        number[comma] = '.';
    }
    return read_constant(number);
}

std::string format_real(double value) {
    if (std::isnan(value)) return "nan";
    if (std::isinf(value)) return value < 0 ? "-inf" : "inf";
    std::array<char, 64> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
    return std::string(buffer.data(), result.ptr);
}

// Rounded to 15 significant digits (what a double holds reliably), so that rounding noise of
// the arithmetic ("3779.9999999999995", "0.30000000000000004") never reaches the user.
std::string display_real(double value) {
    if (std::isnan(value)) return "nan";
    if (std::isinf(value)) return value < 0 ? "-inf" : "inf";
    if (value == 0) return "0";  // also -0
    // "d.dddddddddddddde[+-]x": the 15 significant digits and the exponent after rounding.
    std::array<char, 64> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                      std::chars_format::scientific, 14);
    const std::string_view text(buffer.data(),
                                static_cast<std::size_t>(result.ptr - buffer.data()));
    const bool negative = text.front() == '-';
    const std::size_t e = text.find('e');
    std::string digits;
    for (char c : text.substr(negative ? 1 : 0, e - (negative ? 1 : 0))) {
        if (is_digit(c)) digits.push_back(c);
    }
    int exponent = 0;
    std::from_chars(text.data() + e + (text[e + 1] == '+' ? 2 : 1), text.data() + text.size(),
                    exponent);
    while (digits.size() > 1 && digits.back() == '0') digits.pop_back();
    // Built by appending: GCC 12 at -O3 reports a false -Wrestrict overlap for "." + string.
    std::string out;
    if (negative) out.push_back('-');
    if (exponent >= 15 || exponent < -5) {
        out.push_back(digits[0]);
        if (digits.size() > 1) out.append(".").append(digits, 1);
        return out.append("e").append(std::to_string(exponent));
    }
    if (exponent < 0) {
        out.append("0.").append(static_cast<std::size_t>(-exponent - 1), '0');
        return out.append(digits);
    }
    const auto integer_digits = static_cast<std::size_t>(exponent) + 1;
    if (digits.size() <= integer_digits) {
        return out.append(digits).append(integer_digits - digits.size(), '0');
    }
    out.append(digits, 0, integer_digits).append(".").append(digits, integer_digits);
    return out;
}

}  // namespace xamo
