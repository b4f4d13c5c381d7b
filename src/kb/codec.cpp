#include "kb/codec.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>

namespace xamo {
namespace {

// Code points of bytes 0x80..0xFF.
constexpr std::array<char16_t, 128> kHighHalf = {
    0x20AC, 0x0081, 0x201A, 0x0083, 0x201E, 0x2026, 0x2020, 0x2021,  // 80
    0x0088, 0x2030, 0x0160, 0x2039, 0x015A, 0x0164, 0x017D, 0x0179,  // 88
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90
    0x0098, 0x2122, 0x0161, 0x203A, 0x015B, 0x0165, 0x017E, 0x017A,  // 98
    0x00A0, 0x02C7, 0x02D8, 0x0141, 0x00A4, 0x0104, 0x00A6, 0x00A7,  // A0
    0x00A8, 0x00A9, 0x015E, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x017B,  // A8
    0x00B0, 0x00B1, 0x02DB, 0x0142, 0x00B4, 0x00B5, 0x00B6, 0x00B7,  // B0
    0x00B8, 0x0105, 0x015F, 0x00BB, 0x013D, 0x02DD, 0x013E, 0x017C,  // B8
    0x0154, 0x00C1, 0x00C2, 0x0102, 0x00C4, 0x0139, 0x0106, 0x00C7,  // C0
    0x010C, 0x00C9, 0x0118, 0x00CB, 0x011A, 0x00CD, 0x00CE, 0x010E,  // C8
    0x0110, 0x0143, 0x0147, 0x00D3, 0x00D4, 0x0150, 0x00D6, 0x00D7,  // D0
    0x0158, 0x016E, 0x00DA, 0x0170, 0x00DC, 0x00DD, 0x0162, 0x00DF,  // D8
    0x0155, 0x00E1, 0x00E2, 0x0103, 0x00E4, 0x013A, 0x0107, 0x00E7,  // E0
    0x010D, 0x00E9, 0x0119, 0x00EB, 0x011B, 0x00ED, 0x00EE, 0x010F,  // E8
    0x0111, 0x0144, 0x0148, 0x00F3, 0x00F4, 0x0151, 0x00F6, 0x00F7,  // F0
    0x0159, 0x016F, 0x00FA, 0x0171, 0x00FC, 0x00FD, 0x0163, 0x02D9,  // F8
};

// Every code point of the high half is below this bound, so the reverse mapping is one array.
constexpr char32_t kReverseBound = 0x2200;

// The Windows-1250 byte of each code point below kReverseBound, 0 where there is none (code
// points below 0x80 are their own byte and never looked up here).
const std::array<unsigned char, kReverseBound>& reverse_table() {
    static const auto table = [] {
        std::array<unsigned char, kReverseBound> t{};
        for (std::size_t i = 0; i < kHighHalf.size(); ++i) {
            t[kHighHalf[i]] = static_cast<unsigned char>(0x80 + i);
        }
        return t;
    }();
    return table;
}

std::optional<unsigned char> cp1250_byte(char32_t cp) {
    if (cp < 0x80) return static_cast<unsigned char>(cp);
    if (cp >= kReverseBound) return std::nullopt;
    const unsigned char byte = reverse_table()[cp];
    if (byte == 0) return std::nullopt;
    return byte;
}

bool is_ascii(unsigned char byte) { return byte < 0x80; }

}  // namespace

void utf8_append(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
}

namespace {

// The UTF-8 form of every byte: its length and up to three bytes.
struct Utf8Form {
    std::uint8_t length;
    std::array<char, 3> bytes;
};

constexpr std::array<Utf8Form, 256> kUtf8Forms = [] {
    std::array<Utf8Form, 256> forms{};
    for (std::size_t byte = 0; byte < forms.size(); ++byte) {
        auto& form = forms[byte];
        const char32_t cp = byte < 0x80 ? static_cast<char32_t>(byte) : kHighHalf[byte - 0x80];
        if (cp < 0x80) {
            form = {1, {static_cast<char>(cp), 0, 0}};
        } else if (cp < 0x800) {
            form = {
                2, {static_cast<char>(0xC0 | (cp >> 6)), static_cast<char>(0x80 | (cp & 0x3F)), 0}};
        } else {
            form = {
                3,
                {static_cast<char>(0xE0 | (cp >> 12)), static_cast<char>(0x80 | ((cp >> 6) & 0x3F)),
                 static_cast<char>(0x80 | (cp & 0x3F))}};
        }
    }
    return forms;
}();

const Utf8Form& utf8_form(char c) { return kUtf8Forms[static_cast<unsigned char>(c)]; }

}  // namespace

void append_cp1250_char(std::string& out, unsigned char byte) {
    const Utf8Form& form = kUtf8Forms[byte];
    out.append(form.bytes.data(), form.length);
}

namespace {

// Writes the UTF-8 form of every byte at `to`, three bytes each whatever its length, so that
// there is no branch per byte; `to` needs room for three bytes per byte. Returns the end. Eight
// bytes below 0x80 (most of a name) are copied as they are, at once.
char* write_utf8(std::string_view bytes, char* to) {
    std::size_t i = 0;
    while (i + 8 <= bytes.size()) {
        std::uint64_t word;
        std::memcpy(&word, bytes.data() + i, 8);
        if ((word & 0x8080808080808080ULL) == 0) {
            std::memcpy(to, &word, 8);
            to += 8;
            i += 8;
            continue;
        }
        for (const std::size_t end = i + 8; i < end; ++i) {
            const Utf8Form& form = utf8_form(bytes[i]);
            std::memcpy(to, form.bytes.data(), 3);
            to += form.length;
        }
    }
    for (; i < bytes.size(); ++i) {
        const Utf8Form& form = utf8_form(bytes[i]);
        std::memcpy(to, form.bytes.data(), 3);
        to += form.length;
    }
    return to;
}

}  // namespace

std::string cp1250_to_utf8(std::string_view bytes) {
    // Names are short: converted on the stack, then copied once into a string of the exact size.
    constexpr std::size_t kOnStack = 256;
    if (bytes.size() <= kOnStack) {
        std::array<char, 3 * kOnStack> buffer;
        char* end = write_utf8(bytes, buffer.data());
        return std::string(buffer.data(), end);
    }
    std::string out(3 * bytes.size(), '\0');
    out.resize(static_cast<std::size_t>(write_utf8(bytes, out.data()) - out.data()));
    return out;
}

std::size_t append_utf8_of_cp1250(std::string_view bytes, std::string& out, std::size_t used) {
    if (out.size() < used + 3 * bytes.size())
        out.resize(std::max(2 * out.size(), used + 3 * bytes.size()));
    return static_cast<std::size_t>(write_utf8(bytes, out.data() + used) - out.data());
}

char32_t utf8_next(std::string_view text, std::size_t& pos) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char first = byte(pos);
    std::size_t extra = 0;
    char32_t cp = 0;
    if (first < 0x80) {
        ++pos;
        return first;
    } else if ((first & 0xE0) == 0xC0) {
        extra = 1;
        cp = first & 0x1F;
    } else if ((first & 0xF0) == 0xE0) {
        extra = 2;
        cp = first & 0x0F;
    } else if ((first & 0xF8) == 0xF0) {
        extra = 3;
        cp = first & 0x07;
    } else {
        ++pos;
        return 0xFFFD;
    }
    if (pos + extra >= text.size()) {
        ++pos;
        return 0xFFFD;
    }
    for (std::size_t i = 1; i <= extra; ++i) {
        if ((byte(pos + i) & 0xC0) != 0x80) {
            ++pos;
            return 0xFFFD;
        }
        cp = (cp << 6) | (byte(pos + i) & 0x3F);
    }
    pos += extra + 1;
    return cp;
}

bool valid_utf8(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size()) {
        const auto c = static_cast<unsigned char>(text[i]);
        std::size_t length = 0;
        char32_t cp = 0;
        if (c < 0x80) {
            ++i;
            continue;
        } else if ((c & 0xE0) == 0xC0) {
            length = 2;
            cp = c & 0x1F;
        } else if ((c & 0xF0) == 0xE0) {
            length = 3;
            cp = c & 0x0F;
        } else if ((c & 0xF8) == 0xF0) {
            length = 4;
            cp = c & 0x07;
        } else {
            return false;
        }
        if (i + length > text.size()) return false;
        for (std::size_t k = 1; k < length; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            if ((next & 0xC0) != 0x80) return false;
            cp = (cp << 6) | (next & 0x3F);
        }
        static constexpr char32_t kSmallest[] = {0, 0, 0x80, 0x800, 0x10000};
        if (cp < kSmallest[length] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return false;
        i += length;
    }
    return true;
}

std::string utf8_from_either(std::string_view bytes) {
    return valid_utf8(bytes) ? std::string(bytes) : cp1250_to_utf8(bytes);
}

std::optional<std::string> utf8_to_cp1250(std::string_view text, EncodeError* error) {
    std::string out;
    out.reserve(text.size());
    std::size_t line = 1;
    std::size_t pos = 0;
    while (pos < text.size()) {
        const std::size_t start = pos;
        const char32_t cp = utf8_next(text, pos);
        const bool broken = cp == 0xFFFD;
        const auto byte = broken ? std::nullopt : cp1250_byte(cp);
        if (!byte) {
            if (error) {
                error->line = line;
                if (broken) {
                    static const char* hex = "0123456789ABCDEF";
                    const auto b = static_cast<unsigned char>(text[start]);
                    error->character = std::string("\\x") + hex[b >> 4] + hex[b & 15];
                } else {
                    error->character = std::string(text.substr(start, pos - start));
                }
            }
            return std::nullopt;
        }
        if (cp == U'\n') ++line;
        out.push_back(static_cast<char>(*byte));
    }
    return out;
}

std::string EncodeError::message() const {
    return "Znak '" + character + "' w linii " + std::to_string(line) +
           " nie ma odpowiednika w kodowaniu Windows-1250.\nPlik nie został zapisany.";
}

std::size_t utf8_length(std::string_view text) {
    std::size_t n = 0;
    for (char c : text) {
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++n;
    }
    return n;
}

std::size_t utf8_offset(std::string_view text, std::size_t char_index) {
    std::size_t pos = 0;
    for (std::size_t i = 0; i < char_index && pos < text.size(); ++i) utf8_next(text, pos);
    return pos;
}

bool cp1250_less(std::string_view a, std::string_view b) {
    // Where the texts first differ in ASCII bytes (or one ends before an ASCII byte of the
    // other), every character before is the same in both, so the bytes decide.
    const auto [ma, mb] = std::mismatch(a.begin(), a.end(), b.begin(), b.end());
    const bool a_ends = ma == a.end();
    const bool b_ends = mb == b.end();
    const bool a_ascii = a_ends || is_ascii(static_cast<unsigned char>(*ma));
    const bool b_ascii = b_ends || is_ascii(static_cast<unsigned char>(*mb));
    if (a_ascii && b_ascii) {
        if (a_ends || b_ends) return a_ends && !b_ends;
        return static_cast<unsigned char>(*ma) < static_cast<unsigned char>(*mb);
    }
    std::size_t pa = 0, pb = 0;
    while (pa < a.size() && pb < b.size()) {
        const char32_t ca = utf8_next(a, pa);
        const char32_t cb = utf8_next(b, pb);
        const unsigned ba = cp1250_byte(ca).value_or(0xFF);
        const unsigned bb = cp1250_byte(cb).value_or(0xFF);
        if (ba != bb) return ba < bb;
        if (ca != cb) return ca < cb;
    }
    return pa == a.size() && pb < b.size();
}

std::optional<std::uint64_t> cp1250_prefix_key(std::string_view text) {
    std::uint64_t key = 0;
    // ASCII characters are their own bytes: a name's first eight, when all ASCII, are the key.
    const std::size_t head = std::min<std::size_t>(text.size(), 8);
    if (std::all_of(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(head),
                    [](char c) { return is_ascii(static_cast<unsigned char>(c)); })) {
        for (std::size_t k = 0; k < 8; ++k) {
            key = (key << 8) | (k < head ? static_cast<unsigned char>(text[k]) : 0U);
        }
        return key;
    }
    std::size_t pos = 0;
    for (int k = 0; k < 8; ++k) {
        std::uint64_t byte = 0;  // past the end
        if (pos < text.size()) {
            const auto mapped = cp1250_byte(utf8_next(text, pos));
            if (!mapped) return std::nullopt;
            byte = *mapped;
        }
        key = (key << 8) | byte;
    }
    return key;
}

std::string upper_case(std::string_view text) {
    static const std::u32string lower = U"ąćęłńóśźż";
    static const std::u32string upper = U"ĄĆĘŁŃÓŚŹŻ";
    std::string out;
    out.reserve(text.size());
    std::size_t pos = 0;
    while (pos < text.size()) {
        char32_t cp = utf8_next(text, pos);
        if (cp >= U'a' && cp <= U'z')
            cp = cp - U'a' + U'A';
        else if (const auto i = lower.find(cp); i != std::u32string::npos)
            cp = upper[i];
        utf8_append(out, cp);
    }
    return out;
}

}  // namespace xamo
