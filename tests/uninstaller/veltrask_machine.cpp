// Test fixture: a simulated Japanese Windows 95 PC with the kit installed, on which Veltrask is run.
#include "tests/uninstaller/veltrask_machine.h"

#include <ostream>

#include "platform/simulated/text/cp932.h"
#include "tests/uninstaller/veltrask_texts.h"

void PrintTo(const ShownBox &box, std::ostream *out) {
  *out << "{\"" << winsim::Cp932ToUtf8(box.text) << "\", 0x" << std::hex << box.style << std::dec << "}";
}

void VeltraskMachineTest::SetUp() {
  scratch_ = std::make_unique<ScratchFolder>("veltrask-test");
  machine_ = std::make_unique<winsim::Machine>(scratch_->path() / "C");

  machine_->PutFile(kVeltraskProgram, "MZ veltrask");
  machine_->PutFile(kCompanionProgram, "MZ companion uninstaller");
  machine_->PutFile(kPrintManagerProgram, "MZ print manager");
  machine_->PutFile("C:\\ZOV4260W\\4260W_PM.HLP", "help");
  WriteProductIni("ZOV 4260-WIN", kInstallDirectory, kPrintManagerProgram);

  winsim::ProgramBehaviour companion;
  companion.actions = {{winsim::ProgramAction::Kind::DeleteFile, kPrintManagerProgram},
                       {winsim::ProgramAction::Kind::DeleteFile, "C:\\ZOV4260W\\4260W_PM.HLP"}};
  machine_->SetProgram(kCompanionProgram, companion);
}

void VeltraskMachineTest::TearDown() {
  machine_.reset();
  scratch_.reset();
}

void VeltraskMachineTest::WriteProductIni(const std::string &groupName, const std::string &installPath,
                                          const std::string &executeFile) {
  std::string ini = "[General]\r\n";
  if (!groupName.empty()) ini += "GroupName=" + groupName + "\r\n";
  if (!installPath.empty()) ini += "InstallPath=" + installPath + "\r\n";
  ini += "\r\n[Driver]\r\n";
  if (!executeFile.empty()) ini += "ExecuteFile=" + executeFile + "\r\n";
  machine_->PutFile("C:\\WINDOWS\\ZOV4260W.INI", ini);
}

void VeltraskMachineTest::OpenPrintManagerWindow() {
  machine_->AddWindow({veltrask_texts::kPrintManagerTitle, "ZOV4260PM", true});
}

winsim::RunResult VeltraskMachineTest::Run(const std::vector<int> &answers, const std::string &commandLine,
                                           const std::string &directory) {
  machine_->QueueAnswers(answers);
  winsim::RunResult result = machine_->RunProgram(VELTRASK_MODULE_PATH, commandLine, directory);
  EXPECT_EQ(machine_->AnswersLeft(), 0u) << "the run asked fewer questions than it was given answers for";
  return result;
}

std::vector<ShownBox> VeltraskMachineTest::ShownBoxes() const {
  std::vector<ShownBox> boxes;
  for (const winsim::MessageBoxRecord &box : machine_->Boxes()) {
    EXPECT_EQ(box.caption, veltrask_texts::kBoxTitle);
    boxes.push_back({box.text, box.style});
  }
  return boxes;
}
