// Tests of the machine description parser: what a well-formed file gives, and where a malformed one is refused.
#include "platform/simulated/machine_description.h"

#include <gtest/gtest.h>

namespace winsim {
namespace {

MachineDescription Parsed(std::string_view text) {
  DescriptionParse parse = ParseMachineDescription(text);
  EXPECT_TRUE(parse.description) << parse.error;
  return parse.description.value_or(MachineDescription{});
}

TEST(MachineDescription, FullFileGivesEverySettingInCodePage932) {
  MachineDescription d = Parsed(
      "\xEF\xBB\xBF# a machine\r\n"
      "[run]\r\n"
      "  command-line = C:\\KIT\\Veltrask.exe C:\\PM\\UNINST.EXE /x  \r\n"
      "directory=C:\\KIT\n"
      "program = C:\\KIT\\Veltrask.exe\n"
      "show = 0x7\n"
      "\n"
      "[answers]\n"
      "y, N\n"
      "はい,いいえ , ok\n"
      "cancel\n"
      "fail\n"
      "[window]\n"
      "title = ZOV 4260-WIN ﾌﾟﾘﾝﾄ・ﾏﾈｰｼﾞｬｰ\n"
      "class = PMFrame\n"
      "[WINDOW]\n"
      "title = child\n"
      "top-level = No\n"
      "[program C:\\PM\\UNINST.EXE]\n"
      "delete = C:\\PM\\4260W_PM.EXE\n"
      "start = C:\\PM\\LATER.EXE now\n"
      "remove-directory = C:\\PM\n"
      "delete = C:\\PM\\日本語.TXT\n"
      "exit-code = 4294967295\n"
      "[program C:\\PM\\LATER.EXE]\n"
      "[environment]\n"
      "PATH=C:\\WINDOWS;C:\\WINDOWS\\COMMAND\n"
      "EMPTY=\n"
      "ODD=a=b # not a comment\n"
      "[restart]\n"
      "result = 0\n");

  EXPECT_EQ(d.commandLine, "C:\\KIT\\Veltrask.exe C:\\PM\\UNINST.EXE /x");
  EXPECT_EQ(d.currentDirectory, "C:\\KIT");
  EXPECT_EQ(d.program, "C:\\KIT\\Veltrask.exe");
  EXPECT_EQ(d.showCommand, 7);
  EXPECT_TRUE(d.answersGiven);
  EXPECT_EQ(d.answers, (std::vector<int>{6, 7, 6, 7, 1, 2, 0}));

  ASSERT_EQ(d.windows.size(), 2u);
  // "ﾌﾟﾘﾝﾄ・ﾏﾈｰｼﾞｬｰ": half-width katakana stay single bytes, the middle dot is 0x81 0x45.
  EXPECT_EQ(d.windows[0].title, "ZOV 4260-WIN \xCC\xDF\xD8\xDD\xC4\x81\x45\xCF\xC8\xB0\xBC\xDE\xAC\xB0");
  EXPECT_EQ(d.windows[0].className, "PMFrame");
  EXPECT_TRUE(d.windows[0].topLevel);
  EXPECT_EQ(d.windows[1].title, "child");
  EXPECT_EQ(d.windows[1].className, "");
  EXPECT_FALSE(d.windows[1].topLevel);

  ASSERT_EQ(d.programs.size(), 2u);
  EXPECT_EQ(d.programs[0].first, "C:\\PM\\UNINST.EXE");
  const ProgramBehaviour &uninstall = d.programs[0].second;
  using Kind = ProgramAction::Kind;
  ASSERT_EQ(uninstall.actions.size(), 4u);
  EXPECT_EQ(uninstall.actions[0].kind, Kind::DeleteFile);
  EXPECT_EQ(uninstall.actions[0].argument, "C:\\PM\\4260W_PM.EXE");
  EXPECT_EQ(uninstall.actions[1].kind, Kind::Start);
  EXPECT_EQ(uninstall.actions[1].argument, "C:\\PM\\LATER.EXE now");
  EXPECT_EQ(uninstall.actions[2].kind, Kind::RemoveDirectory);
  EXPECT_EQ(uninstall.actions[3].argument, "C:\\PM\\\x93\xFA\x96\x7B\x8C\xEA.TXT");
  EXPECT_EQ(uninstall.exitCode, 0xFFFFFFFFu);
  EXPECT_TRUE(d.programs[1].second.actions.empty());
  EXPECT_EQ(d.programs[1].second.exitCode, 0u);

  ASSERT_TRUE(d.environment);
  EXPECT_EQ(*d.environment,
            (std::vector<std::string>{"PATH=C:\\WINDOWS;C:\\WINDOWS\\COMMAND", "EMPTY=", "ODD=a=b # not a comment"}));
  EXPECT_EQ(d.restartResult, FALSE);
}

TEST(MachineDescription, WhatIsLeftOutStaysUnset) {
  MachineDescription empty = Parsed("# nothing but a comment\n\n");
  EXPECT_FALSE(empty.commandLine);
  EXPECT_FALSE(empty.currentDirectory);
  EXPECT_FALSE(empty.program);
  EXPECT_FALSE(empty.showCommand);
  EXPECT_FALSE(empty.answersGiven);
  EXPECT_FALSE(empty.environment);
  EXPECT_FALSE(empty.restartResult);

  MachineDescription sections = Parsed("[run]\ncommand-line =\n[answers]\n[environment]\n[restart]\nresult=1\n");
  EXPECT_EQ(sections.commandLine, "");  // an empty command line is one Veltrask must cope with
  EXPECT_TRUE(sections.answersGiven);
  EXPECT_TRUE(sections.answers.empty());
  ASSERT_TRUE(sections.environment);
  EXPECT_TRUE(sections.environment->empty());
  EXPECT_EQ(sections.restartResult, TRUE);
}

struct MalformedCase {
  const char *text;
  const char *error;  // the whole message
};

class MalformedDescription : public testing::TestWithParam<MalformedCase> {};

TEST_P(MalformedDescription, IsRefusedAtItsLine) {
  DescriptionParse parse = ParseMachineDescription(GetParam().text);
  EXPECT_FALSE(parse.description);
  EXPECT_EQ(parse.error, GetParam().error);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, MalformedDescription,
    testing::Values(
        MalformedCase{"# c\ncommand-line = x\n",
                      "machine.txt:2: text before the first section; sections start with a line like [run]"},
        MalformedCase{"[registry]\n",
                      "machine.txt:1: unknown section [registry]; known are [run], [answers], [window], "
                      "[program PATH], [environment], [restart]"},
        MalformedCase{"\n[run\n", "machine.txt:2: a section header must end with ']'"},
        MalformedCase{"[run now]\n", "machine.txt:1: [run] takes nothing after its name"},
        MalformedCase{"[run]\n[answers]\n[run]\n", "machine.txt:3: [run] is given twice (first at line 1)"},
        MalformedCase{"[run]\ncommand-line\n", "machine.txt:2: expected key = value"},
        MalformedCase{"[run]\ncommandline = x\n",
                      "machine.txt:2: unknown key \"commandline\" here; known are command-line, directory, program, "
                      "show"},
        MalformedCase{"[run]\ndirectory = C:\\\nDirectory = C:\\A\n",
                      "machine.txt:3: directory is given twice in this section (first at line 2)"},
        MalformedCase{"[run]\ndirectory =\n", "machine.txt:2: directory needs a value"},
        MalformedCase{"[run]\nshow = 65536\n", "machine.txt:2: show must be a number from 0 to 65535"},
        MalformedCase{"[run]\nshow = -1\n", "machine.txt:2: show must be a number from 0 to 65535"},
        MalformedCase{"[run]\nshow = 1x\n", "machine.txt:2: show must be a number from 0 to 65535"},
        MalformedCase{"[run]\ncommand-line = C:\\\xE2\x82\xAC.EXE\n",
                      "machine.txt:2: \"\xE2\x82\xAC\" has no code page 932 form, so a Japanese Windows 95 "
                      "cannot hold it"},
        MalformedCase{"[run]\n\ncommand-line = C:\\\x93\xFA.EXE\n", "machine.txt:3: the line is not UTF-8 text"},
        MalformedCase{"[answers]\ny\ny, maybe\n",
                      "machine.txt:3: unknown answer \"maybe\"; answers are y, yes, はい, n, no, いいえ, ok, "
                      "cancel, fail"},
        MalformedCase{"[answers]\ny,,n\n", "machine.txt:2: an answer word is missing between commas"},
        MalformedCase{"[answers]\ny,\n", "machine.txt:2: an answer word is missing between commas"},
        MalformedCase{"[window]\ntop-level = no\n[run]\n", "machine.txt:1: [window] gives neither title nor class"},
        MalformedCase{"[window]\ntitle = a\ntop-level = maybe\n", "machine.txt:3: top-level must be yes or no"},
        MalformedCase{"[window]\ntitle = a\nvisible = yes\n",
                      "machine.txt:3: unknown key \"visible\" here; known are title, class, top-level"},
        MalformedCase{"[program]\n", "machine.txt:1: [program] needs the program's path: [program C:\\...]"},
        MalformedCase{"[program C:\\A.EXE]\n[program c:\\a.exe]\n",
                      "machine.txt:2: program c:\\a.exe is described twice"},
        MalformedCase{"[program C:\\A.EXE]\ndelete =\n", "machine.txt:2: delete needs a value"},
        MalformedCase{"[program C:\\A.EXE]\nexit-code = 4294967296\n",
                      "machine.txt:2: exit-code must be a number from 0 to 4294967295"},
        MalformedCase{"[program C:\\A.EXE]\nrun = C:\\B.EXE\n",
                      "machine.txt:2: unknown key \"run\" here; known are delete, remove-directory, start, "
                      "exit-code"},
        MalformedCase{"[environment]\n=C:\\\n", "machine.txt:2: expected NAME=value"},
        MalformedCase{"[environment]\nPATH\n", "machine.txt:2: expected NAME=value"},
        MalformedCase{"[environment]\nPath=a\nPATH=b\n", "machine.txt:3: variable PATH is given twice"},
        MalformedCase{"[restart]\nresult = yes\n", "machine.txt:2: result must be 0 or 1"},
        MalformedCase{"[restart]\n# none\n", "machine.txt:1: [restart] needs result = 0 or result = 1"}));

TEST(MachineDescription, ErrorNamesTheFileItWasGiven) {
  EXPECT_EQ(ParseMachineDescription("[dde]\n", "X/machine.txt").error.substr(0, 16), "X/machine.txt:1:");
}

}  // namespace
}  // namespace winsim
