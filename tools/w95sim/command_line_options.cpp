// Parsing of w95sim's command line.
#include "tools/w95sim/command_line_options.h"

#include "platform/simulated/machine.h"
#include "platform/simulated/text/cp932.h"

namespace w95sim {

const char kUsage[] =
    "Usage: w95sim veltrask MACHINE_FOLDER [--command-line TEXT] [--directory DIR] [--program PATH]\n"
    "                                      [--answers WORDS] [--write-back]\n"
    "       w95sim --help\n"
    "\n"
    "Runs Veltrask, the ZOV 4260-WIN uninstaller, on a simulated Japanese Windows 95 machine and shows\n"
    "what happens: every message box with the answer it got, every program started, the restart\n"
    "request, and at the end the exit code and what the run changed on drive C:.\n"
    "\n"
    "MACHINE_FOLDER holds machine.txt, the description of the machine, and C, the tree of drive C:.\n"
    "\n"
    "Options:\n"
    "  --command-line TEXT  Veltrask's full command line, program first, e.g.\n"
    "                       \"C:\\ZOV4260W\\Veltrask.exe C:\\ZOV4260W\\PMUNINST.EXE\"\n"
    "                       (instead of command-line in [run] of machine.txt)\n"
    "  --directory DIR      the current directory Veltrask starts in (instead of directory in [run])\n"
    "  --program PATH       Veltrask's program file, for a command line that does not begin with it,\n"
    "                       e.g. an empty one (instead of program in [run])\n"
    "  --answers WORDS      the answers to the message boxes, in order, comma separated:\n"
    "                       y, yes, はい, n, no, いいえ, ok, cancel, fail (the box cannot be shown)\n"
    "                       (instead of [answers]; --answers \"\" gives none)\n"
    "  --write-back         run on the machine folder itself and keep the changes; without it the\n"
    "                       run works on a copy that is removed at the end\n"
    "  --help               show this text\n"
    "\n"
    "A box with only an OK button is answered OK when the next answer does not fit it. A question that\n"
    "no answer is left for is asked at the terminal (y/n) when standard input is one; otherwise the run\n"
    "stops there.\n"
    "\n"
    "Exit status: 0 when the run came to its end (Veltrask's own exit code is printed), 2 for bad\n"
    "input, 3 when the run could not be completed.\n";

namespace {

std::string ToCp932(const std::string &option, const std::string &utf8) {
  bool exact = true;
  std::string converted = winsim::Utf8ToCp932(utf8, &exact);
  if (!exact) throw UsageError(option + " holds text that a Japanese Windows 95 cannot hold (no code page 932 form)");
  return converted;
}

}  // namespace

std::vector<int> ParseAnswerList(const std::string &list) {
  std::vector<int> answers;
  if (list.find_first_not_of(" \t") == std::string::npos) return answers;
  size_t start = 0;
  while (true) {
    size_t comma = list.find(',', start);
    std::string word = list.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
    size_t first = word.find_first_not_of(" \t");
    word = first == std::string::npos ? "" : word.substr(first, word.find_last_not_of(" \t") - first + 1);
    std::optional<int> answer = winsim::ParseAnswerWord(word);
    if (!answer) {
      throw UsageError(word.empty() ? "--answers: an answer word is missing between commas"
                                    : "--answers: unknown answer \"" + word +
                                          "\"; answers are y, yes, はい, n, no, いいえ, ok, cancel, fail");
    }
    answers.push_back(*answer);
    if (comma == std::string::npos) return answers;
    start = comma + 1;
  }
}

Options ParseOptions(const std::vector<std::string> &arguments) {
  Options options;
  std::vector<std::string> positional;
  for (size_t i = 0; i < arguments.size(); ++i) {
    std::string argument = arguments[i];
    if (argument == "--help" || argument == "-h") {
      options.help = true;
      return options;
    }
    if (argument.empty() || argument[0] != '-') {
      positional.push_back(argument);
      continue;
    }
    std::string name = argument, value;
    bool hasValue = false;
    size_t equals = argument.find('=');
    if (equals != std::string::npos) {
      name = argument.substr(0, equals);
      value = argument.substr(equals + 1);
      hasValue = true;
    }
    if (name == "--write-back") {
      if (hasValue) throw UsageError("--write-back takes no value");
      options.writeBack = true;
      continue;
    }
    if (name != "--command-line" && name != "--directory" && name != "--program" && name != "--answers")
      throw UsageError("unknown option " + name + " (see w95sim --help)");
    if (!hasValue) {
      if (i + 1 == arguments.size()) throw UsageError(name + " needs a value");
      value = arguments[++i];
    }
    if (name == "--command-line") {
      options.commandLine = ToCp932(name, value);
    } else if (name == "--directory" || name == "--program") {
      if (value.empty()) throw UsageError(name + " needs a value");
      (name == "--directory" ? options.directory : options.program) = ToCp932(name, value);
    } else {
      options.answers = ParseAnswerList(value);
    }
  }
  if (positional.empty()) throw UsageError("no command given; usage: w95sim veltrask MACHINE_FOLDER [options]");
  if (positional[0] != "veltrask")
    throw UsageError("unknown command \"" + positional[0] + "\"; the one command is veltrask (see w95sim --help)");
  if (positional.size() < 2) throw UsageError("no machine folder given; usage: w95sim veltrask MACHINE_FOLDER");
  if (positional.size() > 2) throw UsageError("unexpected argument \"" + positional[2] + "\"");
  options.machineFolder = positional[1];
  return options;
}

}  // namespace w95sim
