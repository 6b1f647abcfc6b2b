// Programs on the simulated machine.
#include "platform/simulated/processes.h"

#include "platform/simulated/file_system.h"
#include "platform/simulated/text/cp932.h"

namespace winsim {

std::string ProgramKey(std::string_view fullPath) { return UpperAscii(fullPath); }

namespace {

bool IsProgramName(const std::string &name) {
  std::string upper = UpperAscii(name);
  for (const char *extension : {".EXE", ".COM", ".BAT"}) {
    size_t length = std::char_traits<char>::length(extension);
    if (upper.size() > length && upper.compare(upper.size() - length, length, extension) == 0) return true;
  }
  return false;
}

std::optional<WindowsPath> ExistingFile(Machine::State &state, const WindowsPath &path) {
  DriveLookup lookup = state.drive.Find(path);
  if (!lookup.exists || lookup.isDirectory) return std::nullopt;
  return lookup.spelt;
}

std::vector<std::string> PathDirectories(const Machine::State &state) {
  std::vector<std::string> directories;
  for (const std::string &variable : state.environment) {
    if (variable.size() < 5 || !EqualIgnoringAsciiCase(variable.substr(0, 5), "PATH=")) continue;
    std::string list = variable.substr(5);
    size_t start = 0;
    while (start <= list.size()) {
      size_t end = list.find(';', start);
      if (end == std::string::npos) end = list.size();
      if (end > start) directories.push_back(list.substr(start, end - start));
      start = end + 1;
    }
  }
  return directories;
}

}  // namespace

namespace {

// The program file one candidate name gives, looked for where Windows looks for it.
std::optional<WindowsPath> FindProgramItem(Machine::State &state, std::string item, const WindowsPath &currentDirectory,
                                           const std::optional<WindowsPath> &startingProgram, DWORD *error) {
  if (item.empty()) {
    *error = ERROR_PATH_NOT_FOUND;
    return std::nullopt;
  }
  // A name without an extension is taken as a .exe; the extension is what follows the last dot of the name.
  // Trail bytes 0x5C of double-byte characters are neither separators nor part of a directory.
  size_t nameStart = NameStart(item);
  if (item.find('.', nameStart) == std::string::npos) item += ".exe";

  std::vector<WindowsPath> candidates;
  WindowsPath parsed;
  bool hasDirectory = nameStart != 0;
  if (hasDirectory) {
    if (!ParseWindowsPath(item, currentDirectory, &parsed, error)) return std::nullopt;
    candidates.push_back(parsed);
  } else {
    std::vector<WindowsPath> directories;
    if (startingProgram) directories.push_back(startingProgram->Parent());
    directories.push_back(currentDirectory);
    directories.push_back(state.systemDirectory);
    directories.push_back(state.windowsDirectory);
    for (const std::string &directory : PathDirectories(state)) {
      DWORD ignored;
      if (ParseWindowsPath(directory, currentDirectory, &parsed, &ignored)) directories.push_back(parsed);
    }
    for (const WindowsPath &directory : directories) {
      if (ParseWindowsPath(item, directory, &parsed, error)) candidates.push_back(parsed);
    }
  }
  for (const WindowsPath &candidate : candidates) {
    if (auto found = ExistingFile(state, candidate)) {
      if (!IsProgramName(found->Name())) {
        *error = ERROR_BAD_FORMAT;
        return std::nullopt;
      }
      return found;
    }
  }
  *error = ERROR_FILE_NOT_FOUND;
  return std::nullopt;
}

}  // namespace

std::optional<WindowsPath> FindProgramFile(Machine::State &state, std::string_view commandLine,
                                           const WindowsPath &currentDirectory,
                                           const std::optional<WindowsPath> &startingProgram, DWORD *error) {
  if (!commandLine.empty() && commandLine[0] == '"') {
    return FindProgramItem(state, FirstCommandLineItem(commandLine), currentDirectory, startingProgram, error);
  }
  // An unquoted name may hold blanks: each text up to a blank is tried in turn, then the whole line, as Win32's
  // CreateProcess does ("C:\Program Files\A B" tries C:\Program.exe, C:\Program Files\A.exe, ...).
  std::optional<DWORD> firstError;
  for (size_t end = 0; end <= commandLine.size(); ++end) {
    if (end < commandLine.size() && commandLine[end] != ' ' && commandLine[end] != '\t') continue;
    if (end == 0) {
      *error = ERROR_PATH_NOT_FOUND;
      return std::nullopt;
    }
    DWORD itemError = ERROR_SUCCESS;
    auto found =
        FindProgramItem(state, std::string(commandLine.substr(0, end)), currentDirectory, startingProgram, &itemError);
    if (found) return found;
    if (!firstError) firstError = itemError;
  }
  *error = firstError.value_or(ERROR_PATH_NOT_FOUND);
  return std::nullopt;
}

size_t AddProcess(Machine::State &state, ProcessRecord record) {
  record.id = state.nextProcessId;
  state.nextProcessId += 0x2C;
  state.processes.push_back(std::move(record));
  size_t index = state.processes.size() - 1;
  if (state.processes[index].deferred) state.deferredProcesses.push_back(index);
  return index;
}

void RunDescribedProgram(Machine::State &state, size_t process) {
  ProcessRecord record = state.processes[process];
  auto behaviour = state.programs.find(ProgramKey(record.program));
  DWORD exitCode = 0;
  WindowsPath currentDirectory;
  DWORD error;
  if (!ParseWindowsPath(record.currentDirectory, WindowsPath{}, &currentDirectory, &error)) currentDirectory = {};
  if (behaviour != state.programs.end()) {
    for (const ProgramAction &action : behaviour->second.actions) {
      WindowsPath target;
      switch (action.kind) {
        case ProgramAction::Kind::DeleteFile:
          if (ParseWindowsPath(action.argument, currentDirectory, &target, &error)) DeleteMachineFile(state, target);
          break;
        case ProgramAction::Kind::RemoveDirectory:
          if (ParseWindowsPath(action.argument, currentDirectory, &target, &error)) {
            RemoveMachineDirectory(state, target);
          }
          break;
        case ProgramAction::Kind::Start: {
          WindowsPath starter;
          ParseWindowsPath(record.program, WindowsPath{}, &starter, &error);
          auto program = FindProgramFile(state, action.argument, currentDirectory, starter, &error);
          if (!program) break;
          ProcessRecord started;
          started.program = program->Text();
          started.commandLine = action.argument;
          started.currentDirectory = currentDirectory.Text();
          started.parentId = record.id;
          started.deferred = true;
          AddProcess(state, std::move(started));
          break;
        }
      }
    }
    exitCode = behaviour->second.exitCode;
  }
  state.processes[process].exitCode = exitCode;
}

void RunDeferredPrograms(Machine::State &state) {
  for (size_t next = 0; next < state.deferredProcesses.size(); ++next) {
    RunDescribedProgram(state, state.deferredProcesses[next]);
  }
  state.deferredProcesses.clear();
}

}  // namespace winsim
