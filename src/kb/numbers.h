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

// A number typed by the user into the value dialog: blanks around it are ignored and a decimal
// comma ("120,5") counts as a decimal point.
std::optional<double> read_typed_number(std::string_view text);

// Shortest text that reads back as the same double ("5", "42.5", "1e+20", "nan", "inf"): the
// exact form, for what the program writes into base files.
std::string format_real(double value);

// The one text of a real shown to a person (message window, dialogs, report, summary, browse
// windows): at most 15 significant digits, no exponent from 1e-5 to below 1e15 ("0.3",
// "3780", "0.00001", "123456789012345"), an exponent beyond ("1e15", "1.5e-6"), never "-0".
std::string display_real(double value);

}  // namespace xamo
