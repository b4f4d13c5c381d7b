#include "kb/codec.h"

#include <gtest/gtest.h>
#include <iconv.h>

#include <algorithm>
#include <vector>

namespace xamo {
namespace {

std::string iconv_to_utf8(const std::string& cp1250) {
    iconv_t cd = iconv_open("UTF-8", "CP1250");
    if (cd == reinterpret_cast<iconv_t>(-1)) return "?";
    std::string in = cp1250;
    std::string out(16, '\0');
    char* inp = in.data();
    char* outp = out.data();
    size_t inleft = in.size(), outleft = out.size();
    const size_t rc = iconv(cd, &inp, &inleft, &outp, &outleft);
    iconv_close(cd);
    if (rc == static_cast<size_t>(-1)) return "<undefined>";
    out.resize(out.size() - outleft);
    return out;
}

TEST(Codec, EveryByteRoundTripsAndDefinedBytesMatchTheSystemTable) {
    std::string all;
    for (int b = 0; b < 256; ++b) all.push_back(static_cast<char>(b));
    const std::string utf8 = cp1250_to_utf8(all);
    EXPECT_EQ(utf8_length(utf8), 256u);
    EXPECT_EQ(utf8_to_cp1250(utf8), all);
    // Longer texts take another way through the conversion.
    EXPECT_EQ(cp1250_to_utf8(all + all), utf8 + utf8);

    int undefined = 0;
    for (int b = 0x80; b < 256; ++b) {
        const std::string byte(1, static_cast<char>(b));
        const std::string expected = iconv_to_utf8(byte);
        if (expected == "<undefined>") {
            ++undefined;
            continue;
        }
        EXPECT_EQ(cp1250_to_utf8(byte), expected) << "byte " << b;
    }
    EXPECT_LE(undefined, 5);
    EXPECT_EQ(cp1250_to_utf8("\xB3"), "ł");
    EXPECT_EQ(cp1250_to_utf8("\x8F"), "Ź");
}

TEST(Codec, UnencodableCharacterIsRefusedWithItsLine) {
    EncodeError error;
    EXPECT_FALSE(utf8_to_cp1250("pierwsza\ndruga 中 linia", &error));
    EXPECT_EQ(error.character, "中");
    EXPECT_EQ(error.line, 2u);
    EXPECT_NE(error.message().find("中"), std::string::npos);
    EXPECT_FALSE(utf8_to_cp1250("zły bajt \xFF", &error));
    EXPECT_EQ(error.character, "\\xFF");
}

TEST(Codec, SortsByWindows1250Bytes) {
    // 'ą' is 0xB9 and 'ż' is 0xBF in Windows-1250, both above every ASCII letter.
    EXPECT_TRUE(cp1250_less("z", "ą"));
    EXPECT_TRUE(cp1250_less("ą", "ż"));
    EXPECT_TRUE(cp1250_less("ab", "abc"));
    EXPECT_FALSE(cp1250_less("abc", "abc"));
    // 'Ś' is 0x8C, below 'ł' (0xB3), though its code point is higher.
    EXPECT_TRUE(cp1250_less("Ś", "ł"));
}

TEST(Codec, SortOrderIsTheUnsignedByteOrderForEveryPairOfShortTexts) {
    // ASCII, and high bytes whose UTF-8 forms share lead bytes ('ł' C5 82, 'Ś' C5 9A, 'Ź' C5
    // B9; '€' E2 82 AC, '‚' E2 80 9A), so texts differ inside a character as well as between
    // characters, and one text is often the start of another.
    const std::string alphabet = "a\x7F\xB3\x8C\x8F\x80\x82";
    std::vector<std::string> texts{""};
    for (std::size_t from = 0; texts.back().size() < 3; ++from) {
        for (const char c : alphabet) texts.push_back(texts[from] + c);
    }
    for (const auto& a : texts) {
        for (const auto& b : texts) {
            const bool bytes_less = std::lexicographical_compare(
                a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
                    return static_cast<unsigned char>(x) < static_cast<unsigned char>(y);
                });
            ASSERT_EQ(cp1250_less(cp1250_to_utf8(a), cp1250_to_utf8(b)), bytes_less)
                << "'" << cp1250_to_utf8(a) << "' < '" << cp1250_to_utf8(b) << "'";
        }
    }
}

}  // namespace
}  // namespace xamo

namespace xamo {
namespace {

// A script or transcript may be stored by the program (Windows-1250) or typed in a terminal
// (UTF-8): well-formed UTF-8 is kept, anything else is read as Windows-1250.
TEST(Codec, TextInEitherEncodingBecomesUtf8) {
    EXPECT_EQ(utf8_from_either("zażółć"), "zażółć");
    EXPECT_EQ(utf8_from_either(std::string("za\xbf\xf3\xb3\xe6")), "zażółć");
    EXPECT_FALSE(valid_utf8(std::string("\xc0\xaf")));      // overlong
    EXPECT_FALSE(valid_utf8(std::string("\xed\xa0\x80")));  // surrogate
    EXPECT_FALSE(valid_utf8(std::string("a\xc5")));         // cut short
}

}  // namespace
}  // namespace xamo
