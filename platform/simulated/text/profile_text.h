// Reading and editing the text of Windows profile (.INI) files; pure functions on the file's bytes.
#ifndef WINSIM_TEXT_PROFILE_TEXT_H
#define WINSIM_TEXT_PROFILE_TEXT_H

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace winsim {

// How content is read, for all functions below:
//   - a Ctrl-Z (0x1A) byte ends the content; lines end with CR LF or LF (a lone CR is text);
//   - "blank" means space or tab;
//   - a line whose first non-blank character is '[' is a section header; the name runs from
//     after the '[' to the next ']' (to the line end when there is none), blanks trimmed;
//   - a line whose first non-blank character is ';' is a comment;
//   - any other line that contains '=' is a key line of the section above it: the name is the
//     text before the first '=', the value the text after it, both blank-trimmed; a trimmed
//     value of two or more characters wrapped in a pair of '"' or of '\'' loses that pair;
//     key lines before the first header belong to no section;
//   - section and key names are matched with CompareIgnoringAsciiCase; only the first section
//     of a name is ever used, and within it only the first key of a name.

// The value of key in section, or nullopt when the section or the key is absent.
std::optional<std::string> ProfileLookup(std::string_view content, std::string_view section, std::string_view key);

// The names of all section headers in file order, spelt as written (a repeated header is
// listed each time it appears).
std::vector<std::string> ProfileSectionNames(std::string_view content);

// The names of the key lines of the first section named section, in file order, spelt as
// written (a repeated key is listed each time it appears); empty when there is no such section.
std::vector<std::string> ProfileKeyNames(std::string_view content, std::string_view section);

// Returns content edited as WritePrivateProfileString(section, key, value) would:
//   - key == nullptr: removes the section, its header and every line up to the next header;
//   - value == nullptr: removes the key's line;
//   - otherwise an existing key's line becomes "name=value" with name as spelt in the file; a
//     missing key is added as "key=value" right after the last non-blank line of the section
//     (its header when it has no other); a missing section is appended at the end as
//     "[section]" and "key=value", after a blank line unless the content is empty or already
//     ends with a blank line.
// Every line of the result ends with CR LF; lines are otherwise kept byte for byte. The bytes
// from a Ctrl-Z on are kept after the edited lines. Removing a section or key that is absent
// returns content unchanged, byte for byte. Names and value are written as given, unchecked.
std::string ProfileWrite(std::string_view content, std::string_view section, const std::string *key,
                         const std::string *value);

}  // namespace winsim

#endif  // WINSIM_TEXT_PROFILE_TEXT_H
