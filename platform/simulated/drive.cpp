// Drive C: of the simulated machine on a host folder.
#include "platform/simulated/drive.h"

#include <algorithm>
#include <system_error>

#include "platform/simulated/text/cp932.h"

namespace winsim {

Drive::Drive(std::filesystem::path root) : root_(std::move(root)) {}

std::vector<DriveEntry> Drive::List(const std::filesystem::path &hostDirectory) const {
  std::vector<DriveEntry> entries;
  std::error_code error;
  for (const auto &entry : std::filesystem::directory_iterator(hostDirectory, error)) {
    entries.push_back({Utf8ToCp932(entry.path().filename().string()), entry.path()});
  }
  std::sort(entries.begin(), entries.end(),
            [](const DriveEntry &a, const DriveEntry &b) { return a.host.filename() < b.host.filename(); });
  return entries;
}

DriveLookup Drive::Find(const WindowsPath &path) const {
  DriveLookup lookup;
  lookup.host = root_;
  lookup.exists = true;
  lookup.parentExists = true;
  lookup.isDirectory = true;
  for (size_t index = 0; index < path.components.size(); ++index) {
    const std::string &component = path.components[index];
    if (!lookup.exists || !lookup.isDirectory) {
      // Below a missing entry or a file nothing can exist, nor be created.
      lookup.parentExists = false;
      lookup.exists = false;
      lookup.host /= Cp932ToUtf8(component);
      lookup.spelt.components.push_back(component);
      continue;
    }
    lookup.parentExists = true;
    std::vector<DriveEntry> entries = List(lookup.host);
    auto match = std::find_if(entries.begin(), entries.end(),
                              [&](const DriveEntry &entry) { return EqualIgnoringAsciiCase(entry.name, component); });
    if (match == entries.end()) {
      lookup.exists = false;
      lookup.isDirectory = false;
      lookup.host /= Cp932ToUtf8(component);
      lookup.spelt.components.push_back(component);
    } else {
      lookup.host = match->host;
      lookup.spelt.components.push_back(match->name);
      std::error_code error;
      lookup.isDirectory = std::filesystem::is_directory(match->host, error);
    }
  }
  if (!lookup.exists) lookup.isDirectory = false;
  return lookup;
}

}  // namespace winsim
