// Drive C: of the simulated machine on a host folder: Windows names (code page 932, case ignored) to host entries.
#ifndef PLATFORM_SIMULATED_DRIVE_H
#define PLATFORM_SIMULATED_DRIVE_H

#include <filesystem>
#include <string>
#include <vector>

#include "platform/simulated/windows_path.h"

namespace winsim {

struct DriveEntry {
  std::string name;  // code page 932, as spelt on the disk
  std::filesystem::path host;
};

struct DriveLookup {
  bool exists = false;        // the path names an entry
  bool parentExists = false;  // its directory exists (so the entry could be created)
  bool isDirectory = false;
  std::filesystem::path host;  // of the entry, or where a new entry of that name would go
  WindowsPath spelt;           // the path with the names as they are spelt on the disk where they exist
};

class Drive {
 public:
  explicit Drive(std::filesystem::path root);
  const std::filesystem::path &Root() const { return root_; }

  DriveLookup Find(const WindowsPath &path) const;
  // Entries of an existing directory, in a stable order (by host name).
  std::vector<DriveEntry> List(const std::filesystem::path &hostDirectory) const;

 private:
  std::filesystem::path root_;
};

}  // namespace winsim

#endif
