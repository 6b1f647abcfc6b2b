// Paths and files of the simulated machine: path forms, CreateFileA, sharing, deletion, copies, directories,
// temporary names and directory searches, called directly as a program would.
#include <gtest/gtest.h>

#include <fstream>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "tests/simulator/machine_fixture.h"

namespace {

const std::string kHyoji = "\x95\x5C\x8E\xA6";  // 表示: the trail byte of 表 is 0x5C
const std::string kHyo = "\x95\x5C";            // 表 alone: the name ends in 0x5C
constexpr DWORD kUnchecked = 0xFFFFFFFFu;
constexpr DWORD kShareBoth = FILE_SHARE_READ | FILE_SHARE_WRITE;

// ---- Path forms

struct PathCase {
  const char *name;
  std::string currentDirectory;
  std::string path;
  std::optional<std::string> content;  // of the file opened; nullopt when the opening fails...
  DWORD error = kUnchecked;            // ...with this error
};
void PrintTo(const PathCase &value, std::ostream *out) { *out << value.name; }

class PathForms : public MachineTest, public testing::WithParamInterface<PathCase> {
 protected:
  void SetUp() override {
    MachineTest::SetUp();
    machine().PutFile("C:\\F.TXT", "root");
    machine().PutFile("C:\\DIR\\F.TXT", "dir");
    machine().PutFile("C:\\DIR\\SUB\\F.TXT", "sub");
    machine().PutFile("C:\\" + kHyoji + "\\F.TXT", "hyoji");
    machine().PutFile("C:\\" + kHyo + "\\F.TXT", "hyo");
    // Spelt on the host otherwise than the program spells it.
    std::filesystem::create_directories(machine().DriveC() / "Mixed");
    std::ofstream(machine().DriveC() / "Mixed" / "ReadMe.Txt") << "mixed";
  }
};

TEST_P(PathForms, NameTheFileWindowsWouldOpen) {
  const PathCase &c = GetParam();
  DirectCalls calls(machine(), c.currentDirectory);
  HANDLE file = OpenForReading(c.path.c_str());
  if (!c.content) {
    EXPECT_EQ(file, INVALID_HANDLE_VALUE);
    if (c.error != kUnchecked) {
      EXPECT_EQ(GetLastError(), c.error);
    }
    return;
  }
  ASSERT_NE(file, INVALID_HANDLE_VALUE) << "error " << GetLastError();
  EXPECT_EQ(ReadAll(file), *c.content);
  EXPECT_TRUE(CloseHandle(file));
}

INSTANTIATE_TEST_SUITE_P(
    Paths, PathForms,
    testing::Values(PathCase{"Absolute", "C:\\DIR", "C:\\DIR\\SUB\\F.TXT", "sub"},
                    PathCase{"CaseIgnored", "C:\\DIR", "c:\\dir\\Sub\\f.txt", "sub"},
                    PathCase{"HostSpeltInAnotherCase", "C:\\", "C:\\MIXED\\README.TXT", "mixed"},
                    PathCase{"Slashes", "C:\\DIR", "C:/DIR/SUB/F.TXT", "sub"},
                    PathCase{"SlashesAndBackslashes", "C:\\DIR", "C:\\DIR/SUB\\F.TXT", "sub"},
                    PathCase{"RelativeName", "C:\\DIR", "F.TXT", "dir"},
                    PathCase{"RelativeWithDirectory", "C:\\DIR", "SUB\\F.TXT", "sub"},
                    PathCase{"DotDirectory", "C:\\DIR", ".\\F.TXT", "dir"},
                    PathCase{"FromTheRoot", "C:\\DIR", "\\F.TXT", "root"},
                    PathCase{"FromTheRootWithSlash", "C:\\DIR", "/DIR/F.TXT", "dir"},
                    PathCase{"DriveAndRelative", "C:\\DIR", "C:F.TXT", "dir"},
                    PathCase{"DriveAndRelativeDirectory", "C:\\DIR", "C:SUB\\F.TXT", "sub"},
                    PathCase{"Parent", "C:\\DIR\\SUB", "..\\F.TXT", "dir"},
                    PathCase{"ParentInTheMiddle", "C:\\DIR", "SUB\\..\\F.TXT", "dir"},
                    PathCase{"NeverAboveTheRoot", "C:\\DIR", "..\\..\\..\\F.TXT", "root"},
                    PathCase{"DoubleByteNameWithTrailByte5C", "C:\\", "C:\\" + kHyoji + "\\F.TXT", "hyoji"},
                    PathCase{"DoubleByteNameEndingIn5C", "C:\\", "C:\\" + kHyo + "\\F.TXT", "hyo"},
                    PathCase{"RelativeFromADoubleByteDirectory", "C:\\" + kHyo, "F.TXT", "hyo"},
                    PathCase{"ParentOfADoubleByteDirectory", "C:\\" + kHyo, "..\\DIR\\F.TXT", "dir"},
                    PathCase{"DoubleByteDirectoryThenParent", "C:\\DIR", "\\" + kHyoji + "\\..\\F.TXT", "root"},
                    PathCase{"MissingFile", "C:\\DIR", "SUB\\NONE.TXT", std::nullopt, ERROR_FILE_NOT_FOUND},
                    PathCase{"MissingDirectory", "C:\\DIR", "NODIR\\F.TXT", std::nullopt, ERROR_PATH_NOT_FOUND},
                    PathCase{"BelowAFile", "C:\\DIR", "F.TXT\\F.TXT", std::nullopt, ERROR_PATH_NOT_FOUND},
                    PathCase{"AnotherDrive", "C:\\DIR", "D:\\F.TXT", std::nullopt},
                    PathCase{"EmptyPath", "C:\\DIR", "", std::nullopt}),
    [](const testing::TestParamInfo<PathCase> &info) { return std::string(info.param.name); });

TEST_F(MachineTest, CurrentDirectoryIsSetThroughADoubleByteNameAndReportedAsSpeltOnTheDisk) {
  machine().PutFile("C:\\" + kHyo + "\\F.TXT", "hyo");
  machine().MakeDirectory("C:\\Work");
  DirectCalls calls(machine(), "C:\\");
  ASSERT_TRUE(SetCurrentDirectoryA(kHyo.c_str()));
  HANDLE file = OpenForReading("F.TXT");
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  EXPECT_EQ(ReadAll(file), "hyo");
  CloseHandle(file);

  char buffer[MAX_PATH];
  ASSERT_TRUE(SetCurrentDirectoryA("\\WORK"));
  EXPECT_EQ(GetCurrentDirectoryA(sizeof buffer, buffer), 7u);
  EXPECT_STREQ(buffer, "C:\\Work");
  EXPECT_FALSE(SetCurrentDirectoryA("C:\\NONE"));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PATH_NOT_FOUND));
}

// ---- CreateFileA

struct DispositionCase {
  const char *name;
  bool exists;  // the file holds "old" before the call
  DWORD access;
  DWORD disposition;
  bool opens;
  DWORD error;                       // GetLastError after the call
  std::optional<std::string> after;  // the file afterwards
};
void PrintTo(const DispositionCase &value, std::ostream *out) { *out << value.name; }

class Dispositions : public MachineTest, public testing::WithParamInterface<DispositionCase> {};

TEST_P(Dispositions, OpenCreateOrEmptyTheFile) {
  const DispositionCase &c = GetParam();
  if (c.exists) machine().PutFile("C:\\DATA\\F.TXT", "old");
  machine().MakeDirectory("C:\\DATA");
  {
    DirectCalls calls(machine(), "C:\\DATA");
    HANDLE file = CreateFileA("F.TXT", c.access, 0, NULL, c.disposition, FILE_ATTRIBUTE_NORMAL, NULL);
    DWORD error = GetLastError();
    EXPECT_EQ(file != INVALID_HANDLE_VALUE, c.opens);
    if (c.error != kUnchecked) {
      EXPECT_EQ(error, c.error);
    }
    if (file != INVALID_HANDLE_VALUE) {
      EXPECT_TRUE(CloseHandle(file));
    }
  }
  EXPECT_EQ(machine().FileBytes("C:\\DATA\\F.TXT"), c.after);
  EXPECT_TRUE(machine().OpenHandles().empty());
}

const DWORD kRead = GENERIC_READ;
const DWORD kReadWrite = GENERIC_READ | GENERIC_WRITE;

INSTANTIATE_TEST_SUITE_P(
    CreateFile, Dispositions,
    testing::Values(
        DispositionCase{"OpenExisting", true, kRead, OPEN_EXISTING, true, kUnchecked, "old"},
        DispositionCase{"OpenExistingMissing", false, kRead, OPEN_EXISTING, false, ERROR_FILE_NOT_FOUND, std::nullopt},
        DispositionCase{"CreateNew", false, kReadWrite, CREATE_NEW, true, kUnchecked, ""},
        DispositionCase{"CreateNewExisting", true, kReadWrite, CREATE_NEW, false, ERROR_FILE_EXISTS, "old"},
        DispositionCase{"CreateAlwaysMissing", false, kReadWrite, CREATE_ALWAYS, true, ERROR_SUCCESS, ""},
        DispositionCase{"CreateAlwaysEmptiesExisting", true, kReadWrite, CREATE_ALWAYS, true, ERROR_ALREADY_EXISTS, ""},
        DispositionCase{"OpenAlwaysMissing", false, kReadWrite, OPEN_ALWAYS, true, ERROR_SUCCESS, ""},
        DispositionCase{"OpenAlwaysKeepsExisting", true, kReadWrite, OPEN_ALWAYS, true, ERROR_ALREADY_EXISTS, "old"},
        DispositionCase{"TruncateExisting", true, kReadWrite, TRUNCATE_EXISTING, true, kUnchecked, ""},
        DispositionCase{"TruncateExistingMissing", false, kReadWrite, TRUNCATE_EXISTING, false, ERROR_FILE_NOT_FOUND,
                        std::nullopt},
        DispositionCase{"NoSuchDisposition", true, kReadWrite, 0, false, ERROR_INVALID_PARAMETER, "old"}),
    [](const testing::TestParamInfo<DispositionCase> &info) { return std::string(info.param.name); });

struct RefusalCase {
  const char *name;
  std::string path;
  DWORD access;
  DWORD disposition;
  DWORD error;
};
void PrintTo(const RefusalCase &value, std::ostream *out) { *out << value.name; }

class OpeningRefused : public MachineTest, public testing::WithParamInterface<RefusalCase> {};

TEST_P(OpeningRefused, WithTheErrorWindowsGives) {
  const RefusalCase &c = GetParam();
  machine().PutFile("C:\\RO.TXT", "kept");
  machine().SetReadOnly("C:\\RO.TXT", true);
  machine().MakeDirectory("C:\\DIR");
  DirectCalls calls(machine(), "C:\\");
  EXPECT_EQ(CreateFileA(c.path.c_str(), c.access, kShareBoth, NULL, c.disposition, 0, NULL), INVALID_HANDLE_VALUE);
  EXPECT_EQ(GetLastError(), c.error);
  EXPECT_EQ(machine().FileBytes("C:\\RO.TXT"), std::optional<std::string>("kept"));
  EXPECT_TRUE(machine().OpenHandles().empty());
}

INSTANTIATE_TEST_SUITE_P(
    CreateFile, OpeningRefused,
    testing::Values(RefusalCase{"ReadOnlyForWriting", "C:\\RO.TXT", kReadWrite, OPEN_EXISTING, ERROR_ACCESS_DENIED},
                    RefusalCase{"ReadOnlyRecreated", "C:\\RO.TXT", kReadWrite, CREATE_ALWAYS, ERROR_ACCESS_DENIED},
                    RefusalCase{"ADirectory", "C:\\DIR", kRead, OPEN_EXISTING, ERROR_ACCESS_DENIED},
                    RefusalCase{"NewFileInAMissingDirectory", "C:\\NONE\\F.TXT", kReadWrite, CREATE_ALWAYS,
                                ERROR_PATH_NOT_FOUND},
                    RefusalCase{"Wildcard", "C:\\*.TXT", kRead, OPEN_EXISTING, ERROR_INVALID_NAME}),
    [](const testing::TestParamInfo<RefusalCase> &info) { return std::string(info.param.name); });

TEST_F(MachineTest, ReadOnlyFileOpensForReading) {
  machine().PutFile("C:\\RO.TXT", "kept");
  machine().SetReadOnly("C:\\RO.TXT", true);
  DirectCalls calls(machine(), "C:\\");
  HANDLE file = OpenForReading("C:\\RO.TXT");
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  EXPECT_EQ(ReadAll(file), "kept");
  EXPECT_TRUE(CloseHandle(file));
}

struct SharingCase {
  const char *name;
  DWORD firstAccess, firstShare;
  DWORD secondAccess, secondShare;
  bool secondOpens;
};
void PrintTo(const SharingCase &value, std::ostream *out) { *out << value.name; }

class Sharing : public MachineTest, public testing::WithParamInterface<SharingCase> {};

TEST_P(Sharing, SecondOpeningNeedsBothToShare) {
  const SharingCase &c = GetParam();
  machine().PutFile("C:\\F.TXT", "data");
  DirectCalls calls(machine(), "C:\\");
  HANDLE first = CreateFileA("C:\\F.TXT", c.firstAccess, c.firstShare, NULL, OPEN_EXISTING, 0, NULL);
  ASSERT_NE(first, INVALID_HANDLE_VALUE);
  HANDLE second = CreateFileA("c:\\f.txt", c.secondAccess, c.secondShare, NULL, OPEN_EXISTING, 0, NULL);
  if (c.secondOpens) {
    EXPECT_NE(second, INVALID_HANDLE_VALUE);
    CloseHandle(second);
  } else {
    EXPECT_EQ(second, INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SHARING_VIOLATION));
  }
  // Once the first is closed nothing stands in the way.
  EXPECT_TRUE(CloseHandle(first));
  second = CreateFileA("C:\\F.TXT", c.secondAccess, c.secondShare, NULL, OPEN_EXISTING, 0, NULL);
  EXPECT_NE(second, INVALID_HANDLE_VALUE);
  CloseHandle(second);
}

INSTANTIATE_TEST_SUITE_P(
    CreateFile, Sharing,
    testing::Values(SharingCase{"BothReadSharingRead", kRead, FILE_SHARE_READ, kRead, FILE_SHARE_READ, true},
                    SharingCase{"BothShareEverything", kReadWrite, kShareBoth, kReadWrite, kShareBoth, true},
                    SharingCase{"FirstSharesNothing", kRead, 0, kRead, kShareBoth, false},
                    SharingCase{"FirstDoesNotShareWriting", kRead, FILE_SHARE_READ, kReadWrite, kShareBoth, false},
                    SharingCase{"SecondDoesNotShareTheFirstsReading", kRead, kShareBoth, kRead, 0, false},
                    SharingCase{"SecondDoesNotShareTheFirstsWriting", kReadWrite, kShareBoth, kRead, FILE_SHARE_READ,
                                false}),
    [](const testing::TestParamInfo<SharingCase> &info) { return std::string(info.param.name); });

// ---- DeleteFileA, CopyFileA, RemoveDirectoryA

struct DeleteCase {
  const char *name;
  std::string path;
  DWORD error;           // ERROR_SUCCESS: deleted
  std::string survivor;  // a file that must still be there
};
void PrintTo(const DeleteCase &value, std::ostream *out) { *out << value.name; }

class Deletion : public MachineTest, public testing::WithParamInterface<DeleteCase> {};

TEST_P(Deletion, DeletesOnlyAWritableFile) {
  const DeleteCase &c = GetParam();
  machine().PutFile("C:\\DIR\\F.TXT", "f");
  machine().PutFile("C:\\DIR\\RO.TXT", "ro");
  machine().SetReadOnly("C:\\DIR\\RO.TXT", true);
  machine().MakeDirectory("C:\\DIR\\SUB");
  DirectCalls calls(machine(), "C:\\DIR");
  BOOL deleted = DeleteFileA(c.path.c_str());
  if (c.error == ERROR_SUCCESS) {
    EXPECT_TRUE(deleted);
    EXPECT_FALSE(machine().Exists("C:\\DIR\\F.TXT"));
  } else {
    EXPECT_FALSE(deleted);
    EXPECT_EQ(GetLastError(), c.error);
    EXPECT_TRUE(machine().Exists(c.survivor));
  }
}

INSTANTIATE_TEST_SUITE_P(DeleteFile, Deletion,
                         testing::Values(DeleteCase{"RelativeName", "f.txt", ERROR_SUCCESS, ""},
                                         DeleteCase{"AbsoluteName", "C:\\DIR\\F.TXT", ERROR_SUCCESS, ""},
                                         DeleteCase{"Missing", "NONE.TXT", ERROR_FILE_NOT_FOUND, "C:\\DIR\\F.TXT"},
                                         DeleteCase{"MissingDirectory", "NONE\\F.TXT", ERROR_PATH_NOT_FOUND,
                                                    "C:\\DIR\\F.TXT"},
                                         DeleteCase{"ReadOnly", "RO.TXT", ERROR_ACCESS_DENIED, "C:\\DIR\\RO.TXT"},
                                         DeleteCase{"ADirectory", "SUB", ERROR_ACCESS_DENIED, "C:\\DIR\\SUB"},
                                         DeleteCase{"Wildcard", "*.TXT", ERROR_INVALID_NAME, "C:\\DIR\\F.TXT"}),
                         [](const testing::TestParamInfo<DeleteCase> &info) { return std::string(info.param.name); });

TEST_F(MachineTest, AnOpenFileIsNotDeleted) {
  machine().PutFile("C:\\OPEN.TXT", "open");
  DirectCalls calls(machine(), "C:\\");
  HANDLE open = OpenForReading("C:\\OPEN.TXT", kShareBoth);
  ASSERT_NE(open, INVALID_HANDLE_VALUE);
  EXPECT_FALSE(DeleteFileA("C:\\OPEN.TXT"));
  EXPECT_TRUE(machine().Exists("C:\\OPEN.TXT"));
  CloseHandle(open);
  EXPECT_TRUE(DeleteFileA("C:\\OPEN.TXT"));
}

struct CopyCase {
  const char *name;
  std::string from, to;
  BOOL failIfExists;
  DWORD error;                       // ERROR_SUCCESS: copied
  std::optional<std::string> after;  // the target afterwards
};
void PrintTo(const CopyCase &value, std::ostream *out) { *out << value.name; }

class Copies : public MachineTest, public testing::WithParamInterface<CopyCase> {};

TEST_P(Copies, ReplaceTheTargetWhole) {
  const CopyCase &c = GetParam();
  machine().PutFile("C:\\WINDOWS\\unst1.TMP", "new content");
  machine().PutFile("C:\\WINDOWS\\SYSTEM.INI", "old content that is longer");
  machine().PutFile("C:\\WINDOWS\\RO.INI", "read-only");
  machine().SetReadOnly("C:\\WINDOWS\\RO.INI", true);
  machine().PutFile("C:\\WINDOWS\\HELD.INI", "held");
  DirectCalls calls(machine(), "C:\\WINDOWS");
  HANDLE held = OpenForReading("HELD.INI", FILE_SHARE_READ);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  BOOL copied = CopyFileA(c.from.c_str(), c.to.c_str(), c.failIfExists);
  if (c.error == ERROR_SUCCESS) {
    EXPECT_TRUE(copied);
  } else {
    EXPECT_FALSE(copied);
    EXPECT_EQ(GetLastError(), c.error);
  }
  EXPECT_EQ(machine().FileBytes(c.to), c.after);
  EXPECT_EQ(machine().FileBytes("C:\\WINDOWS\\unst1.TMP"), std::optional<std::string>("new content"));
  CloseHandle(held);
}

INSTANTIATE_TEST_SUITE_P(
    CopyFile, Copies,
    testing::Values(
        CopyCase{"OverAnExistingFile", "unst1.tmp", "C:\\WINDOWS\\SYSTEM.INI", FALSE, ERROR_SUCCESS, "new content"},
        CopyCase{"ToANewFile", "C:\\WINDOWS\\UNST1.TMP", "C:\\NEW.INI", TRUE, ERROR_SUCCESS, "new content"},
        CopyCase{"FailIfExists", "unst1.tmp", "C:\\WINDOWS\\SYSTEM.INI", TRUE, ERROR_FILE_EXISTS,
                 "old content that is longer"},
        CopyCase{"OverAReadOnlyFile", "unst1.tmp", "C:\\WINDOWS\\RO.INI", FALSE, ERROR_ACCESS_DENIED, "read-only"},
        CopyCase{"OverAFileHeldOpen", "unst1.tmp", "C:\\WINDOWS\\HELD.INI", FALSE, ERROR_SHARING_VIOLATION, "held"},
        CopyCase{"MissingSource", "none.tmp", "C:\\WINDOWS\\SYSTEM.INI", FALSE, ERROR_FILE_NOT_FOUND,
                 "old content that is longer"},
        CopyCase{"IntoAMissingDirectory", "unst1.tmp", "C:\\NONE\\SYSTEM.INI", FALSE, ERROR_PATH_NOT_FOUND,
                 std::nullopt}),
    [](const testing::TestParamInfo<CopyCase> &info) { return std::string(info.param.name); });

struct RemoveDirectoryCase {
  const char *name;
  std::string path;
  bool removed;
  DWORD error = kUnchecked;
  bool searchLeftOpen = false;  // a search of C:\EMPTY is open at the time
};
void PrintTo(const RemoveDirectoryCase &value, std::ostream *out) { *out << value.name; }

class DirectoryRemoval : public MachineTest, public testing::WithParamInterface<RemoveDirectoryCase> {};

TEST_P(DirectoryRemoval, RemovesOnlyAnEmptyDirectoryThatIsNotCurrent) {
  const RemoveDirectoryCase &c = GetParam();
  machine().MakeDirectory("C:\\EMPTY");
  machine().PutFile("C:\\FULL\\F.TXT", "f");
  machine().MakeDirectory("C:\\HERE");
  machine().MakeDirectory("C:\\" + kHyo);
  DirectCalls calls(machine(), "C:\\HERE");
  bool existed = !c.path.empty() && machine().Exists(c.path);
  WIN32_FIND_DATAA found;
  HANDLE search = c.searchLeftOpen ? FindFirstFileA("C:\\EMPTY\\*", &found) : INVALID_HANDLE_VALUE;
  EXPECT_EQ(RemoveDirectoryA(c.path.c_str()) != FALSE, c.removed);
  if (!c.removed && c.error != kUnchecked) {
    EXPECT_EQ(GetLastError(), c.error);
  }
  if (search != INVALID_HANDLE_VALUE) FindClose(search);
  if (!c.path.empty()) {
    EXPECT_EQ(machine().Exists(c.path), existed && !c.removed);
  }
}

INSTANTIATE_TEST_SUITE_P(
    RemoveDirectory, DirectoryRemoval,
    testing::Values(RemoveDirectoryCase{"Empty", "C:\\EMPTY", true},
                    RemoveDirectoryCase{"EmptyByRelativeName", "..\\empty", true},
                    RemoveDirectoryCase{"EmptyWithDoubleByteName", "C:\\" + kHyo, true},
                    RemoveDirectoryCase{"HoldingAFile", "C:\\FULL", false, ERROR_ACCESS_DENIED},
                    // Windows 95 holds a directory in use while a search of it is open.
                    RemoveDirectoryCase{"WhileASearchOfItIsOpen", "C:\\EMPTY", false, ERROR_SHARING_VIOLATION, true},
                    RemoveDirectoryCase{"WhileASearchOfAnotherIsOpen", "C:\\" + kHyo, true, kUnchecked, true},
                    RemoveDirectoryCase{"TheCurrentDirectory", "C:\\HERE", false, ERROR_CURRENT_DIRECTORY},
                    RemoveDirectoryCase{"AFile", "C:\\FULL\\F.TXT", false},
                    RemoveDirectoryCase{"Missing", "C:\\NONE", false}, RemoveDirectoryCase{"EmptyPath", "", false},
                    RemoveDirectoryCase{"TheRoot", "C:\\", false}),
    [](const testing::TestParamInfo<RemoveDirectoryCase> &info) { return std::string(info.param.name); });

// ---- GetTempFileNameA

std::string Upper(std::string text) {
  for (char &c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return text;
}

TEST_F(MachineTest, TemporaryNamesAreNewFilesMadeEmpty) {
  std::set<std::string> names;
  {
    DirectCalls calls(machine(), "C:\\");
    for (const char *directory : {"C:\\WINDOWS", "C:\\WINDOWS\\", "c:\\windows"}) {
      char name[MAX_PATH] = "";
      UINT number = GetTempFileNameA(directory, "unst", 0, name);
      EXPECT_NE(number, 0u);
      std::string text = name;
      EXPECT_EQ(Upper(text.substr(0, 14)), "C:\\WINDOWS\\UNS") << text;
      EXPECT_EQ(Upper(text.substr(text.size() - 4)), ".TMP") << text;
      EXPECT_EQ(text.find("\\\\"), std::string::npos) << text;
      EXPECT_EQ(machine().FileBytes(text), std::optional<std::string>("")) << text;
      names.insert(Upper(text));
    }
  }
  EXPECT_EQ(names.size(), 3u);
  EXPECT_TRUE(machine().OpenHandles().empty());

  // A later start of Windows finds the files left behind and picks other names.
  auto later = SameDriveMachine();
  DirectCalls calls(*later, "C:\\");
  char name[MAX_PATH] = "";
  ASSERT_NE(GetTempFileNameA("C:\\WINDOWS", "unst", 0, name), 0u);
  EXPECT_EQ(names.count(Upper(name)), 0u) << name;
}

TEST_F(MachineTest, TemporaryNameWithAGivenNumberIsOnlyFormed) {
  DirectCalls calls(machine(), "C:\\");
  char name[MAX_PATH] = "";
  EXPECT_EQ(GetTempFileNameA("C:\\WINDOWS", "unst", 0x12, name), 0x12u);
  EXPECT_EQ(Upper(name), "C:\\WINDOWS\\UNS12.TMP");
  EXPECT_FALSE(machine().Exists(name));
}

TEST_F(MachineTest, NoTemporaryNameInAMissingDirectory) {
  DirectCalls calls(machine(), "C:\\");
  char name[MAX_PATH] = "";
  EXPECT_EQ(GetTempFileNameA("C:\\NONE", "unst", 0, name), 0u);
  EXPECT_FALSE(machine().Exists("C:\\NONE"));
}

// ---- FindFirstFileA, FindNextFileA, FindClose

struct SearchCase {
  const char *name;
  std::string pattern;
  std::set<std::string> found;  // names found, as spelt on the disk; empty: INVALID_HANDLE_VALUE...
  DWORD error = kUnchecked;     // ...with this error
};
void PrintTo(const SearchCase &value, std::ostream *out) { *out << value.name; }

class Searches : public MachineTest, public testing::WithParamInterface<SearchCase> {
 protected:
  void SetUp() override {
    MachineTest::SetUp();
    machine().PutFile("C:\\WORK\\A.TXT", "a");
    machine().PutFile("C:\\WORK\\AB.TXT", "ab");
    machine().PutFile("C:\\WORK\\qm1.exe", "MZ");
    machine().PutFile("C:\\WORK\\SUB\\QM2.EXE", "MZ");
    machine().PutFile("C:\\" + kHyo + "\\B.TXT", "b");
    machine().PutFile("C:\\ROOT.TXT", "root");
  }
};

TEST_P(Searches, FindTheMatchingEntries) {
  const SearchCase &c = GetParam();
  DirectCalls calls(machine(), "C:\\WORK");
  WIN32_FIND_DATAA data;
  HANDLE search = FindFirstFileA(c.pattern.c_str(), &data);
  if (c.found.empty()) {
    EXPECT_EQ(search, INVALID_HANDLE_VALUE);
    if (c.error != kUnchecked) {
      EXPECT_EQ(GetLastError(), c.error);
    }
    EXPECT_TRUE(machine().OpenHandles().empty());
    return;
  }
  ASSERT_NE(search, INVALID_HANDLE_VALUE) << "error " << GetLastError();
  std::set<std::string> found;
  do {
    EXPECT_TRUE(found.insert(data.cFileName).second) << data.cFileName << " found twice";
    bool directory = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    std::string name = data.cFileName;
    EXPECT_EQ(directory,
              name == "SUB" || name == kHyo || name == "WORK" || name == "WINDOWS" || name == "." || name == "..")
        << name;
  } while (FindNextFileA(search, &data));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NO_MORE_FILES));
  EXPECT_EQ(found, c.found);
  EXPECT_TRUE(FindClose(search));
  EXPECT_TRUE(machine().OpenHandles().empty());
}

INSTANTIATE_TEST_SUITE_P(
    FindFirstFile, Searches,
    testing::Values(
        // A directory below the root lists its own "." and ".." entries, as FAT keeps them.
        SearchCase{"StarInTheCurrentDirectory", "*", {".", "..", "A.TXT", "AB.TXT", "qm1.exe", "SUB"}},
        SearchCase{"StarDotStar", "*.*", {".", "..", "A.TXT", "AB.TXT", "qm1.exe", "SUB"}},
        SearchCase{"StarAtTheRootHasNoDotEntries", "C:\\*", {"ROOT.TXT", "WINDOWS", "WORK", kHyo}},
        SearchCase{"QuestionMarkIsOneCharacter", "?.TXT", {"A.TXT"}},
        SearchCase{"CaseIgnored", "a*.txt", {"A.TXT", "AB.TXT"}},
        SearchCase{"ProbeInTheCurrentDirectoryOnly", "QM*.EXE", {"qm1.exe"}},
        SearchCase{"ProbeInASubdirectory", "sub\\qm*.exe", {"QM2.EXE"}},
        SearchCase{"AbsolutePattern", "C:\\WORK\\*.TXT", {"A.TXT", "AB.TXT"}},
        SearchCase{"PatternFromTheRoot", "\\*.TXT", {"ROOT.TXT"}},
        SearchCase{"PatternWithParent", "..\\WORK\\A*", {"A.TXT", "AB.TXT"}},
        SearchCase{"ExactFileName", "C:\\WORK\\AB.TXT", {"AB.TXT"}},
        SearchCase{"ADirectoryByName", "C:\\WORK\\SUB", {"SUB"}},
        SearchCase{"ADirectoryByAnotherCase", "c:\\work", {"WORK"}},
        SearchCase{"DoubleByteDirectoryEndingIn5C", "C:\\" + kHyo, {kHyo}},
        SearchCase{"InsideADoubleByteDirectory", "C:\\" + kHyo + "\\*.TXT", {"B.TXT"}},
        SearchCase{"TrailingBackslashMatchesNothing", "C:\\WORK\\SUB\\", {}},
        SearchCase{"EmptyPatternMatchesNothing", "", {}}, SearchCase{"NoMatch", "*.INI", {}, ERROR_FILE_NOT_FOUND},
        SearchCase{"MissingDirectory", "NONE\\*", {}, ERROR_PATH_NOT_FOUND}),
    [](const testing::TestParamInfo<SearchCase> &info) { return std::string(info.param.name); });

TEST_F(MachineTest, SearchHandleIsClosedByFindCloseAloneAndOnlyOnce) {
  machine().PutFile("C:\\WORK\\A.TXT", "a");
  DirectCalls calls(machine(), "C:\\WORK");
  WIN32_FIND_DATAA data;
  HANDLE search = FindFirstFileA("A.TXT", &data);
  ASSERT_NE(search, INVALID_HANDLE_VALUE);
  EXPECT_FALSE(CloseHandle(search));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
  EXPECT_EQ(machine().OpenHandles().size(), 1u);
  EXPECT_FALSE(FindNextFileA(search, &data));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NO_MORE_FILES));
  EXPECT_TRUE(FindClose(search));
  EXPECT_TRUE(machine().OpenHandles().empty());
  EXPECT_FALSE(FindClose(search));
  EXPECT_FALSE(FindNextFileA(search, &data));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));

  HANDLE file = OpenForReading("A.TXT");
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  EXPECT_FALSE(FindClose(file));  // nor is a file closed by FindClose
  EXPECT_TRUE(CloseHandle(file));
}

}  // namespace
