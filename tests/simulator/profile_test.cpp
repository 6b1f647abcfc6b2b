// Profile strings on the simulated machine: which file is read, defaults, cutting, lists, and win.ini writes.
#include <gtest/gtest.h>

#include <cstring>
#include <optional>
#include <string>

#include "tests/simulator/machine_fixture.h"

namespace {

using namespace std::string_literals;

const std::string kHyo = "\x95\x5C";  // 表: its trail byte is 0x5C

struct ProfileCase {
  const char *name;
  const char *section;
  const char *key;
  const char *defaultValue;
  DWORD size;
  std::string file;
  std::string expected;  // the buffer up to the count returned (lists with their inner NULs)
};
void PrintTo(const ProfileCase &value, std::ostream *out) { *out << value.name; }

class PrivateProfile : public MachineTest, public testing::WithParamInterface<ProfileCase> {
 protected:
  void SetUp() override {
    MachineTest::SetUp();
    machine().PutFile("C:\\WINDOWS\\P.INI",
                      "[S]\r\nK=windows\r\nQuoted=\"in quotes\"\r\nPadded =  padded   \r\n\r\n[Other]\r\nX=1\r\n");
    machine().PutFile("C:\\OTHER\\P.INI", "[S]\r\nK=other\r\n");
    machine().PutFile("C:\\WINDOWS\\" + kHyo + ".INI", "[S]\r\nK=hyo\r\n");
  }
};

TEST_P(PrivateProfile, GivesTheValueOrTheDefault) {
  const ProfileCase &c = GetParam();
  DirectCalls calls(machine(), "C:\\OTHER");
  char buffer[64];
  std::memset(buffer, 'X', sizeof buffer);
  ASSERT_LE(c.size, sizeof buffer);
  DWORD count = GetPrivateProfileStringA(c.section, c.key, c.defaultValue, buffer, c.size, c.file.c_str());
  ASSERT_LT(count, c.size);
  EXPECT_EQ(std::string(buffer, count), c.expected);
  EXPECT_EQ(buffer[count], '\0');
  // A list cut short ends its last name with two NULs.
  if ((c.section == nullptr || c.key == nullptr) && count + 2 == c.size) {
    EXPECT_EQ(buffer[count + 1], '\0');
  }
}

INSTANTIATE_TEST_SUITE_P(
    GetPrivateProfileString, PrivateProfile,
    testing::Values(ProfileCase{"BareNameFromTheWindowsDirectory", "S", "K", "d", 64, "P.INI", "windows"},
                    ProfileCase{"CaseIgnored", "s", "k", "d", 64, "p.ini", "windows"},
                    ProfileCase{"PathTakenAsIs", "S", "K", "d", 64, "C:\\OTHER\\P.INI", "other"},
                    ProfileCase{"RelativePathTakenAsIs", "S", "K", "d", 64, ".\\P.INI", "other"},
                    ProfileCase{"DoubleByteBareName", "S", "K", "d", 64, kHyo + ".INI", "hyo"},
                    ProfileCase{"QuotesDropped", "S", "Quoted", "d", 64, "P.INI", "in quotes"},
                    ProfileCase{"BlanksAroundDropped", "S", "padded", "d", 64, "P.INI", "padded"},
                    ProfileCase{"CutToSizeLessOne", "S", "K", "d", 5, "P.INI", "wind"},
                    ProfileCase{"SizeOneGivesNothing", "S", "K", "d", 1, "P.INI", ""},
                    ProfileCase{"BlankDefaultGivesNothing", "S", "None", " ", 64, "P.INI", ""},
                    ProfileCase{"TrailingBlanksOfTheDefaultDropped", "S", "None", " none  ", 64, "P.INI", " none"},
                    ProfileCase{"DefaultCut", "S", "None", "default", 4, "P.INI", "def"},
                    ProfileCase{"NullDefault", "S", "None", nullptr, 64, "P.INI", ""},
                    ProfileCase{"MissingSection", "None", "K", "d", 64, "P.INI", "d"},
                    ProfileCase{"MissingFile", "S", "K", "d", 64, "NONE.INI", "d"},
                    ProfileCase{"MissingDirectory", "S", "K", "d", 64, "C:\\NONE\\P.INI", "d"},
                    ProfileCase{"NullSectionListsSections", nullptr, nullptr, "d", 64, "P.INI", "S\0Other\0"s},
                    ProfileCase{"NullKeyListsKeys", "s", nullptr, "d", 64, "P.INI", "K\0Quoted\0Padded\0"s},
                    ProfileCase{"ListCutEndsWithTwoNuls", "S", nullptr, "d", 6, "P.INI", "K\0Qu"s},
                    ProfileCase{"NullKeyOfAMissingSection", "None", nullptr, "d", 64, "P.INI", ""}),
    [](const testing::TestParamInfo<ProfileCase> &info) { return std::string(info.param.name); });

class WinIni : public MachineTest {
 protected:
  std::string Read(const char *section, const char *key) {
    char buffer[260];
    DWORD count = GetProfileStringA(section, key, " ", buffer, sizeof buffer);
    return std::string(buffer, count);
  }
  size_t Occurrences(const std::string &text) {
    std::string bytes = machine().FileBytes("C:\\WINDOWS\\WIN.INI").value_or("");
    size_t count = 0;
    for (size_t at = bytes.find(text); at != std::string::npos; at = bytes.find(text, at + 1)) ++count;
    return count;
  }
};

TEST_F(WinIni, WriteCreatesSectionAndKeyThenReplacesTheValue) {
  machine().PutFile("C:\\WINDOWS\\WIN.INI", "[windows]\r\nload=\r\n\r\n[ZOV 4260-WIN]\r\nExecuteFile=C:\\PM.EXE\r\n");
  DirectCalls calls(machine(), "C:\\");
  EXPECT_EQ(Read("zov 4260-win", "EXECUTEFILE"), "C:\\PM.EXE");

  ASSERT_TRUE(WriteProfileStringA("ZOV 4260-WIN", "Install", "1"));
  EXPECT_EQ(Read("ZOV 4260-WIN", "Install"), "1");
  EXPECT_EQ(Read("ZOV 4260-WIN", "ExecuteFile"), "C:\\PM.EXE");
  ASSERT_TRUE(WriteProfileStringA("zov 4260-win", "INSTALL", "0"));
  EXPECT_EQ(Read("ZOV 4260-WIN", "Install"), "0");
  EXPECT_EQ(Occurrences("Install=0\r\n"), 1u);
  EXPECT_EQ(Occurrences("Install=1"), 0u);

  ASSERT_TRUE(WriteProfileStringA("New", "Key", "value"));
  EXPECT_EQ(Read("new", "key"), "value");
  EXPECT_EQ(Occurrences("[New]\r\n"), 1u);
  EXPECT_EQ(Read("windows", "load"), "");
  EXPECT_EQ(Occurrences("[windows]\r\nload=\r\n"), 1u);
  // The same file, read as a private profile by its bare name.
  char buffer[16];
  EXPECT_EQ(GetPrivateProfileStringA("New", "Key", "", buffer, sizeof buffer, "win.ini"), 5u);
}

TEST_F(WinIni, WriteCreatesAMissingWinIni) {
  DirectCalls calls(machine(), "C:\\");
  EXPECT_EQ(Read("ZOV 4260-WIN", "Install"), "");
  ASSERT_TRUE(WriteProfileStringA("ZOV 4260-WIN", "Install", "1"));
  EXPECT_EQ(Read("ZOV 4260-WIN", "Install"), "1");
  EXPECT_TRUE(machine().Exists("C:\\WINDOWS\\WIN.INI"));
}

TEST_F(WinIni, ReadOnlyWinIniIsNotWritten) {
  machine().PutFile("C:\\WINDOWS\\WIN.INI", "[windows]\r\n");
  machine().SetReadOnly("C:\\WINDOWS\\WIN.INI", true);
  DirectCalls calls(machine(), "C:\\");
  EXPECT_FALSE(WriteProfileStringA("ZOV 4260-WIN", "Install", "1"));
  EXPECT_EQ(machine().FileBytes("C:\\WINDOWS\\WIN.INI"), std::optional<std::string>("[windows]\r\n"));
}

}  // namespace
