// Code page 932 conversions (through glibc iconv, one character at a time) and ASCII case folding.
#include "platform/simulated/text/cp932.h"

#include <iconv.h>

#include <cerrno>
#include <stdexcept>

namespace winsim {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

// One iconv descriptor per direction and thread; converting a character at a time means a
// character iconv rejects costs exactly one substitute and never poisons its neighbours.
class Converter {
 public:
  Converter(const char *to, const char *from) : cd_(iconv_open(to, from)) {
    if (cd_ == reinterpret_cast<iconv_t>(-1)) {
      throw std::runtime_error(std::string("iconv cannot convert ") + from + " to " + to);
    }
  }
  ~Converter() { iconv_close(cd_); }
  Converter(const Converter &) = delete;
  Converter &operator=(const Converter &) = delete;

  // Converts one whole character; false when iconv rejects it.
  bool Convert(const char *in, size_t inLen, char *out, size_t outCap, size_t *outLen) {
    iconv(cd_, nullptr, nullptr, nullptr, nullptr);
    char *inPtr = const_cast<char *>(in);
    char *outPtr = out;
    size_t outLeft = outCap;
    if (iconv(cd_, &inPtr, &inLen, &outPtr, &outLeft) == static_cast<size_t>(-1) || inLen != 0) {
      return false;
    }
    *outLen = outCap - outLeft;
    return true;
  }

 private:
  iconv_t cd_;
};

Converter &ToCp932() {
  thread_local Converter c("CP932", "UTF-32LE");
  return c;
}

Converter &FromCp932() {
  thread_local Converter c("UTF-32LE", "CP932");
  return c;
}

// Appends the code page 932 form of cp, or '?' when there is none; returns false in that case.
bool AppendCp932(char32_t cp, std::string *out) {
  if (cp < 0x80) {
    out->push_back(static_cast<char>(cp));
    return true;
  }
  const char in[4] = {static_cast<char>(cp & 0xFF), static_cast<char>((cp >> 8) & 0xFF),
                      static_cast<char>((cp >> 16) & 0xFF), static_cast<char>((cp >> 24) & 0xFF)};
  char buf[8];
  size_t n = 0;
  if (!ToCp932().Convert(in, sizeof in, buf, sizeof buf, &n) || n == 0) {
    out->push_back('?');
    return false;
  }
  out->append(buf, n);
  return true;
}

void AppendUtf8(char32_t cp, std::string *out) {
  if (cp < 0x80) {
    out->push_back(static_cast<char>(cp));
  } else if (cp < 0x800) {
    out->push_back(static_cast<char>(0xC0 | (cp >> 6)));
    out->push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else if (cp < 0x10000) {
    out->push_back(static_cast<char>(0xE0 | (cp >> 12)));
    out->push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out->push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else {
    out->push_back(static_cast<char>(0xF0 | (cp >> 18)));
    out->push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
    out->push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out->push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  }
}

// Decodes one UTF-8 character at s[*pos] and advances past it. An ill-formed sequence yields
// false and advances past its longest valid-looking start (at least one byte), so that each
// ill-formed sequence gives one substitute.
bool NextUtf8(std::string_view s, size_t *pos, char32_t *cp) {
  const auto byte = [&](size_t i) { return static_cast<unsigned char>(s[i]); };
  const unsigned char b0 = byte(*pos);
  size_t len;
  char32_t value;
  unsigned char lo = 0x80, hi = 0xBF;  // allowed range of the second byte
  if (b0 < 0x80) {
    *cp = b0;
    ++*pos;
    return true;
  } else if (b0 >= 0xC2 && b0 <= 0xDF) {
    len = 2;
    value = b0 & 0x1F;
  } else if (b0 >= 0xE0 && b0 <= 0xEF) {
    len = 3;
    value = b0 & 0x0F;
    if (b0 == 0xE0) lo = 0xA0;  // overlong
    if (b0 == 0xED) hi = 0x9F;  // surrogates
  } else if (b0 >= 0xF0 && b0 <= 0xF4) {
    len = 4;
    value = b0 & 0x07;
    if (b0 == 0xF0) lo = 0x90;  // overlong
    if (b0 == 0xF4) hi = 0x8F;  // beyond U+10FFFF
  } else {
    ++*pos;
    return false;
  }
  size_t i = 1;
  for (; i < len; ++i) {
    if (*pos + i >= s.size()) break;
    const unsigned char b = byte(*pos + i);
    if (b < (i == 1 ? lo : 0x80) || b > (i == 1 ? hi : 0xBF)) break;
    value = (value << 6) | (b & 0x3F);
  }
  *pos += i;
  if (i != len) return false;
  *cp = value;
  return true;
}

bool IsCp932TrailByte(unsigned char c) { return (c >= 0x40 && c <= 0x7E) || (c >= 0x80 && c <= 0xFC); }

unsigned char FoldAscii(unsigned char c) { return (c >= 'a' && c <= 'z') ? c - ('a' - 'A') : c; }

}  // namespace

bool IsCp932LeadByte(unsigned char c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }

std::string Utf8ToCp932(std::string_view utf8, bool *exact) {
  std::string out;
  out.reserve(utf8.size());
  bool allMapped = true;
  size_t pos = 0;
  while (pos < utf8.size()) {
    char32_t cp = 0;
    if (!NextUtf8(utf8, &pos, &cp)) {
      out.push_back('?');
      allMapped = false;
    } else if (!AppendCp932(cp, &out)) {
      allMapped = false;
    }
  }
  if (exact) *exact = allMapped;
  return out;
}

std::string Cp932ToUtf8(std::string_view cp932) {
  std::string out;
  out.reserve(cp932.size() * 3 / 2);
  size_t pos = 0;
  while (pos < cp932.size()) {
    const unsigned char b = static_cast<unsigned char>(cp932[pos]);
    if (b < 0x80) {
      out.push_back(static_cast<char>(b));
      ++pos;
      continue;
    }
    size_t len = 1;
    if (IsCp932LeadByte(b)) {
      if (pos + 1 >= cp932.size() || !IsCp932TrailByte(static_cast<unsigned char>(cp932[pos + 1]))) {
        AppendUtf8(kReplacement, &out);
        ++pos;
        continue;
      }
      len = 2;
    }
    unsigned char buf[8];
    size_t n = 0;
    char32_t cp = kReplacement;
    if (FromCp932().Convert(cp932.data() + pos, len, reinterpret_cast<char *>(buf), sizeof buf, &n) && n == 4) {
      cp = static_cast<char32_t>(buf[0]) | (static_cast<char32_t>(buf[1]) << 8) |
           (static_cast<char32_t>(buf[2]) << 16) | (static_cast<char32_t>(buf[3]) << 24);
    }
    AppendUtf8(cp, &out);
    pos += len;
  }
  return out;
}

std::string Utf16ToCp932(std::u16string_view text) {
  std::string out;
  out.reserve(text.size() * 2);
  for (char16_t unit : text) {
    AppendCp932(unit, &out);  // a lone surrogate unit has no form and becomes '?'
  }
  return out;
}

int CompareIgnoringAsciiCase(std::string_view a, std::string_view b) {
  // Folding only changes letters, which are never lead bytes, so while the strings agree both
  // sit at the same place within a double-byte character.
  bool trail = false;
  const size_t n = a.size() < b.size() ? a.size() : b.size();
  for (size_t i = 0; i < n; ++i) {
    unsigned char ca = static_cast<unsigned char>(a[i]);
    unsigned char cb = static_cast<unsigned char>(b[i]);
    if (!trail) {
      ca = FoldAscii(ca);
      cb = FoldAscii(cb);
    }
    if (ca != cb) return ca < cb ? -1 : 1;
    trail = !trail && IsCp932LeadByte(ca);
  }
  if (a.size() == b.size()) return 0;
  return a.size() < b.size() ? -1 : 1;
}

bool EqualIgnoringAsciiCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && CompareIgnoringAsciiCase(a, b) == 0;
}

std::string UpperAscii(std::string_view s) {
  std::string out(s);
  bool trail = false;
  for (char &ch : out) {
    const unsigned char c = static_cast<unsigned char>(ch);
    if (trail) {
      trail = false;
    } else {
      ch = static_cast<char>(FoldAscii(c));
      trail = IsCp932LeadByte(c);
    }
  }
  return out;
}

}  // namespace winsim
