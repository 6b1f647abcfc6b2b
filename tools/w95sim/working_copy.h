// A copy of a machine folder in a temporary directory, for a run that must leave the folder itself unchanged.
#ifndef TOOLS_W95SIM_WORKING_COPY_H
#define TOOLS_W95SIM_WORKING_COPY_H

#include <filesystem>

namespace w95sim {

class WorkingCopy {
 public:
  explicit WorkingCopy(const std::filesystem::path &folder);  // throws std::runtime_error
  ~WorkingCopy();                                             // removes the copy
  WorkingCopy(const WorkingCopy &) = delete;
  WorkingCopy &operator=(const WorkingCopy &) = delete;

  const std::filesystem::path &Folder() const { return folder_; }

 private:
  std::filesystem::path temporary_;
  std::filesystem::path folder_;
};

}  // namespace w95sim

#endif
