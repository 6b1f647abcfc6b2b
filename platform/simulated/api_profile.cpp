// The simulated machine's profile-string operations on INI files, win.ini among them.
#include <cstring>
#include <fstream>
#include <optional>

#include "platform/simulated/api_call.h"
#include "platform/simulated/file_system.h"
#include "platform/simulated/text/profile_text.h"

using namespace winsim;

namespace {

// A bare file name is taken from the Windows directory; anything with a directory or drive as it stands. A trail
// byte 0x5C of a double-byte character does not make a name a path.
std::optional<WindowsPath> ProfilePath(Machine::State &state, const char *fileName) {
  std::string_view name(fileName);
  DWORD error;
  WindowsPath path;
  const WindowsPath &base = NameStart(name) == 0 ? state.windowsDirectory : state.currentDirectory;
  if (!ParseWindowsPath(name, base, &path, &error)) return std::nullopt;
  return path;
}

std::optional<std::string> ReadProfile(Machine::State &state, const WindowsPath &path) {
  DriveLookup lookup = state.drive.Find(path);
  if (!lookup.exists || lookup.isDirectory) return std::nullopt;
  std::ifstream in(lookup.host, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// Copies a value cut to the buffer; the count copied without the NUL.
DWORD CopyValue(const std::string &value, LPSTR buffer, DWORD size) {
  if (buffer == nullptr || size == 0) return 0;
  size_t length = std::min<size_t>(value.size(), size - 1);
  std::memcpy(buffer, value.data(), length);
  buffer[length] = '\0';
  return static_cast<DWORD>(length);
}

// Copies a list of names, each ended by NUL and the list by another; a list cut short answers size - 2.
DWORD CopyList(const std::vector<std::string> &names, LPSTR buffer, DWORD size) {
  if (buffer == nullptr || size == 0) return 0;
  if (size == 1) {
    buffer[0] = '\0';
    return 0;
  }
  std::string list;
  for (const std::string &name : names) list += name + '\0';
  if (list.size() + 1 > size) {
    std::memcpy(buffer, list.data(), size - 2);
    buffer[size - 2] = '\0';
    buffer[size - 1] = '\0';
    return size - 2;
  }
  std::memcpy(buffer, list.data(), list.size());
  buffer[list.size()] = '\0';
  if (list.empty() && size > 1) buffer[1] = '\0';
  return static_cast<DWORD>(list.size());
}

std::string DefaultWithoutTrailingBlanks(const char *defaultValue) {
  std::string value = defaultValue ? defaultValue : "";
  while (!value.empty() && value.back() == ' ') value.pop_back();
  return value;
}

DWORD GetProfileValue(Machine::State &state, const char *section, const char *key, const char *defaultValue,
                      LPSTR buffer, DWORD size, const char *fileName) {
  std::optional<std::string> content;
  if (fileName != nullptr) {
    if (auto path = ProfilePath(state, fileName)) content = ReadProfile(state, *path);
  }
  std::string text = content.value_or("");
  if (section == nullptr) return CopyList(ProfileSectionNames(text), buffer, size);
  if (key == nullptr) return CopyList(ProfileKeyNames(text, section), buffer, size);
  std::optional<std::string> value = content ? ProfileLookup(text, section, key) : std::nullopt;
  return CopyValue(value ? *value : DefaultWithoutTrailingBlanks(defaultValue), buffer, size);
}

DWORD WriteProfileValue(Machine::State &state, const char *section, const char *key, const char *value,
                        const char *fileName) {
  if (section == nullptr || fileName == nullptr) return ERROR_INVALID_PARAMETER;
  auto path = ProfilePath(state, fileName);
  if (!path) return ERROR_PATH_NOT_FOUND;
  DriveLookup lookup = state.drive.Find(*path);
  if (!lookup.parentExists) return ERROR_PATH_NOT_FOUND;
  if (lookup.isDirectory) return ERROR_ACCESS_DENIED;
  if (lookup.exists && (IsReadOnly(lookup.host) || !SharingAllows(state, lookup.host, GENERIC_WRITE, 0))) {
    return ERROR_ACCESS_DENIED;
  }
  std::string content = ReadProfile(state, *path).value_or("");
  std::string keyText = key ? key : "";
  std::string valueText = value ? value : "";
  std::string written = ProfileWrite(content, section, key ? &keyText : nullptr, value ? &valueText : nullptr);
  if (written == content && lookup.exists) return ERROR_SUCCESS;
  std::ofstream out(lookup.host, std::ios::binary | std::ios::trunc);
  out << written;
  return out ? ERROR_SUCCESS : ERROR_WRITE_FAULT;
}

const char kWinIni[] = "WIN.INI";

}  // namespace

extern "C" DWORD WINAPI GetPrivateProfileStringA(LPCSTR section, LPCSTR key, LPCSTR defaultValue, LPSTR buffer,
                                                 DWORD size, LPCSTR fileName) {
  ApiCall call("GetPrivateProfileStringA", {TextArgument(section), TextArgument(key), TextArgument(defaultValue),
                                            NumberArgument(size), TextArgument(fileName)});
  // A profile that cannot be read gives the default, as a missing file does.
  if (call.Faulted()) {
    return call.Fail(CopyValue(DefaultWithoutTrailingBlanks(defaultValue), buffer, size), ERROR_READ_FAULT);
  }
  return call.Return(GetProfileValue(call.machine(), section, key, defaultValue, buffer, size, fileName));
}

extern "C" DWORD WINAPI GetProfileStringA(LPCSTR section, LPCSTR key, LPCSTR defaultValue, LPSTR buffer, DWORD size) {
  ApiCall call("GetProfileStringA",
               {TextArgument(section), TextArgument(key), TextArgument(defaultValue), NumberArgument(size)});
  if (call.Faulted()) {
    return call.Fail(CopyValue(DefaultWithoutTrailingBlanks(defaultValue), buffer, size), ERROR_READ_FAULT);
  }
  return call.Return(GetProfileValue(call.machine(), section, key, defaultValue, buffer, size, kWinIni));
}

extern "C" BOOL WINAPI WritePrivateProfileStringA(LPCSTR section, LPCSTR key, LPCSTR value, LPCSTR fileName) {
  ApiCall call("WritePrivateProfileStringA",
               {TextArgument(section), TextArgument(key), TextArgument(value), TextArgument(fileName)});
  if (call.Faulted()) return call.Fail(FALSE, ERROR_WRITE_FAULT);
  DWORD error = WriteProfileValue(call.machine(), section, key, value, fileName);
  if (error != ERROR_SUCCESS) return call.Fail(FALSE, error);
  return call.Return(TRUE);
}

extern "C" BOOL WINAPI WriteProfileStringA(LPCSTR section, LPCSTR key, LPCSTR value) {
  ApiCall call("WriteProfileStringA", {TextArgument(section), TextArgument(key), TextArgument(value)});
  if (call.Faulted()) return call.Fail(FALSE, ERROR_WRITE_FAULT);
  DWORD error = WriteProfileValue(call.machine(), section, key, value, kWinIni);
  if (error != ERROR_SUCCESS) return call.Fail(FALSE, error);
  return call.Return(TRUE);
}
