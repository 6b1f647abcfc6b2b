// What a run changed on drive C:: a snapshot of the host tree before and after, and their differences.
#ifndef TOOLS_W95SIM_TREE_CHANGES_H
#define TOOLS_W95SIM_TREE_CHANGES_H

#include <filesystem>
#include <map>
#include <ostream>
#include <string>
#include <vector>

namespace w95sim {

struct TreeEntry {
  bool directory = false;
  bool readOnly = false;
  std::string bytes;  // machine folders are small: whole file contents are kept
};

// Keyed by the Windows path, "C:\WINDOWS\WIN.INI", with the host's (UTF-8) names.
using TreeSnapshot = std::map<std::string, TreeEntry>;

TreeSnapshot SnapshotTree(const std::filesystem::path &driveC);

struct TreeChange {
  enum class Kind { Added, Removed, Changed };
  Kind kind;
  std::string path;
  TreeEntry before, after;  // before is empty for Added, after for Removed
};

std::vector<TreeChange> CompareTrees(const TreeSnapshot &before, const TreeSnapshot &after);

// Lists the changes; for small text files also the lines that came and went (texts decoded from code page 932).
void PrintTreeChanges(std::ostream &out, const std::vector<TreeChange> &changes);

}  // namespace w95sim

#endif
