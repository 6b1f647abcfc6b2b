// Tests of FindFirstFileA-style wildcard matching.
#include "platform/simulated/text/wildcard.h"

#include <gtest/gtest.h>

#include <string>

namespace winsim {
namespace {

TEST(WildcardMatch, Table) {
  const struct {
    std::string pattern, name;
    bool match;
  } cases[] = {
      {"qm*.exe", "QMSETUP.EXE", true},
      {"qm*.exe", "qm.exe", true},
      {"qm*.exe", "aqm.exe", false},
      {"qm*.exe", "qm1.exe.bak", false},
      {"*.exe", "a.b.exe", true},
      {"*", "", true},
      {"*", "anything", true},
      {"", "", true},
      {"", "a", false},
      {"a", "", false},
      {"**a**", "xax", true},
      {"*a*b", "aXbXb", true},  // the star must give back and retry
      {"*a*b", "aXbXc", false},
      {"?", "a", true},
      {"?", "", false},
      {"?", "ab", false},
      {"???.txt", "abc.txt", true},
      {"???.txt", "ab.txt", false},
      {"a?c", "A.C", true},
      // Double-byte names: "ドライバ.INF" and "表.TXT" (trail byte 0x5C).
      {"?.txt", "\x95\x5C.TXT", true},
      {"??.txt", "\x95\x5C.TXT", false},
      {"????.inf", "\x83\x68\x83\x89\x83\x43\x83\x6F.INF", true},
      {"\x83\x68*", "\x83\x68\x83\x89\x83\x43\x83\x6F.INF", true},
      {"*\x83\x6F.inf", "\x83\x68\x83\x89\x83\x43\x83\x6F.INF", true},
      {"\x83\x41", "\x83\x61", false},  // trail byte not case-folded
      {"?\x61", "\x83\x61", false},     // 0x61 there is a trail byte, not a character
      {"*a", "\x83\x61", false},
      {"*\\*", "\x95\x5C", false},  // nor is the 0x5C of U+8868 a backslash
      {"\xB1*", "\xB1Z", true},     // half-width katakana are single bytes
      {"*.*", "README", true},
      {"*.*", "setup.exe", true},
      {"*.*", "", true},
      {"*.*x", "README", false},  // only the whole pattern "*.*" is special
      {"*.", "README", false},
  };
  for (const auto &c : cases) {
    EXPECT_EQ(WildcardMatch(c.pattern, c.name), c.match) << '"' << c.pattern << "\" vs \"" << c.name << '"';
  }
}

}  // namespace
}  // namespace winsim
