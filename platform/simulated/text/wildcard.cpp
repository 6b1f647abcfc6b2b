// File-name wildcard matching over code page 932 characters.
#include "platform/simulated/text/wildcard.h"

#include <vector>

#include "platform/simulated/text/cp932.h"

namespace winsim {
namespace {

std::vector<std::string_view> SplitCharacters(std::string_view s) {
  std::vector<std::string_view> chars;
  chars.reserve(s.size());
  size_t i = 0;
  while (i < s.size()) {
    const size_t len = (IsCp932LeadByte(static_cast<unsigned char>(s[i])) && i + 1 < s.size()) ? 2 : 1;
    chars.push_back(s.substr(i, len));
    i += len;
  }
  return chars;
}

bool IsWildcard(std::string_view c, char w) { return c.size() == 1 && c[0] == w; }

}  // namespace

bool WildcardMatch(std::string_view pattern, std::string_view name) {
  if (pattern == "*.*") return true;
  const std::vector<std::string_view> p = SplitCharacters(pattern);
  const std::vector<std::string_view> n = SplitCharacters(name);

  // Greedy scan that, on a mismatch, lets the most recent '*' swallow one more character.
  size_t pi = 0, ni = 0;
  size_t starP = p.size(), starN = 0;
  while (ni < n.size()) {
    if (pi < p.size() && IsWildcard(p[pi], '*')) {
      starP = pi++;
      starN = ni;
    } else if (pi < p.size() && (IsWildcard(p[pi], '?') || EqualIgnoringAsciiCase(p[pi], n[ni]))) {
      ++pi;
      ++ni;
    } else if (starP != p.size()) {
      pi = starP + 1;
      ni = ++starN;
    } else {
      return false;
    }
  }
  while (pi < p.size() && IsWildcard(p[pi], '*')) ++pi;
  return pi == p.size();
}

}  // namespace winsim
