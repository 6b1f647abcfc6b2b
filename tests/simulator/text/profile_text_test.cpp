// Tests of profile (.INI) text lookup, enumeration and editing.
#include "platform/simulated/text/profile_text.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace winsim {
namespace {

const std::string kIni =
    "top=before any section\r\n"
    "[Setup]\r\n"
    "Name=ZOV 4260\r\n"
    "  Path = C:\\ZOV  \r\n"
    "Quoted=\"  padded  \"\r\n"
    "Single='x'\r\n"
    "Mixed=\"x'\r\n"
    "Lone=\"\r\n"
    "Empty=\r\n"
    ";Comment=no\r\n"
    "  ;Indented=no\r\n"
    "NoEquals\r\n"
    "name=second\r\n"
    "Eq=a=b\r\n"
    "Tab\t=\tv\t\r\n"
    "\t[ Other ] ; note\n"
    "Key=other\n"
    "[setup]\r\n"
    "Later=hidden\r\n"
    "[DBCS]\r\n"
    "\x83\x61=lower\r\n"
    "[Open\r\n"
    "k=unclosed\r\n"
    "[Ends]\r\n"
    "Last=end\x1A[After]\r\nk=v\r\n";

TEST(ProfileLookup, Table) {
  const struct {
    std::string content, section, key;
    std::optional<std::string> value;
  } cases[] = {
      {kIni, "Setup", "Name", "ZOV 4260"},
      {kIni, "SETUP", "name", "ZOV 4260"},  // the first of two keys wins
      {kIni, "setup", "PATH", "C:\\ZOV"},
      {kIni, "Setup", "Quoted", "  padded  "},
      {kIni, "Setup", "Single", "x"},
      {kIni, "Setup", "Mixed", "\"x'"},
      {kIni, "Setup", "Lone", "\""},
      {kIni, "Setup", "Empty", ""},
      {kIni, "Setup", "Eq", "a=b"},
      {kIni, "Setup", "Tab", "v"},
      {kIni, "Setup", "Comment", std::nullopt},
      {kIni, "Setup", ";Comment", std::nullopt},
      {kIni, "Setup", ";Indented", std::nullopt},
      {kIni, "Setup", "NoEquals", std::nullopt},
      {kIni, "Setup", "Later", std::nullopt},  // only the first [Setup] is read
      {kIni, "Setup", "top", std::nullopt},
      {kIni, "", "top", std::nullopt},  // a key before any section is in none
      {kIni, "other", "key", "other"},  // LF line ends, blanks around the name
      {kIni, "DBCS", "\x83\x61", "lower"},
      {kIni, "DBCS", "\x83\x41", std::nullopt},  // trail byte is not case-folded
      {kIni, "Open", "k", "unclosed"},
      {kIni, "Ends", "Last", "end"},  // Ctrl-Z ends the content
      {kIni, "After", "k", std::nullopt},
      {kIni, "Missing", "Name", std::nullopt},
      {"", "Setup", "Name", std::nullopt},
      {"[A]\r\nk=1", "a", "K", "1"},      // last line without a line end
      {"[A]\r\nk=1\r", "A", "k", "1\r"},  // a lone CR is text
  };
  for (const auto &c : cases) {
    EXPECT_EQ(ProfileLookup(c.content, c.section, c.key), c.value) << "[" << c.section << "] " << c.key;
  }
}

TEST(ProfileNames, SectionsAndKeysInFileOrder) {
  EXPECT_EQ(ProfileSectionNames(kIni), (std::vector<std::string>{"Setup", "Other", "setup", "DBCS", "Open", "Ends"}));
  EXPECT_EQ(ProfileKeyNames(kIni, "SETUP"), (std::vector<std::string>{"Name", "Path", "Quoted", "Single", "Mixed",
                                                                      "Lone", "Empty", "name", "Eq", "Tab"}));
  EXPECT_EQ(ProfileKeyNames(kIni, "Ends"), (std::vector<std::string>{"Last"}));
  EXPECT_TRUE(ProfileKeyNames(kIni, "Missing").empty());
  EXPECT_TRUE(ProfileSectionNames("").empty());
}

const std::string kBase =
    "; kit settings\r\n"
    "[Setup]\r\n"
    "Name=old\r\n"
    "Path=C:\\ZOV\r\n"
    "\r\n"
    "[Files]\n"
    "a.dll=1\n"
    "\n"
    "[Tail]\r\n"
    "x=1";

TEST(ProfileWrite, Table) {
  const struct {
    const char *what;
    std::string content, section;
    std::optional<std::string> key, value;
    std::string expected;
  } cases[] = {
      {"replace keeps the file's spelling", kBase, "setup", "NAME", "new",
       "; kit settings\r\n[Setup]\r\nName=new\r\nPath=C:\\ZOV\r\n\r\n[Files]\r\na.dll=1\r\n\r\n[Tail]\r\nx=1\r\n"},
      {"new key after the last non-blank line", kBase, "Setup", "Mode", "full",
       "; kit settings\r\n[Setup]\r\nName=old\r\nPath=C:\\ZOV\r\nMode=full\r\n\r\n[Files]\r\na.dll=1\r\n\r\n"
       "[Tail]\r\nx=1\r\n"},
      {"new key in an LF section", kBase, "files", "b.dll", "2",
       "; kit settings\r\n[Setup]\r\nName=old\r\nPath=C:\\ZOV\r\n\r\n[Files]\r\na.dll=1\r\nb.dll=2\r\n\r\n"
       "[Tail]\r\nx=1\r\n"},
      {"new key after an unended last line", kBase, "Tail", "y", "2",
       "; kit settings\r\n[Setup]\r\nName=old\r\nPath=C:\\ZOV\r\n\r\n[Files]\r\na.dll=1\r\n\r\n"
       "[Tail]\r\nx=1\r\ny=2\r\n"},
      {"new section", kBase, "New", "k", "v",
       "; kit settings\r\n[Setup]\r\nName=old\r\nPath=C:\\ZOV\r\n\r\n[Files]\r\na.dll=1\r\n\r\n"
       "[Tail]\r\nx=1\r\n\r\n[New]\r\nk=v\r\n"},
      {"delete key", kBase, "Setup", "path", std::nullopt,
       "; kit settings\r\n[Setup]\r\nName=old\r\n\r\n[Files]\r\na.dll=1\r\n\r\n[Tail]\r\nx=1\r\n"},
      {"delete section", kBase, "FILES", std::nullopt, std::nullopt,
       "; kit settings\r\n[Setup]\r\nName=old\r\nPath=C:\\ZOV\r\n\r\n[Tail]\r\nx=1\r\n"},
      {"delete absent key", kBase, "Setup", "Nope", std::nullopt, kBase},
      {"delete key of absent section", kBase, "Nope", "Name", std::nullopt, kBase},
      {"delete absent section", kBase, "Nope", std::nullopt, std::nullopt, kBase},
      {"new section in empty content", "", "S", "k", "v", "[S]\r\nk=v\r\n"},
      {"new section after a blank last line", "[A]\nk=1\n\n", "B", "x", "y", "[A]\r\nk=1\r\n\r\n[B]\r\nx=y\r\n"},
      {"new key before trailing blank lines", "[A]\nk=1\n\n", "A", "m", "2", "[A]\r\nk=1\r\nm=2\r\n\r\n"},
      {"new key in a section with only blanks", "[A]\r\n \r\n[B]\r\n", "a", "k", "v", "[A]\r\nk=v\r\n \r\n[B]\r\n"},
      {"empty value", "[A]\r\nk=1\r\n", "A", "k", "", "[A]\r\nk=\r\n"},
      {"header and blanks kept", "  [ A ] ;c\r\n  k = 1 \r\n", "a", "K", "2", "  [ A ] ;c\r\nk=2\r\n"},
      {"only the first of duplicate sections", "[A]\r\nk=1\r\n[a]\r\nk=2\r\n", "A", "k", "3",
       "[A]\r\nk=3\r\n[a]\r\nk=2\r\n"},
      {"delete only the first of duplicate sections", "[A]\r\nk=1\r\n[a]\r\nk=2\r\n", "A", std::nullopt, std::nullopt,
       "[a]\r\nk=2\r\n"},
      {"delete only the first of duplicate keys", "[A]\r\nk=1\r\nK=2\r\n", "A", "k", std::nullopt, "[A]\r\nK=2\r\n"},
      {"a key before any section is not the section's", "k=0\r\n[A]\r\n", "A", "k", "1", "k=0\r\n[A]\r\nk=1\r\n"},
      {"new section goes before Ctrl-Z", "[A]\r\nk=1\r\n\x1A[B]\r\n", "B", "x", "y",
       "[A]\r\nk=1\r\n\r\n[B]\r\nx=y\r\n\x1A[B]\r\n"},
      {"DBCS key names are not case-folded", "[A]\r\n\x83\x61=1\r\n", "A", "\x83\x41", "2",
       "[A]\r\n\x83\x61=1\r\n\x83\x41=2\r\n"},
  };
  for (const auto &c : cases) {
    EXPECT_EQ(ProfileWrite(c.content, c.section, c.key ? &*c.key : nullptr, c.value ? &*c.value : nullptr), c.expected)
        << c.what;
  }
}

}  // namespace
}  // namespace winsim
