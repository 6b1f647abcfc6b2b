// Fault injection on the simulated machine: which call fails, how it shows in the trace, and what a failed call
// leaves behind.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "tests/simulator/machine_fixture.h"

namespace {

std::vector<bool> FaultedFlags(const std::vector<winsim::Call> &calls) {
  std::vector<bool> flags;
  for (const winsim::Call &call : calls) flags.push_back(call.faulted);
  return flags;
}

TEST_F(MachineTest, FailCallFailsExactlyThatOccurrence) {
  machine().PutFile("C:\\F.TXT", "f");
  machine().FailCall("CreateFileA", 2);
  machine().FailCall("CreateFileA", 4);
  DirectCalls calls(machine(), "C:\\");
  std::vector<bool> opened;
  for (int i = 0; i < 5; ++i) {
    HANDLE file = OpenForReading("C:\\F.TXT");
    opened.push_back(file != INVALID_HANDLE_VALUE);
    if (file == INVALID_HANDLE_VALUE) {
      EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
    } else {
      CloseHandle(file);
    }
  }
  EXPECT_EQ(opened, (std::vector<bool>{true, false, true, false, true}));
  std::vector<winsim::Call> opens = machine().CallsOf("CreateFileA");
  EXPECT_EQ(FaultedFlags(opens), (std::vector<bool>{false, true, false, true, false}));
  EXPECT_EQ(opens[1].result, "0xffffffffffffffff error 5");
  EXPECT_FALSE(machine().CallsOf("CloseHandle")[0].faulted) << "other operations are counted apart";
  EXPECT_TRUE(machine().AnyFaultInjected());
}

TEST_F(MachineTest, FailCallsFromFailsThatOccurrenceAndEveryLaterOne) {
  machine().PutFile("C:\\F.TXT", "abcd");
  machine().FailCallsFrom("ReadFile", 2);
  DirectCalls calls(machine(), "C:\\");
  HANDLE file = OpenForReading("C:\\F.TXT");
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  std::vector<bool> read;
  for (int i = 0; i < 4; ++i) {
    char byte;
    DWORD got = 7;
    read.push_back(ReadFile(file, &byte, 1, &got, NULL) != FALSE);
    if (!read.back()) {
      EXPECT_EQ(got, 0u);
      EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_READ_FAULT));
    }
  }
  EXPECT_EQ(read, (std::vector<bool>{true, false, false, false}));
  EXPECT_EQ(FaultedFlags(machine().CallsOf("ReadFile")), (std::vector<bool>{false, true, true, true}));
  CloseHandle(file);
}

TEST_F(MachineTest, FailNthFaultableCallCountsOnlyCallsThatCanFailOverEveryRun) {
  machine().FailNthFaultableCall(4);
  char buffer[MAX_PATH];
  {
    DirectCalls calls(machine(), "C:\\");
    GetCommandLineA();  // none of these can fail, so none is counted
    GetDesktopWindow();
    lstrlenA("text");
    EXPECT_NE(GetWindowsDirectoryA(buffer, sizeof buffer), 0u);
    EXPECT_NE(GetSystemDirectoryA(buffer, sizeof buffer), 0u);
  }
  EXPECT_EQ(machine().FaultableCallsMade(), 2);
  EXPECT_FALSE(machine().AnyFaultInjected());
  DirectCalls calls(machine(), "C:\\");
  EXPECT_NE(GetWindowsDirectoryA(buffer, sizeof buffer), 0u);
  EXPECT_EQ(GetSystemDirectoryA(buffer, sizeof buffer), 0u);
  EXPECT_NE(GetSystemDirectoryA(buffer, sizeof buffer), 0u);
  EXPECT_TRUE(machine().AnyFaultInjected());
  std::vector<bool> flags = FaultedFlags(machine().Trace());
  EXPECT_EQ(std::count(flags.begin(), flags.end(), true), 1);
  EXPECT_TRUE(machine().Trace()[machine().Trace().size() - 2].faulted);
}

// A failed call does nothing and says why through GetLastError.
struct FailedCallCase {
  const char *name;
  const char *operation;
  std::function<bool()> call;  // true when it succeeded
  DWORD error;
};
void PrintTo(const FailedCallCase &value, std::ostream *out) { *out << value.name; }

class FailedCall : public MachineTest, public testing::WithParamInterface<FailedCallCase> {};

TEST_P(FailedCall, ChangesNothing) {
  const FailedCallCase &c = GetParam();
  machine().PutFile("C:\\WINDOWS\\WIN.INI", "[windows]\r\n");
  machine().PutFile("C:\\WINDOWS\\UNST.TMP", "temporary");
  machine().PutFile("C:\\WINDOWS\\SYSTEM.INI", "[386Enh]\r\n");
  machine().PutFile("C:\\WINDOWS\\UNINST.EXE", "MZ");
  machine().PutFile("C:\\ZOV\\PM.EXE", "MZ");
  machine().MakeDirectory("C:\\EMPTY");
  machine().SetProgram("C:\\WINDOWS\\UNINST.EXE", {{{winsim::ProgramAction::Kind::DeleteFile, "C:\\ZOV\\PM.EXE"}}, 0});
  machine().FailCall(c.operation, 1);
  auto before = std::filesystem::recursive_directory_iterator(machine().DriveC());
  std::vector<std::string> entriesBefore;
  for (const auto &entry : before) entriesBefore.push_back(entry.path().string());
  std::string winIni = *machine().FileBytes("C:\\WINDOWS\\WIN.INI");
  std::string systemIni = *machine().FileBytes("C:\\WINDOWS\\SYSTEM.INI");
  {
    DirectCalls calls(machine(), "C:\\WINDOWS");
    SetLastError(0);
    EXPECT_FALSE(c.call());
    EXPECT_EQ(GetLastError(), c.error);
    ASSERT_EQ(machine().CallsOf(c.operation).size(), 1u);
    EXPECT_TRUE(machine().CallsOf(c.operation)[0].faulted);
    EXPECT_TRUE(machine().OpenHandles().empty());
  }
  std::vector<std::string> entriesAfter;
  for (const auto &entry : std::filesystem::recursive_directory_iterator(machine().DriveC())) {
    entriesAfter.push_back(entry.path().string());
  }
  EXPECT_EQ(entriesAfter, entriesBefore);
  EXPECT_EQ(*machine().FileBytes("C:\\WINDOWS\\WIN.INI"), winIni);
  EXPECT_EQ(*machine().FileBytes("C:\\WINDOWS\\SYSTEM.INI"), systemIni);
}

INSTANTIATE_TEST_SUITE_P(
    Faults, FailedCall,
    testing::Values(
        FailedCallCase{"CreateFile", "CreateFileA",
                       [] {
                         return CreateFileA("C:\\NEW.TXT", GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL) !=
                                INVALID_HANDLE_VALUE;
                       },
                       ERROR_ACCESS_DENIED},
        FailedCallCase{"DeleteFile", "DeleteFileA", [] { return DeleteFileA("UNST.TMP") != FALSE; },
                       ERROR_ACCESS_DENIED},
        FailedCallCase{"CopyFile", "CopyFileA", [] { return CopyFileA("UNST.TMP", "SYSTEM.INI", FALSE) != FALSE; },
                       ERROR_ACCESS_DENIED},
        FailedCallCase{"RemoveDirectory", "RemoveDirectoryA", [] { return RemoveDirectoryA("C:\\EMPTY") != FALSE; },
                       ERROR_ACCESS_DENIED},
        FailedCallCase{"GetTempFileName", "GetTempFileNameA",
                       [] {
                         char name[MAX_PATH];
                         return GetTempFileNameA("C:\\WINDOWS", "unst", 0, name) != 0;
                       },
                       ERROR_ACCESS_DENIED},
        FailedCallCase{"FindFirstFile", "FindFirstFileA",
                       [] {
                         WIN32_FIND_DATAA data;
                         return FindFirstFileA("*.INI", &data) != INVALID_HANDLE_VALUE;
                       },
                       ERROR_FILE_NOT_FOUND},
        FailedCallCase{"WriteProfileString", "WriteProfileStringA",
                       [] { return WriteProfileStringA("ZOV 4260-WIN", "Install", "1") != FALSE; }, ERROR_WRITE_FAULT},
        FailedCallCase{"GetPrivateProfileStringGivesTheDefault", "GetPrivateProfileStringA",
                       [] {
                         char value[16];
                         DWORD count =
                             GetPrivateProfileStringA("windows", NULL, "dflt ", value, sizeof value, "WIN.INI");
                         return !(count == 4 && std::string(value) == "dflt");
                       },
                       ERROR_READ_FAULT},
        FailedCallCase{"CreateProcess", "CreateProcessA",
                       [] {
                         STARTUPINFOA startup{};
                         PROCESS_INFORMATION process{};
                         char commandLine[] = "UNINST.EXE";
                         return CreateProcessA(NULL, commandLine, NULL, NULL, FALSE, 0, NULL, NULL, &startup,
                                               &process) != FALSE;
                       },
                       ERROR_NOT_ENOUGH_MEMORY}),
    [](const testing::TestParamInfo<FailedCallCase> &info) { return std::string(info.param.name); });

TEST_F(MachineTest, FailedCloseLeavesTheHandleOpenForAnotherClose) {
  machine().PutFile("C:\\F.TXT", "f");
  machine().FailCall("CloseHandle", 1);
  DirectCalls calls(machine(), "C:\\");
  HANDLE file = OpenForReading("C:\\F.TXT");
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  EXPECT_FALSE(CloseHandle(file));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
  EXPECT_EQ(OpenHandles(), (std::multiset<std::string>{"file C:\\F.TXT"}));
  EXPECT_TRUE(CloseHandle(file));
  EXPECT_TRUE(machine().OpenHandles().empty());
}

}  // namespace
