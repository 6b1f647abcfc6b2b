// Tests of how w95sim lists the changes a run made on drive C:.
#include "tools/w95sim/tree_changes.h"

#include <gtest/gtest.h>

#include <fstream>
#include <memory>
#include <sstream>

#include "tests/support/scratch_folder.h"

namespace w95sim {
namespace {

namespace fs = std::filesystem;

class TreeChangesTest : public testing::Test {
 protected:
  void SetUp() override {
    scratch_folder_ = std::make_unique<ScratchFolder>("tree-changes-test");
    c_ = scratch_folder_->path();
  }
  void TearDown() override { scratch_folder_.reset(); }

  void Write(const std::string &relative, const std::string &bytes) { Write(relative, bytes.data(), bytes.size()); }
  void Write(const std::string &relative, const char *bytes, size_t size) {
    fs::create_directories((c_ / relative).parent_path());
    std::ofstream(c_ / relative, std::ios::binary).write(bytes, static_cast<std::streamsize>(size));
  }

  std::unique_ptr<ScratchFolder> scratch_folder_;
  fs::path c_;
};

TEST_F(TreeChangesTest, ListsEveryKindOfChangeWithTheLinesOfTextFiles) {
  Write("WINDOWS/SYSTEM.INI", "[386Enh]\r\ndevice=*vcd\r\ndevice=zrk.386\r\nwoafont=app932.fon\r\n");
  Write("WINDOWS/SYSTEM/zrk.386", "MZ");
  Write("KIT/A.DLL", "MZ\0\1", 4);
  Write("KIT/NOTE.TXT", "x");
  Write("OLD/X", "x");
  TreeSnapshot before = SnapshotTree(c_);

  Write("WINDOWS/SYSTEM.INI", "[386Enh]\r\ndevice=*vcd\r\nwoafont=app932.fon\r\nsCountry=\x93\xFA\x96\x7B\r\n");
  Write("WINDOWS/wininit.ini", "[rename]\r\nNUL=C:\\KIT\\A.DLL\r\n");
  fs::remove(c_ / "WINDOWS/SYSTEM/zrk.386");
  Write("KIT/A.DLL", std::string("MZ\0\2", 4));
  fs::permissions(c_ / "KIT/NOTE.TXT", fs::perms::owner_write, fs::perm_options::remove);
  fs::remove_all(c_ / "OLD");
  Write("OLD", "now a file");

  std::ostringstream out;
  PrintTreeChanges(out, CompareTrees(before, SnapshotTree(c_)));
  EXPECT_EQ(out.str(),
            "  changed  file C:\\KIT\\A.DLL\n"
            "  changed  file C:\\KIT\\NOTE.TXT (now read-only)\n"
            "  removed  directory C:\\OLD\n"
            "  added    file C:\\OLD\n"
            "      + now a file\n"
            "  removed  file C:\\OLD\\X\n"
            "  changed  file C:\\WINDOWS\\SYSTEM.INI\n"
            "      - device=zrk.386\n"
            "      + sCountry=日本\n"
            "  removed  file C:\\WINDOWS\\SYSTEM\\zrk.386\n"
            "  added    file C:\\WINDOWS\\wininit.ini\n"
            "      + [rename]\n"
            "      + NUL=C:\\KIT\\A.DLL\n");
}

TEST_F(TreeChangesTest, SaysWhenNothingChanged) {
  Write("WINDOWS/WIN.INI", "[windows]\r\n");
  TreeSnapshot snapshot = SnapshotTree(c_);
  std::ostringstream out;
  PrintTreeChanges(out, CompareTrees(snapshot, SnapshotTree(c_)));
  EXPECT_EQ(out.str(), "  nothing changed\n");
}

}  // namespace
}  // namespace w95sim
