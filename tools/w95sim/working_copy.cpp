// Making and removing the temporary copy of a machine folder.
#include "tools/w95sim/working_copy.h"

#include <stdlib.h>

#include <stdexcept>
#include <string>
#include <system_error>

namespace w95sim {

namespace fs = std::filesystem;

WorkingCopy::WorkingCopy(const fs::path &folder) {
  std::string pattern = (fs::temp_directory_path() / "w95sim-XXXXXX").string();
  if (!mkdtemp(pattern.data())) throw std::runtime_error("cannot make a temporary directory for the copy");
  temporary_ = pattern;
  folder_ = temporary_ / "machine";
  std::error_code error;
  fs::copy(folder, folder_, fs::copy_options::recursive | fs::copy_options::copy_symlinks, error);
  if (error) {
    fs::remove_all(temporary_, error);
    throw std::runtime_error("cannot copy " + folder.string() + " to a temporary directory: " + error.message());
  }
}

WorkingCopy::~WorkingCopy() {
  // Read-only directories of the machine would keep their entries from being removed.
  std::error_code error;
  for (auto entry = fs::recursive_directory_iterator(temporary_, error); !error && entry != fs::end(entry);
       entry.increment(error)) {
    if (entry->is_directory(error) && !entry->is_symlink(error))
      fs::permissions(entry->path(), fs::perms::owner_all, fs::perm_options::add, error);
  }
  fs::remove_all(temporary_, error);
}

}  // namespace w95sim
