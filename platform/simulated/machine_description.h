// The description file of a machine folder (machine.txt): what it holds once read, and its parser.
//
// The file is UTF-8 text written by hand, in sections:
//   [run]          command-line = ..., directory = C:\..., program = C:\..., show = N
//   [answers]      answer words, one a line or comma separated
//   [window]       title = ..., class = ..., top-level = yes|no          (one section per window)
//   [program PATH] delete = PATH, remove-directory = PATH, start = COMMAND LINE (in order), exit-code = N
//   [environment]  NAME=value lines
//   [restart]      result = 0|1
// Lines starting with '#' are comments. Every text is converted to code page 932 here, so what the parser
// returns is ready for the Machine.
#ifndef PLATFORM_SIMULATED_MACHINE_DESCRIPTION_H
#define PLATFORM_SIMULATED_MACHINE_DESCRIPTION_H

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/simulated/machine.h"

namespace winsim {

struct MachineDescription {
  // [run]: how the deliverable is started. Either may be missing; a run then needs them from elsewhere.
  std::optional<std::string> commandLine;
  std::optional<std::string> currentDirectory;
  std::optional<std::string> program;  // the program file, for a command line that does not start with it
  std::optional<WORD> showCommand;

  // [answers]: message-box answers as ParseAnswerWord gives them; answersGiven tells an empty [answers] section
  // apart from none at all.
  std::vector<int> answers;
  bool answersGiven = false;

  std::vector<Window> windows;
  std::vector<std::pair<std::string, ProgramBehaviour>> programs;  // program path, behaviour
  std::optional<std::vector<std::string>> environment;             // "NAME=value" each
  std::optional<BOOL> restartResult;
};

struct DescriptionParse {
  std::optional<MachineDescription> description;
  std::string error;  // "machine.txt:LINE: what is wrong" when description is empty
};

// Pure: reads the text of a description file. fileName only names the file in error messages.
DescriptionParse ParseMachineDescription(std::string_view utf8Text, std::string_view fileName = "machine.txt");

}  // namespace winsim

#endif
