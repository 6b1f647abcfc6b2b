// File operations of the simulated machine shared by its Win32 operations and by the programs it simulates.
#ifndef PLATFORM_SIMULATED_FILE_SYSTEM_H
#define PLATFORM_SIMULATED_FILE_SYSTEM_H

#include <optional>
#include <string>
#include <string_view>

#include "platform/simulated/machine_state.h"

namespace winsim {

// A path argument of a Win32 call, resolved against the running program's current directory. nullopt with the
// Win32 error when it cannot be (ERROR_INVALID_PARAMETER for NULL).
std::optional<WindowsPath> PathArgument(const Machine::State &state, const char *path, DWORD *error,
                                        bool allowWildcards = false);

bool IsReadOnly(const std::filesystem::path &host);
void SetHostReadOnly(const std::filesystem::path &host, bool readOnly);

// Whether any open handle of the machine refers to this host file.
bool IsOpen(const Machine::State &state, const std::filesystem::path &host);

// Whether a new opening with this access and share mode is compatible with every opening already made.
bool SharingAllows(const Machine::State &state, const std::filesystem::path &host, DWORD access, DWORD share);

// Whether the directory is the current directory of the running program.
bool IsCurrentDirectory(const Machine::State &state, const WindowsPath &spelt);

// Deletes a file as DeleteFileA does; ERROR_SUCCESS or the Win32 error.
DWORD DeleteMachineFile(Machine::State &state, const WindowsPath &path);
// Removes a directory as RemoveDirectoryA does; ERROR_SUCCESS or the Win32 error.
DWORD RemoveMachineDirectory(Machine::State &state, const WindowsPath &path);

// File attributes of an existing host entry as Windows reports them.
DWORD AttributesOf(const std::filesystem::path &host);

}  // namespace winsim

#endif
