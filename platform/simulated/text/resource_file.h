// String tables read out of a compiled 32-bit resource file (.res, as windres -O res writes it).
#ifndef WINSIM_TEXT_RESOURCE_FILE_H
#define WINSIM_TEXT_RESOURCE_FILE_H

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <utility>

namespace winsim {

// The non-empty strings of all RT_STRING blocks, keyed by (language id, string id).
struct StringTable {
  std::map<std::pair<uint16_t /*language*/, uint16_t /*string id*/>, std::u16string> strings;
};

// Parses resBytes as a sequence of .res entries, the first being the empty entry every 32-bit
// .res starts with, and adds the strings of every RT_STRING block to out->strings (out is
// cleared first). Entries of other types are skipped. A block repeated for the same language
// does not replace strings already read. The padding after the last entry may be missing.
// Returns false and sets *error (when error is given) on input that is empty, truncated or garbled:
// sizes that run past the end, an unterminated name, a string block with a name instead of an
// id or with id 0 or above 4096, or a block whose 16 strings do not fit its data. Never reads
// outside resBytes. On failure out holds the strings of the entries read before the fault.
bool ParseResourceStrings(std::string_view resBytes, StringTable *out, std::string *error);

// The string id in the given language; if there is none, the string id in the lowest-numbered
// language that has it; nullptr when no language has it. Empty strings are never stored, so an
// empty string counts as absent and another language's string is returned instead.
const std::u16string *FindResourceString(const StringTable &table, uint16_t id, uint16_t language);

}  // namespace winsim

#endif  // WINSIM_TEXT_RESOURCE_FILE_H
