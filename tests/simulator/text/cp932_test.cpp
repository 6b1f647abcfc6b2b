// Tests of the code page 932 conversions and the DBCS-aware ASCII case handling.
#include "platform/simulated/text/cp932.h"

#include <gtest/gtest.h>

#include <string>

namespace winsim {
namespace {

// Byte strings are written as hex escapes; a helper keeps embedded NULs.
std::string B(const char *s, size_t n) { return std::string(s, n); }

TEST(Cp932LeadByte, RangeBoundaries) {
  const struct {
    unsigned char c;
    bool lead;
  } cases[] = {
      {0x00, false}, {0x40, false}, {0x7F, false}, {0x80, false}, {0x81, true},  {0x9F, true},  {0xA0, false},
      {0xA1, false}, {0xDF, false}, {0xE0, true},  {0xFC, true},  {0xFD, false}, {0xFF, false},
  };
  for (const auto &c : cases) EXPECT_EQ(IsCp932LeadByte(c.c), c.lead) << std::hex << int(c.c);
}

TEST(Utf8ToCp932, ConvertsAndFlagsSubstitutes) {
  const struct {
    std::string utf8;
    std::string cp932;
    bool exact;
  } cases[] = {
      {"", "", true},
      {"QMSETUP.EXE", "QMSETUP.EXE", true},
      {B("a\0b", 3), B("a\0b", 3), true},
      {"ドライバ", "\x83\x68\x83\x89\x83\x43\x83\x6F", true},
      {"表ソ", "\x95\x5C\x83\x5C", true},  // trail byte 0x5C, the file-name trap
      {"｡ｱﾟ", "\xA1\xB1\xDF", true},       // half-width katakana are single bytes
      {"・", "\x81\x45", true},            // U+30FB
      {"･", "\xA5", true},                 // U+FF65
      {"～＼－―", "\x81\x60\x81\x5F\x81\x7C\x81\x5C", true},
      {"①≒¬", "\x87\x40\x81\xE0\x81\xCA", true},
      {"纊ⅰ", "\xFA\x5C\xFA\x40", true},  // IBM extensions, not the NEC-selected duplicates
      {"\u0E01", "?", false},
      {"a\uAC00b", "a?b", false},
      {"\U0001F600", "?", false},  // one substitute per character
      {"\xFF"
       "A",
       "?A", false},
      {"\xE3\x81"
       "A",
       "?A", false},                   // truncated sequence
      {"\xC0\xAF", "??", false},       // overlong
      {"\xED\xA0\x80", "???", false},  // encoded surrogate
      {"\xE3\x83", "?", false},        // truncated at the end
  };
  for (const auto &c : cases) {
    bool exact = !c.exact;
    EXPECT_EQ(Utf8ToCp932(c.utf8, &exact), c.cp932) << c.utf8;
    EXPECT_EQ(exact, c.exact) << c.utf8;
  }
  EXPECT_EQ(Utf8ToCp932("\u0E01"), "?");  // exact is optional
}

TEST(Cp932ToUtf8, ConvertsAndReplacesInvalidBytes) {
  const struct {
    std::string cp932;
    std::string utf8;
  } cases[] = {
      {"", ""},
      {"\\~", "\\~"},
      {"\x83\x68\x83\x89\x83\x43\x83\x6F", "ドライバ"},
      {"\x95\x5C\x83\x5C", "表ソ"},
      {"\xA1\xB1\xDF", "｡ｱﾟ"},
      {"\x81\x45\xA5", "・･"},
      {"\x81\x60\x81\x5F\x81\x7C\x81\x5C\x81\x91", "～＼－―￠"},
      {"\xED\x40\xFA\x5C", "纊纊"},
      {"\xF0\x40", "\uE000"},  // user-defined characters map to private use
      {"\x80", "\uFFFD"},
      {"\xA0\xFD\xFE\xFF", "\uFFFD\uFFFD\uFFFD\uFFFD"},
      {"A\x81", "A\uFFFD"},    // lead byte at the end
      {"\x81\n", "\uFFFD\n"},  // not a trail byte: kept as its own character
      {"\x81\x7F", "\uFFFD\x7F"},
      {"\x85\x40"
       "A",
       "\uFFFD"
       "A"},  // unassigned pair: one replacement for both bytes
  };
  for (const auto &c : cases) EXPECT_EQ(Cp932ToUtf8(c.cp932), c.utf8) << c.utf8;
}

TEST(Utf16ToCp932, ConvertsEachCodeUnit) {
  const struct {
    std::u16string text;
    std::string cp932;
  } cases[] = {
      {u"", ""},
      {u"Setup", "Setup"},
      {u"ドライバ", "\x83\x68\x83\x89\x83\x43\x83\x6F"},
      {u"\u30FB\uFF65\uFF71", "\x81\x45\xA5\xB1"},
      {u"a\u0E01b", "a?b"},
      {u"\U0001F600", "??"},  // a pair is two units
      {std::u16string(1, u'\xD800') + u"x", "?x"},
  };
  for (const auto &c : cases) EXPECT_EQ(Utf16ToCp932(c.text), c.cp932) << c.cp932;
}

TEST(CompareIgnoringAsciiCase, FoldsOnlySingleByteLetters) {
  const struct {
    std::string a, b;
    int sign;
  } cases[] = {
      {"", "", 0},
      {"qmsetup.exe", "QMSETUP.EXE", 0},
      {"abc", "abd", -1},
      {"ab", "abc", -1},
      {"_", "a", 1},                  // letters fold to upper case
      {"\x83\x61", "\x83\x41", 1},    // trail bytes 'a' / 'A' are different characters
      {"\x83\x61x", "\x83\x61X", 0},  // folding resumes after the double-byte character
      {"\x81\x81z", "\x81\x81Z", 0},  // a trail byte in the lead range is not a lead
      {"\xB1z", "\xB1Z", 0},          // half-width katakana are single bytes
      {"\x95\x5C", "\x95\x5D", -1},
      {"\xE0", "a", 1},  // compared as unsigned bytes
  };
  for (const auto &c : cases) {
    EXPECT_EQ(CompareIgnoringAsciiCase(c.a, c.b), c.sign) << c.a << " / " << c.b;
    EXPECT_EQ(CompareIgnoringAsciiCase(c.b, c.a), -c.sign) << c.b << " / " << c.a;
    EXPECT_EQ(EqualIgnoringAsciiCase(c.a, c.b), c.sign == 0) << c.a << " / " << c.b;
  }
}

TEST(UpperAscii, KeepsTrailBytes) {
  const struct {
    std::string in, out;
  } cases[] = {
      {"", ""},
      {"qmSetup.exe", "QMSETUP.EXE"},
      {"\x83\x61"
       "a",
       "\x83\x61"
       "A"},
      {"\x81\x81z", "\x81\x81Z"},
      {"\xB1z", "\xB1Z"},
      {"a\x83", "A\x83"},
  };
  for (const auto &c : cases) EXPECT_EQ(UpperAscii(c.in), c.out) << c.in;
}

}  // namespace
}  // namespace winsim
