// Programs on the simulated machine: finding a program file as CreateProcessA does, and running what is described.
#ifndef PLATFORM_SIMULATED_PROCESSES_H
#define PLATFORM_SIMULATED_PROCESSES_H

#include <optional>
#include <string>
#include <string_view>

#include "platform/simulated/machine_state.h"

namespace winsim {

// The program file that a command line names: a quoted first item as it stands; an unquoted one first up to its
// first blank, then up to each later blank, then the whole line, the first that names a program winning.
// ".exe" is added to a name without an extension; a name with a directory or drive is looked for there alone, a bare
// name in the starting program's directory, the current directory, the system directory, the Windows directory and the
// PATH directories, in that order. nullopt with a Win32 error when there is none or it is not a program.
std::optional<WindowsPath> FindProgramFile(Machine::State &state, std::string_view commandLine,
                                           const WindowsPath &currentDirectory,
                                           const std::optional<WindowsPath> &startingProgram, DWORD *error);

// Records a started process. A deferred one runs only after the deliverable has ended.
size_t AddProcess(Machine::State &state, ProcessRecord record);

// Carries out the described behaviour of a started program (deleting files, starting others) and ends it.
void RunDescribedProgram(Machine::State &state, size_t process);

// Runs the programs that were left to run after the deliverable, and those they start in turn.
void RunDeferredPrograms(Machine::State &state);

// The key of a program's described behaviour: its full path, letter case ignored.
std::string ProgramKey(std::string_view fullPath);

}  // namespace winsim

#endif
