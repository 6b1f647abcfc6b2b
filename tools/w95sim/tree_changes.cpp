// Snapshots of drive C:'s host tree and the listing of what changed between two of them.
#include "tools/w95sim/tree_changes.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <system_error>

#include "platform/simulated/text/cp932.h"

namespace w95sim {

namespace fs = std::filesystem;

TreeSnapshot SnapshotTree(const fs::path &driveC) {
  TreeSnapshot snapshot;
  std::error_code error;
  for (auto entry = fs::recursive_directory_iterator(driveC, error); !error && entry != fs::end(entry);
       entry.increment(error)) {
    std::string path = "C:";
    for (const fs::path &part : fs::relative(entry->path(), driveC)) path += "\\" + part.string();
    TreeEntry &item = snapshot[path];
    item.directory = entry->is_directory();
    item.readOnly = (entry->status().permissions() & fs::perms::owner_write) == fs::perms::none;
    if (!item.directory) {
      std::ifstream file(entry->path(), std::ios::binary);
      item.bytes.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    }
  }
  return snapshot;
}

std::vector<TreeChange> CompareTrees(const TreeSnapshot &before, const TreeSnapshot &after) {
  std::vector<TreeChange> changes;
  auto b = before.begin(), a = after.begin();
  while (b != before.end() || a != after.end()) {
    if (a == after.end() || (b != before.end() && b->first < a->first)) {
      changes.push_back({TreeChange::Kind::Removed, b->first, b->second, {}});
      ++b;
    } else if (b == before.end() || a->first < b->first) {
      changes.push_back({TreeChange::Kind::Added, a->first, {}, a->second});
      ++a;
    } else {
      const TreeEntry &was = b->second, &now = a->second;
      if (was.directory != now.directory) {
        changes.push_back({TreeChange::Kind::Removed, b->first, was, {}});
        changes.push_back({TreeChange::Kind::Added, a->first, {}, now});
      } else if (was.bytes != now.bytes || was.readOnly != now.readOnly) {
        changes.push_back({TreeChange::Kind::Changed, a->first, was, now});
      }
      ++b, ++a;
    }
  }
  return changes;
}

namespace {

constexpr size_t kLargestTextShown = 16 * 1024;

bool LooksLikeText(const std::string &bytes) {
  return bytes.size() <= kLargestTextShown && bytes.find('\0') == std::string::npos;
}

std::vector<std::string> Lines(const std::string &bytes) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < bytes.size()) {
    size_t end = bytes.find('\n', start);
    if (end == std::string::npos) end = bytes.size();
    lines.push_back(bytes.substr(start, end - start));
    start = end + 1;
  }
  return lines;
}

void PrintLine(std::ostream &out, char mark, std::string line) {
  if (!line.empty() && line.back() == '\r') line.pop_back();
  out << "      " << mark << " " << winsim::Cp932ToUtf8(line) << "\n";
}

// The lines removed and added, in file order, from a longest common subsequence of the two.
void PrintLineChanges(std::ostream &out, const std::string &was, const std::string &now) {
  std::vector<std::string> x = Lines(was), y = Lines(now);
  std::vector<std::vector<int>> common(x.size() + 1, std::vector<int>(y.size() + 1, 0));
  for (size_t i = x.size(); i-- > 0;)
    for (size_t j = y.size(); j-- > 0;)
      common[i][j] = x[i] == y[j] ? common[i + 1][j + 1] + 1 : std::max(common[i + 1][j], common[i][j + 1]);
  size_t i = 0, j = 0;
  while (i < x.size() || j < y.size()) {
    if (i < x.size() && j < y.size() && x[i] == y[j]) {
      ++i, ++j;
    } else if (j < y.size() && (i == x.size() || common[i][j + 1] >= common[i + 1][j])) {
      PrintLine(out, '+', y[j++]);
    } else {
      PrintLine(out, '-', x[i++]);
    }
  }
}

}  // namespace

void PrintTreeChanges(std::ostream &out, const std::vector<TreeChange> &changes) {
  if (changes.empty()) {
    out << "  nothing changed\n";
    return;
  }
  for (const TreeChange &change : changes) {
    bool directory = change.kind == TreeChange::Kind::Removed ? change.before.directory : change.after.directory;
    const char *what = directory ? "directory" : "file";
    switch (change.kind) {
      case TreeChange::Kind::Added:
        out << "  added    " << what << " " << change.path << "\n";
        if (!directory && LooksLikeText(change.after.bytes)) PrintLineChanges(out, "", change.after.bytes);
        break;
      case TreeChange::Kind::Removed:
        out << "  removed  " << what << " " << change.path << "\n";
        break;
      case TreeChange::Kind::Changed:
        out << "  changed  " << what << " " << change.path;
        if (change.before.readOnly != change.after.readOnly)
          out << (change.after.readOnly ? " (now read-only)" : " (no longer read-only)");
        out << "\n";
        if (change.before.bytes != change.after.bytes && LooksLikeText(change.before.bytes) &&
            LooksLikeText(change.after.bytes))
          PrintLineChanges(out, change.before.bytes, change.after.bytes);
        break;
    }
  }
}

}  // namespace w95sim
