// The simulated Windows 95 machine: the whole state of a Japanese PC (code page 932) that a deliverable runs on.
//
// One Machine per test or per run of the command-line tool. Drive C: lives in a host folder; everything that has
// no file of its own on Windows (windows, programs' behaviour, answers to message boxes) is set through this
// interface. While a deliverable runs, every Win32 call it makes is served by the machine, recorded in its trace,
// and can be made to fail. All texts given to or read from the machine are code page 932 bytes.
#ifndef PLATFORM_SIMULATED_MACHINE_H
#define PLATFORM_SIMULATED_MACHINE_H

#include <cstdint>
#include <deque>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "platform/simulated/win32_declarations.h"

namespace winsim {

// One platform call as the deliverable made it.
struct Call {
  std::string name;
  std::vector<std::string> arguments;  // texts as "quoted" code page 932 bytes, numbers in decimal, handles in hex
  std::string result;
  bool faulted = false;  // the machine made this call fail on purpose
};

struct MessageBoxRecord {
  HWND owner = nullptr;
  std::string text;
  std::string caption;
  UINT style = 0;
  int answer = 0;
  bool shown = true;  // false when the call was made to fail before a box appeared
};

struct Window {
  std::string title;
  std::string className;
  bool topLevel = true;  // a child window is never found by FindWindowA
};

// What a program other than the deliverables does when started: its actions, in order, then its end.
struct ProgramAction {
  enum class Kind { DeleteFile, RemoveDirectory, Start };
  Kind kind;
  std::string argument;  // a path, or for Start a command line
};

struct ProgramBehaviour {
  std::vector<ProgramAction> actions;
  DWORD exitCode = 0;
};

struct ProcessRecord {
  DWORD id = 0;
  std::string program;  // full path of the program file
  std::string commandLine;
  std::string currentDirectory;
  std::string environment;  // the block it received, NULs as they are
  STARTUPINFOA startup{};   // as the parent passed it (pointers not followed)
  DWORD creationFlags = 0;
  BOOL inheritHandles = FALSE;
  DWORD parentId = 0;
  DWORD exitCode = STILL_ACTIVE;
  bool deferred = false;  // started by another program: runs after the deliverable has ended
};

// Raised inside a run when the simulation cannot go on (a question nobody answers); the run ends with the message.
class RunAborted : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// How a run of a deliverable ended.
struct RunResult {
  bool ran = false;  // false: the program could not be started or the run was aborted; see error
  std::string error;
  int exitCode = 0;
};

// Parses an answer word: y, yes, はい → IDYES; n, no, いいえ → IDNO; ok → IDOK; cancel → IDCANCEL;
// fail → 0 (the box cannot be shown). Words are UTF-8, case ignored. nullopt for anything else.
std::optional<int> ParseAnswerWord(std::string_view word);

// The answers that the buttons of a box of this style give, left to right (IDOK alone for an unknown set).
std::vector<int> MessageBoxButtons(UINT style);
// Whether an answer can come from a box of this style: one of its buttons, or 0 (the box fails), which fits any.
bool AnswerFits(int answer, UINT style);

class Machine {
 public:
  // driveC: host folder that holds drive C:. C:\WINDOWS and C:\WINDOWS\SYSTEM are created when missing.
  explicit Machine(std::filesystem::path driveC);
  ~Machine();
  Machine(const Machine &) = delete;
  Machine &operator=(const Machine &) = delete;

  // --- Drive C: (paths are Windows paths, absolute or relative to the running program's current directory)
  const std::filesystem::path &DriveC() const;
  // The host path of a Windows path, names matched without regard to case; nullopt when it names no entry.
  std::optional<std::filesystem::path> HostPath(std::string_view windowsPath) const;
  void PutFile(std::string_view windowsPath, std::string_view bytes);  // creates missing directories
  void MakeDirectory(std::string_view windowsPath);                    // with its parents
  bool Exists(std::string_view windowsPath) const;
  bool IsDirectory(std::string_view windowsPath) const;
  std::optional<std::string> FileBytes(std::string_view windowsPath) const;
  void SetReadOnly(std::string_view windowsPath, bool readOnly);

  // --- The rest of the machine
  void AddWindow(Window window);
  void SetProgram(std::string_view windowsPath, ProgramBehaviour behaviour);  // does not create the file
  void SetEnvironment(std::vector<std::string> variables);                    // "NAME=value" each
  void SetShowCommand(WORD show);      // the start-up show state the deliverable receives
  void SetRestartResult(BOOL result);  // what ExitWindowsEx answers; TRUE unless set

  // --- Answers to message boxes. A scripted answer is taken by the next box whose buttons it fits (0 fits any).
  // A box with an OK button alone is answered OK when the next answer does not fit it. A question without a
  // fitting answer goes to the fallback; without one the run is aborted.
  void QueueAnswers(const std::vector<int> &answers);
  void SetAnswerFallback(std::function<int(const MessageBoxRecord &)> fallback);
  size_t AnswersLeft() const;

  // --- Faults. Occurrences count from 1 among the calls of that operation in this machine's life.
  void FailCall(std::string_view operation, int occurrence);
  void FailCallsFrom(std::string_view operation, int occurrence);  // that one and every later one
  void FailNthFaultableCall(int n);  // the nth call of any operation that can fail, counted over all runs
  int FaultableCallsMade() const;
  bool AnyFaultInjected() const;

  // --- Running a deliverable. modulePath: the built module of the deliverable; commandLine: the full command
  // line that the program is given. The program file is applicationName when one is given (as CreateProcessA
  // takes it, so the command line may then be anything, even empty), else the command line's first item, found
  // as CreateProcessA finds it; it must exist on drive C:.
  RunResult RunProgram(const std::filesystem::path &modulePath, std::string_view commandLine,
                       std::string_view currentDirectory, std::string_view applicationName = {});

  // Lets the calling code make Win32 calls itself, served by this machine as if it were a program started from
  // programPath in currentDirectory (for tests of the machine and of platform code). LoadStringA finds no texts.
  // Ends with EndDirectCalls; no program may run meanwhile.
  void BeginDirectCalls(std::string_view currentDirectory, std::string_view programPath = "C:\\TEST.EXE");
  void EndDirectCalls();

  // --- What happened
  const std::vector<Call> &Trace() const;
  std::vector<Call> CallsOf(std::string_view operation) const;
  std::vector<std::string> CallNames() const;
  const std::vector<MessageBoxRecord> &Boxes() const;
  const std::vector<ProcessRecord> &Processes() const;  // every program started, the deliverable first
  const std::vector<UINT> &RestartRequests() const;     // flags of each ExitWindowsEx call
  std::vector<std::string> OpenHandles() const;         // descriptions of handles the deliverable still holds
  void SetCallObserver(std::function<void(const Call &)> observer);  // told of each call as it ends

  struct State;  // the machine's inner state, shared with the Win32 operations
  State &Inner();

 private:
  std::unique_ptr<State> state_;
};

}  // namespace winsim

#endif
