// Windows path syntax on drive C: of the simulated machine: parsing, joining and splitting, code page 932 aware.
#ifndef PLATFORM_SIMULATED_WINDOWS_PATH_H
#define PLATFORM_SIMULATED_WINDOWS_PATH_H

#include <string>
#include <string_view>
#include <vector>

#include "platform/simulated/win32_declarations.h"

namespace winsim {

// An absolute path on drive C:, as its components below the root, spelt as the caller gave them.
struct WindowsPath {
  std::vector<std::string> components;

  bool IsRoot() const { return components.empty(); }
  std::string Text() const;    // "C:\A\B", or "C:\" for the root
  WindowsPath Parent() const;  // the root's parent is the root
  WindowsPath Child(std::string name) const;
  const std::string &Name() const;  // last component; only for a path that is not the root
};

// Parses a path as Windows 95 does for a program whose current directory is currentDirectory (itself absolute):
// "C:\..." and "\..." from the root, "C:rel" and "rel" from the current directory; '/' counts as '\'; "." and ".."
// are resolved (never above the root); empty components are dropped; trailing blanks and dots of a name are
// dropped. A trail byte of a double-byte character is never taken for a separator. Returns false with a Win32
// error code for an empty path, another drive, a network path, or a name with characters Windows refuses
// (allowWildcards lets '*' and '?' through in the last component).
bool ParseWindowsPath(std::string_view path, const WindowsPath &currentDirectory, WindowsPath *out, DWORD *error,
                      bool allowWildcards = false);

// Splits a command line's first item, as CreateProcessA takes it: a quoted item runs to its closing quote (or the
// end), an unquoted one to the first blank or tab.
std::string FirstCommandLineItem(std::string_view commandLine);

// What a C runtime start-up hands WinMain: the command line after the program's name and the blanks after it.
std::string_view CommandLineTail(std::string_view commandLine);

bool HasWildcards(std::string_view name);

// Where the name of a path begins: just after its last '\\', '/' or ':', never one that is the trail byte of a
// double-byte character; 0 for a bare name.
size_t NameStart(std::string_view path);

// Whether a path ends in '\\' or '/' that is not the trail byte of a double-byte character.
bool EndsWithSeparator(std::string_view path);

}  // namespace winsim

#endif
