// Parser of the machine folder's description file, from its UTF-8 text to a MachineDescription.
#include "platform/simulated/machine_description.h"

#include <charconv>
#include <limits>
#include <map>

#include "platform/simulated/text/cp932.h"

namespace winsim {
namespace {

struct ParseError {
  int line;
  std::string what;
};

std::string_view Trim(std::string_view text) {
  const char *blanks = " \t\r";
  size_t first = text.find_first_not_of(blanks);
  if (first == std::string_view::npos) return {};
  size_t last = text.find_last_not_of(blanks);
  return text.substr(first, last - first + 1);
}

std::string LowerAscii(std::string_view text) {
  std::string lower(text);
  for (char &c : lower)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return lower;
}

// Length of the well-formed UTF-8 sequence at text[at], or 0 when it is ill-formed.
size_t Utf8SequenceLength(std::string_view text, size_t at) {
  unsigned char lead = static_cast<unsigned char>(text[at]);
  if (lead < 0x80) return 1;
  size_t length;
  unsigned int minimum;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2, minimum = 0x80;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3, minimum = 0x800;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4, minimum = 0x10000;
  } else {
    return 0;
  }
  if (at + length > text.size()) return 0;
  unsigned int code = lead & (0xFF >> (length + 1));
  for (size_t i = 1; i < length; ++i) {
    unsigned char trail = static_cast<unsigned char>(text[at + i]);
    if ((trail & 0xC0) != 0x80) return 0;
    code = (code << 6) | (trail & 0x3F);
  }
  if (code < minimum || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return 0;
  return length;
}

void RequireUtf8(std::string_view line, int number) {
  for (size_t at = 0; at < line.size();) {
    size_t length = Utf8SequenceLength(line, at);
    if (length == 0) throw ParseError{number, "the line is not UTF-8 text"};
    at += length;
  }
}

// The code page 932 form of a (well-formed) UTF-8 text; names the first character that has none.
std::string ToCp932(std::string_view utf8, int number) {
  bool exact = true;
  std::string converted = Utf8ToCp932(utf8, &exact);
  if (exact) return converted;
  for (size_t at = 0; at < utf8.size();) {
    size_t length = Utf8SequenceLength(utf8, at);
    std::string_view character = utf8.substr(at, length);
    Utf8ToCp932(character, &exact);
    if (!exact) {
      throw ParseError{number, "\"" + std::string(character) +
                                   "\" has no code page 932 form, so a Japanese Windows 95 cannot hold it"};
    }
    at += length;
  }
  throw ParseError{number, "the text has no code page 932 form"};
}

unsigned long long ParseNumber(std::string_view text, unsigned long long maximum, int number, std::string_view key) {
  int base = 10;
  if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    text.remove_prefix(2);
    base = 16;
  }
  unsigned long long value = 0;
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, base);
  if (text.empty() || error != std::errc() || end != text.data() + text.size() || value > maximum) {
    throw ParseError{number, std::string(key) + " must be a number from 0 to " + std::to_string(maximum)};
  }
  return value;
}

enum class SectionKind { Run, Answers, Window, Program, Environment, Restart };

struct Section {
  SectionKind kind;
  int line;                         // of its header
  std::map<std::string, int> seen;  // keys given once, with their line
};

class DescriptionParser {
 public:
  MachineDescription Parse(std::string_view text) {
    if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
    int number = 0;
    while (!text.empty()) {
      ++number;
      size_t end = text.find('\n');
      std::string_view line = text.substr(0, end);
      text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
      RequireUtf8(line, number);
      line = Trim(line);
      if (line.empty() || line[0] == '#') continue;
      if (line.front() == '[') {
        OpenSection(line, number);
      } else if (!section_) {
        throw ParseError{number, "text before the first section; sections start with a line like [run]"};
      } else {
        ReadLine(line, number);
      }
    }
    CloseSection();
    return std::move(description_);
  }

 private:
  void OpenSection(std::string_view header, int number) {
    CloseSection();
    if (header.back() != ']') throw ParseError{number, "a section header must end with ']'"};
    std::string_view inside = Trim(header.substr(1, header.size() - 2));
    size_t blank = inside.find_first_of(" \t");
    std::string name = LowerAscii(inside.substr(0, blank));
    std::string_view argument = blank == std::string_view::npos ? std::string_view() : Trim(inside.substr(blank));

    static const std::map<std::string, SectionKind> kinds = {{"run", SectionKind::Run},
                                                             {"answers", SectionKind::Answers},
                                                             {"window", SectionKind::Window},
                                                             {"program", SectionKind::Program},
                                                             {"environment", SectionKind::Environment},
                                                             {"restart", SectionKind::Restart}};
    auto kind = kinds.find(name);
    if (kind == kinds.end()) {
      throw ParseError{number, "unknown section [" + std::string(inside) +
                                   "]; known are [run], [answers], [window], [program PATH], [environment], "
                                   "[restart]"};
    }
    if (kind->second == SectionKind::Program) {
      if (argument.empty()) throw ParseError{number, "[program] needs the program's path: [program C:\\...]"};
      std::string path = ToCp932(argument, number);
      for (const auto &program : description_.programs) {
        if (EqualIgnoringAsciiCase(program.first, path))
          throw ParseError{number, "program " + std::string(argument) + " is described twice"};
      }
      description_.programs.emplace_back(path, ProgramBehaviour{});
    } else if (!argument.empty()) {
      throw ParseError{number, "[" + name + "] takes nothing after its name"};
    }
    if (kind->second != SectionKind::Window && kind->second != SectionKind::Program) {
      auto earlier = singleSections_.find(name);
      if (earlier != singleSections_.end()) {
        throw ParseError{number,
                         "[" + name + "] is given twice (first at line " + std::to_string(earlier->second) + ")"};
      }
      singleSections_[name] = number;
    }
    switch (kind->second) {
      case SectionKind::Answers:
        description_.answersGiven = true;
        break;
      case SectionKind::Window:
        description_.windows.emplace_back();
        break;
      case SectionKind::Environment:
        description_.environment.emplace();
        break;
      default:
        break;
    }
    section_ = Section{kind->second, number, {}};
  }

  // Checks what a section must hold once all its lines are read.
  void CloseSection() {
    if (!section_) return;
    if (section_->kind == SectionKind::Window && !section_->seen.count("title") && !section_->seen.count("class"))
      throw ParseError{section_->line, "[window] gives neither title nor class"};
    if (section_->kind == SectionKind::Restart && !description_.restartResult)
      throw ParseError{section_->line, "[restart] needs result = 0 or result = 1"};
    section_.reset();
  }

  void ReadLine(std::string_view line, int number) {
    switch (section_->kind) {
      case SectionKind::Answers:
        ReadAnswers(line, number);
        return;
      case SectionKind::Environment:
        ReadVariable(line, number);
        return;
      default:
        break;
    }
    size_t equals = line.find('=');
    if (equals == std::string_view::npos) throw ParseError{number, "expected key = value"};
    std::string key = LowerAscii(Trim(line.substr(0, equals)));
    std::string_view value = Trim(line.substr(equals + 1));
    switch (section_->kind) {
      case SectionKind::Run:
        ReadRunKey(key, value, number);
        break;
      case SectionKind::Window:
        ReadWindowKey(key, value, number);
        break;
      case SectionKind::Program:
        ReadProgramKey(key, value, number);
        break;
      case SectionKind::Restart:
        ReadRestartKey(key, value, number);
        break;
      default:
        break;
    }
  }

  void Once(const std::string &key, int number) {
    auto [earlier, added] = section_->seen.emplace(key, number);
    if (!added) {
      throw ParseError{number,
                       key + " is given twice in this section (first at line " + std::to_string(earlier->second) + ")"};
    }
  }

  [[noreturn]] void UnknownKey(const std::string &key, int number, std::string_view known) {
    throw ParseError{number, "unknown key \"" + key + "\" here; known are " + std::string(known)};
  }

  void RequireValue(const std::string &key, std::string_view value, int number) {
    if (value.empty()) throw ParseError{number, key + " needs a value"};
  }

  void ReadRunKey(const std::string &key, std::string_view value, int number) {
    if (key == "command-line") {
      Once(key, number);
      description_.commandLine = ToCp932(value, number);  // empty is a command line too
    } else if (key == "directory") {
      Once(key, number);
      RequireValue(key, value, number);
      description_.currentDirectory = ToCp932(value, number);
    } else if (key == "program") {
      Once(key, number);
      RequireValue(key, value, number);
      description_.program = ToCp932(value, number);
    } else if (key == "show") {
      Once(key, number);
      description_.showCommand = static_cast<WORD>(ParseNumber(value, 0xFFFF, number, key));
    } else {
      UnknownKey(key, number, "command-line, directory, program, show");
    }
  }

  void ReadWindowKey(const std::string &key, std::string_view value, int number) {
    Window &window = description_.windows.back();
    if (key == "title") {
      Once(key, number);
      window.title = ToCp932(value, number);
    } else if (key == "class") {
      Once(key, number);
      window.className = ToCp932(value, number);
    } else if (key == "top-level") {
      Once(key, number);
      std::string word = LowerAscii(value);
      if (word == "yes") {
        window.topLevel = true;
      } else if (word == "no") {
        window.topLevel = false;
      } else {
        throw ParseError{number, "top-level must be yes or no"};
      }
    } else {
      UnknownKey(key, number, "title, class, top-level");
    }
  }

  void ReadProgramKey(const std::string &key, std::string_view value, int number) {
    ProgramBehaviour &behaviour = description_.programs.back().second;
    using Kind = ProgramAction::Kind;
    static const std::map<std::string, Kind> actions = {
        {"delete", Kind::DeleteFile}, {"remove-directory", Kind::RemoveDirectory}, {"start", Kind::Start}};
    auto action = actions.find(key);
    if (action != actions.end()) {
      RequireValue(key, value, number);
      behaviour.actions.push_back(ProgramAction{action->second, ToCp932(value, number)});
    } else if (key == "exit-code") {
      Once(key, number);
      behaviour.exitCode = static_cast<DWORD>(ParseNumber(value, 0xFFFFFFFFu, number, key));
    } else {
      UnknownKey(key, number, "delete, remove-directory, start, exit-code");
    }
  }

  void ReadRestartKey(const std::string &key, std::string_view value, int number) {
    if (key != "result") UnknownKey(key, number, "result");
    Once(key, number);
    if (value != "0" && value != "1") throw ParseError{number, "result must be 0 or 1"};
    description_.restartResult = value == "1" ? TRUE : FALSE;
  }

  void ReadAnswers(std::string_view line, int number) {
    while (true) {
      size_t comma = line.find(',');
      std::string_view word = Trim(line.substr(0, comma));
      if (word.empty()) throw ParseError{number, "an answer word is missing between commas"};
      std::optional<int> answer = ParseAnswerWord(word);
      if (!answer) {
        throw ParseError{number, "unknown answer \"" + std::string(word) +
                                     "\"; answers are y, yes, はい, n, no, いいえ, ok, cancel, fail"};
      }
      description_.answers.push_back(*answer);
      if (comma == std::string_view::npos) return;
      line.remove_prefix(comma + 1);
    }
  }

  void ReadVariable(std::string_view line, int number) {
    size_t equals = line.find('=');
    if (equals == std::string_view::npos || equals == 0) throw ParseError{number, "expected NAME=value"};
    std::string variable = ToCp932(line, number);
    std::string name = variable.substr(0, variable.find('='));
    for (const std::string &earlier : *description_.environment) {
      if (EqualIgnoringAsciiCase(earlier.substr(0, earlier.find('=')), name))
        throw ParseError{number, "variable " + std::string(line.substr(0, equals)) + " is given twice"};
    }
    description_.environment->push_back(std::move(variable));
  }

  MachineDescription description_;
  std::optional<Section> section_;
  std::map<std::string, int> singleSections_;  // name, line of its header
};

}  // namespace

DescriptionParse ParseMachineDescription(std::string_view utf8Text, std::string_view fileName) {
  DescriptionParse result;
  try {
    result.description = DescriptionParser().Parse(utf8Text);
  } catch (const ParseError &error) {
    result.error = std::string(fileName) + ":" + std::to_string(error.line) + ": " + error.what;
  }
  return result;
}

}  // namespace winsim
