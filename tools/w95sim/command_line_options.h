// The command line of w95sim: its options, their parsing and the usage text.
#ifndef TOOLS_W95SIM_COMMAND_LINE_OPTIONS_H
#define TOOLS_W95SIM_COMMAND_LINE_OPTIONS_H

#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace w95sim {

struct Options {
  bool help = false;
  std::filesystem::path machineFolder;
  std::optional<std::string> commandLine;  // code page 932
  std::optional<std::string> directory;    // code page 932
  std::optional<std::string> program;      // code page 932
  std::optional<std::vector<int>> answers;
  bool writeBack = false;
};

// Bad input on the command line, as one line for the user.
class UsageError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

Options ParseOptions(const std::vector<std::string> &arguments);  // without the program name; throws UsageError

// Parses "y,n,..." into answers; throws UsageError naming a word it does not know.
std::vector<int> ParseAnswerList(const std::string &list);

extern const char kUsage[];

}  // namespace w95sim

#endif
