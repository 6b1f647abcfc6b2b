// File-name wildcard matching as FindFirstFileA applies it to long names on code page 932.
#ifndef WINSIM_TEXT_WILDCARD_H
#define WINSIM_TEXT_WILDCARD_H

#include <string_view>

namespace winsim {

// True when name (code page 932 bytes, no path) matches pattern. The rules, and only these:
//   - '*' matches any run of characters, including none;
//   - '?' matches exactly one character; a double-byte character is one character;
//   - any other character matches itself, ASCII letters ignoring case; a double-byte character
//     matches only the same two bytes (its trail byte is never case-folded);
//   - the pattern "*.*" matches every name, also names without a dot.
// A lead byte at the very end of a string counts as a character of its own. Short (8.3) names
// and the DOS rules for '.' and trailing '?' are not applied.
bool WildcardMatch(std::string_view pattern, std::string_view name);

}  // namespace winsim

#endif  // WINSIM_TEXT_WILDCARD_H
