// Test fixture: a fresh simulated machine on a temporary host folder, and direct Win32 calls served by it.
#ifndef TESTS_SIMULATOR_MACHINE_FIXTURE_H
#define TESTS_SIMULATOR_MACHINE_FIXTURE_H

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <memory>
#include <set>
#include <string>
#include <string_view>

#include "platform/simulated/machine.h"
#include "platform/win32.h"

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
    const testing::TestInfo *test = testing::UnitTest::GetInstance()->current_test_info();
    std::string name = std::string(test->test_suite_name()) + "-" + test->name();
    for (char &c : name) {
      if (c == '/') c = '_';
    }
    root_ = std::filesystem::temp_directory_path() / ("winsim-" + std::to_string(getpid()) + "-" + name);
    std::filesystem::remove_all(root_);
    machine_ = std::make_unique<winsim::Machine>(root_ / "C");
  }
  void TearDown() override {
    machine_.reset();
    std::error_code ignored;
    std::filesystem::remove_all(root_, ignored);
  }

  winsim::Machine &machine() { return *machine_; }
  const std::filesystem::path &root() const { return root_; }
  // A second machine on the same drive, as a later start of Windows sees it.
  std::unique_ptr<winsim::Machine> SameDriveMachine() { return std::make_unique<winsim::Machine>(root_ / "C"); }

  // The handles still open, as a set for comparisons.
  std::multiset<std::string> OpenHandles() const {
    auto open = machine_->OpenHandles();
    return {open.begin(), open.end()};
  }

 private:
  std::filesystem::path root_;
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
