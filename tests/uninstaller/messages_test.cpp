// What Veltrask says: the start guard, the confirmation and restart questions, their boxes and answers.
#include <gtest/gtest.h>

#include "platform/simulated/text/cp932.h"
#include "tests/uninstaller/veltrask_machine.h"
#include "tests/uninstaller/veltrask_texts.h"

namespace {

using namespace veltrask_texts;

using Messages = VeltraskMachineTest;

struct WindowCase {
  const char *name;
  std::string title;
  bool topLevel;
  bool countsAsPrintManager;
};
void PrintTo(const WindowCase &value, std::ostream *out) { *out << value.name; }

class PrintManagerWindow : public VeltraskMachineTest, public testing::WithParamInterface<WindowCase> {};

TEST_P(PrintManagerWindow, IsRecognisedByItsWholeTitleAlone) {
  machine().AddWindow({GetParam().title, "SomeClass", GetParam().topLevel});
  winsim::RunResult result = Run(GetParam().countsAsPrintManager ? std::vector<int>{} : std::vector<int>{IDNO});
  ASSERT_TRUE(result.ran) << result.error;
  EXPECT_EQ(result.exitCode, 0);
  if (GetParam().countsAsPrintManager) {
    EXPECT_EQ(ShownBoxes(), (std::vector<ShownBox>{kRunningBox, kCancelledBox}));
  } else {
    EXPECT_EQ(ShownBoxes(), (std::vector<ShownBox>{kConfirmBox, kCancelledBox}));
  }
  std::vector<winsim::Call> finds = machine().CallsOf("FindWindowA");
  ASSERT_EQ(finds.size(), 1u);
  EXPECT_EQ(finds[0].arguments, (std::vector<std::string>{"NULL", "\"" + kPrintManagerTitle + "\""}));
  EXPECT_TRUE(machine().CallsOf("CreateProcessA").empty());
}

INSTANTIATE_TEST_SUITE_P(
    Titles, PrintManagerWindow,
    testing::Values(WindowCase{"ExactTitle", kPrintManagerTitle, true, true},
                    WindowCase{"LatinLettersInOtherCase", "zov 4260-win" + kPrintManagerTitle.substr(12), true, true},
                    WindowCase{"SomethingAdded", kPrintManagerTitle + " - LPT1", true, false},
                    WindowCase{"SomethingMissing", kPrintManagerTitle.substr(0, kPrintManagerTitle.size() - 1), true,
                               false},
                    // ･ (half-width, one byte) where the title has ・ (full-width, two bytes).
                    WindowCase{"HalfWidthMiddleDot",
                               "ZOV 4260-WIN \xCC\xDF\xD8\xDD\xC4\xA5\xCF\xC8\xB0\xBC\xDE\xAC\xB0", true, false},
                    WindowCase{"ChildWindow", kPrintManagerTitle, false, false}),
    [](const testing::TestParamInfo<WindowCase> &info) { return std::string(info.param.name); });

TEST_F(Messages, EmptyCommandLineEndsTheRunWithoutABox) {
  winsim::RunResult result = machine().RunProgram(VELTRASK_MODULE_PATH, "", "C:\\WINDOWS", kVeltraskProgram);
  ASSERT_TRUE(result.ran) << result.error;
  EXPECT_EQ(result.exitCode, 0);
  EXPECT_TRUE(machine().Boxes().empty());
  EXPECT_TRUE(machine().CallsOf("CreateProcessA").empty());
}

TEST_F(Messages, RunningPrintManagerIsReportedEvenWithAnEmptyCommandLine) {
  OpenPrintManagerWindow();
  winsim::RunResult result = machine().RunProgram(VELTRASK_MODULE_PATH, "", "C:\\WINDOWS", kVeltraskProgram);
  ASSERT_TRUE(result.ran) << result.error;
  EXPECT_EQ(result.exitCode, 0);
  EXPECT_EQ(ShownBoxes(), (std::vector<ShownBox>{kRunningBox, kCancelledBox}));
}

struct AnswerCase {
  const char *name;
  std::vector<int> answers;
  std::vector<ShownBox> boxes;
  bool restartRequested;
};
void PrintTo(const AnswerCase &value, std::ostream *out) { *out << value.name; }

class QuestionAnswers : public VeltraskMachineTest, public testing::WithParamInterface<AnswerCase> {};

TEST_P(QuestionAnswers, OnlyNoRefuses) {
  winsim::RunResult result = Run(GetParam().answers);
  ASSERT_TRUE(result.ran) << result.error;
  EXPECT_EQ(ShownBoxes(), GetParam().boxes);
  EXPECT_EQ(!machine().RestartRequests().empty(), GetParam().restartRequested);
}

// 0 is the answer of a box that cannot be shown: both questions take it as consent.
INSTANTIATE_TEST_SUITE_P(Answers, QuestionAnswers,
                         testing::Values(AnswerCase{"YesYes", {IDYES, IDYES}, {kConfirmBox, kRestartBox}, true},
                                         AnswerCase{"YesNo", {IDYES, IDNO}, {kConfirmBox, kRestartBox}, false},
                                         AnswerCase{"No", {IDNO}, {kConfirmBox, kCancelledBox}, false},
                                         AnswerCase{"ConfirmationFails", {0, IDNO}, {kConfirmBox, kRestartBox}, false},
                                         AnswerCase{
                                             "RestartQuestionFails", {IDYES, 0}, {kConfirmBox, kRestartBox}, true}),
                         [](const testing::TestParamInfo<AnswerCase> &info) { return std::string(info.param.name); });

TEST_F(Messages, EveryBoxIsOwnedByTheDesktopAndTitledWithTextOne) {
  // One run that shows every box but the start guard's, one that shows the start guard's.
  ASSERT_TRUE(Run({IDYES}, "C:\\WINDOWS\\Veltrask.exe C:\\WINDOWS\\MISSING.EXE").ran);
  ASSERT_TRUE(Run({IDYES, IDNO}).ran);
  OpenPrintManagerWindow();
  ASSERT_TRUE(Run({}).ran);

  std::vector<ShownBox> boxes = ShownBoxes();  // checks each box's title
  EXPECT_EQ(boxes.size(), 7u);
  std::string desktop = machine().CallsOf("GetDesktopWindow").front().result;
  for (const winsim::Call &box : machine().CallsOf("MessageBoxA")) EXPECT_EQ(box.arguments[0], desktop);
}

}  // namespace
