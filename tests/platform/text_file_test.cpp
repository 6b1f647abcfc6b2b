// The text-file service on the simulated machine: line ends, Ctrl-Z, pieces, failures, sharing and round trips.
#include "platform/text_file.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "tests/simulator/machine_fixture.h"

namespace {

using namespace std::string_literals;

const char kPath[] = "C:\\WINDOWS\\SYSTEM.INI";
const std::string x511(511, 'x');

// Reads pieces until the end (0) or a failure (-1, given as the piece "<failed>").
std::vector<std::string> ReadPieces(TEXT_FILE *file, int limit) {
  std::vector<std::string> pieces;
  std::vector<char> buffer(limit + 8, 'Q');
  for (;;) {
    int count = ReadTextPiece(file, buffer.data(), limit);
    EXPECT_EQ(buffer[limit], 'Q') << "written past the limit";
    if (count < 0) {
      EXPECT_EQ(buffer[0], '\0') << "a failed read leaves the piece empty";
      pieces.push_back("<failed>");
      return pieces;
    }
    EXPECT_EQ(static_cast<size_t>(count), std::strlen(buffer.data()));
    if (count == 0) return pieces;
    EXPECT_LE(count, limit - 1);
    pieces.push_back(std::string(buffer.data(), count));
  }
}

// ---- Reading

struct ReadCase {
  const char *name;
  std::string bytes;
  int limit;
  std::vector<std::string> pieces;
};
void PrintTo(const ReadCase &value, std::ostream *out) { *out << value.name; }

class Reading : public MachineTest, public testing::WithParamInterface<ReadCase> {};

TEST_P(Reading, GivesThePiecesTextModeWould) {
  const ReadCase &c = GetParam();
  machine().PutFile(kPath, c.bytes);
  DirectCalls calls(machine(), "C:\\");
  TEXT_FILE file;
  ASSERT_TRUE(OpenTextFileForReading(&file, kPath));
  EXPECT_EQ(ReadPieces(&file, c.limit), c.pieces);
  char piece[8];
  bool failed = !c.pieces.empty() && c.pieces.back() == "<failed>";
  EXPECT_EQ(ReadTextPiece(&file, piece, sizeof piece), failed ? -1 : 0) << "the end stays the end";
  EXPECT_EQ(CloseTextFile(&file) != FALSE, !failed);
  EXPECT_TRUE(machine().OpenHandles().empty());
}

INSTANTIATE_TEST_SUITE_P(
    TextFile, Reading,
    testing::Values(
        ReadCase{"CrLfReadAsLf", "a\r\nb\r\n", 512, {"a\n", "b\n"}}, ReadCase{"BareLf", "a\nb\n", 512, {"a\n", "b\n"}},
        ReadCase{"LoneCrKept", "a\rb\r\n", 512, {"a\rb\n"}}, ReadCase{"CrBeforeCrLf", "a\r\r\n", 512, {"a\r\n"}},
        ReadCase{"CrAsTheLastByte", "a\r", 512, {"a\r"}},
        ReadCase{"LastLineWithoutLf", "a\r\nlast", 512, {"a\n", "last"}}, ReadCase{"EmptyFile", "", 512, {}},
        ReadCase{"CtrlZEndsTheFile",
                 "a\r\nb\x1A"
                 "c\r\n",
                 512,
                 {"a\n", "b"}},
        ReadCase{"CtrlZFirst",
                 "\x1A"
                 "a\r\n",
                 512,
                 {}},
        ReadCase{"CrBeforeCtrlZ", "a\r\x1A\n", 512, {"a\r"}},
        ReadCase{"CrLfAcrossTwoBlocks", x511 + "\r\ny\r\n", 1024, {x511 + "\n", "y\n"}},
        ReadCase{"LoneCrAtTheEndOfABlock", x511 + "\rz\r\n", 1024, {x511 + "\rz\n"}},
        ReadCase{"CtrlZFirstInTheSecondBlock",
                 x511 + "x\x1A"
                        "more",
                 1024,
                 {x511 + "x"}},
        ReadCase{"CutAtLimitLessOne", "abcdefg\r\n", 4, {"abc", "def", "g\n"}},
        ReadCase{"CutJustBeforeTheLf", "abc\r\nd", 4, {"abc", "\n", "d"}},
        ReadCase{"LongLineInPieces", std::string(1200, 'x') + "\r\n", 512, {x511, x511, std::string(178, 'x') + "\n"}},
        ReadCase{"SmallestLimit", "ab\r\n", 2, {"a", "b", "\n"}},
        ReadCase{"NulIsAFailedRead", "ab\0cd\r\n"s, 512, {"<failed>"}},
        ReadCase{"NulInALaterLine", "a\r\nb\0c\r\n"s, 512, {"a\n", "<failed>"}}),
    [](const testing::TestParamInfo<ReadCase> &info) { return std::string(info.param.name); });

// ---- Writing

struct WriteCase {
  const char *name;
  std::vector<std::string> texts;
  std::string bytes;
};
void PrintTo(const WriteCase &value, std::ostream *out) { *out << value.name; }

class Writing : public MachineTest, public testing::WithParamInterface<WriteCase> {};

TEST_P(Writing, PutsLfAsCrLfAndEverythingElseAsItIs) {
  const WriteCase &c = GetParam();
  machine().PutFile(kPath, "old content that is longer than what is written\r\n");
  {
    DirectCalls calls(machine(), "C:\\");
    TEXT_FILE file;
    ASSERT_TRUE(CreateTextFile(&file, kPath));
    for (const std::string &text : c.texts) EXPECT_TRUE(WriteText(&file, text.c_str()));
    EXPECT_TRUE(CloseTextFile(&file));
  }
  EXPECT_EQ(machine().FileBytes(kPath), c.bytes);
  EXPECT_TRUE(machine().OpenHandles().empty());
}

INSTANTIATE_TEST_SUITE_P(TextFile, Writing,
                         testing::Values(WriteCase{"NothingEmptiesTheFile", {}, ""},
                                         WriteCase{"LfBecomesCrLf", {"a\n", "b\n"}, "a\r\nb\r\n"},
                                         WriteCase{
                                             "OtherBytesAsTheyAre", {"a\rb", "\x83\x5C\x1A\n"}, "a\rb\x83\x5C\x1A\r\n"},
                                         WriteCase{"LastLineWithoutLf", {"a\n", "end"}, "a\r\nend"},
                                         WriteCase{"CrLfGivenGivesCrCrLf", {"a\r\n"}, "a\r\r\n"},
                                         WriteCase{"LineEndAcrossTheBuffer",
                                                   {x511 + "\n" + std::string(600, 'y')},
                                                   x511 + "\r\n" + std::string(600, 'y')}),
                         [](const testing::TestParamInfo<WriteCase> &info) { return std::string(info.param.name); });

// ---- Failures

class TextFileFailures : public MachineTest {};

TEST_F(TextFileFailures, OpeningsThatFail) {
  DirectCalls calls(machine(), "C:\\");
  TEXT_FILE file;
  EXPECT_FALSE(OpenTextFileForReading(&file, "C:\\WINDOWS\\NONE.INI"));
  EXPECT_FALSE(machine().Exists("C:\\WINDOWS\\NONE.INI"));
  EXPECT_FALSE(CreateTextFile(&file, "C:\\NONE\\NEW.INI"));
  EXPECT_TRUE(machine().OpenHandles().empty());
}

struct ReadFaultCase {
  const char *name;
  std::string bytes;
  int failedRead;  // which ReadFile fails
  std::vector<std::string> pieces;
};
void PrintTo(const ReadFaultCase &value, std::ostream *out) { *out << value.name; }

class ReadFault : public MachineTest, public testing::WithParamInterface<ReadFaultCase> {};

TEST_P(ReadFault, IsReportedAndNotTakenForTheEnd) {
  const ReadFaultCase &c = GetParam();
  machine().PutFile(kPath, c.bytes);
  machine().FailCall("ReadFile", c.failedRead);
  DirectCalls calls(machine(), "C:\\");
  TEXT_FILE file;
  ASSERT_TRUE(OpenTextFileForReading(&file, kPath));
  EXPECT_EQ(ReadPieces(&file, 512), c.pieces);
  char piece[8];
  EXPECT_EQ(ReadTextPiece(&file, piece, sizeof piece), -1) << "a failure stays a failure";
  EXPECT_FALSE(CloseTextFile(&file));
  EXPECT_TRUE(machine().OpenHandles().empty());
}

const std::string kTwoLongLines = std::string(300, 'x') + "\r\n" + std::string(300, 'y') + "\r\n";

INSTANTIATE_TEST_SUITE_P(
    TextFile, ReadFault,
    testing::Values(
        ReadFaultCase{"FirstBlock", "a\r\n", 1, {"<failed>"}},
        ReadFaultCase{"SecondBlock", kTwoLongLines, 2, {std::string(300, 'x') + "\n", "<failed>"}},
        ReadFaultCase{"LookingPastACrAtTheBlockEnd", "y\r\n" + std::string(508, 'x') + "\r\n", 2, {"y\n", "<failed>"}}),
    [](const testing::TestParamInfo<ReadFaultCase> &info) { return std::string(info.param.name); });

TEST_F(TextFileFailures, WriteFaultIsReportedByTheWriteOrTheClose) {
  machine().PutFile(kPath, "old");
  machine().FailCall("WriteFile", 1);
  DirectCalls calls(machine(), "C:\\");
  TEXT_FILE file;
  ASSERT_TRUE(CreateTextFile(&file, kPath));
  EXPECT_TRUE(WriteText(&file, "short\n"));  // still buffered
  EXPECT_FALSE(CloseTextFile(&file));
  EXPECT_TRUE(machine().OpenHandles().empty());

  machine().FailCall("WriteFile", 2);
  ASSERT_TRUE(CreateTextFile(&file, kPath));
  EXPECT_FALSE(WriteText(&file, std::string(600, 'z').c_str()));
  EXPECT_FALSE(WriteText(&file, "more\n"));
  EXPECT_FALSE(CloseTextFile(&file));
  EXPECT_EQ(machine().CallsOf("WriteFile").size(), 2u) << "nothing is written after a failure";
  EXPECT_TRUE(machine().OpenHandles().empty());
}

TEST_F(TextFileFailures, CloseFaultIsReported) {
  machine().PutFile(kPath, "a\r\n");
  machine().FailCall("CloseHandle", 1);
  machine().FailCall("CloseHandle", 2);
  DirectCalls calls(machine(), "C:\\");
  TEXT_FILE file;
  ASSERT_TRUE(OpenTextFileForReading(&file, kPath));
  EXPECT_FALSE(CloseTextFile(&file));
  ASSERT_TRUE(CreateTextFile(&file, "C:\\WINDOWS\\OUT.INI"));
  EXPECT_TRUE(WriteText(&file, "a\n"));
  EXPECT_FALSE(CloseTextFile(&file));
  EXPECT_EQ(machine().FileBytes("C:\\WINDOWS\\OUT.INI"), std::optional<std::string>("a\r\n"))
      << "the buffer is written before the close";
}

// ---- Sharing

TEST_F(MachineTest, TextFilesAreSharedForReadingAndWriting) {
  machine().PutFile(kPath, "a\r\n");
  DirectCalls calls(machine(), "C:\\");
  const DWORD both = FILE_SHARE_READ | FILE_SHARE_WRITE;
  for (bool writing : {false, true}) {
    SCOPED_TRACE(writing ? "created" : "opened for reading");
    TEXT_FILE file;
    ASSERT_TRUE(writing ? CreateTextFile(&file, kPath) : OpenTextFileForReading(&file, kPath));
    HANDLE other = CreateFileA(kPath, GENERIC_READ | GENERIC_WRITE, both, NULL, OPEN_EXISTING, 0, NULL);
    EXPECT_NE(other, INVALID_HANDLE_VALUE);
    CloseHandle(other);
    // An opening that will not share writing shows whether the text file writes.
    other = CreateFileA(kPath, GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, 0, NULL);
    EXPECT_EQ(other == INVALID_HANDLE_VALUE, writing);
    if (other != INVALID_HANDLE_VALUE) CloseHandle(other);
    EXPECT_TRUE(CloseTextFile(&file));
  }
  EXPECT_TRUE(machine().OpenHandles().empty());
}

// ---- Round trip

TEST_F(MachineTest, RoundTripKeepsEveryLineWholeWithCrLf) {
  std::string longLine(1500, 'L');
  for (size_t i = 0; i < longLine.size(); i += 7) longLine[i] = '\r';  // lone CRs, some at block ends
  std::string content = "[rename]\r\n" + longLine + "\r\nbare\nlone\rcr\r\n" + x511 + "\r\nlast";
  std::string expected = "[rename]\r\n" + longLine + "\r\nbare\r\nlone\rcr\r\n" + x511 + "\r\nlast";
  machine().PutFile(kPath, content);
  {
    DirectCalls calls(machine(), "C:\\");
    TEXT_FILE source, output;
    ASSERT_TRUE(OpenTextFileForReading(&source, kPath));
    ASSERT_TRUE(CreateTextFile(&output, "C:\\WINDOWS\\unst1.TMP"));
    char piece[512];
    int count;
    int pieces = 0;
    while ((count = ReadTextPiece(&source, piece, sizeof piece)) > 0) {
      ++pieces;
      EXPECT_TRUE(WriteText(&output, piece));
    }
    EXPECT_EQ(count, 0);
    EXPECT_GT(pieces, 7) << "the long line came in several pieces";
    EXPECT_TRUE(CloseTextFile(&source));
    EXPECT_TRUE(CloseTextFile(&output));
  }
  EXPECT_EQ(machine().FileBytes("C:\\WINDOWS\\unst1.TMP"), expected);
}

}  // namespace
