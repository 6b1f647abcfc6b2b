// .res reader: walks the entries with bounds checks and collects the RT_STRING blocks.
#include "platform/simulated/text/resource_file.h"

namespace winsim {
namespace {

constexpr uint16_t kRtString = 6;
constexpr size_t kFixedHeaderTail = 16;  // DataVersion, MemoryFlags, LanguageId, Version, Characteristics

// Bounded little-endian reader over one region of the input.
class Reader {
 public:
  Reader(std::string_view bytes, size_t pos, size_t end) : bytes_(bytes), pos_(pos), end_(end) {}

  bool Word(uint16_t *v) {
    if (end_ - pos_ < 2) return false;
    *v = static_cast<uint16_t>(Byte(pos_) | (Byte(pos_ + 1) << 8));
    pos_ += 2;
    return true;
  }
  bool Dword(uint32_t *v) {
    uint16_t lo, hi;
    if (end_ - pos_ < 4 || !Word(&lo) || !Word(&hi)) return false;
    *v = static_cast<uint32_t>(lo) | (static_cast<uint32_t>(hi) << 16);
    return true;
  }
  // Skips the padding that brings the position to a multiple of 4 from base.
  bool AlignFrom(size_t base) {
    const size_t pad = (4 - (pos_ - base) % 4) % 4;
    if (end_ - pos_ < pad) return false;
    pos_ += pad;
    return true;
  }
  size_t pos() const { return pos_; }

 private:
  unsigned Byte(size_t i) const { return static_cast<unsigned char>(bytes_[i]); }
  std::string_view bytes_;
  size_t pos_, end_;
};

// A TYPE or NAME field: an id, or a NUL-terminated UTF-16 name (only its presence matters here).
struct NameOrId {
  bool isId = false;
  uint16_t id = 0;
};

bool ReadNameOrId(Reader *r, NameOrId *out) {
  uint16_t w;
  if (!r->Word(&w)) return false;
  if (w == 0xFFFF) {
    out->isId = true;
    return r->Word(&out->id);
  }
  out->isId = false;
  while (w != 0) {
    if (!r->Word(&w)) return false;
  }
  return true;
}

bool Fail(std::string *error, size_t offset, const std::string &what) {
  if (error) *error = "resource file, entry at offset " + std::to_string(offset) + ": " + what;
  return false;
}

bool ReadStringBlock(std::string_view bytes, size_t begin, size_t end, uint16_t block, uint16_t language,
                     StringTable *out) {
  Reader r(bytes, begin, end);
  const uint32_t firstId = (static_cast<uint32_t>(block) - 1) * 16;
  for (uint32_t i = 0; i < 16; ++i) {
    uint16_t len;
    if (!r.Word(&len)) return false;
    std::u16string s;
    s.reserve(len);
    for (uint16_t k = 0; k < len; ++k) {
      uint16_t unit;
      if (!r.Word(&unit)) return false;
      s.push_back(static_cast<char16_t>(unit));
    }
    if (!s.empty()) {
      out->strings.emplace(std::make_pair(language, static_cast<uint16_t>(firstId + i)), std::move(s));
    }
  }
  return true;
}

}  // namespace

bool ParseResourceStrings(std::string_view resBytes, StringTable *out, std::string *error) {
  out->strings.clear();
  if (error) error->clear();
  const size_t size = resBytes.size();
  size_t pos = 0;
  bool first = true;
  if (size == 0) return Fail(error, 0, "empty input");
  while (pos < size) {
    const size_t entry = pos;
    Reader r(resBytes, entry, size);
    uint32_t dataSize, headerSize;
    if (!r.Dword(&dataSize) || !r.Dword(&headerSize)) return Fail(error, entry, "truncated header");
    if (headerSize < 8 + 8 + kFixedHeaderTail) return Fail(error, entry, "header too short");
    if (headerSize > size - entry) return Fail(error, entry, "header runs past the end");
    Reader h(resBytes, r.pos(), entry + headerSize);
    NameOrId type, name;
    if (!ReadNameOrId(&h, &type) || !ReadNameOrId(&h, &name) || !h.AlignFrom(entry)) {
      return Fail(error, entry, "type or name runs past the header");
    }
    uint32_t dataVersion, version, characteristics;
    uint16_t memoryFlags, language;
    if (!h.Dword(&dataVersion) || !h.Word(&memoryFlags) || !h.Word(&language) || !h.Dword(&version) ||
        !h.Dword(&characteristics)) {
      return Fail(error, entry, "header too short");
    }
    if (first) {
      if (dataSize != 0 || !type.isId || type.id != 0 || !name.isId || name.id != 0) {
        return Fail(error, entry, "not a 32-bit resource file (no leading empty entry)");
      }
      first = false;
    }
    const size_t dataBegin = entry + headerSize;
    if (dataSize > size - dataBegin) return Fail(error, entry, "data runs past the end");
    const size_t dataEnd = dataBegin + dataSize;
    if (type.isId && type.id == kRtString) {
      if (!name.isId) return Fail(error, entry, "string block with a name instead of an id");
      if (name.id == 0 || name.id > 4096) {
        return Fail(error, entry, "string block id " + std::to_string(name.id) + " out of range");
      }
      if (!ReadStringBlock(resBytes, dataBegin, dataEnd, name.id, language, out)) {
        return Fail(error, entry, "string block data too short");
      }
    }
    const size_t pad = (4 - dataEnd % 4) % 4;
    pos = pad > size - dataEnd ? size : dataEnd + pad;
  }
  return true;
}

const std::u16string *FindResourceString(const StringTable &table, uint16_t id, uint16_t language) {
  const auto exact = table.strings.find({language, id});
  if (exact != table.strings.end()) return &exact->second;
  for (const auto &[key, text] : table.strings) {
    if (key.second == id) return &text;
  }
  return nullptr;
}

}  // namespace winsim
