// Tests of reading string tables from .res files: one compiled by windres, and hand-built faulty ones.
#include "platform/simulated/text/resource_file.h"

#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

namespace winsim {
namespace {

constexpr uint16_t kJapanese = 0x0411;
constexpr uint16_t kEnglish = 0x0409;
constexpr uint16_t kNeutral = 0x0000;

std::string ReadFile(const char *path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

class WindresFile : public ::testing::Test {
 protected:
  void SetUp() override {
    bytes_ = ReadFile(WINSIM_TEST_RES);
    ASSERT_FALSE(bytes_.empty()) << "cannot read " << WINSIM_TEST_RES;
  }
  std::string bytes_;
};

TEST_F(WindresFile, FindsStringsByIdAndLanguage) {
  StringTable table;
  std::string error;
  ASSERT_TRUE(ParseResourceStrings(bytes_, &table, &error)) << error;
  EXPECT_EQ(error, "");
  EXPECT_EQ(table.strings.size(), 10u);  // the empty string and the other resources add none
  EXPECT_EQ(table.strings.count({kJapanese, 3}), 0u);

  const struct {
    uint16_t id, language;
    const char16_t *text;
  } cases[] = {
      {1, kJapanese, u"ZOV 4260-WIN ドライバの削除"},
      {1, kEnglish, u"ZOV 4260-WIN driver removal"},
      {1, 0x0407, u"ZOV 4260-WIN driver removal"},  // no German: lowest language that has it
      {2, kJapanese, u"ファイル \"%s\" を削除しますか?\nはい/いいえ"},
      {2, kEnglish, u"ファイル \"%s\" を削除しますか?\nはい/いいえ"},
      {3, kJapanese, u"Only in English"},  // the empty Japanese string is absent
      {4, kJapanese, u"neutral four"},
      {4, kEnglish, u"English four"},
      {5, kEnglish, u"neutral"},
      {16, kJapanese, u"ブロック2の最初"},
      {100, kJapanese, u"ｶﾀｶﾅ"},
      {65535, kJapanese, u"last id"},
      {0, kJapanese, nullptr},
      {6, kEnglish, nullptr},
      {15, kJapanese, nullptr},
      {17, kJapanese, nullptr},
  };
  for (const auto &c : cases) {
    const std::u16string *s = FindResourceString(table, c.id, c.language);
    if (c.text == nullptr) {
      EXPECT_EQ(s, nullptr) << c.id;
    } else {
      ASSERT_NE(s, nullptr) << c.id;
      EXPECT_EQ(*s, c.text) << c.id;
    }
  }
}

TEST_F(WindresFile, EveryTruncationParsesOrFailsCleanly) {
  StringTable full;
  std::string error;
  ASSERT_TRUE(ParseResourceStrings(bytes_, &full, &error)) << error;
  size_t failures = 0;
  for (size_t len = 0; len < bytes_.size(); ++len) {
    // A copy of exactly len bytes, so that a read past the end is caught by ASan or valgrind.
    const std::string prefix = bytes_.substr(0, len);
    StringTable table;
    error.clear();
    if (ParseResourceStrings(prefix, &table, &error)) {
      EXPECT_EQ(error, "") << len;
    } else {
      EXPECT_NE(error, "") << len;
      ++failures;
    }
    for (const auto &[key, text] : table.strings) {
      const auto it = full.strings.find(key);
      ASSERT_NE(it, full.strings.end()) << len;
      EXPECT_EQ(it->second, text) << len;
    }
  }
  EXPECT_GT(failures, bytes_.size() / 2);  // most cuts fall inside an entry
}

// Hand-built .res pieces.
std::string Le16(uint16_t v) { return {static_cast<char>(v & 0xFF), static_cast<char>(v >> 8)}; }
std::string Le32(uint32_t v) { return Le16(static_cast<uint16_t>(v)) + Le16(static_cast<uint16_t>(v >> 16)); }
std::string Id(uint16_t id) { return Le16(0xFFFF) + Le16(id); }
std::string Name(const std::u16string &s) {
  std::string out;
  for (char16_t c : s) out += Le16(c);
  return out + Le16(0);
}
std::string Pad(std::string s) {
  s.resize((s.size() + 3) / 4 * 4, '\0');
  return s;
}
std::string Entry(const std::string &type, const std::string &name, uint16_t language, const std::string &data) {
  const std::string names = Pad(std::string(8, '\0') + type + name).substr(8);
  const std::string fixed = Le32(0) + Le16(0x1030) + Le16(language) + Le32(0) + Le32(0);
  return Pad(Le32(static_cast<uint32_t>(data.size())) + Le32(static_cast<uint32_t>(8 + names.size() + fixed.size())) +
             names + fixed + data);
}
std::string Block(const std::vector<std::u16string> &strings) {
  std::string out;
  for (const auto &s : strings) out += Le16(static_cast<uint16_t>(s.size())) + Name(s).substr(0, 2 * s.size());
  return out;
}
std::vector<std::u16string> Sixteen(std::u16string first) {
  std::vector<std::u16string> v(16);
  v[0] = std::move(first);
  return v;
}
const std::string kLeading = Entry(Id(0), Id(0), 0, "");
// Named type and name of odd lengths, so the header needs padding.
const std::string kBeforeBlock = kLeading + Entry(Name(u"ZOV"), Name(u"DATA"), kNeutral, "xyz");

std::string ValidFile() { return kBeforeBlock + Entry(Id(6), Id(2), kJapanese, Block(Sixteen(u"seventeen"))); }

TEST(ResourceFaults, HandBuiltFilesParseOrFail) {
  const auto put16 = [](size_t at, uint16_t v) { return [=](std::string &b) { b.replace(at, 2, Le16(v)); }; };
  const auto put32 = [](size_t at, uint32_t v) { return [=](std::string &b) { b.replace(at, 4, Le32(v)); }; };
  const size_t e = kBeforeBlock.size();  // string block entry: DataSize, HeaderSize, then type, name
  const struct {
    const char *what;
    std::function<std::string()> make;
    bool ok;
  } cases[] = {
      {"valid", [] { return ValidFile(); }, true},
      {"extra bytes after the strings",
       [] { return kLeading + Entry(Id(6), Id(2), kJapanese, Block(Sixteen(u"seventeen")) + "??"); }, true},
      {"empty", [] { return std::string(); }, false},
      {"no leading empty entry", [] { return Entry(Id(6), Id(2), kJapanese, Block(Sixteen(u"x"))); }, false},
      {"16-bit format", [] { return std::string("\xFF\x06\x00\xFF\x02\x00\x30\x10\x20\x00\x00\x00", 12); }, false},
      {"header size below the minimum",
       [=] {
         auto b = ValidFile();
         put32(e + 4, 16)(b);
         return b;
       },
       false},
      {"header size past the end",
       [=] {
         auto b = ValidFile();
         put32(e + 4, 0xFFFFFFF0u)(b);
         return b;
       },
       false},
      {"data size past the end",
       [=] {
         auto b = ValidFile();
         put32(e, 0xFFFFFFF0u)(b);
         return b;
       },
       false},
      {"block id 0",
       [=] {
         auto b = ValidFile();
         put16(e + 14, 0)(b);
         return b;
       },
       false},
      {"block id 4097",
       [=] {
         auto b = ValidFile();
         put16(e + 14, 4097)(b);
         return b;
       },
       false},
      {"unterminated type name",
       [=] {
         auto b = ValidFile();
         b.replace(e + 8, 24, std::string(24, 'A'));
         return b;
       },
       false},
      {"named string block", [] { return kLeading + Entry(Id(6), Name(u"S"), kJapanese, Block(Sixteen(u"x"))); },
       false},
      {"block of 15 strings",
       [] {
         auto v = Sixteen(u"x");
         v.pop_back();
         return kLeading + Entry(Id(6), Id(1), kJapanese, Block(v));
       },
       false},
      {"string longer than the block", [] { return kLeading + Entry(Id(6), Id(1), kJapanese, Le16(0x7FFF) + "ab"); },
       false},
  };
  for (const auto &c : cases) {
    const std::string bytes = c.make();
    StringTable table;
    std::string error;
    EXPECT_EQ(ParseResourceStrings(bytes, &table, &error), c.ok) << c.what << ": " << error;
    EXPECT_EQ(error.empty(), c.ok) << c.what;
    if (c.ok) {
      const std::u16string *s = FindResourceString(table, 16, kJapanese);
      ASSERT_NE(s, nullptr) << c.what;
      EXPECT_EQ(*s, u"seventeen") << c.what;
      EXPECT_EQ(table.strings.size(), 1u) << c.what;
    }
  }
}

}  // namespace
}  // namespace winsim
