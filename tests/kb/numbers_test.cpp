#include "kb/numbers.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

namespace xamo {
namespace {

// Built by appending: GCC 12 at -O3 reports a false -Wrestrict overlap for "1" + string.
std::string ones_and_zeros(std::size_t zeros) {
    std::string number(zeros + 1, '0');
    number[0] = '1';
    return number;
}

std::string minus(const std::string& number) {
    std::string negative = "-";
    negative += number;
    return negative;
}

TEST(Numbers, RealsBeyondTheRangeOfADoubleAreIllegalWithOrWithoutExponent) {
    // The largest representable reals, written out in full, stay valid.
    EXPECT_EQ(read_constant(ones_and_zeros(308)), 1e308);
    const std::string largest = "17976931348623157" + std::string(292, '0');
    EXPECT_EQ(read_constant(largest), std::numeric_limits<double>::max());
    EXPECT_EQ(read_constant(minus(ones_and_zeros(308))), -1e308);
    // One digit more is too large, as 1e309 is.
    EXPECT_FALSE(read_constant(ones_and_zeros(309)));
    EXPECT_FALSE(read_constant(ones_and_zeros(400)));
    EXPECT_FALSE(read_constant(minus(ones_and_zeros(400)) + ".5"));
    EXPECT_FALSE(read_constant("0.001e309"));  // the exponent alone is above 308
    EXPECT_FALSE(read_constant("1000e306"));
    EXPECT_EQ(read_constant("100e306"), 1e308);
    std::size_t pos = 0;
    double value = 0;
    const std::string line = ones_and_zeros(400) + ")";
    EXPECT_EQ(scan_real(line, pos, value), NumberScan::OutOfRange);
    // Tiny magnitudes read as zero, however they are written.
    EXPECT_EQ(read_constant("0." + std::string(400, '0') + "1"), 0.0);
    EXPECT_EQ(read_constant("1e-300"), 1e-300);
    EXPECT_EQ(read_constant("0." + std::string(30, '0') + "1e-300"), 0.0);
    EXPECT_EQ(read_constant("1e-" + std::string(400, '9')), 0.0);
}

TEST(Numbers, EveryFiniteRealTheWriterPrintsReadsBack) {
    using limits = std::numeric_limits<double>;
    const std::string subnormal = "0." + std::string(308, '0') + "1";
    for (const double value : {*read_constant(subnormal), limits::denorm_min(), limits::min(),
                               limits::max(), limits::lowest(), 1e-309, -2.5e-320, 0.1}) {
        const std::string written = format_real(value);
        const auto read = read_constant(written);
        ASSERT_TRUE(read) << written;
        EXPECT_EQ(format_real(*read), written);
    }
}

TEST(Numbers, TypedNumbersAcceptADecimalCommaAndSurroundingBlanks) {
    EXPECT_EQ(read_typed_number("120,5"), 120.5);
    EXPECT_EQ(read_typed_number(" -3,25e1 "), -32.5);
    EXPECT_EQ(read_typed_number("7"), 7.0);
    EXPECT_EQ(read_typed_number("0.5"), 0.5);
    EXPECT_FALSE(read_typed_number(""));
    EXPECT_FALSE(read_typed_number("   "));
    EXPECT_FALSE(read_typed_number("abc"));
    EXPECT_FALSE(read_typed_number("1,2,3"));
    EXPECT_FALSE(read_typed_number("1.2,3"));
    EXPECT_FALSE(read_typed_number("12 5"));
    EXPECT_FALSE(read_typed_number("nan"));
    EXPECT_FALSE(read_typed_number("1e400"));
}

TEST(Numbers, RealsShownToPeopleHaveAtMostFifteenDigitsAndNoNoise) {
    // Rounding noise of the arithmetic disappears.
    EXPECT_EQ(display_real(3779.9999999999995), "3780");
    EXPECT_EQ(display_real(0.1 + 0.2), "0.3");
    EXPECT_EQ(display_real(1.1 * 1.1), "1.21");
    EXPECT_EQ(display_real(-0.0), "0");
    EXPECT_EQ(display_real(0.0), "0");
    EXPECT_EQ(display_real(-2.5), "-2.5");
    EXPECT_EQ(display_real(42), "42");
    // No exponent from 1e-5 to below 1e15.
    EXPECT_EQ(display_real(1e6), "1000000");
    EXPECT_EQ(display_real(123456789012345.0), "123456789012345");
    EXPECT_EQ(display_real(-999999999999999.0), "-999999999999999");
    EXPECT_EQ(display_real(0.00001), "0.00001");
    EXPECT_EQ(display_real(0.000123), "0.000123");
    EXPECT_EQ(display_real(1.0 / 3), "0.333333333333333");
    EXPECT_EQ(display_real(2.0 / 3 * 1000), "666.666666666667");
    // Beyond, an exponent; a value that rounds up to 1e15 takes one too.
    EXPECT_EQ(display_real(1e15), "1e15");
    EXPECT_EQ(display_real(999999999999999.9), "1e15");
    EXPECT_EQ(display_real(1e16), "1e16");
    EXPECT_EQ(display_real(-1.5e300), "-1.5e300");
    EXPECT_EQ(display_real(0.0000015), "1.5e-6");
    EXPECT_EQ(display_real(std::numeric_limits<double>::max()), "1.79769313486232e308");
    EXPECT_EQ(display_real(std::numeric_limits<double>::denorm_min()), "4.94065645841247e-324");
    EXPECT_EQ(display_real(std::nan("")), "nan");
    EXPECT_EQ(display_real(-std::numeric_limits<double>::infinity()), "-inf");
    // The exact form for files keeps every digit.
    EXPECT_EQ(format_real(0.1 + 0.2), "0.30000000000000004");
    EXPECT_EQ(read_constant(format_real(3779.9999999999995)), 3779.9999999999995);
}

}  // namespace
}  // namespace xamo
