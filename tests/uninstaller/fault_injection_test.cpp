// Every platform call of a whole uninstall, made to fail in turn: the run goes on, leaks no handle, loses nothing.
#include <gtest/gtest.h>

#include "tests/uninstaller/veltrask_machine.h"

namespace {

class FaultInjection : public VeltraskMachineTest {};

TEST_F(FaultInjection, NoFailingCallBreaksTheRun) {
  for (int n = 1;; ++n) {
    TearDown();
    SetUp();
    machine().PutFile("C:\\ZOV4260W\\SETTINGS.DAT", "kept");  // the install directory must outlive every run
    machine().SetAnswerFallback([](const winsim::MessageBoxRecord &) { return IDYES; });
    machine().FailNthFaultableCall(n);
    winsim::RunResult result = machine().RunProgram(VELTRASK_MODULE_PATH, kCommandLine, "C:\\WINDOWS");
    if (!machine().AnyFaultInjected()) {
      EXPECT_GT(n, 10) << "a whole uninstall makes more calls than that";
      break;
    }
    std::string failed;
    for (const winsim::Call &call : machine().Trace()) {
      if (call.faulted) failed = call.name;
    }
    SCOPED_TRACE("call " + std::to_string(n) + " (" + failed + ") failed");
    ASSERT_TRUE(result.ran) << result.error;
    EXPECT_TRUE(result.exitCode == 0 || result.exitCode == 1);
    EXPECT_EQ(machine().FileBytes("C:\\ZOV4260W\\SETTINGS.DAT"), std::optional<std::string>("kept"));
    // Only a close that itself failed may leave its handle open.
    if (failed != "CloseHandle" && failed != "FindClose") {
      EXPECT_TRUE(machine().OpenHandles().empty());
    }
  }
}

}  // namespace
