// Windows path syntax on drive C: of the simulated machine.
#include "platform/simulated/windows_path.h"

#include "platform/simulated/text/cp932.h"

namespace winsim {

std::string WindowsPath::Text() const {
  std::string text = "C:";
  if (components.empty()) return text + "\\";
  for (const std::string &component : components) text += "\\" + component;
  return text;
}

WindowsPath WindowsPath::Parent() const {
  WindowsPath parent = *this;
  if (!parent.components.empty()) parent.components.pop_back();
  return parent;
}

WindowsPath WindowsPath::Child(std::string name) const {
  WindowsPath child = *this;
  child.components.push_back(std::move(name));
  return child;
}

const std::string &WindowsPath::Name() const { return components.back(); }

namespace {

// Splits at '\' and '/', stepping over double-byte characters whose trail byte may be 0x5C.
std::vector<std::string> SplitComponents(std::string_view text) {
  std::vector<std::string> parts(1);
  for (size_t i = 0; i < text.size(); ++i) {
    unsigned char c = static_cast<unsigned char>(text[i]);
    if (IsCp932LeadByte(c) && i + 1 < text.size()) {
      parts.back() += text.substr(i, 2);
      ++i;
    } else if (c == '\\' || c == '/') {
      parts.emplace_back();
    } else {
      parts.back() += static_cast<char>(c);
    }
  }
  return parts;
}

bool IsRefusedCharacter(unsigned char c, bool wildcardsAllowed) {
  if (c < 0x20) return true;
  switch (c) {
    case '<':
    case '>':
    case '|':
    case '"':
    case ':':
      return true;
    case '*':
    case '?':
      return !wildcardsAllowed;
    default:
      return false;
  }
}

// Drops trailing blanks and dots, without touching the trail byte of a double-byte character.
std::string TrimNameEnd(const std::string &name) {
  size_t keep = 0;
  for (size_t i = 0; i < name.size(); ++i) {
    unsigned char c = static_cast<unsigned char>(name[i]);
    if (IsCp932LeadByte(c) && i + 1 < name.size()) {
      ++i;
      keep = i + 1;
    } else if (c != ' ' && c != '.') {
      keep = i + 1;
    }
  }
  return name.substr(0, keep);
}

}  // namespace

bool ParseWindowsPath(std::string_view path, const WindowsPath &currentDirectory, WindowsPath *out, DWORD *error,
                      bool allowWildcards) {
  *error = ERROR_SUCCESS;
  if (path.empty()) {
    *error = ERROR_PATH_NOT_FOUND;
    return false;
  }
  WindowsPath result = currentDirectory;
  std::string_view rest = path;
  if (rest.size() >= 2 && rest[1] == ':') {
    char drive = rest[0];
    if (drive != 'C' && drive != 'c') {
      *error = ERROR_PATH_NOT_FOUND;
      return false;
    }
    rest.remove_prefix(2);
  }
  if (!rest.empty() && (rest[0] == '\\' || rest[0] == '/')) {
    if (rest.size() >= 2 && (rest[1] == '\\' || rest[1] == '/') && path.size() == rest.size()) {
      *error = ERROR_BAD_NETPATH;
      return false;
    }
    result.components.clear();
  }

  std::vector<std::string> parts = SplitComponents(rest);
  for (size_t index = 0; index < parts.size(); ++index) {
    const std::string &part = parts[index];
    if (part.empty() || part == ".") continue;
    if (part == "..") {
      if (!result.components.empty()) result.components.pop_back();
      continue;
    }
    bool last = index + 1 == parts.size();
    for (size_t i = 0; i < part.size(); ++i) {
      unsigned char c = static_cast<unsigned char>(part[i]);
      if (IsCp932LeadByte(c) && i + 1 < part.size()) {
        ++i;
        continue;
      }
      if (IsRefusedCharacter(c, allowWildcards && last)) {
        *error = ERROR_INVALID_NAME;
        return false;
      }
    }
    std::string name = TrimNameEnd(part);
    if (name.empty()) continue;
    result.components.push_back(name);
  }
  *out = result;
  return true;
}

std::string FirstCommandLineItem(std::string_view commandLine) {
  if (!commandLine.empty() && commandLine[0] == '"') {
    size_t close = commandLine.find('"', 1);
    return std::string(commandLine.substr(1, close == std::string_view::npos ? std::string_view::npos : close - 1));
  }
  size_t end = commandLine.find_first_of(" \t");
  return std::string(commandLine.substr(0, end));
}

std::string_view CommandLineTail(std::string_view commandLine) {
  size_t position = 0;
  if (!commandLine.empty() && commandLine[0] == '"') {
    size_t close = commandLine.find('"', 1);
    position = close == std::string_view::npos ? commandLine.size() : close + 1;
  }
  while (position < commandLine.size() && commandLine[position] != ' ' && commandLine[position] != '\t') ++position;
  while (position < commandLine.size() && (commandLine[position] == ' ' || commandLine[position] == '\t')) ++position;
  return commandLine.substr(position);
}

bool HasWildcards(std::string_view name) { return name.find_first_of("*?") != std::string_view::npos; }

size_t NameStart(std::string_view path) {
  size_t start = 0;
  for (size_t i = 0; i < path.size(); ++i) {
    unsigned char c = static_cast<unsigned char>(path[i]);
    if (IsCp932LeadByte(c) && i + 1 < path.size()) {
      ++i;
    } else if (c == '\\' || c == '/' || c == ':') {
      start = i + 1;
    }
  }
  return start;
}

bool EndsWithSeparator(std::string_view path) {
  return !path.empty() && NameStart(path) == path.size() && path.back() != ':';
}

}  // namespace winsim
