// The simulated machine's inner state, shared by the Machine and the Win32 operations that serve a running program.
#ifndef PLATFORM_SIMULATED_MACHINE_STATE_H
#define PLATFORM_SIMULATED_MACHINE_STATE_H

#include <cstdint>
#include <deque>
#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/simulated/drive.h"
#include "platform/simulated/machine.h"
#include "platform/simulated/text/resource_file.h"
#include "platform/simulated/windows_path.h"

namespace winsim {

enum class HandleKind { File, Search, Process, Thread };

struct FoundEntry {
  std::string name;  // code page 932
  DWORD attributes = 0;
  uint64_t size = 0;
};

struct HandleEntry {
  HandleKind kind = HandleKind::File;
  // Files
  int descriptor = -1;
  std::filesystem::path hostPath;
  DWORD access = 0;
  DWORD share = 0;
  // Searches
  std::vector<FoundEntry> found;
  size_t next = 0;
  // Processes and threads
  size_t process = 0;  // index into Machine::State::processes
  std::string description;
};

struct FaultPlan {
  std::map<std::string, std::set<int>> failAt;
  std::map<std::string, int> failFrom;
  int failNth = 0;
  int faultableCalls = 0;
  std::map<std::string, int> occurrences;
  bool injected = false;
};

struct LoadedModule {
  void *library = nullptr;
  HINSTANCE instance = nullptr;
  StringTable strings;
};

struct Machine::State {
  explicit State(std::filesystem::path driveC) : drive(std::move(driveC)) {}

  Drive drive;
  WindowsPath windowsDirectory{{"WINDOWS"}};
  WindowsPath systemDirectory{{"WINDOWS", "SYSTEM"}};

  std::vector<Window> windows;
  std::map<std::string, ProgramBehaviour> programs;  // key: upper-cased full path
  std::vector<std::string> environment;
  WORD showCommand = SW_SHOWNORMAL;
  BOOL restartResult = TRUE;

  std::deque<int> answers;
  std::function<int(const MessageBoxRecord &)> answerFallback;

  FaultPlan faults;

  std::map<uintptr_t, HandleEntry> handles;
  uintptr_t nextHandle = 0x44;
  unsigned nextTemporaryName = 0x1A2B;

  // The running deliverable.
  bool running = false;
  LoadedModule module;
  std::vector<char> commandLine;       // NUL-terminated, handed out by GetCommandLineA
  std::vector<char> environmentBlock;  // NUL-separated, double NUL at the end
  STARTUPINFOA startup{};
  WindowsPath currentDirectory;
  std::string programPath;
  DWORD lastError = 0;

  std::vector<ProcessRecord> processes;
  std::vector<size_t> deferredProcesses;
  DWORD nextProcessId = 0xFFF5A001;

  std::vector<Call> trace;
  std::vector<MessageBoxRecord> boxes;
  std::vector<UINT> restartRequests;
  std::function<void(const Call &)> callObserver;
};

// The machine whose program is running now: the Win32 operations serve it. Aborts with a message when none is.
Machine::State &Current();
void SetCurrent(Machine::State *state);

}  // namespace winsim

#endif
