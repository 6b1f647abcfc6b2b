// Processes on the simulated machine: how CreateProcessA finds the program, what the child gets and does, the
// handles it gives, and the command line a program receives.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/simulator/machine_fixture.h"

namespace {

const std::string kHyoji = "\x95\x5C\x8E\xA6";  // 表示: the trail byte of 表 is 0x5C

// Starts a command line as the product does; FALSE when it could not be started.
BOOL Start(std::string commandLine, PROCESS_INFORMATION *process, LPVOID environment = NULL,
           LPCSTR currentDirectory = NULL, STARTUPINFOA *startup = NULL) {
  STARTUPINFOA own{};
  own.cb = sizeof own;
  return CreateProcessA(NULL, commandLine.data(), NULL, NULL, FALSE, 0, environment, currentDirectory,
                        startup ? startup : &own, process);
}

void CloseProcess(const PROCESS_INFORMATION &process) {
  CloseHandle(process.hProcess);
  CloseHandle(process.hThread);
}

// ---- Search order of a bare program name

struct SearchOrderCase {
  const char *name;
  std::vector<std::string> holders;  // directories that hold UNINST.EXE
  std::string started;               // the program started; empty: none
};
void PrintTo(const SearchOrderCase &value, std::ostream *out) { *out << value.name; }

class SearchOrder : public MachineTest, public testing::WithParamInterface<SearchOrderCase> {};

TEST_P(SearchOrder, TakesTheFirstDirectoryThatHoldsTheProgram) {
  const SearchOrderCase &c = GetParam();
  machine().SetEnvironment({"PATH=C:\\PATHDIR;C:\\NONE"});
  machine().MakeDirectory("C:\\TOOLS");
  machine().MakeDirectory("C:\\WORK");
  for (const std::string &directory : c.holders) machine().PutFile(directory + "\\UNINST.EXE", "MZ");
  DirectCalls calls(machine(), "C:\\WORK", "C:\\TOOLS\\SETUP.EXE");
  PROCESS_INFORMATION process{};
  BOOL started = Start("uninst /S", &process);
  if (c.started.empty()) {
    EXPECT_FALSE(started);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
    EXPECT_EQ(machine().Processes().size(), 1u);
    return;
  }
  ASSERT_TRUE(started) << "error " << GetLastError();
  EXPECT_EQ(machine().Processes().back().program, c.started);
  CloseProcess(process);
}

INSTANTIATE_TEST_SUITE_P(
    CreateProcess, SearchOrder,
    testing::Values(SearchOrderCase{"StartingProgramsDirectoryFirst",
                                    {"C:\\PATHDIR", "C:\\WINDOWS", "C:\\WINDOWS\\SYSTEM", "C:\\WORK", "C:\\TOOLS"},
                                    "C:\\TOOLS\\UNINST.EXE"},
                    SearchOrderCase{"ThenTheCurrentDirectory",
                                    {"C:\\PATHDIR", "C:\\WINDOWS", "C:\\WINDOWS\\SYSTEM", "C:\\WORK"},
                                    "C:\\WORK\\UNINST.EXE"},
                    SearchOrderCase{"ThenTheSystemDirectory",
                                    {"C:\\PATHDIR", "C:\\WINDOWS", "C:\\WINDOWS\\SYSTEM"},
                                    "C:\\WINDOWS\\SYSTEM\\UNINST.EXE"},
                    SearchOrderCase{
                        "ThenTheWindowsDirectory", {"C:\\PATHDIR", "C:\\WINDOWS"}, "C:\\WINDOWS\\UNINST.EXE"},
                    SearchOrderCase{"ThenThePath", {"C:\\PATHDIR"}, "C:\\PATHDIR\\UNINST.EXE"},
                    SearchOrderCase{"Nowhere", {}, ""}),
    [](const testing::TestParamInfo<SearchOrderCase> &info) { return std::string(info.param.name); });

// ---- The first item of the command line

struct ProgramItemCase {
  const char *name;
  std::string commandLine;
  std::string started;  // empty: not started
};
void PrintTo(const ProgramItemCase &value, std::ostream *out) { *out << value.name; }

class ProgramItem : public MachineTest, public testing::WithParamInterface<ProgramItemCase> {};

TEST_P(ProgramItem, NamesTheProgramFile) {
  const ProgramItemCase &c = GetParam();
  machine().PutFile("C:\\Program Files\\ZOV\\UNINST.EXE", "MZ");
  machine().PutFile("C:\\WINDOWS\\UNINST.EXE", "MZ");
  machine().PutFile("C:\\WINDOWS\\" + kHyoji + ".EXE", "MZ");
  machine().PutFile("C:\\WORK\\TOOL.COM", "MZ");
  machine().PutFile("C:\\WORK\\README.TXT", "text");
  machine().PutFile("C:\\WORK\\NOEXT", "MZ");
  machine().MakeDirectory("C:\\WORK\\DIR.EXE");
  machine().PutFile("C:\\NEW.EXE", "MZ");
  machine().PutFile("C:\\NEW DRIVERS\\PMINST.EXE", "MZ");
  DirectCalls calls(machine(), "C:\\WORK");
  PROCESS_INFORMATION process{};
  BOOL started = Start(c.commandLine, &process);
  if (c.started.empty()) {
    EXPECT_FALSE(started);
    EXPECT_NE(GetLastError(), static_cast<DWORD>(ERROR_SUCCESS));
    EXPECT_EQ(machine().Processes().size(), 1u);
    EXPECT_TRUE(machine().OpenHandles().empty());
    return;
  }
  ASSERT_TRUE(started) << "error " << GetLastError();
  EXPECT_EQ(machine().Processes().back().program, c.started);
  EXPECT_EQ(machine().Processes().back().commandLine, c.commandLine);
  CloseProcess(process);
}

INSTANTIATE_TEST_SUITE_P(
    CreateProcess, ProgramItem,
    testing::Values(ProgramItemCase{"BareNameGetsExe", "uninst", "C:\\WINDOWS\\UNINST.EXE"},
                    ProgramItemCase{"NameAndArguments", "UNINST.EXE /S  /LOG ", "C:\\WINDOWS\\UNINST.EXE"},
                    ProgramItemCase{"QuotedName", "\"uninst.exe\" /S", "C:\\WINDOWS\\UNINST.EXE"},
                    ProgramItemCase{"QuotedPathWithABlank", "\"C:\\Program Files\\ZOV\\UNINST.EXE\" /S",
                                    "C:\\Program Files\\ZOV\\UNINST.EXE"},
                    // Unquoted, each text up to a blank is tried in turn, the shortest first.
                    ProgramItemCase{"UnquotedPathWithABlank", "C:\\Program Files\\ZOV\\UNINST.EXE /S",
                                    "C:\\Program Files\\ZOV\\UNINST.EXE"},
                    ProgramItemCase{"UnquotedPathTriesTheShortestFirst", "C:\\NEW DRIVERS\\PMINST.EXE", "C:\\NEW.EXE"},
                    ProgramItemCase{"QuotedPathWithoutExe", "\"c:\\program files\\zov\\uninst\"",
                                    "C:\\Program Files\\ZOV\\UNINST.EXE"},
                    ProgramItemCase{"PathWithoutExe", "C:\\WINDOWS\\UNINST /S", "C:\\WINDOWS\\UNINST.EXE"},
                    ProgramItemCase{"PathWithSlashes", "C:/WINDOWS/uninst.exe", "C:\\WINDOWS\\UNINST.EXE"},
                    ProgramItemCase{"RelativePath", "..\\WINDOWS\\UNINST.EXE", "C:\\WINDOWS\\UNINST.EXE"},
                    ProgramItemCase{"TabEndsTheItem", "UNINST.EXE\t/S", "C:\\WINDOWS\\UNINST.EXE"},
                    ProgramItemCase{"ComProgram", "TOOL.COM", "C:\\WORK\\TOOL.COM"},
                    ProgramItemCase{"DoubleByteBareName", kHyoji, "C:\\WINDOWS\\" + kHyoji + ".EXE"},
                    ProgramItemCase{"EmptyCommandLine", "", ""}, ProgramItemCase{"BlanksOnly", "   ", ""},
                    ProgramItemCase{"MissingProgram", "C:\\WINDOWS\\NONE.EXE", ""},
                    ProgramItemCase{"NotAProgram", "README.TXT", ""},
                    ProgramItemCase{"NameWithoutExtensionIsLookedForAsExe", "NOEXT", ""},
                    ProgramItemCase{"ADirectoryIsNoProgram", "DIR.EXE", ""}),
    [](const testing::TestParamInfo<ProgramItemCase> &info) { return std::string(info.param.name); });

// ---- What the child gets and does

class ChildProcess : public MachineTest {
 protected:
  void SetUp() override {
    MachineTest::SetUp();
    machine().PutFile("C:\\WINDOWS\\UNINST.EXE", "MZ");
    machine().PutFile("C:\\WINDOWS\\LATER.EXE", "MZ");
    machine().PutFile("C:\\ZOV\\PM.EXE", "MZ");
    machine().PutFile("C:\\ZOV\\LOCAL.TXT", "local to the child");
    machine().PutFile("C:\\WORK\\LOCAL.TXT", "local to the parent");
    machine().PutFile("C:\\ZOV\\LATER.TXT", "left for later");
    machine().SetProgram("c:\\windows\\uninst.exe", {{{winsim::ProgramAction::Kind::DeleteFile, "C:\\ZOV\\PM.EXE"},
                                                      {winsim::ProgramAction::Kind::DeleteFile, "LOCAL.TXT"},
                                                      {winsim::ProgramAction::Kind::Start, "LATER.EXE /LATE"}},
                                                     3});
    machine().SetProgram("C:\\WINDOWS\\LATER.EXE",
                         {{{winsim::ProgramAction::Kind::DeleteFile, "C:\\ZOV\\LATER.TXT"}}, 0});
    machine().SetEnvironment({"PATH=C:\\WINDOWS", "ZOV=1"});
    machine().SetShowCommand(SW_SHOWMINIMIZED);
  }
};

TEST_F(ChildProcess, RunsItsBehaviourGetsStartupAndEnvironmentAndLeavesHandlesToClose) {
  {
    DirectCalls calls(machine(), "C:\\WORK");
    STARTUPINFOA startup{};
    GetStartupInfoA(&startup);
    EXPECT_EQ(startup.cb, sizeof startup);
    EXPECT_TRUE(startup.dwFlags & STARTF_USESHOWWINDOW);
    EXPECT_EQ(startup.wShowWindow, SW_SHOWMINIMIZED);
    LPSTR environment = GetEnvironmentStrings();
    EXPECT_EQ(std::string(environment, 22), std::string("PATH=C:\\WINDOWS\0ZOV=1\0\0", 22));

    PROCESS_INFORMATION process{};
    ASSERT_TRUE(Start("UNINST.EXE /S  /LOG", &process, environment, "C:\\ZOV", &startup));
    EXPECT_FALSE(machine().Exists("C:\\ZOV\\PM.EXE"));
    EXPECT_FALSE(machine().Exists("C:\\ZOV\\LOCAL.TXT")) << "a relative name is taken in the child's directory";
    EXPECT_TRUE(machine().Exists("C:\\WORK\\LOCAL.TXT"));
    EXPECT_TRUE(machine().Exists("C:\\ZOV\\LATER.TXT")) << "what the child started runs only later";

    EXPECT_EQ(WaitForSingleObject(process.hProcess, INFINITE), WAIT_OBJECT_0);
    DWORD exitCode = 0;
    ASSERT_TRUE(GetExitCodeProcess(process.hProcess, &exitCode));
    EXPECT_EQ(exitCode, 3u);
    EXPECT_EQ(OpenHandles(),
              (std::multiset<std::string>{"process C:\\WINDOWS\\UNINST.EXE", "thread of C:\\WINDOWS\\UNINST.EXE"}));
    EXPECT_TRUE(CloseHandle(process.hProcess));
    EXPECT_FALSE(GetExitCodeProcess(process.hProcess, &exitCode));
    EXPECT_FALSE(CloseHandle(process.hProcess));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
    EXPECT_EQ(WaitForSingleObject(process.hProcess, INFINITE), WAIT_FAILED);
    EXPECT_TRUE(CloseHandle(process.hThread));
    EXPECT_TRUE(machine().OpenHandles().empty());
  }
  EXPECT_FALSE(machine().Exists("C:\\ZOV\\LATER.TXT")) << "once the caller has ended, the later program has run";

  const std::vector<winsim::ProcessRecord> &processes = machine().Processes();
  ASSERT_EQ(processes.size(), 3u);
  const winsim::ProcessRecord &child = processes[1];
  EXPECT_EQ(child.commandLine, "UNINST.EXE /S  /LOG");
  EXPECT_EQ(child.currentDirectory, "C:\\ZOV");
  EXPECT_EQ(child.environment, std::string("PATH=C:\\WINDOWS\0ZOV=1\0\0", 23));
  EXPECT_EQ(child.startup.wShowWindow, SW_SHOWMINIMIZED);
  EXPECT_EQ(child.parentId, processes[0].id);
  EXPECT_FALSE(child.deferred);
  EXPECT_EQ(processes[2].program, "C:\\WINDOWS\\LATER.EXE");
  EXPECT_EQ(processes[2].commandLine, "LATER.EXE /LATE");
  EXPECT_EQ(processes[2].parentId, child.id);
  EXPECT_TRUE(processes[2].deferred);
}

TEST_F(ChildProcess, WithoutEnvironmentOrDirectoryTakesTheParents) {
  {
    DirectCalls calls(machine(), "C:\\WORK");
    PROCESS_INFORMATION process{};
    ASSERT_TRUE(Start("UNINST", &process));
    CloseProcess(process);
  }
  EXPECT_FALSE(machine().Exists("C:\\WORK\\LOCAL.TXT"));
  EXPECT_TRUE(machine().Exists("C:\\ZOV\\LOCAL.TXT"));
  const winsim::ProcessRecord &child = machine().Processes().at(1);
  EXPECT_EQ(child.currentDirectory, "C:\\WORK");
  EXPECT_EQ(child.environment, machine().Processes().at(0).environment);
}

TEST_F(ChildProcess, ProgramWithoutBehaviourEndsAtOnceWithCodeZero) {
  machine().PutFile("C:\\WINDOWS\\PLAIN.EXE", "MZ");
  DirectCalls calls(machine(), "C:\\WORK");
  PROCESS_INFORMATION process{};
  ASSERT_TRUE(Start("PLAIN.EXE", &process));
  DWORD exitCode = STILL_ACTIVE;
  EXPECT_EQ(WaitForSingleObject(process.hProcess, INFINITE), WAIT_OBJECT_0);
  ASSERT_TRUE(GetExitCodeProcess(process.hProcess, &exitCode));
  EXPECT_EQ(exitCode, 0u);
  CloseProcess(process);
}

TEST_F(ChildProcess, MissingDirectoryForTheChildRefusesTheStart) {
  DirectCalls calls(machine(), "C:\\WORK");
  PROCESS_INFORMATION process{};
  EXPECT_FALSE(Start("UNINST.EXE", &process, NULL, "C:\\NONE"));
  EXPECT_TRUE(machine().Exists("C:\\ZOV\\PM.EXE"));
  EXPECT_TRUE(machine().OpenHandles().empty());
}

// ---- What a deliverable receives when the machine runs it

TEST_F(MachineTest, ProgramReceivesItsCommandLineAsGivenAndTheTailAfterItsName) {
  machine().PutFile("C:\\Program Files\\ZOV\\PROBE.EXE", "MZ");
  machine().PutFile("C:\\WINDOWS\\PROBE.EXE", "MZ");
  for (const std::string &line : {std::string("\"C:\\Program Files\\ZOV\\PROBE.EXE\"  tail  with blanks "),
                                  std::string("probe tail"), std::string("PROBE.EXE")}) {
    size_t boxes = machine().Boxes().size();
    winsim::RunResult result = machine().RunProgram(PROBE_PROGRAM_PATH, line, "C:\\WINDOWS");
    ASSERT_TRUE(result.ran) << result.error;
    ASSERT_EQ(machine().Boxes().size(), boxes + 1);
    EXPECT_EQ(machine().Boxes().back().text, line);
    std::string tail = line == "PROBE.EXE" ? "" : line[0] == '"' ? "tail  with blanks " : "tail";
    EXPECT_EQ(machine().Boxes().back().caption, tail);
  }
}

}  // namespace
