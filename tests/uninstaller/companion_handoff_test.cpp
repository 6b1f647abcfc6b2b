// The companion uninstaller's hand-off: which command is started, how, the check after it, and the removal of
// the install directory.
#include <gtest/gtest.h>

#include "tests/uninstaller/veltrask_machine.h"
#include "tests/uninstaller/veltrask_texts.h"

namespace {

using namespace veltrask_texts;

using CompanionHandoff = VeltraskMachineTest;

struct CommandLineCase {
  const char *name;
  std::string commandLine;
  bool started;           // a CreateProcessA call is made...
  std::string companion;  // ...with this command line
  bool companionRuns;     // and it starts the companion uninstaller
};
void PrintTo(const CommandLineCase &value, std::ostream *out) { *out << value.name; }

class CompanionCommand : public VeltraskMachineTest, public testing::WithParamInterface<CommandLineCase> {};

TEST_P(CompanionCommand, IsWhatFollowsTheProgramsOwnName) {
  const CommandLineCase &line = GetParam();
  machine().PutFile("C:\\Program Files\\ZOV\\Veltrask.exe", "MZ veltrask");
  std::vector<int> answers = line.companionRuns ? std::vector<int>{IDYES, IDNO} : std::vector<int>{IDYES};
  winsim::RunResult result = Run(answers, line.commandLine);
  ASSERT_TRUE(result.ran) << result.error;

  std::vector<winsim::Call> starts = machine().CallsOf("CreateProcessA");
  ASSERT_EQ(starts.size(), line.started ? 1u : 0u);
  if (line.started) {
    EXPECT_EQ(starts[0].arguments[1], "\"" + line.companion + "\"");
  }
  if (line.companionRuns) {
    EXPECT_EQ(ShownBoxes(), (std::vector<ShownBox>{kConfirmBox, kRestartBox}));
  } else {
    // Nothing removed the print manager's program, so the check ends the run after text 3.
    EXPECT_EQ(ShownBoxes(), (std::vector<ShownBox>{kConfirmBox, kCannotStartBox, kCancelledBox}));
    EXPECT_EQ(result.exitCode, 0);
  }
}

INSTANTIATE_TEST_SUITE_P(
    CommandLines, CompanionCommand,
    testing::Values(
        CommandLineCase{"AfterTheFirstBlank", "C:\\WINDOWS\\Veltrask.exe C:\\WINDOWS\\PMUNINST.EXE", true,
                        "C:\\WINDOWS\\PMUNINST.EXE", true},
        CommandLineCase{"WithItsOwnArgumentsAndBlanks", "C:\\WINDOWS\\Veltrask.exe PMUNINST.EXE /S  /LOG ", true,
                        "PMUNINST.EXE /S  /LOG ", true},
        CommandLineCase{"AfterAQuotedNameWithABlank",
                        "\"C:\\Program Files\\ZOV\\Veltrask.exe\" C:\\WINDOWS\\PMUNINST.EXE", true,
                        "C:\\WINDOWS\\PMUNINST.EXE", true},
        CommandLineCase{"NoBlank", "C:\\WINDOWS\\Veltrask.exe", false, "", false},
        CommandLineCase{"TabIsNoSeparator", "C:\\WINDOWS\\Veltrask.exe\tC:\\WINDOWS\\PMUNINST.EXE", false, "", false},
        CommandLineCase{"QuotedNameWithNothingAfter", "\"C:\\Program Files\\ZOV\\Veltrask.exe\"", false, "", false},
        CommandLineCase{"EndsInOneBlank", "C:\\WINDOWS\\Veltrask.exe ", true, "", false},
        CommandLineCase{"NamesNoProgram", "C:\\WINDOWS\\Veltrask.exe C:\\WINDOWS\\NOTHERE.EXE", true,
                        "C:\\WINDOWS\\NOTHERE.EXE", false}),
    [](const testing::TestParamInfo<CommandLineCase> &info) { return std::string(info.param.name); });

TEST_F(CompanionHandoff, WithoutACompanionTheCheckAloneDecides) {
  // Nothing to start, but the print manager's program is gone already: the uninstall goes on after text 3.
  std::filesystem::remove(*machine().HostPath(kPrintManagerProgram));
  winsim::RunResult result = Run({IDYES, IDNO}, "C:\\WINDOWS\\Veltrask.exe");
  ASSERT_TRUE(result.ran) << result.error;
  EXPECT_TRUE(machine().CallsOf("CreateProcessA").empty());
  EXPECT_EQ(ShownBoxes(), (std::vector<ShownBox>{kConfirmBox, kCannotStartBox, kRestartBox}));
  EXPECT_FALSE(machine().CallsOf("RemoveDirectoryA").empty());
}

TEST_F(CompanionHandoff, StartsTheCompanionAsVeltraskWasStartedAndWaitsForIt) {
  machine().SetShowCommand(SW_SHOWMINIMIZED);
  machine().SetEnvironment({"PATH=C:\\WINDOWS", "ZOV=1"});
  ASSERT_TRUE(Run({IDYES, IDNO}).ran);

  winsim::Call start = machine().CallsOf("CreateProcessA").at(0);
  // application, command line, inherit handles, flags, environment, current directory
  EXPECT_EQ(start.arguments,
            (std::vector<std::string>{"NULL", "\"C:\\WINDOWS\\PMUNINST.EXE\"", "0", "0", "environment", "NULL"}));
  const winsim::ProcessRecord &veltrask = machine().Processes().at(0);
  const winsim::ProcessRecord &companion = machine().Processes().at(1);
  EXPECT_EQ(companion.program, kCompanionProgram);
  EXPECT_EQ(companion.currentDirectory, "C:\\WINDOWS");
  EXPECT_EQ(companion.environment, std::string("PATH=C:\\WINDOWS\0ZOV=1\0\0", 23));
  EXPECT_EQ(companion.startup.dwFlags, veltrask.startup.dwFlags);
  EXPECT_EQ(companion.startup.wShowWindow, SW_SHOWMINIMIZED);

  std::vector<std::string> names = machine().CallNames();
  auto created = std::find(names.begin(), names.end(), "CreateProcessA");
  auto waited = std::find(created, names.end(), "WaitForSingleObject");
  auto checked = std::find(waited, names.end(), "FindFirstFileA");
  EXPECT_NE(checked, names.end()) << "start, wait, then the check";
  EXPECT_EQ(machine().CallsOf("WaitForSingleObject")[0].arguments[1], "4294967295");
  EXPECT_TRUE(machine().OpenHandles().empty());
}

TEST_F(CompanionHandoff, ExitCodeOfTheCompanionDoesNotMatter) {
  winsim::ProgramBehaviour failing;
  failing.actions = {{winsim::ProgramAction::Kind::DeleteFile, kPrintManagerProgram}};
  failing.exitCode = 3;
  machine().SetProgram(kCompanionProgram, failing);
  winsim::RunResult result = Run({IDYES, IDNO});
  ASSERT_TRUE(result.ran) << result.error;
  EXPECT_EQ(ShownBoxes(), (std::vector<ShownBox>{kConfirmBox, kRestartBox}));
}

TEST_F(CompanionHandoff, CompanionThatHandsOverAndEndsIsNotWaitedForBeyondItsEnd) {
  // The companion starts the real remover and ends at once: the check comes before the remover has run.
  machine().PutFile("C:\\WINDOWS\\TEMP\\REMOVER.EXE", "MZ");
  winsim::ProgramBehaviour remover;
  remover.actions = {{winsim::ProgramAction::Kind::DeleteFile, kPrintManagerProgram}};
  machine().SetProgram("C:\\WINDOWS\\TEMP\\REMOVER.EXE", remover);
  winsim::ProgramBehaviour handOver;
  handOver.actions = {{winsim::ProgramAction::Kind::Start, "C:\\WINDOWS\\TEMP\\REMOVER.EXE"}};
  machine().SetProgram(kCompanionProgram, handOver);

  winsim::RunResult result = Run({IDYES});
  ASSERT_TRUE(result.ran) << result.error;
  EXPECT_EQ(result.exitCode, 0);
  EXPECT_EQ(ShownBoxes(), (std::vector<ShownBox>{kConfirmBox, kCancelledBox}));
  EXPECT_TRUE(machine().CallsOf("RemoveDirectoryA").empty());
  EXPECT_FALSE(machine().Exists(kPrintManagerProgram)) << "the remover ran on after Veltrask";
}

TEST_F(CompanionHandoff, FailedWaitStillClosesTheHandleAndTheCheckDecides) {
  machine().FailCall("WaitForSingleObject", 1);
  winsim::RunResult result = Run({IDYES, IDNO});
  ASSERT_TRUE(result.ran) << result.error;
  EXPECT_EQ(ShownBoxes(), (std::vector<ShownBox>{kConfirmBox, kRestartBox}));
  EXPECT_TRUE(machine().OpenHandles().empty());
}

struct ProgramCheckCase {
  const char *name;
  std::string executeFile;
  bool goesOn;
};
void PrintTo(const ProgramCheckCase &value, std::ostream *out) { *out << value.name; }

class PrintManagerProgramCheck : public VeltraskMachineTest, public testing::WithParamInterface<ProgramCheckCase> {};

TEST_P(PrintManagerProgramCheck, LetsTheUninstallGoOnOnlyWhenNothingMatches) {
  machine().SetProgram(kCompanionProgram, {});  // the companion leaves everything in place
  machine().MakeDirectory("C:\\ZOV4260W\\DATA");
  WriteProductIni("ZOV 4260-WIN", kInstallDirectory, GetParam().executeFile);
  winsim::RunResult result = Run(GetParam().goesOn ? std::vector<int>{IDYES, IDNO} : std::vector<int>{IDYES});
  ASSERT_TRUE(result.ran) << result.error;
  EXPECT_EQ(ShownBoxes().back(), GetParam().goesOn ? kRestartBox : kCancelledBox);
  EXPECT_TRUE(machine().OpenHandles().empty());
}

INSTANTIATE_TEST_SUITE_P(ExecuteFiles, PrintManagerProgramCheck,
                         testing::Values(ProgramCheckCase{"Present", kPrintManagerProgram, false},
                                         ProgramCheckCase{"PresentInOtherCase", "c:\\zov4260w\\4260w_pm.exe", false},
                                         ProgramCheckCase{"Absent", "C:\\ZOV4260W\\OLD_PM.EXE", true},
                                         ProgramCheckCase{"Empty", "", true},
                                         ProgramCheckCase{"NamesADirectory", "C:\\ZOV4260W\\DATA", false},
                                         ProgramCheckCase{"WildcardMatches", "C:\\ZOV4260W\\*_PM.EXE", false},
                                         ProgramCheckCase{"WildcardMatchesNothing", "C:\\ZOV4260W\\*.DLL", true}),
                         [](const testing::TestParamInfo<ProgramCheckCase> &info) {
                           return std::string(info.param.name);
                         });

struct RemovalCase {
  const char *name;
  std::string probeFile;  // put into the directory Veltrask runs in, when not empty
  std::string leftInInstallDirectory;
  bool attempted;
  bool removed;
};
void PrintTo(const RemovalCase &value, std::ostream *out) { *out << value.name; }

class InstallDirectoryRemoval : public VeltraskMachineTest, public testing::WithParamInterface<RemovalCase> {};

TEST_P(InstallDirectoryRemoval, RemovesOnlyAnEmptyDirectoryAndOnlyWithoutAProbeMatch) {
  const RemovalCase &removal = GetParam();
  if (!removal.probeFile.empty()) machine().PutFile("C:\\WINDOWS\\" + removal.probeFile, "MZ");
  if (!removal.leftInInstallDirectory.empty()) {
    machine().PutFile(std::string(kInstallDirectory) + "\\" + removal.leftInInstallDirectory, "data");
  }
  ASSERT_TRUE(Run({IDYES, IDNO}).ran);
  EXPECT_EQ(machine().Exists(kInstallDirectory), !removal.removed);
  std::vector<winsim::Call> probes = machine().CallsOf("FindFirstFileA");
  ASSERT_EQ(probes.size(), 2u);
  EXPECT_EQ(probes[1].arguments[0], "\"qm*.exe\"");
  EXPECT_EQ(machine().CallsOf("RemoveDirectoryA").size(), removal.attempted ? 1u : 0u);
  EXPECT_TRUE(machine().OpenHandles().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Directories, InstallDirectoryRemoval,
    testing::Values(RemovalCase{"EmptyAndNoProbeMatch", "", "", true, true},
                    RemovalCase{"ProbeMatchKeepsEvenAnEmptyDirectory", "qmsetup.exe", "", false, false},
                    RemovalCase{"ProbeMatchIgnoresCase", "QM.EXE", "", false, false},
                    RemovalCase{"ProbeNeedsTheExtension", "qmsetup.dll", "", true, true},
                    RemovalCase{"DirectoryStillHoldingFilesStays", "", "README.TXT", true, false},
                    // The probe looks where Veltrask runs, not in the install directory.
                    RemovalCase{"ProbeMatchInTheInstallDirectoryDoesNotCount", "", "QMTOOL.EXE", true, false}),
    [](const testing::TestParamInfo<RemovalCase> &info) { return std::string(info.param.name); });

}  // namespace
