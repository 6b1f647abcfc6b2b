// Tests of loading a machine folder: what is refused, and what a good folder gives.
#include "platform/simulated/machine_folder.h"

#include <gtest/gtest.h>

#include <fstream>
#include <memory>

#include "tests/support/scratch_folder.h"

namespace winsim {
namespace {

namespace fs = std::filesystem;

class MachineFolderTest : public testing::Test {
 protected:
  void SetUp() override {
    scratch_folder_ = std::make_unique<ScratchFolder>("machine-folder-test");
    folder_ = scratch_folder_->path();
  }
  void TearDown() override { scratch_folder_.reset(); }

  void Write(const fs::path &path, const std::string &text) {
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << text;
  }

  std::string LoadError(const fs::path &folder) {
    try {
      LoadMachineFolder(folder);
    } catch (const MachineFolderError &error) {
      return error.what();
    }
    return "(loaded)";
  }

  std::unique_ptr<ScratchFolder> scratch_folder_;
  fs::path folder_;
};

TEST_F(MachineFolderTest, RefusesWhatIsNoMachineFolder) {
  EXPECT_EQ(LoadError(folder_ / "absent"), "no machine folder at " + (folder_ / "absent").string());

  Write(folder_ / "plain", "x");
  EXPECT_EQ(LoadError(folder_ / "plain"), (folder_ / "plain").string() + " is not a folder");

  Write(folder_ / "machine.txt", "");
  EXPECT_EQ(LoadError(folder_), "machine folder " + folder_.string() + " has no folder C (the tree of drive C:)");

  fs::remove(folder_ / "machine.txt");
  fs::create_directory(folder_ / "C");
  EXPECT_EQ(LoadError(folder_), "machine folder " + folder_.string() + " has no description file machine.txt");

  fs::create_directory(folder_ / "machine.txt");
  EXPECT_EQ(LoadError(folder_), "machine folder " + folder_.string() + " has no description file machine.txt");
}

TEST_F(MachineFolderTest, NamesTheLineOfAMalformedDescription) {
  fs::create_directory(folder_ / "C");
  Write(folder_ / "machine.txt", "[run]\ndirectory = C:\\\n\n[registry]\n");
  EXPECT_EQ(LoadError(folder_), (folder_ / "machine.txt").string() +
                                    ":4: unknown section [registry]; known are [run], [answers], [window], "
                                    "[program PATH], [environment], [restart]");
}

TEST_F(MachineFolderTest, GivesTheMachineOverCAndTheRunSettings) {
  Write(folder_ / "C" / "KIT" / "A.EXE", "MZ");
  Write(folder_ / "machine.txt",
        "[run]\ncommand-line = C:\\KIT\\A.EXE x\ndirectory = C:\\KIT\n[answers]\nn, ok\n"
        "[program C:\\KIT\\A.EXE]\ndelete = C:\\KIT\\B\n");
  LoadedMachine loaded = LoadMachineFolder(folder_);
  ASSERT_TRUE(loaded.machine);
  EXPECT_EQ(fs::weakly_canonical(loaded.machine->DriveC()), fs::weakly_canonical(folder_ / "C"));
  EXPECT_TRUE(loaded.machine->Exists("C:\\KIT\\A.EXE"));
  EXPECT_EQ(loaded.run.commandLine, "C:\\KIT\\A.EXE x");
  EXPECT_EQ(loaded.run.currentDirectory, "C:\\KIT");
  EXPECT_EQ(loaded.run.answers, (std::vector<int>{IDNO, IDOK}));
  EXPECT_EQ(loaded.machine->AnswersLeft(), 0u);  // the answers are the run's to queue, not the loader's

  Write(folder_ / "machine.txt", "# nothing\n");
  LoadedMachine bare = LoadMachineFolder(folder_);
  EXPECT_FALSE(bare.run.commandLine);
  EXPECT_FALSE(bare.run.currentDirectory);
  EXPECT_FALSE(bare.run.answers);
}

}  // namespace
}  // namespace winsim
