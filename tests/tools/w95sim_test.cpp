// End-to-end tests of w95sim: the built tool run as a child process on copies of the sample machine.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "tests/support/scratch_folder.h"

extern char **environ;

namespace {

namespace fs = std::filesystem;

struct Outcome {
  int status = -1;
  std::string out, err;
};

std::string ReadFile(const fs::path &path) {
  std::ifstream file(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

// Every entry under folder with its bytes ("/" for a directory).
std::map<std::string, std::string> Contents(const fs::path &folder) {
  std::map<std::string, std::string> contents;
  for (const auto &entry : fs::recursive_directory_iterator(folder))
    contents[fs::relative(entry.path(), folder).string()] = entry.is_directory() ? "/" : ReadFile(entry.path());
  return contents;
}

class W95simTest : public testing::Test {
 protected:
  void SetUp() override {
    scratch_folder_ = std::make_unique<ScratchFolder>("w95sim-test");
    scratch_ = scratch_folder_->path();
    fs::create_directory(scratch_ / "tmp");
  }
  void TearDown() override { scratch_folder_.reset(); }

  // Runs w95sim with stdin from /dev/null, and with its own TMPDIR so that a copy left behind would show.
  Outcome Run(const std::vector<std::string> &arguments) {
    std::vector<std::string> argv = {W95SIM_PATH};
    argv.insert(argv.end(), arguments.begin(), arguments.end());
    std::vector<char *> argvPointers;
    for (std::string &argument : argv) argvPointers.push_back(argument.data());
    argvPointers.push_back(nullptr);

    std::vector<std::string> environment = {"TMPDIR=" + (scratch_ / "tmp").string()};
    for (char **variable = environ; *variable; ++variable)
      if (std::string(*variable).rfind("TMPDIR=", 0) != 0) environment.push_back(*variable);
    std::vector<char *> environmentPointers;
    for (std::string &variable : environment) environmentPointers.push_back(variable.data());
    environmentPointers.push_back(nullptr);

    fs::path outPath = scratch_ / "stdout", errPath = scratch_ / "stderr";
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addopen(&actions, 2, errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    pid_t child;
    Outcome outcome;
    int spawned =
        posix_spawn(&child, argvPointers[0], &actions, nullptr, argvPointers.data(), environmentPointers.data());
    posix_spawn_file_actions_destroy(&actions);
    EXPECT_EQ(spawned, 0) << "cannot start " << W95SIM_PATH;
    if (spawned != 0) return outcome;
    int status = 0;
    waitpid(child, &status, 0);
    outcome.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    outcome.out = ReadFile(outPath);
    outcome.err = ReadFile(errPath);
    EXPECT_TRUE(fs::is_empty(scratch_ / "tmp")) << "the run left its working copy behind";
    return outcome;
  }

  fs::path CopyOfSample() {
    fs::path copy = scratch_ / "machine";
    fs::copy(SAMPLE_MACHINE, copy, fs::copy_options::recursive);
    return copy;
  }

  std::unique_ptr<ScratchFolder> scratch_folder_;
  fs::path scratch_;
};

// Each text must appear in the output after the one before it.
void ExpectInOrder(const std::string &output, const std::vector<std::string> &texts) {
  size_t at = 0;
  for (const std::string &text : texts) {
    size_t found = output.find(text, at);
    ASSERT_NE(found, std::string::npos) << "missing, or out of order: " << text << "\n--- output:\n" << output;
    at = found + text.size();
  }
}

const char kConfirmation[] = "ZOV 4260-WIN ドライバーを削除しますか。";
const char kCancelled[] = "ｱﾝｲﾝｽﾄｰﾙはｷｬﾝｾﾙされました。";
const char kRestart[] = "ｱﾝｲﾝｽﾄｰﾙを有効にするには、Windows を再起動しなければなりません。";
const char kBadArgument[] = "ｺﾏﾝﾄﾞﾗｲﾝ引数が不正です。";

struct BadInputCase {
  std::vector<std::string> arguments;
  std::string error;  // part of the one line on stderr
};

TEST_F(W95simTest, BadInputGivesOneErrorLineAndStatus2) {
  fs::create_directories(scratch_ / "noc");
  std::ofstream(scratch_ / "noc" / "machine.txt") << "";
  fs::path malformed = CopyOfSample();
  std::ofstream(malformed / "machine.txt", std::ios::app) << "\n[printer ZOV 4260-WIN]\n";
  int malformedLine = 0;
  for (char c : ReadFile(malformed / "machine.txt")) malformedLine += c == '\n';

  const std::vector<BadInputCase> cases = {
      {{}, "no command given"},
      {{"uninstall", SAMPLE_MACHINE}, "unknown command \"uninstall\""},
      {{"veltrask"}, "no machine folder given"},
      {{"veltrask", SAMPLE_MACHINE, "extra"}, "unexpected argument \"extra\""},
      {{"veltrask", SAMPLE_MACHINE, "--verbose"}, "unknown option --verbose"},
      {{"veltrask", SAMPLE_MACHINE, "-v"}, "unknown option -v"},
      {{"veltrask", SAMPLE_MACHINE, "--answers"}, "--answers needs a value"},
      {{"veltrask", SAMPLE_MACHINE, "--answers", "y,perhaps"}, "unknown answer \"perhaps\""},
      {{"veltrask", SAMPLE_MACHINE, "--answers=y,,n"}, "an answer word is missing between commas"},
      {{"veltrask", SAMPLE_MACHINE, "--command-line", "C:\\\xE2\x82\xAC.EXE"}, "no code page 932 form"},
      {{"veltrask", SAMPLE_MACHINE, "--write-back=yes"}, "--write-back takes no value"},
      {{"veltrask", (scratch_ / "absent").string()}, "no machine folder at"},
      {{"veltrask", (scratch_ / "noc").string()}, "has no folder C"},
      {{"veltrask", malformed.string()},
       "machine.txt:" + std::to_string(malformedLine) + ": unknown section [printer ZOV 4260-WIN]"},
  };
  for (const BadInputCase &c : cases) {
    std::string shown;
    for (const std::string &argument : c.arguments) shown += " " + argument;
    SCOPED_TRACE("w95sim" + shown);
    Outcome outcome = Run(c.arguments);
    EXPECT_EQ(outcome.status, 2);
    EXPECT_EQ(outcome.out, "");
    EXPECT_EQ(outcome.err.rfind("w95sim: ", 0), 0u) << outcome.err;
    EXPECT_NE(outcome.err.find(c.error), std::string::npos) << outcome.err;
    ASSERT_FALSE(outcome.err.empty());
    EXPECT_EQ(outcome.err.find('\n'), outcome.err.size() - 1) << "not one line: " << outcome.err;
  }
}

TEST_F(W95simTest, HelpExplainsTheUsage) {
  Outcome outcome = Run({"--help"});
  EXPECT_EQ(outcome.status, 0);
  EXPECT_NE(outcome.out.find("Usage: w95sim veltrask MACHINE_FOLDER"), std::string::npos);
  EXPECT_NE(outcome.out.find("--write-back"), std::string::npos);
}

TEST_F(W95simTest, SampleRunShowsTheUninstallAndLeavesTheSampleAsItWas) {
  auto sampleBefore = Contents(SAMPLE_MACHINE);
  Outcome outcome = Run({"veltrask", SAMPLE_MACHINE});
  EXPECT_EQ(outcome.status, 0) << outcome.err;
  ExpectInOrder(
      outcome.out,
      {"icon:    exclamation", kConfirmation, "buttons: [はい(Y)] [いいえ(N)]", "answer:  はい(Y)",
       "program started: C:\\ZOV4260W\\PMUNINST.EXE /U", "directory: C:\\ZOV4260W", "waited for", "icon:    question",
       kRestart, "answer:  はい(Y)", "restart of Windows requested", "exit code 1", "Changes on drive C:"});
  ExpectInOrder(outcome.out, {"Changes on drive C:", "removed  directory C:\\ZOV4260W\\PM\n"});
  ExpectInOrder(outcome.out, {"Changes on drive C:", "removed  file C:\\ZOV4260W\\PM\\4260W_PM.EXE"});
  EXPECT_EQ(outcome.out.find(kCancelled), std::string::npos);
  EXPECT_TRUE(Contents(SAMPLE_MACHINE) == sampleBefore) << "the sample folder was changed";
}

struct RunCase {
  std::vector<std::string> options;
  std::vector<std::string> shown;  // in this order
  std::vector<std::string> absent;
};

TEST_F(W95simTest, AnswersAndCommandLineFromTheOptionsSteerTheRun) {
  const std::vector<RunCase> cases = {
      {{"--answers", "n"},
       {kConfirmation, "answer:  いいえ(N)", "icon:    information", kCancelled, "answer:  OK", "exit code 0",
        "Changes on drive C:\n  nothing changed\n"},
       {"program started", kRestart}},
      {{"--answers=はい,いいえ"},
       {kConfirmation, "answer:  はい(Y)", "program started", kRestart, "answer:  いいえ(N)", "exit code 0",
        "removed  directory C:\\ZOV4260W\\PM\n"},
       {"restart of Windows requested", kCancelled}},
      {{"--command-line", "C:\\ZOV4260W\\Veltrask.exe", "--answers", "y"},
       {"Veltrask:  C:\\ZOV4260W\\Veltrask.exe\n", kConfirmation, "icon:    stop", kBadArgument, kCancelled,
        "exit code 0", "Changes on drive C:\n  nothing changed\n"},
       {"program started", kRestart}},
      {{"--command-line=", "--program", "C:\\ZOV4260W\\Veltrask.exe"},
       {"Veltrask:  (an empty command line)\nprogram:   C:\\ZOV4260W\\Veltrask.exe\n", "exit code 0",
        "Changes on drive C:\n  nothing changed\n"},
       {"Message box"}},
  };
  for (const RunCase &c : cases) {
    std::vector<std::string> arguments = {"veltrask", SAMPLE_MACHINE};
    arguments.insert(arguments.end(), c.options.begin(), c.options.end());
    SCOPED_TRACE(c.options[0] + " " + c.options.back());
    Outcome outcome = Run(arguments);
    EXPECT_EQ(outcome.status, 0) << outcome.err;
    ExpectInOrder(outcome.out, c.shown);
    for (const std::string &text : c.absent)
      EXPECT_EQ(outcome.out.find(text), std::string::npos) << "unexpected: " << text << "\n" << outcome.out;
  }
}

struct DescriptionEdit {
  std::string replaced, by;
  std::vector<std::string> shown;  // in this order
};

TEST_F(W95simTest, WhatMachineTxtDescribesReachesTheMachine) {
  const std::vector<DescriptionEdit> edits = {
      {"[window]\ntitle = Program Manager",
       "[window]\ntitle = zov 4260-win ﾌﾟﾘﾝﾄ・ﾏﾈｰｼﾞｬｰ",
       {"ﾌﾟﾘﾝﾄﾏﾈｰｼﾞｬｰが実行中です。", kCancelled, "exit code 0"}},
      {"[restart]\n# Windows accepts the restart request.\nresult = 1",
       "[restart]\nresult = 0",
       {kRestart, "the platform answered 0", "exit code 0"}},
      {"exit-code = 0",
       "exit-code = 3\ndelete = C:\\WINDOWS\\SYSTEM\\zrk.386",
       {"it ended with exit code 3", "removed  file C:\\WINDOWS\\SYSTEM\\zrk.386"}},
  };
  for (const DescriptionEdit &edit : edits) {
    SCOPED_TRACE(edit.by);
    fs::path machine = CopyOfSample();
    std::string description = ReadFile(machine / "machine.txt");
    size_t at = description.find(edit.replaced);
    ASSERT_NE(at, std::string::npos);
    std::ofstream(machine / "machine.txt", std::ios::binary) << description.replace(at, edit.replaced.size(), edit.by);
    Outcome outcome = Run({"veltrask", machine.string()});
    EXPECT_EQ(outcome.status, 0) << outcome.err;
    ExpectInOrder(outcome.out, edit.shown);
    fs::remove_all(machine);
  }
}

TEST_F(W95simTest, QuestionWithoutAnswerStopsTheRunWhenNobodyIsAtTheTerminal) {
  Outcome outcome = Run({"veltrask", SAMPLE_MACHINE, "--answers", ""});
  EXPECT_EQ(outcome.status, 3);
  ExpectInOrder(outcome.out, {kConfirmation, "The run stopped"});
  EXPECT_NE(outcome.err.find("no answer"), std::string::npos) << outcome.err;
  EXPECT_EQ(outcome.err.find('\n'), outcome.err.size() - 1) << "not one line: " << outcome.err;
}

TEST_F(W95simTest, WriteBackLeavesTheRunsChangesInTheFolder) {
  fs::path machine = CopyOfSample();
  Outcome outcome = Run({"veltrask", machine.string(), "--write-back"});
  EXPECT_EQ(outcome.status, 0) << outcome.err;
  EXPECT_FALSE(fs::exists(machine / "C" / "ZOV4260W" / "PM"));
  EXPECT_TRUE(fs::exists(machine / "C" / "ZOV4260W" / "Veltrask.exe"));  // it goes at the next start of Windows
  EXPECT_TRUE(fs::exists(machine / "C" / "WINDOWS" / "SYSTEM" / "ZOV4260W.DRV"));
  EXPECT_TRUE(fs::is_empty(scratch_ / "tmp"));
}

}  // namespace
