// Test fixture: a fresh simulated machine on a temporary host folder, and direct Win32 calls served by it.
#ifndef TESTS_SIMULATOR_MACHINE_FIXTURE_H
#define TESTS_SIMULATOR_MACHINE_FIXTURE_H

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <set>
#include <string>
#include <string_view>

#include "platform/simulated/machine.h"
#include "platform/win32.h"
#include "tests/support/scratch_folder.h"

// Win32 calls made by the test itself for as long as it lives, as a program started from programPath.
class DirectCalls {
 public:
  DirectCalls(winsim::Machine &machine, std::string_view currentDirectory,
              std::string_view programPath = "C:\\TEST.EXE")
      : machine_(machine) {
    machine_.BeginDirectCalls(currentDirectory, programPath);
  }
  ~DirectCalls() { machine_.EndDirectCalls(); }
  DirectCalls(const DirectCalls &) = delete;
  DirectCalls &operator=(const DirectCalls &) = delete;

 private:
  winsim::Machine &machine_;
};

class MachineTest : public ::testing::Test {
 protected:
  void SetUp() override {
    scratch_ = std::make_unique<ScratchFolder>("winsim-test");
    machine_ = std::make_unique<winsim::Machine>(root() / "C");
  }
  void TearDown() override {
    machine_.reset();
    scratch_.reset();
  }

  winsim::Machine &machine() { return *machine_; }
  const std::filesystem::path &root() const { return scratch_->path(); }
  // A second machine on the same drive, as a later start of Windows sees it.
  std::unique_ptr<winsim::Machine> SameDriveMachine() { return std::make_unique<winsim::Machine>(root() / "C"); }

  // The handles still open, as a set for comparisons.
  std::multiset<std::string> OpenHandles() const {
    auto open = machine_->OpenHandles();
    return {open.begin(), open.end()};
  }

 private:
  std::unique_ptr<ScratchFolder> scratch_;
  std::unique_ptr<winsim::Machine> machine_;
};

// Opens an existing file for reading as the product does; INVALID_HANDLE_VALUE when that fails.
inline HANDLE OpenForReading(const char *path, DWORD share = FILE_SHARE_READ | FILE_SHARE_WRITE) {
  return CreateFileA(path, GENERIC_READ, share, NULL, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, NULL);
}

// The whole content of an open file from its current position.
inline std::string ReadAll(HANDLE file) {
  std::string bytes;
  char chunk[100];
  DWORD got = 0;
  while (ReadFile(file, chunk, sizeof chunk, &got, NULL) && got > 0) bytes.append(chunk, got);
  return bytes;
}

#endif
