// The simulated machine's Win32 operations on directories and files of drive C:.
#include <fcntl.h>
#include <unistd.h>

#include <cstring>
#include <fstream>
#include <system_error>

#include "platform/simulated/api_call.h"
#include "platform/simulated/file_system.h"
#include "platform/simulated/handle_table.h"
#include "platform/simulated/text/cp932.h"
#include "platform/simulated/text/wildcard.h"

using namespace winsim;

namespace {

// Copies text into a caller's buffer as the directory operations do: the length without the NUL when it fits,
// else the size needed with the NUL and the buffer untouched.
UINT CopyDirectoryText(const std::string &text, LPSTR buffer, UINT size) {
  if (buffer == nullptr || size <= text.size()) return static_cast<UINT>(text.size() + 1);
  std::memcpy(buffer, text.c_str(), text.size() + 1);
  return static_cast<UINT>(text.size());
}

}  // namespace

extern "C" UINT WINAPI GetWindowsDirectoryA(LPSTR buffer, UINT size) {
  ApiCall call("GetWindowsDirectoryA", {HandleArgument(buffer), NumberArgument(size)});
  if (call.Faulted()) return call.Fail<UINT>(0, ERROR_INVALID_FUNCTION);
  return call.Return(CopyDirectoryText(call.machine().windowsDirectory.Text(), buffer, size));
}

extern "C" UINT WINAPI GetSystemDirectoryA(LPSTR buffer, UINT size) {
  ApiCall call("GetSystemDirectoryA", {HandleArgument(buffer), NumberArgument(size)});
  if (call.Faulted()) return call.Fail<UINT>(0, ERROR_INVALID_FUNCTION);
  return call.Return(CopyDirectoryText(call.machine().systemDirectory.Text(), buffer, size));
}

extern "C" DWORD WINAPI GetCurrentDirectoryA(DWORD size, LPSTR buffer) {
  ApiCall call("GetCurrentDirectoryA", {NumberArgument(size), HandleArgument(buffer)});
  if (call.Faulted()) return call.Fail<DWORD>(0, ERROR_INVALID_FUNCTION);
  return call.Return<DWORD>(CopyDirectoryText(call.machine().currentDirectory.Text(), buffer, size));
}

extern "C" BOOL WINAPI SetCurrentDirectoryA(LPCSTR path) {
  ApiCall call("SetCurrentDirectoryA", {TextArgument(path)});
  Machine::State &state = call.machine();
  if (call.Faulted()) return call.Fail(FALSE, ERROR_PATH_NOT_FOUND);
  DWORD error = ERROR_SUCCESS;
  auto resolved = PathArgument(state, path, &error);
  if (!resolved) return call.Fail(FALSE, error);
  DriveLookup lookup = state.drive.Find(*resolved);
  if (!lookup.exists || !lookup.isDirectory) return call.Fail(FALSE, ERROR_PATH_NOT_FOUND);
  state.currentDirectory = lookup.spelt;
  return call.Return(TRUE);
}

extern "C" HANDLE WINAPI CreateFileA(LPCSTR name, DWORD access, DWORD shareMode, LPSECURITY_ATTRIBUTES,
                                     DWORD disposition, DWORD flagsAndAttributes, HANDLE) {
  ApiCall call("CreateFileA", {TextArgument(name), NumberArgument(access), NumberArgument(shareMode),
                               NumberArgument(disposition), NumberArgument(flagsAndAttributes)});
  Machine::State &state = call.machine();
  if (call.Faulted()) return call.Fail(INVALID_HANDLE_VALUE, ERROR_ACCESS_DENIED);
  DWORD error = ERROR_SUCCESS;
  auto resolved = PathArgument(state, name, &error);
  if (!resolved) return call.Fail(INVALID_HANDLE_VALUE, error);
  if (resolved->IsRoot()) return call.Fail(INVALID_HANDLE_VALUE, ERROR_ACCESS_DENIED);
  DriveLookup lookup = state.drive.Find(*resolved);
  if (!lookup.parentExists) return call.Fail(INVALID_HANDLE_VALUE, ERROR_PATH_NOT_FOUND);
  if (lookup.isDirectory) return call.Fail(INVALID_HANDLE_VALUE, ERROR_ACCESS_DENIED);

  bool exists = lookup.exists;
  switch (disposition) {
    case CREATE_NEW:
      if (exists) return call.Fail(INVALID_HANDLE_VALUE, ERROR_FILE_EXISTS);
      break;
    case OPEN_EXISTING:
    case TRUNCATE_EXISTING:
      if (!exists) return call.Fail(INVALID_HANDLE_VALUE, ERROR_FILE_NOT_FOUND);
      break;
    case CREATE_ALWAYS:
    case OPEN_ALWAYS:
      break;
    default:
      return call.Fail(INVALID_HANDLE_VALUE, ERROR_INVALID_PARAMETER);
  }
  bool writes = (access & GENERIC_WRITE) != 0 || disposition == CREATE_ALWAYS || disposition == TRUNCATE_EXISTING;
  if (exists && writes && IsReadOnly(lookup.host)) return call.Fail(INVALID_HANDLE_VALUE, ERROR_ACCESS_DENIED);
  if (exists && !SharingAllows(state, lookup.host, access, shareMode)) {
    return call.Fail(INVALID_HANDLE_VALUE, ERROR_SHARING_VIOLATION);
  }

  int flags = (access & GENERIC_WRITE) ? ((access & GENERIC_READ) ? O_RDWR : O_WRONLY) : O_RDONLY;
  if (!exists) flags |= O_CREAT;
  if (disposition == CREATE_ALWAYS || disposition == TRUNCATE_EXISTING) flags |= O_TRUNC | O_CREAT;
  int descriptor = open(lookup.host.c_str(), flags | O_CLOEXEC, 0644);
  if (descriptor < 0) return call.Fail(INVALID_HANDLE_VALUE, ERROR_ACCESS_DENIED);

  HandleEntry entry;
  entry.kind = HandleKind::File;
  entry.descriptor = descriptor;
  entry.hostPath = lookup.host;
  entry.access = access;
  entry.share = shareMode;
  entry.description = "file " + resolved->Text();
  HANDLE handle = AddHandle(state, std::move(entry));
  state.lastError =
      exists && (disposition == CREATE_ALWAYS || disposition == OPEN_ALWAYS) ? ERROR_ALREADY_EXISTS : ERROR_SUCCESS;
  return call.Return(handle);
}

extern "C" BOOL WINAPI ReadFile(HANDLE file, LPVOID buffer, DWORD toRead, LPDWORD read, LPOVERLAPPED) {
  ApiCall call("ReadFile", {HandleArgument(file), NumberArgument(toRead)});
  if (read != nullptr) *read = 0;
  if (call.Faulted()) return call.Fail(FALSE, ERROR_READ_FAULT);
  HandleEntry *entry = FindHandle(call.machine(), file, HandleKind::File);
  if (entry == nullptr) return call.Fail(FALSE, ERROR_INVALID_HANDLE);
  if (!(entry->access & GENERIC_READ)) return call.Fail(FALSE, ERROR_ACCESS_DENIED);
  ssize_t got = ::read(entry->descriptor, buffer, toRead);
  if (got < 0) return call.Fail(FALSE, ERROR_READ_FAULT);
  if (read != nullptr) *read = static_cast<DWORD>(got);
  return call.Return(TRUE);
}

extern "C" BOOL WINAPI WriteFile(HANDLE file, LPCVOID buffer, DWORD toWrite, LPDWORD written, LPOVERLAPPED) {
  ApiCall call("WriteFile", {HandleArgument(file), NumberArgument(toWrite)});
  if (written != nullptr) *written = 0;
  if (call.Faulted()) return call.Fail(FALSE, ERROR_HANDLE_DISK_FULL);
  HandleEntry *entry = FindHandle(call.machine(), file, HandleKind::File);
  if (entry == nullptr) return call.Fail(FALSE, ERROR_INVALID_HANDLE);
  if (!(entry->access & GENERIC_WRITE)) return call.Fail(FALSE, ERROR_ACCESS_DENIED);
  ssize_t put = ::write(entry->descriptor, buffer, toWrite);
  if (put < 0) return call.Fail(FALSE, ERROR_WRITE_FAULT);
  if (written != nullptr) *written = static_cast<DWORD>(put);
  return call.Return(TRUE);
}

extern "C" BOOL WINAPI DeleteFileA(LPCSTR name) {
  ApiCall call("DeleteFileA", {TextArgument(name)});
  Machine::State &state = call.machine();
  if (call.Faulted()) return call.Fail(FALSE, ERROR_ACCESS_DENIED);
  DWORD error = ERROR_SUCCESS;
  auto resolved = PathArgument(state, name, &error);
  if (!resolved) return call.Fail(FALSE, error);
  error = DeleteMachineFile(state, *resolved);
  if (error != ERROR_SUCCESS) return call.Fail(FALSE, error);
  return call.Return(TRUE);
}

extern "C" BOOL WINAPI CopyFileA(LPCSTR existing, LPCSTR target, BOOL failIfExists) {
  ApiCall call("CopyFileA", {TextArgument(existing), TextArgument(target), NumberArgument(failIfExists)});
  Machine::State &state = call.machine();
  if (call.Faulted()) return call.Fail(FALSE, ERROR_ACCESS_DENIED);
  DWORD error = ERROR_SUCCESS;
  auto from = PathArgument(state, existing, &error);
  if (!from) return call.Fail(FALSE, error);
  auto to = PathArgument(state, target, &error);
  if (!to) return call.Fail(FALSE, error);
  DriveLookup source = state.drive.Find(*from);
  if (!source.exists) return call.Fail(FALSE, source.parentExists ? ERROR_FILE_NOT_FOUND : ERROR_PATH_NOT_FOUND);
  if (source.isDirectory) return call.Fail(FALSE, ERROR_ACCESS_DENIED);
  DriveLookup destination = state.drive.Find(*to);
  if (!destination.parentExists) return call.Fail(FALSE, ERROR_PATH_NOT_FOUND);
  if (destination.exists) {
    if (failIfExists) return call.Fail(FALSE, ERROR_FILE_EXISTS);
    if (destination.isDirectory || IsReadOnly(destination.host)) return call.Fail(FALSE, ERROR_ACCESS_DENIED);
    if (!SharingAllows(state, destination.host, GENERIC_WRITE, 0)) return call.Fail(FALSE, ERROR_SHARING_VIOLATION);
  }
  if (!SharingAllows(state, source.host, GENERIC_READ, FILE_SHARE_READ)) {
    return call.Fail(FALSE, ERROR_SHARING_VIOLATION);
  }
  std::ifstream in(source.host, std::ios::binary);
  std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::ofstream out(destination.host, std::ios::binary | std::ios::trunc);
  out << bytes;
  out.close();
  if (!in.good() && !in.eof()) return call.Fail(FALSE, ERROR_READ_FAULT);
  if (!out) return call.Fail(FALSE, ERROR_WRITE_FAULT);
  SetHostReadOnly(destination.host, IsReadOnly(source.host));
  return call.Return(TRUE);
}

extern "C" BOOL WINAPI CreateDirectoryA(LPCSTR path, LPSECURITY_ATTRIBUTES) {
  ApiCall call("CreateDirectoryA", {TextArgument(path)});
  Machine::State &state = call.machine();
  if (call.Faulted()) return call.Fail(FALSE, ERROR_ACCESS_DENIED);
  DWORD error = ERROR_SUCCESS;
  auto resolved = PathArgument(state, path, &error);
  if (!resolved) return call.Fail(FALSE, error);
  DriveLookup lookup = state.drive.Find(*resolved);
  if (lookup.exists) return call.Fail(FALSE, ERROR_ALREADY_EXISTS);
  if (!lookup.parentExists) return call.Fail(FALSE, ERROR_PATH_NOT_FOUND);
  std::error_code failure;
  if (!std::filesystem::create_directory(lookup.host, failure)) return call.Fail(FALSE, ERROR_ACCESS_DENIED);
  return call.Return(TRUE);
}

extern "C" BOOL WINAPI RemoveDirectoryA(LPCSTR path) {
  ApiCall call("RemoveDirectoryA", {TextArgument(path)});
  Machine::State &state = call.machine();
  if (call.Faulted()) return call.Fail(FALSE, ERROR_ACCESS_DENIED);
  DWORD error = ERROR_SUCCESS;
  auto resolved = PathArgument(state, path, &error);
  if (!resolved) return call.Fail(FALSE, error);
  error = RemoveMachineDirectory(state, *resolved);
  if (error != ERROR_SUCCESS) return call.Fail(FALSE, error);
  return call.Return(TRUE);
}

extern "C" DWORD WINAPI GetFileAttributesA(LPCSTR name) {
  ApiCall call("GetFileAttributesA", {TextArgument(name)});
  Machine::State &state = call.machine();
  const DWORD invalid = 0xFFFFFFFFu;
  if (call.Faulted()) return call.Fail(invalid, ERROR_FILE_NOT_FOUND);
  DWORD error = ERROR_SUCCESS;
  auto resolved = PathArgument(state, name, &error);
  if (!resolved) return call.Fail(invalid, error);
  DriveLookup lookup = state.drive.Find(*resolved);
  if (!lookup.exists) return call.Fail(invalid, lookup.parentExists ? ERROR_FILE_NOT_FOUND : ERROR_PATH_NOT_FOUND);
  return call.Return(AttributesOf(lookup.host));
}

extern "C" UINT WINAPI GetTempFileNameA(LPCSTR path, LPCSTR prefix, UINT unique, LPSTR tempFileName) {
  ApiCall call("GetTempFileNameA", {TextArgument(path), TextArgument(prefix), NumberArgument(unique)});
  Machine::State &state = call.machine();
  if (call.Faulted()) return call.Fail<UINT>(0, ERROR_ACCESS_DENIED);
  DWORD error = ERROR_SUCCESS;
  auto directory = PathArgument(state, path, &error);
  if (!directory || tempFileName == nullptr) return call.Fail<UINT>(0, directory ? ERROR_INVALID_PARAMETER : error);
  DriveLookup place = state.drive.Find(*directory);
  if (!place.exists || !place.isDirectory) return call.Fail<UINT>(0, ERROR_DIRECTORY);
  std::string stem = prefix ? std::string(prefix).substr(0, 3) : std::string();
  char hex[8];
  if (unique != 0) {
    // With a number given, Windows only forms the name; it neither checks nor creates the file.
    std::snprintf(hex, sizeof hex, "%X", unique & 0xFFFF);
    std::string name = place.spelt.Child(stem + hex + ".TMP").Text();
    std::memcpy(tempFileName, name.c_str(), name.size() + 1);
    return call.Return(unique & 0xFFFF);
  }
  for (int attempt = 0; attempt < 0x10000; ++attempt) {
    unsigned number = state.nextTemporaryName++ & 0xFFFF;
    if (number == 0) continue;
    std::snprintf(hex, sizeof hex, "%X", number);
    WindowsPath candidate = place.spelt.Child(stem + hex + ".TMP");
    DriveLookup lookup = state.drive.Find(candidate);
    if (lookup.exists) continue;
    std::ofstream create(lookup.host, std::ios::binary);
    if (!create) return call.Fail<UINT>(0, ERROR_ACCESS_DENIED);
    std::string name = candidate.Text();
    std::memcpy(tempFileName, name.c_str(), name.size() + 1);
    return call.Return<UINT>(number);
  }
  return call.Fail<UINT>(0, ERROR_FILE_EXISTS);
}

namespace {

void FillFindData(const FoundEntry &entry, LPWIN32_FIND_DATAA data) {
  std::memset(data, 0, sizeof *data);
  data->dwFileAttributes = entry.attributes;
  data->nFileSizeLow = static_cast<DWORD>(entry.size & 0xFFFFFFFFu);
  data->nFileSizeHigh = static_cast<DWORD>(entry.size >> 32);
  std::string name = entry.name.substr(0, MAX_PATH - 1);
  std::memcpy(data->cFileName, name.c_str(), name.size() + 1);
}

}  // namespace

extern "C" HANDLE WINAPI FindFirstFileA(LPCSTR pattern, LPWIN32_FIND_DATAA findData) {
  ApiCall call("FindFirstFileA", {TextArgument(pattern)});
  Machine::State &state = call.machine();
  if (call.Faulted()) return call.Fail(INVALID_HANDLE_VALUE, ERROR_FILE_NOT_FOUND);
  if (pattern == nullptr || pattern[0] == '\0') return call.Fail(INVALID_HANDLE_VALUE, ERROR_PATH_NOT_FOUND);
  std::string_view text(pattern);
  // A pattern that ends in a separator names no entry; a trail byte 0x5C is no separator.
  if (EndsWithSeparator(text)) return call.Fail(INVALID_HANDLE_VALUE, ERROR_FILE_NOT_FOUND);
  DWORD error = ERROR_SUCCESS;
  auto resolved = PathArgument(state, pattern, &error, true);
  if (!resolved) return call.Fail(INVALID_HANDLE_VALUE, error);
  if (resolved->IsRoot()) return call.Fail(INVALID_HANDLE_VALUE, ERROR_FILE_NOT_FOUND);
  DriveLookup directory = state.drive.Find(resolved->Parent());
  if (!directory.exists || !directory.isDirectory) return call.Fail(INVALID_HANDLE_VALUE, ERROR_PATH_NOT_FOUND);

  HandleEntry entry;
  entry.kind = HandleKind::Search;
  entry.hostPath = directory.host;
  entry.description = "search " + resolved->Text();
  const std::string &namePattern = resolved->Name();
  // A FAT directory below the root holds the entries "." and ".." first, and a search lists them like any other.
  if (!directory.spelt.IsRoot()) {
    for (const char *dots : {".", ".."}) {
      if (WildcardMatch(namePattern, dots)) entry.found.push_back({dots, FILE_ATTRIBUTE_DIRECTORY, 0});
    }
  }
  for (const DriveEntry &candidate : state.drive.List(directory.host)) {
    if (!WildcardMatch(namePattern, candidate.name)) continue;
    std::error_code failure;
    FoundEntry found;
    found.name = candidate.name;
    found.attributes = AttributesOf(candidate.host);
    found.size = std::filesystem::is_regular_file(candidate.host, failure)
                     ? std::filesystem::file_size(candidate.host, failure)
                     : 0;
    entry.found.push_back(found);
  }
  if (entry.found.empty()) return call.Fail(INVALID_HANDLE_VALUE, ERROR_FILE_NOT_FOUND);
  if (findData != nullptr) FillFindData(entry.found[0], findData);
  entry.next = 1;
  return call.Return(AddHandle(state, std::move(entry)));
}

extern "C" BOOL WINAPI FindNextFileA(HANDLE find, LPWIN32_FIND_DATAA findData) {
  ApiCall call("FindNextFileA", {HandleArgument(find)});
  if (call.Faulted()) return call.Fail(FALSE, ERROR_NO_MORE_FILES);
  HandleEntry *entry = FindHandle(call.machine(), find, HandleKind::Search);
  if (entry == nullptr) return call.Fail(FALSE, ERROR_INVALID_HANDLE);
  if (entry->next >= entry->found.size()) return call.Fail(FALSE, ERROR_NO_MORE_FILES);
  if (findData != nullptr) FillFindData(entry->found[entry->next], findData);
  ++entry->next;
  return call.Return(TRUE);
}

extern "C" BOOL WINAPI FindClose(HANDLE find) {
  ApiCall call("FindClose", {HandleArgument(find)});
  if (call.Faulted()) return call.Fail(FALSE, ERROR_INVALID_HANDLE);
  Machine::State &state = call.machine();
  if (FindHandle(state, find, HandleKind::Search) == nullptr) return call.Fail(FALSE, ERROR_INVALID_HANDLE);
  DropHandle(state, find);
  return call.Return(TRUE);
}
