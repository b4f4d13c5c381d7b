// Windows-1250 <-> UTF-8. Files are Windows-1250; text inside the program is UTF-8. The five bytes
// that Windows-1250 leaves undefined map to the C1 controls of the same value, so every byte
// sequence survives a round trip unchanged.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace xamo {

std::string cp1250_to_utf8(std::string_view bytes);
// The same written into a buffer reused from call to call, after its first `used` bytes; returns
// how many bytes are used then. The buffer only grows (nothing is filled in at each call).
std::size_t append_utf8_of_cp1250(std::string_view bytes, std::string& out, std::size_t used);
// Appends the UTF-8 form of one Windows-1250 byte.
void append_cp1250_char(std::string& out, unsigned char byte);

struct EncodeError {
    std::string character;  // the offending character, UTF-8 (or "\\xNN" for a broken sequence)
    std::size_t line = 0;   // 1-based line of the text on which it stands
    std::string message() const;  // Polish, for a note
};

// Converts UTF-8 text to Windows-1250; a character Windows-1250 cannot hold is an error, never
// replaced.
std::optional<std::string> utf8_to_cp1250(std::string_view text, EncodeError* error = nullptr);

// Number of characters (code points) in UTF-8 text.
std::size_t utf8_length(std::string_view text);
// Byte offset of the character with the given index (or text.size()).
std::size_t utf8_offset(std::string_view text, std::size_t char_index);
// Decodes the code point starting at `pos`, advancing it; invalid bytes decode as U+FFFD.
char32_t utf8_next(std::string_view text, std::size_t& pos);
void utf8_append(std::string& out, char32_t cp);

// True when the bytes are well-formed UTF-8.
bool valid_utf8(std::string_view bytes);
// Text typed or stored by a person in either encoding: UTF-8 when it is well-formed, otherwise
// Windows-1250 (a Windows-1250 text with Polish letters is never well-formed UTF-8 in practice).
std::string utf8_from_either(std::string_view bytes);

// Upper case of ASCII and Polish letters (ą -> Ą ...); other characters are kept.
std::string upper_case(std::string_view text);

// Byte order of the Windows-1250 forms, used wherever lists are sorted.
bool cp1250_less(std::string_view a, std::string_view b);
// The first eight Windows-1250 bytes of a text, padded with zeros, as one number: texts whose
// numbers differ are in that order by cp1250_less. None when one of those characters has no
// Windows-1250 byte (only the whole comparison orders such a text).
std::optional<std::uint64_t> cp1250_prefix_key(std::string_view text);

}  // namespace xamo
