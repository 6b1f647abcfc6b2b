// The simulated machine's Win32 operations on the running program, the processes it starts and handles.
#include <algorithm>
#include <cstring>

#include "platform/simulated/api_call.h"
#include "platform/simulated/handle_table.h"
#include "platform/simulated/processes.h"

using namespace winsim;

extern "C" DWORD WINAPI GetLastError(void) { return Current().lastError; }

extern "C" void WINAPI SetLastError(DWORD error) { Current().lastError = error; }

extern "C" HMODULE WINAPI GetModuleHandleA(LPCSTR moduleName) {
  ApiCall call("GetModuleHandleA", {TextArgument(moduleName)}, Faultable::No);
  if (moduleName != nullptr) return call.Fail<HMODULE>(nullptr, ERROR_FILE_NOT_FOUND);
  return call.Return(call.machine().module.instance);
}

extern "C" DWORD WINAPI GetModuleFileNameA(HMODULE module, LPSTR fileName, DWORD size) {
  ApiCall call("GetModuleFileNameA", {HandleArgument(module), NumberArgument(size)});
  Machine::State &state = call.machine();
  if (call.Faulted()) return call.Fail<DWORD>(0, ERROR_INVALID_FUNCTION);
  if (module != nullptr && module != state.module.instance) return call.Fail<DWORD>(0, ERROR_INVALID_HANDLE);
  if (fileName == nullptr || size == 0) return call.Return<DWORD>(0);
  // Cut to the buffer, which keeps its terminating NUL.
  size_t length = std::min<size_t>(state.programPath.size(), size - 1);
  std::memcpy(fileName, state.programPath.data(), length);
  fileName[length] = '\0';
  return call.Return(static_cast<DWORD>(length));
}

extern "C" LPSTR WINAPI GetCommandLineA(void) {
  ApiCall call("GetCommandLineA", {}, Faultable::No);
  return call.Return(call.machine().commandLine.data());
}

extern "C" void WINAPI GetStartupInfoA(LPSTARTUPINFOA startupInfo) {
  ApiCall call("GetStartupInfoA", {HandleArgument(startupInfo)}, Faultable::No);
  if (startupInfo != nullptr) *startupInfo = call.machine().startup;
  call.ReturnNothing();
}

extern "C" LPSTR WINAPI GetEnvironmentStrings(void) {
  ApiCall call("GetEnvironmentStrings", {}, Faultable::No);
  return call.Return(call.machine().environmentBlock.data());
}

namespace {

// An environment block: strings ended by NUL, the block by a second NUL.
std::string EnvironmentBlockText(const char *block) {
  if (block == nullptr) return {};
  const char *end = block;
  while (end[0] != '\0' || end[1] != '\0') ++end;
  return std::string(block, end + 2);
}

}  // namespace

extern "C" BOOL WINAPI CreateProcessA(LPCSTR applicationName, LPSTR commandLine, LPSECURITY_ATTRIBUTES,
                                      LPSECURITY_ATTRIBUTES, BOOL inheritHandles, DWORD creationFlags,
                                      LPVOID environment, LPCSTR currentDirectory, LPSTARTUPINFOA startupInfo,
                                      LPPROCESS_INFORMATION processInformation) {
  ApiCall call("CreateProcessA",
               {TextArgument(applicationName), TextArgument(commandLine), NumberArgument(inheritHandles),
                NumberArgument(creationFlags), environment ? "environment" : "NULL", TextArgument(currentDirectory)});
  Machine::State &state = call.machine();
  if (call.Faulted()) return call.Fail(FALSE, ERROR_NOT_ENOUGH_MEMORY);
  if (startupInfo == nullptr || processInformation == nullptr) return call.Fail(FALSE, ERROR_INVALID_PARAMETER);

  DWORD error = ERROR_SUCCESS;
  WindowsPath childDirectory = state.currentDirectory;
  if (currentDirectory != nullptr) {
    WindowsPath parsed;
    if (!ParseWindowsPath(currentDirectory, state.currentDirectory, &parsed, &error)) return call.Fail(FALSE, error);
    DriveLookup lookup = state.drive.Find(parsed);
    if (!lookup.exists || !lookup.isDirectory) return call.Fail(FALSE, ERROR_DIRECTORY);
    childDirectory = lookup.spelt;
  }
  std::string programText = applicationName != nullptr ? std::string("\"") + applicationName + "\""
                                                       : std::string(commandLine ? commandLine : "");
  WindowsPath starter;
  ParseWindowsPath(state.programPath, WindowsPath{}, &starter, &error);
  auto program = FindProgramFile(state, programText, state.currentDirectory, starter, &error);
  if (!program) return call.Fail(FALSE, error);

  ProcessRecord record;
  record.program = program->Text();
  record.commandLine = commandLine ? commandLine : program->Text();
  record.currentDirectory = childDirectory.Text();
  record.environment =
      EnvironmentBlockText(environment ? static_cast<const char *>(environment) : state.environmentBlock.data());
  record.startup = *startupInfo;
  record.creationFlags = creationFlags;
  record.inheritHandles = inheritHandles;
  record.parentId = state.processes.empty() ? 0 : state.processes.front().id;
  size_t index = AddProcess(state, std::move(record));
  RunDescribedProgram(state, index);

  HandleEntry processEntry;
  processEntry.kind = HandleKind::Process;
  processEntry.process = index;
  processEntry.description = "process " + state.processes[index].program;
  HandleEntry threadEntry = processEntry;
  threadEntry.kind = HandleKind::Thread;
  threadEntry.description = "thread of " + state.processes[index].program;
  processInformation->hProcess = AddHandle(state, std::move(processEntry));
  processInformation->hThread = AddHandle(state, std::move(threadEntry));
  processInformation->dwProcessId = state.processes[index].id;
  processInformation->dwThreadId = state.processes[index].id + 4;
  return call.Return(TRUE);
}

extern "C" DWORD WINAPI WaitForSingleObject(HANDLE handle, DWORD milliseconds) {
  ApiCall call("WaitForSingleObject", {HandleArgument(handle), NumberArgument(milliseconds)});
  Machine::State &state = call.machine();
  if (call.Faulted()) return call.Fail(WAIT_FAILED, ERROR_INVALID_HANDLE);
  HandleEntry *entry = FindHandle(state, handle, HandleKind::Process);
  if (entry == nullptr) entry = FindHandle(state, handle, HandleKind::Thread);
  if (entry == nullptr) return call.Fail(WAIT_FAILED, ERROR_INVALID_HANDLE);
  // A described program has done all it does by the time it is waited for.
  return call.Return(WAIT_OBJECT_0);
}

extern "C" BOOL WINAPI GetExitCodeProcess(HANDLE process, LPDWORD exitCode) {
  ApiCall call("GetExitCodeProcess", {HandleArgument(process)});
  Machine::State &state = call.machine();
  if (call.Faulted()) return call.Fail(FALSE, ERROR_INVALID_HANDLE);
  HandleEntry *entry = FindHandle(state, process, HandleKind::Process);
  if (entry == nullptr || exitCode == nullptr) return call.Fail(FALSE, ERROR_INVALID_HANDLE);
  *exitCode = state.processes[entry->process].exitCode;
  return call.Return(TRUE);
}

extern "C" BOOL WINAPI CloseHandle(HANDLE handle) {
  ApiCall call("CloseHandle", {HandleArgument(handle)});
  Machine::State &state = call.machine();
  // A failed close leaves the handle open, as it would be on Windows.
  if (call.Faulted()) return call.Fail(FALSE, ERROR_INVALID_HANDLE);
  // Searches are closed with FindClose alone.
  bool closable = FindHandle(state, handle, HandleKind::File) || FindHandle(state, handle, HandleKind::Process) ||
                  FindHandle(state, handle, HandleKind::Thread);
  if (!closable) return call.Fail(FALSE, ERROR_INVALID_HANDLE);
  DropHandle(state, handle);
  return call.Return(TRUE);
}
