// Veltrask's compiled string table holds exactly its texts, in Japanese, byte for byte in code page 932.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <set>

#include "platform/simulated/text/cp932.h"
#include "platform/simulated/text/resource_file.h"
#include "tests/uninstaller/veltrask_texts.h"

namespace {

using namespace veltrask_texts;

winsim::StringTable CompiledStrings() {
  std::ifstream in(VELTRASK_RES_PATH, std::ios::binary);
  std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  winsim::StringTable table;
  std::string error;
  EXPECT_TRUE(winsim::ParseResourceStrings(bytes, &table, &error)) << error;
  return table;
}

TEST(VeltraskStringTable, HoldsEveryTextInJapaneseAsCodePage932) {
  const struct {
    uint16_t id;
    const std::string &text;
  } expected[] = {
      {1, kBoxTitle},    {2, kUninstallCancelled},   {3, kBadCommandLine}, {4, kConfirmUninstall},
      {5, kAskRestart},  {6, kPrintManagerTitle},    {8, kProductIni},     {9, kDriverName},
      {12, kBackupName}, {13, kPrintManagerRunning}, {16, kDriverKey},
  };
  winsim::StringTable table = CompiledStrings();
  std::set<std::pair<uint16_t, uint16_t>> wanted;
  for (const auto &entry : expected) {
    wanted.insert({0x0411, entry.id});
    auto found = table.strings.find({0x0411, entry.id});
    ASSERT_NE(found, table.strings.end()) << "text " << entry.id << " is missing";
    EXPECT_EQ(winsim::Utf16ToCp932(found->second), entry.text) << "text " << entry.id;
  }
  std::set<std::pair<uint16_t, uint16_t>> present;
  for (const auto &[key, text] : table.strings) present.insert(key);
  EXPECT_EQ(present, wanted) << "the table holds other texts or other languages";
}

TEST(VeltraskStringTable, KeepsTheFullWidthMiddleDotBetweenHalfWidthWords) {
  // ﾌﾟﾘﾝﾄ・ﾏﾈｰｼﾞｬｰ: half-width katakana are single bytes, the middle dot U+30FB is the pair 81 45.
  EXPECT_NE(kPrintManagerTitle.find("\xC4\x81\x45\xCF"), std::string::npos);
  winsim::StringTable table = CompiledStrings();
  EXPECT_EQ(table.strings.at({0x0411, 6}).find(u'\u30FB'), 18u);
}

}  // namespace
