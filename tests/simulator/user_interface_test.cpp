// The user interface of the simulated machine: answers to message boxes, FindWindowA, ExitWindowsEx and
// LoadStringA's cutting of double-byte texts.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "tests/simulator/machine_fixture.h"

namespace {

// ---- MessageBoxA

struct AnswerCase {
  const char *name;
  std::vector<int> script;
  std::optional<int> fallback;
  UINT style;
  int answer;
  size_t answersLeft;
};
void PrintTo(const AnswerCase &value, std::ostream *out) { *out << value.name; }

class Answers : public MachineTest, public testing::WithParamInterface<AnswerCase> {};

TEST_P(Answers, TheBoxTakesTheAnswerThatFitsItsButtons) {
  const AnswerCase &c = GetParam();
  machine().QueueAnswers(c.script);
  if (c.fallback) {
    int fallback = *c.fallback;
    machine().SetAnswerFallback([fallback](const winsim::MessageBoxRecord &) { return fallback; });
  }
  DirectCalls calls(machine(), "C:\\");
  HWND owner = GetDesktopWindow();
  EXPECT_EQ(MessageBoxA(owner, "text", "title", c.style), c.answer);
  EXPECT_EQ(machine().AnswersLeft(), c.answersLeft);
  ASSERT_EQ(machine().Boxes().size(), 1u);
  const winsim::MessageBoxRecord &box = machine().Boxes()[0];
  EXPECT_EQ(box.owner, owner);
  EXPECT_EQ(box.text, "text");
  EXPECT_EQ(box.caption, "title");
  EXPECT_EQ(box.style, c.style);
  EXPECT_EQ(box.answer, c.answer);
  EXPECT_TRUE(box.shown);
}

INSTANTIATE_TEST_SUITE_P(
    MessageBox, Answers,
    testing::Values(AnswerCase{"Yes", {IDYES}, std::nullopt, MB_YESNO | MB_ICONEXCLAMATION, IDYES, 0},
                    AnswerCase{"No", {IDNO, IDYES}, std::nullopt, MB_YESNO | MB_ICONQUESTION, IDNO, 1},
                    AnswerCase{"OkForAnOkBox", {IDOK}, std::nullopt, MB_OK | MB_ICONHAND, IDOK, 0},
                    AnswerCase{"CancelForOkCancel", {IDCANCEL}, std::nullopt, MB_OKCANCEL, IDCANCEL, 0},
                    AnswerCase{"FailedBoxFitsAQuestion", {0}, std::nullopt, MB_YESNO, 0, 0},
                    AnswerCase{"FailedBoxFitsAnOkBox", {0}, std::nullopt, MB_OK | MB_ICONASTERISK, 0, 0},
                    AnswerCase{"LoneOkWithoutScript", {}, std::nullopt, MB_OK | MB_ICONASTERISK, IDOK, 0},
                    AnswerCase{"LoneOkLeavesAQuestionsAnswer", {IDYES}, std::nullopt, MB_OK | MB_ICONHAND, IDOK, 1},
                    AnswerCase{"FallbackWithoutScript", {}, IDNO, MB_YESNO, IDNO, 0},
                    AnswerCase{"FallbackForAnAnswerThatDoesNotFit", {IDCANCEL}, IDYES, MB_YESNO, IDYES, 1}),
    [](const testing::TestParamInfo<AnswerCase> &info) { return std::string(info.param.name); });

struct UnansweredCase {
  const char *name;
  std::vector<int> script;
  std::optional<int> fallback;
  UINT style;
};
void PrintTo(const UnansweredCase &value, std::ostream *out) { *out << value.name; }

class Unanswered : public MachineTest, public testing::WithParamInterface<UnansweredCase> {};

TEST_P(Unanswered, QuestionAbortsTheRun) {
  const UnansweredCase &c = GetParam();
  machine().QueueAnswers(c.script);
  if (c.fallback) {
    int fallback = *c.fallback;
    machine().SetAnswerFallback([fallback](const winsim::MessageBoxRecord &) { return fallback; });
  }
  DirectCalls calls(machine(), "C:\\");
  EXPECT_THROW(MessageBoxA(NULL, "text", "title", c.style), winsim::RunAborted);
  EXPECT_EQ(machine().Boxes().size(), 1u);
}

INSTANTIATE_TEST_SUITE_P(
    MessageBox, Unanswered,
    testing::Values(UnansweredCase{"NoScriptNoFallback", {}, std::nullopt, MB_YESNO},
                    UnansweredCase{"OkCancelIsAQuestion", {}, std::nullopt, MB_OKCANCEL},
                    UnansweredCase{"ScriptDoesNotFit", {IDOK}, std::nullopt, MB_YESNO | MB_ICONQUESTION},
                    UnansweredCase{"FallbackDoesNotFit", {}, IDOK, MB_YESNO}),
    [](const testing::TestParamInfo<UnansweredCase> &info) { return std::string(info.param.name); });

TEST_F(MachineTest, UnansweredQuestionEndsTheRunWithAnError) {
  machine().PutFile("C:\\WINDOWS\\PROBE.EXE", "MZ");
  winsim::RunResult result = machine().RunProgram(PROBE_PROGRAM_PATH, "PROBE.EXE ask", "C:\\WINDOWS");
  EXPECT_FALSE(result.ran);
  EXPECT_NE(result.error.find("question"), std::string::npos) << result.error;
  ASSERT_EQ(machine().Boxes().size(), 2u);
  EXPECT_EQ(machine().Boxes()[1].style, MB_YESNO | MB_ICONQUESTION);

  // The machine can run again afterwards, and the answer becomes the exit code.
  machine().QueueAnswers({IDNO});
  result = machine().RunProgram(PROBE_PROGRAM_PATH, "PROBE.EXE ask", "C:\\WINDOWS");
  ASSERT_TRUE(result.ran) << result.error;
  EXPECT_EQ(result.exitCode, IDNO);
}

TEST_F(MachineTest, BoxThatFailsAnswersZeroAndKeepsTheScript) {
  machine().QueueAnswers({IDYES});
  machine().FailCall("MessageBoxA", 1);
  DirectCalls calls(machine(), "C:\\");
  EXPECT_EQ(MessageBoxA(NULL, "text", "title", MB_YESNO), 0);
  EXPECT_EQ(MessageBoxA(NULL, "again", "title", MB_YESNO), IDYES);
  ASSERT_EQ(machine().Boxes().size(), 2u);
  EXPECT_FALSE(machine().Boxes()[0].shown);
  EXPECT_TRUE(machine().Boxes()[1].shown);
}

// ---- FindWindowA

const char kTitle[] = "Print Manager \x83\x61";  // ends in ヂ, whose trail byte is 'a'

struct WindowCase {
  const char *name;
  const char *className;
  const char *title;
  int window;  // index of the window found, -1 for none
};
void PrintTo(const WindowCase &value, std::ostream *out) { *out << value.name; }

class FindWindow : public MachineTest, public testing::WithParamInterface<WindowCase> {};

TEST_P(FindWindow, FindsATopLevelWindowByItsWholeTitle) {
  const WindowCase &c = GetParam();
  machine().AddWindow({kTitle, "ZOV4260PM", true});
  machine().AddWindow({"Child Title", "Static", false});
  machine().AddWindow({"Other", "OtherClass", true});
  DirectCalls calls(machine(), "C:\\");
  // Reference handles, told apart by their class alone.
  std::vector<HWND> windows = {FindWindowA("ZOV4260PM", NULL), NULL, FindWindowA("OtherClass", NULL)};
  ASSERT_NE(windows[0], nullptr);
  ASSERT_NE(windows[2], nullptr);
  ASSERT_NE(windows[0], windows[2]);
  HWND found = FindWindowA(c.className, c.title);
  EXPECT_EQ(found, c.window < 0 ? nullptr : windows[c.window]);
}

INSTANTIATE_TEST_SUITE_P(FindWindowA, FindWindow,
                         testing::Values(WindowCase{"WholeTitle", NULL, kTitle, 0},
                                         WindowCase{"LatinCaseIgnored", NULL, "PRINT manager \x83\x61", 0},
                                         WindowCase{"TrailByteNotFolded", NULL, "Print Manager \x83\x41", -1},
                                         WindowCase{"PartOfTheTitle", NULL, "Print Manager", -1},
                                         WindowCase{"MoreThanTheTitle", NULL, "Print Manager \x83\x61 ", -1},
                                         WindowCase{"ChildWindowNeverFound", NULL, "Child Title", -1},
                                         WindowCase{"ChildWindowNotFoundByClass", "Static", NULL, -1},
                                         WindowCase{"ClassAndTitle", "zov4260pm", kTitle, 0},
                                         WindowCase{"ClassOfAnotherWindow", "OtherClass", kTitle, -1},
                                         WindowCase{"OtherWindowByTitle", NULL, "other", 2}),
                         [](const testing::TestParamInfo<WindowCase> &info) { return std::string(info.param.name); });

// ---- ExitWindowsEx

TEST_F(MachineTest, RestartRequestsAreRecordedAndAnsweredAsSet) {
  DirectCalls calls(machine(), "C:\\");
  EXPECT_TRUE(ExitWindowsEx(EWX_REBOOT, 0));
  machine().SetRestartResult(FALSE);
  EXPECT_FALSE(ExitWindowsEx(EWX_SHUTDOWN | EWX_FORCE, 0));
  EXPECT_EQ(machine().RestartRequests(), (std::vector<UINT>{EWX_REBOOT, EWX_SHUTDOWN | EWX_FORCE}));
}

// ---- LoadStringA

struct LoadStringCase {
  const char *name;
  const char *tail;
  int count;
  std::string text;
};
void PrintTo(const LoadStringCase &value, std::ostream *out) { *out << value.name; }

class LoadString : public MachineTest, public testing::WithParamInterface<LoadStringCase> {};

TEST_P(LoadString, CutsToSizeLessOneWithoutSplittingACharacter) {
  const LoadStringCase &c = GetParam();
  machine().PutFile("C:\\WINDOWS\\PROBE.EXE", "MZ");
  winsim::RunResult result =
      machine().RunProgram(PROBE_PROGRAM_PATH, std::string("PROBE.EXE ") + c.tail, "C:\\WINDOWS");
  ASSERT_TRUE(result.ran) << result.error;
  EXPECT_EQ(result.exitCode, c.count);
  ASSERT_EQ(machine().Boxes().size(), 2u);
  EXPECT_EQ(machine().Boxes()[1].text, c.text);
}

// アイウ = 83 41 83 43 83 45
INSTANTIATE_TEST_SUITE_P(LoadStringA, LoadString,
                         testing::Values(LoadStringCase{"Whole", "load 64", 6, "\x83\x41\x83\x43\x83\x45"},
                                         LoadStringCase{"ExactlyFits", "load 7", 6, "\x83\x41\x83\x43\x83\x45"},
                                         LoadStringCase{"OneByteShort", "load 6", 4, "\x83\x41\x83\x43"},
                                         LoadStringCase{"WholeCharactersOnly", "load 5", 4, "\x83\x41\x83\x43"},
                                         LoadStringCase{"NoRoomForACharacter", "load 2", 0, ""},
                                         LoadStringCase{"SingleByteThenDoubleByte", "load 3+", 1, "a"},
                                         LoadStringCase{"SingleAndOneDoubleByte", "load 4+", 3, "a\x83\x41"}),
                         [](const testing::TestParamInfo<LoadStringCase> &info) {
                           return std::string(info.param.name);
                         });

}  // namespace
