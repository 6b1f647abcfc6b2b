// File operations of the simulated machine shared by its Win32 operations and by the programs it simulates.
#include "platform/simulated/file_system.h"

#include <sys/stat.h>

#include <system_error>

#include "platform/simulated/text/cp932.h"

namespace winsim {

std::optional<WindowsPath> PathArgument(const Machine::State &state, const char *path, DWORD *error,
                                        bool allowWildcards) {
  if (path == nullptr) {
    *error = ERROR_INVALID_PARAMETER;
    return std::nullopt;
  }
  WindowsPath parsed;
  if (!ParseWindowsPath(path, state.currentDirectory, &parsed, error, allowWildcards)) return std::nullopt;
  return parsed;
}

// The read-only attribute is kept as the host file's owner write permission, so it travels with a machine folder.
bool IsReadOnly(const std::filesystem::path &host) {
  struct stat info;
  if (stat(host.c_str(), &info) != 0) return false;
  return (info.st_mode & S_IWUSR) == 0;
}

void SetHostReadOnly(const std::filesystem::path &host, bool readOnly) {
  std::error_code error;
  std::filesystem::permissions(host, std::filesystem::perms::owner_write,
                               readOnly ? std::filesystem::perm_options::remove : std::filesystem::perm_options::add,
                               error);
}

bool IsOpen(const Machine::State &state, const std::filesystem::path &host) {
  for (const auto &[value, entry] : state.handles) {
    if (entry.kind == HandleKind::File && entry.hostPath == host) return true;
  }
  return false;
}

bool SharingAllows(const Machine::State &state, const std::filesystem::path &host, DWORD access, DWORD share) {
  for (const auto &[value, entry] : state.handles) {
    if (entry.kind != HandleKind::File || entry.hostPath != host) continue;
    if ((access & GENERIC_READ) && !(entry.share & FILE_SHARE_READ)) return false;
    if ((access & GENERIC_WRITE) && !(entry.share & FILE_SHARE_WRITE)) return false;
    if ((entry.access & GENERIC_READ) && !(share & FILE_SHARE_READ)) return false;
    if ((entry.access & GENERIC_WRITE) && !(share & FILE_SHARE_WRITE)) return false;
  }
  return true;
}

bool IsCurrentDirectory(const Machine::State &state, const WindowsPath &spelt) {
  if (!state.running) return false;
  DriveLookup current = state.drive.Find(state.currentDirectory);
  DriveLookup directory = state.drive.Find(spelt);
  return current.exists && directory.exists && current.host == directory.host;
}

DWORD DeleteMachineFile(Machine::State &state, const WindowsPath &path) {
  DriveLookup lookup = state.drive.Find(path);
  if (!lookup.parentExists) return ERROR_PATH_NOT_FOUND;
  if (!lookup.exists) return ERROR_FILE_NOT_FOUND;
  // Windows 95 refuses to delete a directory, a read-only file or a file that is open anywhere.
  if (lookup.isDirectory || IsReadOnly(lookup.host) || IsOpen(state, lookup.host)) return ERROR_ACCESS_DENIED;
  std::error_code error;
  if (!std::filesystem::remove(lookup.host, error)) return ERROR_ACCESS_DENIED;
  return ERROR_SUCCESS;
}

DWORD RemoveMachineDirectory(Machine::State &state, const WindowsPath &path) {
  DriveLookup lookup = state.drive.Find(path);
  if (!lookup.parentExists) return ERROR_PATH_NOT_FOUND;
  if (!lookup.exists) return ERROR_FILE_NOT_FOUND;
  if (!lookup.isDirectory) return ERROR_DIRECTORY;
  if (path.IsRoot()) return ERROR_ACCESS_DENIED;
  std::error_code error;
  // As under DOS, a directory that still holds anything is refused with "access denied".
  if (!std::filesystem::is_empty(lookup.host, error)) return ERROR_ACCESS_DENIED;
  // A directory that a running program has as its current directory is in use.
  if (IsCurrentDirectory(state, lookup.spelt)) return ERROR_CURRENT_DIRECTORY;
  // So is one that a search still open was made in: Windows 95 keeps it until FindClose.
  for (const auto &[value, entry] : state.handles) {
    if (entry.kind == HandleKind::Search && entry.hostPath == lookup.host) return ERROR_SHARING_VIOLATION;
  }
  if (!std::filesystem::remove(lookup.host, error)) return ERROR_ACCESS_DENIED;
  return ERROR_SUCCESS;
}

DWORD AttributesOf(const std::filesystem::path &host) {
  std::error_code error;
  DWORD attributes = std::filesystem::is_directory(host, error) ? FILE_ATTRIBUTE_DIRECTORY : FILE_ATTRIBUTE_ARCHIVE;
  if (IsReadOnly(host)) attributes |= FILE_ATTRIBUTE_READONLY;
  return attributes;
}

}  // namespace winsim
