// Test fixture: a simulated Japanese Windows 95 PC with the kit installed, on which Veltrask is run.
#ifndef TESTS_UNINSTALLER_VELTRASK_MACHINE_H
#define TESTS_UNINSTALLER_VELTRASK_MACHINE_H

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/simulated/machine.h"
#include "tests/support/scratch_folder.h"
#include "tests/uninstaller/veltrask_texts.h"

// The kit as the fixture installs it.
inline const char kVeltraskProgram[] = "C:\\WINDOWS\\Veltrask.exe";
inline const char kCompanionProgram[] = "C:\\WINDOWS\\PMUNINST.EXE";
inline const char kInstallDirectory[] = "C:\\ZOV4260W";
inline const char kPrintManagerProgram[] = "C:\\ZOV4260W\\4260W_PM.EXE";
inline const char kCommandLine[] = "C:\\WINDOWS\\Veltrask.exe C:\\WINDOWS\\PMUNINST.EXE";

struct ShownBox {
  std::string text;
  UINT style;
  bool operator==(const ShownBox &other) const { return text == other.text && style == other.style; }
};
void PrintTo(const ShownBox &box, std::ostream *out);

// Every box Veltrask can show, with the style it has.
inline const ShownBox kRunningBox{veltrask_texts::kPrintManagerRunning, MB_OK | MB_ICONHAND};
inline const ShownBox kConfirmBox{veltrask_texts::kConfirmUninstall, MB_YESNO | MB_ICONEXCLAMATION};
inline const ShownBox kCancelledBox{veltrask_texts::kUninstallCancelled, MB_OK | MB_ICONASTERISK};
inline const ShownBox kCannotStartBox{veltrask_texts::kBadCommandLine, MB_OK | MB_ICONHAND};
inline const ShownBox kRestartBox{veltrask_texts::kAskRestart, MB_YESNO | MB_ICONQUESTION};

class VeltraskMachineTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  winsim::Machine &machine() { return *machine_; }

  // The product INI with these three values; an absent value leaves its key out.
  void WriteProductIni(const std::string &groupName, const std::string &installPath, const std::string &executeFile);
  // The print manager's window, open as the fixture's machine would show it.
  void OpenPrintManagerWindow();

  // Runs Veltrask with the answers given (IDYES, IDNO, 0 for a box that fails).
  winsim::RunResult Run(const std::vector<int> &answers, const std::string &commandLine = kCommandLine,
                        const std::string &directory = "C:\\WINDOWS");

  std::vector<ShownBox> ShownBoxes() const;

 private:
  std::unique_ptr<ScratchFolder> scratch_;
  std::unique_ptr<winsim::Machine> machine_;
};

#endif
