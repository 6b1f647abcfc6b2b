// The run sequence: its order of steps, the product INI settings, and the program's result on every path.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "tests/uninstaller/veltrask_machine.h"
#include "tests/uninstaller/veltrask_texts.h"

namespace {

using namespace veltrask_texts;

std::vector<std::string> StepCalls(const winsim::Machine &machine) {
  static const std::set<std::string> steps = {"GetPrivateProfileStringA", "FindWindowA",         "MessageBoxA",
                                              "CreateProcessA",           "WaitForSingleObject", "FindFirstFileA",
                                              "RemoveDirectoryA",         "ExitWindowsEx"};
  std::vector<std::string> names;
  for (const winsim::Call &call : machine.Trace()) {
    if (steps.count(call.name)) names.push_back(call.name);
  }
  return names;
}

using RunSequence = VeltraskMachineTest;

TEST_F(RunSequence, GoesThroughEveryStepInOrder) {
  winsim::RunResult result = Run({IDYES, IDYES});
  ASSERT_TRUE(result.ran) << result.error;

  EXPECT_EQ(
      StepCalls(machine()),
      (std::vector<std::string>{"GetPrivateProfileStringA", "GetPrivateProfileStringA", "GetPrivateProfileStringA",
                                "FindWindowA", "MessageBoxA", "CreateProcessA", "WaitForSingleObject", "FindFirstFileA",
                                "FindFirstFileA", "RemoveDirectoryA", "MessageBoxA", "ExitWindowsEx"}));
  // The INI name is the first text loaded, before anything is read.
  const winsim::Call &first = machine().Trace().front();
  EXPECT_EQ(first.name, "LoadStringA");
  EXPECT_EQ(first.arguments[1], "8");
  EXPECT_EQ(machine().CallsOf("ExitWindowsEx")[0].arguments, (std::vector<std::string>{"2", "0"}));
  EXPECT_EQ(machine().RestartRequests(), std::vector<UINT>{EWX_REBOOT});
  EXPECT_FALSE(machine().Exists(kInstallDirectory));
  EXPECT_TRUE(machine().OpenHandles().empty());
}

TEST_F(RunSequence, ReadsTheThreeSettingsFromTheProductIniByItsBareName) {
  Run({IDYES, IDNO});
  std::vector<winsim::Call> reads = machine().CallsOf("GetPrivateProfileStringA");
  ASSERT_EQ(reads.size(), 3u);
  const std::vector<std::string> expected[] = {
      {"\"General\"", "\"GroupName\"", "\" \"", "256", "\"ZOV4260W.INI\""},
      {"\"General\"", "\"InstallPath\"", "\" \"", "512", "\"ZOV4260W.INI\""},
      {"\"Driver\"", "\"ExecuteFile\"", "\" \"", "512", "\"ZOV4260W.INI\""},
  };
  for (size_t i = 0; i < 3; ++i) EXPECT_EQ(reads[i].arguments, expected[i]) << "read " << i;
  EXPECT_EQ(machine().CallsOf("FindFirstFileA")[0].arguments[0], "\"C:\\ZOV4260W\\4260W_PM.EXE\"");
  EXPECT_EQ(machine().CallsOf("RemoveDirectoryA")[0].arguments[0], "\"C:\\ZOV4260W\"");
}

TEST_F(RunSequence, WithoutTheProductIniGoesOnWithEmptySettings) {
  ASSERT_TRUE(machine().Exists("C:\\WINDOWS\\ZOV4260W.INI"));
  std::filesystem::remove(*machine().HostPath("C:\\WINDOWS\\ZOV4260W.INI"));

  winsim::RunResult result = Run({IDYES, IDNO});
  ASSERT_TRUE(result.ran) << result.error;
  EXPECT_EQ(result.exitCode, 0);
  for (const winsim::Call &read : machine().CallsOf("GetPrivateProfileStringA")) EXPECT_EQ(read.result, "0");
  // No program to look for, so the uninstall goes on; the empty install path removes nothing.
  EXPECT_EQ(machine().CallsOf("FindFirstFileA")[0].arguments[0], "\"\"");
  EXPECT_EQ(machine().CallsOf("RemoveDirectoryA")[0].arguments[0], "\"\"");
  EXPECT_TRUE(machine().Exists(kInstallDirectory));
  EXPECT_EQ(ShownBoxes().back().text, kAskRestart);
}

TEST_F(RunSequence, CutsASettingLongerThanItsBufferToCapacityLessOne) {
  std::string longPath = "C:\\" + std::string(600, 'D');
  WriteProductIni("ZOV 4260-WIN", longPath, kPrintManagerProgram);
  Run({IDYES, IDNO});
  EXPECT_EQ(machine().CallsOf("RemoveDirectoryA")[0].arguments[0], "\"" + longPath.substr(0, 511) + "\"");
}

struct PathCase {
  const char *name;
  bool printManagerOpen;
  bool companionRemovesProgram;
  BOOL restartResult;
  std::vector<int> answers;
  int exitCode;
  std::vector<UINT> restartRequests;
  std::vector<ShownBox> boxes;
  bool removalRan;
};
void PrintTo(const PathCase &value, std::ostream *out) { *out << value.name; }

class RunResultByPath : public VeltraskMachineTest, public testing::WithParamInterface<PathCase> {};

TEST_P(RunResultByPath, EndsWithTheResultOfItsPath) {
  const PathCase &path = GetParam();
  if (path.printManagerOpen) OpenPrintManagerWindow();
  if (!path.companionRemovesProgram) machine().SetProgram(kCompanionProgram, {});
  machine().SetRestartResult(path.restartResult);

  winsim::RunResult result = Run(path.answers);
  ASSERT_TRUE(result.ran) << result.error;
  EXPECT_EQ(result.exitCode, path.exitCode);
  EXPECT_EQ(machine().RestartRequests(), path.restartRequests);
  EXPECT_EQ(ShownBoxes(), path.boxes);
  EXPECT_EQ(!machine().CallsOf("RemoveDirectoryA").empty(), path.removalRan);
  EXPECT_EQ(machine().Exists(kInstallDirectory), !path.removalRan);
  EXPECT_TRUE(machine().OpenHandles().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Paths, RunResultByPath,
    testing::Values(
        PathCase{"PrintManagerRunning", true, true, TRUE, {}, 0, {}, {kRunningBox, kCancelledBox}, false},
        PathCase{"ConfirmationRefused", false, true, TRUE, {IDNO}, 0, {}, {kConfirmBox, kCancelledBox}, false},
        PathCase{"ProgramStillPresent", false, false, TRUE, {IDYES}, 0, {}, {kConfirmBox, kCancelledBox}, false},
        PathCase{"RestartDeclined", false, true, TRUE, {IDYES, IDNO}, 0, {}, {kConfirmBox, kRestartBox}, true},
        PathCase{
            "RestartStarted", false, true, TRUE, {IDYES, IDYES}, 1, {EWX_REBOOT}, {kConfirmBox, kRestartBox}, true},
        PathCase{"RestartRefusedByWindows",
                 false,
                 true,
                 FALSE,
                 {IDYES, IDYES},
                 0,
                 {EWX_REBOOT},
                 {kConfirmBox, kRestartBox},
                 true}),
    [](const testing::TestParamInfo<PathCase> &info) { return std::string(info.param.name); });

TEST_F(RunSequence, StartsEachRunAfresh) {
  // The module is loaded anew for every run, as a new process would be: nothing of the first run is kept.
  ASSERT_TRUE(Run({IDNO}).ran);
  machine().PutFile("C:\\WINDOWS\\ZOV4260W.INI", "[General]\r\nInstallPath=C:\\OTHER\r\n");
  ASSERT_TRUE(Run({IDYES, IDNO}).ran);
  EXPECT_EQ(machine().CallsOf("RemoveDirectoryA").back().arguments[0], "\"C:\\OTHER\"");
  EXPECT_EQ(machine().CallsOf("FindFirstFileA")[0].arguments[0], "\"\"");
}

}  // namespace
