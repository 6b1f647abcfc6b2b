// Profile (.INI) text: a line classifier shared by the lookups and the editor.
#include "platform/simulated/text/profile_text.h"

#include "platform/simulated/text/cp932.h"

namespace winsim {
namespace {

constexpr char kCtrlZ = '\x1A';

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view Trim(std::string_view s) {
  size_t b = 0, e = s.size();
  while (b < e && IsBlank(s[b])) ++b;
  while (e > b && IsBlank(s[e - 1])) --e;
  return s.substr(b, e - b);
}

std::string_view Unquote(std::string_view v) {
  if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front()) {
    return v.substr(1, v.size() - 2);
  }
  return v;
}

enum class Kind { kOther, kSection, kKey };

struct Line {
  std::string_view text;  // without its line end
  Kind kind = Kind::kOther;
  std::string_view name;   // section or key name, trimmed
  std::string_view value;  // key value, trimmed, not yet unquoted
};

Line Classify(std::string_view text) {
  Line line;
  line.text = text;
  const std::string_view t = Trim(text);
  if (t.empty() || t.front() == ';') return line;
  if (t.front() == '[') {
    const std::string_view rest = t.substr(1);
    line.kind = Kind::kSection;
    line.name = Trim(rest.substr(0, rest.find(']')));
    return line;
  }
  const size_t eq = t.find('=');
  if (eq == std::string_view::npos) return line;
  line.kind = Kind::kKey;
  line.name = Trim(t.substr(0, eq));
  line.value = Trim(t.substr(eq + 1));
  return line;
}

std::string_view Body(std::string_view content) { return content.substr(0, content.find(kCtrlZ)); }

std::vector<Line> SplitLines(std::string_view body) {
  std::vector<Line> lines;
  size_t pos = 0;
  while (pos < body.size()) {
    size_t nl = body.find('\n', pos);
    size_t next = nl == std::string_view::npos ? body.size() : nl + 1;
    size_t end = nl == std::string_view::npos ? body.size() : nl;
    if (nl != std::string_view::npos && end > pos && body[end - 1] == '\r') --end;
    lines.push_back(Classify(body.substr(pos, end - pos)));
    pos = next;
  }
  return lines;
}

// Index of the first header named section, or lines.size().
size_t FindSection(const std::vector<Line> &lines, std::string_view section) {
  for (size_t i = 0; i < lines.size(); ++i) {
    if (lines[i].kind == Kind::kSection && EqualIgnoringAsciiCase(lines[i].name, section)) return i;
  }
  return lines.size();
}

// One past the last line of the section whose header is at index header.
size_t SectionEnd(const std::vector<Line> &lines, size_t header) {
  size_t i = header + 1;
  while (i < lines.size() && lines[i].kind != Kind::kSection) ++i;
  return i;
}

// Index of the first key line named key in [begin, end), or end.
size_t FindKey(const std::vector<Line> &lines, size_t begin, size_t end, std::string_view key) {
  for (size_t i = begin; i < end; ++i) {
    if (lines[i].kind == Kind::kKey && EqualIgnoringAsciiCase(lines[i].name, key)) return i;
  }
  return end;
}

}  // namespace

std::optional<std::string> ProfileLookup(std::string_view content, std::string_view section, std::string_view key) {
  const std::vector<Line> lines = SplitLines(Body(content));
  const size_t header = FindSection(lines, section);
  if (header == lines.size()) return std::nullopt;
  const size_t end = SectionEnd(lines, header);
  const size_t k = FindKey(lines, header + 1, end, key);
  if (k == end) return std::nullopt;
  return std::string(Unquote(lines[k].value));
}

std::vector<std::string> ProfileSectionNames(std::string_view content) {
  std::vector<std::string> names;
  for (const Line &line : SplitLines(Body(content))) {
    if (line.kind == Kind::kSection) names.emplace_back(line.name);
  }
  return names;
}

std::vector<std::string> ProfileKeyNames(std::string_view content, std::string_view section) {
  std::vector<std::string> names;
  const std::vector<Line> lines = SplitLines(Body(content));
  const size_t header = FindSection(lines, section);
  if (header == lines.size()) return names;
  const size_t end = SectionEnd(lines, header);
  for (size_t i = header + 1; i < end; ++i) {
    if (lines[i].kind == Kind::kKey) names.emplace_back(lines[i].name);
  }
  return names;
}

std::string ProfileWrite(std::string_view content, std::string_view section, const std::string *key,
                         const std::string *value) {
  const std::string_view body = Body(content);
  const std::string_view tail = content.substr(body.size());
  const std::vector<Line> lines = SplitLines(body);
  const size_t header = FindSection(lines, section);

  // Each edit is: drop lines [eraseBegin, eraseEnd) and put `insert` lines at eraseBegin.
  size_t eraseBegin = lines.size(), eraseEnd = lines.size();
  std::vector<std::string> insert;

  if (header == lines.size()) {
    if (key == nullptr || value == nullptr) return std::string(content);
    if (!lines.empty() && !Trim(lines.back().text).empty()) insert.emplace_back();
    insert.push_back("[" + std::string(section) + "]");
    insert.push_back(*key + "=" + *value);
  } else {
    const size_t end = SectionEnd(lines, header);
    if (key == nullptr) {
      eraseBegin = header;
      eraseEnd = end;
    } else {
      const size_t k = FindKey(lines, header + 1, end, *key);
      if (k != end) {
        eraseBegin = k;
        eraseEnd = k + 1;
        if (value != nullptr) insert.push_back(std::string(lines[k].name) + "=" + *value);
      } else {
        if (value == nullptr) return std::string(content);
        size_t last = end - 1;
        while (last > header && Trim(lines[last].text).empty()) --last;
        eraseBegin = eraseEnd = last + 1;
        insert.push_back(*key + "=" + *value);
      }
    }
  }

  std::string out;
  out.reserve(content.size() + 64);
  const auto emit = [&out](std::string_view text) {
    out.append(text);
    out.append("\r\n");
  };
  for (size_t i = 0; i < eraseBegin; ++i) emit(lines[i].text);
  for (const std::string &s : insert) emit(s);
  for (size_t i = eraseEnd; i < lines.size(); ++i) emit(lines[i].text);
  out.append(tail);
  return out;
}

}  // namespace winsim
