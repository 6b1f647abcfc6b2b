// The simulated Windows 95 machine: setting it up, running a deliverable on it, and what can be seen afterwards.
#include "platform/simulated/machine.h"

#include <dlfcn.h>
#include <unistd.h>

#include <algorithm>
#include <fstream>
#include <system_error>

#include "platform/simulated/file_system.h"
#include "platform/simulated/machine_state.h"
#include "platform/simulated/processes.h"
#include "platform/simulated/text/cp932.h"

namespace winsim {

namespace {

// Where every deliverable's module is loaded, as Windows 95 loads programs at their preferred base.
HINSTANCE const kProgramInstance = reinterpret_cast<HINSTANCE>(0x00400000);

WindowsPath MustParse(std::string_view path) {
  WindowsPath parsed;
  DWORD error;
  if (!ParseWindowsPath(path, WindowsPath{}, &parsed, &error)) {
    throw std::invalid_argument("not a path on drive C: \"" + Cp932ToUtf8(path) + "\"");
  }
  return parsed;
}

std::string LowerAscii(std::string_view text) {
  std::string lower(text);
  for (char &c : lower) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return lower;
}

// Runs the deliverable's entry with this machine serving its calls; the machine is released on every path out.
class CurrentMachine {
 public:
  explicit CurrentMachine(Machine::State &state) : state_(state) {
    SetCurrent(&state);
    state.running = true;
  }
  ~CurrentMachine() {
    state_.running = false;
    SetCurrent(nullptr);
  }

 private:
  Machine::State &state_;
};

// Sets the machine up for a program that starts now, as its process; the index of its process record.
size_t StartProcessState(Machine::State &state, const std::string &programPath, std::string_view commandLine,
                         const WindowsPath &directory) {
  state.programPath = programPath;
  state.currentDirectory = directory;
  state.commandLine.assign(commandLine.begin(), commandLine.end());
  state.commandLine.push_back('\0');
  state.environmentBlock.clear();
  for (const std::string &variable : state.environment) {
    state.environmentBlock.insert(state.environmentBlock.end(), variable.begin(), variable.end());
    state.environmentBlock.push_back('\0');
  }
  state.environmentBlock.push_back('\0');
  if (state.environment.empty()) state.environmentBlock.push_back('\0');
  state.startup = STARTUPINFOA{};
  state.startup.cb = sizeof(STARTUPINFOA);
  state.startup.dwFlags = STARTF_USESHOWWINDOW;
  state.startup.wShowWindow = state.showCommand;
  state.lastError = 0;

  ProcessRecord self;
  self.program = state.programPath;
  self.commandLine = std::string(commandLine);
  self.currentDirectory = directory.Text();
  self.environment.assign(state.environmentBlock.begin(), state.environmentBlock.end());
  self.startup = state.startup;
  return AddProcess(state, self);
}

}  // namespace

std::optional<int> ParseAnswerWord(std::string_view word) {
  std::string lower = LowerAscii(word);
  if (lower == "y" || lower == "yes" || lower == "はい") return IDYES;
  if (lower == "n" || lower == "no" || lower == "いいえ") return IDNO;
  if (lower == "ok") return IDOK;
  if (lower == "cancel") return IDCANCEL;
  if (lower == "fail") return 0;
  return std::nullopt;
}

Machine::Machine(std::filesystem::path driveC) : state_(std::make_unique<State>(std::move(driveC))) {
  std::filesystem::create_directories(state_->drive.Root());
  MakeDirectory(state_->windowsDirectory.Text());
  MakeDirectory(state_->systemDirectory.Text());
  state_->environment = {"PATH=C:\\WINDOWS;C:\\WINDOWS\\COMMAND", "TEMP=C:\\WINDOWS\\TEMP",
                         "COMSPEC=C:\\WINDOWS\\COMMAND.COM", "WINDIR=C:\\WINDOWS"};
}

Machine::~Machine() {
  for (auto &[value, entry] : state_->handles) {
    if (entry.descriptor >= 0) ::close(entry.descriptor);
  }
}

const std::filesystem::path &Machine::DriveC() const { return state_->drive.Root(); }

std::optional<std::filesystem::path> Machine::HostPath(std::string_view windowsPath) const {
  DriveLookup lookup = state_->drive.Find(MustParse(windowsPath));
  if (!lookup.exists) return std::nullopt;
  return lookup.host;
}

void Machine::MakeDirectory(std::string_view windowsPath) {
  WindowsPath path = MustParse(windowsPath);
  WindowsPath built;
  for (const std::string &component : path.components) {
    built = built.Child(component);
    DriveLookup lookup = state_->drive.Find(built);
    if (lookup.exists) {
      if (!lookup.isDirectory) throw std::invalid_argument("a file stands in the way: " + Cp932ToUtf8(built.Text()));
      continue;
    }
    std::filesystem::create_directory(lookup.host);
  }
}

void Machine::PutFile(std::string_view windowsPath, std::string_view bytes) {
  WindowsPath path = MustParse(windowsPath);
  if (path.IsRoot()) throw std::invalid_argument("the root is no file");
  MakeDirectory(path.Parent().Text());
  DriveLookup lookup = state_->drive.Find(path);
  if (lookup.exists && IsReadOnly(lookup.host)) SetHostReadOnly(lookup.host, false);
  std::ofstream out(lookup.host, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

bool Machine::Exists(std::string_view windowsPath) const { return state_->drive.Find(MustParse(windowsPath)).exists; }

bool Machine::IsDirectory(std::string_view windowsPath) const {
  return state_->drive.Find(MustParse(windowsPath)).isDirectory;
}

std::optional<std::string> Machine::FileBytes(std::string_view windowsPath) const {
  DriveLookup lookup = state_->drive.Find(MustParse(windowsPath));
  if (!lookup.exists || lookup.isDirectory) return std::nullopt;
  std::ifstream in(lookup.host, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

void Machine::SetReadOnly(std::string_view windowsPath, bool readOnly) {
  DriveLookup lookup = state_->drive.Find(MustParse(windowsPath));
  if (!lookup.exists) throw std::invalid_argument("no such file: " + Cp932ToUtf8(windowsPath));
  SetHostReadOnly(lookup.host, readOnly);
}

void Machine::AddWindow(Window window) { state_->windows.push_back(std::move(window)); }

void Machine::SetProgram(std::string_view windowsPath, ProgramBehaviour behaviour) {
  state_->programs[ProgramKey(MustParse(windowsPath).Text())] = std::move(behaviour);
}

void Machine::SetEnvironment(std::vector<std::string> variables) { state_->environment = std::move(variables); }

void Machine::SetShowCommand(WORD show) { state_->showCommand = show; }

void Machine::SetRestartResult(BOOL result) { state_->restartResult = result; }

void Machine::QueueAnswers(const std::vector<int> &answers) {
  state_->answers.insert(state_->answers.end(), answers.begin(), answers.end());
}

void Machine::SetAnswerFallback(std::function<int(const MessageBoxRecord &)> fallback) {
  state_->answerFallback = std::move(fallback);
}

size_t Machine::AnswersLeft() const { return state_->answers.size(); }

void Machine::FailCall(std::string_view operation, int occurrence) {
  state_->faults.failAt[std::string(operation)].insert(occurrence);
}

void Machine::FailCallsFrom(std::string_view operation, int occurrence) {
  state_->faults.failFrom[std::string(operation)] = occurrence;
}

void Machine::FailNthFaultableCall(int n) { state_->faults.failNth = n; }

int Machine::FaultableCallsMade() const { return state_->faults.faultableCalls; }

bool Machine::AnyFaultInjected() const { return state_->faults.injected; }

RunResult Machine::RunProgram(const std::filesystem::path &modulePath, std::string_view commandLine,
                              std::string_view currentDirectory, std::string_view applicationName) {
  State &state = *state_;
  RunResult result;
  if (state.running) {
    result.error = "a program is already running on this machine";
    return result;
  }
  WindowsPath directory;
  DWORD error = ERROR_SUCCESS;
  if (!ParseWindowsPath(currentDirectory, WindowsPath{}, &directory, &error) ||
      !state.drive.Find(directory).isDirectory) {
    result.error = "the current directory \"" + Cp932ToUtf8(currentDirectory) + "\" is no directory on drive C:";
    return result;
  }
  directory = state.drive.Find(directory).spelt;
  std::string programText =
      applicationName.empty() ? std::string(commandLine) : "\"" + std::string(applicationName) + "\"";
  auto program = FindProgramFile(state, programText, directory, std::nullopt, &error);
  if (!program) {
    result.error = "\"" + Cp932ToUtf8(programText) + "\" names no program file on drive C:";
    return result;
  }

  std::ifstream moduleFile(modulePath, std::ios::binary);
  if (!moduleFile) {
    result.error = "the deliverable's module " + modulePath.string() + " cannot be read";
    return result;
  }
  // Loaded afresh for every run, so that the program's static data starts as a new process's would.
  void *library = dlopen(modulePath.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (library == nullptr) {
    result.error = std::string("the deliverable's module cannot be loaded: ") + dlerror();
    return result;
  }
  auto *entry = reinterpret_cast<int (*)(HINSTANCE, HINSTANCE, LPSTR, int)>(dlsym(library, "WinMain"));
  auto *resources = static_cast<const unsigned char *>(dlsym(library, "winsim_module_resources"));
  auto *resourcesSize = static_cast<const unsigned long *>(dlsym(library, "winsim_module_resources_size"));
  std::string resourceError;
  StringTable strings;
  if (entry == nullptr || resources == nullptr || resourcesSize == nullptr ||
      !ParseResourceStrings(std::string_view(reinterpret_cast<const char *>(resources), *resourcesSize), &strings,
                            &resourceError)) {
    dlclose(library);
    result.error = "the deliverable's module has no entry point or no readable resources " + resourceError;
    return result;
  }

  state.module = LoadedModule{library, kProgramInstance, std::move(strings)};
  size_t selfIndex = StartProcessState(state, program->Text(), commandLine, directory);
  std::string tail(CommandLineTail(commandLine));
  try {
    CurrentMachine serving(state);
    result.exitCode = entry(kProgramInstance, nullptr, tail.data(), state.showCommand);
    result.ran = true;
  } catch (const RunAborted &aborted) {
    result.error = aborted.what();
  }
  state.processes[selfIndex].exitCode = static_cast<DWORD>(result.exitCode);
  dlclose(library);
  state.module = LoadedModule{};
  RunDeferredPrograms(state);
  return result;
}

void Machine::BeginDirectCalls(std::string_view currentDirectory, std::string_view programPath) {
  State &state = *state_;
  if (state.running) throw std::logic_error("a program is already running on this machine");
  WindowsPath directory = MustParse(currentDirectory);
  state.module = LoadedModule{nullptr, kProgramInstance, StringTable{}};
  StartProcessState(state, MustParse(programPath).Text(), programPath, directory);
  SetCurrent(&state);
  state.running = true;
}

void Machine::EndDirectCalls() {
  state_->running = false;
  SetCurrent(nullptr);
  RunDeferredPrograms(*state_);
}

const std::vector<Call> &Machine::Trace() const { return state_->trace; }

std::vector<Call> Machine::CallsOf(std::string_view operation) const {
  std::vector<Call> calls;
  std::copy_if(state_->trace.begin(), state_->trace.end(), std::back_inserter(calls),
               [&](const Call &call) { return call.name == operation; });
  return calls;
}

std::vector<std::string> Machine::CallNames() const {
  std::vector<std::string> names;
  for (const Call &call : state_->trace) names.push_back(call.name);
  return names;
}

const std::vector<MessageBoxRecord> &Machine::Boxes() const { return state_->boxes; }

const std::vector<ProcessRecord> &Machine::Processes() const { return state_->processes; }

const std::vector<UINT> &Machine::RestartRequests() const { return state_->restartRequests; }

std::vector<std::string> Machine::OpenHandles() const {
  std::vector<std::string> open;
  for (const auto &[value, entry] : state_->handles) open.push_back(entry.description);
  return open;
}

void Machine::SetCallObserver(std::function<void(const Call &)> observer) {
  state_->callObserver = std::move(observer);
}

Machine::State &Machine::Inner() { return *state_; }

}  // namespace winsim
