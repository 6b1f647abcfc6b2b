// Code page 932 (Shift-JIS as Windows defines it): conversions and DBCS-aware ASCII case handling.
#ifndef WINSIM_TEXT_CP932_H
#define WINSIM_TEXT_CP932_H

#include <string>
#include <string_view>

namespace winsim {

// True for bytes that start a double-byte character in code page 932: 0x81-0x9F and 0xE0-0xFC.
// The byte after a lead byte is a trail byte, whatever its value.
bool IsCp932LeadByte(unsigned char c);

// The converters use the C library's "CP932" iconv tables and throw std::runtime_error when the
// C library has none.

// Converts UTF-8 to code page 932. Each character that has no code page 932 form becomes one '?',
// and so does each ill-formed UTF-8 sequence (a stray byte, a truncated or overlong sequence, an
// encoded surrogate). When exact is given it is set to false if any '?' was substituted this way,
// true otherwise. Characters with a one-way ("best fit") mapping, such as U+00A5 YEN SIGN -> 0x5C,
// convert without counting as inexact.
std::string Utf8ToCp932(std::string_view utf8, bool *exact = nullptr);

// Converts code page 932 to UTF-8. A byte or byte pair that is no code page 932 character becomes
// U+FFFD: a lead byte followed by a valid trail byte (0x40-0x7E, 0x80-0xFC) consumes both bytes;
// a lead byte at the end or before any other byte consumes only itself. Unused single bytes
// (0x80, 0xA0, 0xFD-0xFF) each become U+FFFD.
std::string Cp932ToUtf8(std::string_view cp932);

// Converts UTF-16 to code page 932 as WideCharToMultiByte(CP_ACP, 0, ...) does on a Japanese
// Windows 95: every UTF-16 code unit is converted on its own, and one that has no code page 932
// form becomes '?' (so a surrogate pair becomes "??").
std::string Utf16ToCp932(std::u16string_view text);

// Compares byte strings ordinally, treating ASCII letters a-z as A-Z. Only single-byte characters
// are folded: the trail byte of a double-byte character is compared as it is. Returns -1, 0 or 1;
// a string that is a proper prefix of the other sorts first.
int CompareIgnoringAsciiCase(std::string_view a, std::string_view b);

// CompareIgnoringAsciiCase(a, b) == 0.
bool EqualIgnoringAsciiCase(std::string_view a, std::string_view b);

// Returns s with single-byte a-z turned into A-Z; trail bytes of double-byte characters are kept.
std::string UpperAscii(std::string_view s);

}  // namespace winsim

#endif  // WINSIM_TEXT_CP932_H
