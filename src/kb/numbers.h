// The number syntax of base files, shared by the reader, by the test for numeric constants in model
// fields and by the value dialog. Locale-independent.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace xamo {

enum class NumberScan { Ok, NotANumber, OutOfRange };

// Scans an integer ("-"? digits) at `pos`, advancing it past what was read.
NumberScan scan_integer(std::string_view text, std::size_t& pos, std::int32_t& value);
// Scans a real (sign? digits ("." digits)? (E sign? digits)?, or NAN / INF in any case) at `pos`.
// An exponent above 308 or a value beyond the range of a double is OutOfRange.
NumberScan scan_real(std::string_view text, std::size_t& pos, double& value);

// The whole text (after leading blanks) reads as a finite real number: a numeric constant.
std::optional<double> read_constant(std::string_view text);

// Shortest text that reads back as the same double ("5", "42.5", "1e+20", "nan", "inf").
std::string format_real(double value);

}  // namespace xamo
