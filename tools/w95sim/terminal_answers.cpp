// Asking the user at the terminal for a message box's answer.
#include "tools/w95sim/terminal_answers.h"

#include <signal.h>

#include <string>

#include "tools/w95sim/message_box_text.h"

namespace w95sim {

namespace {

std::string Hint(UINT style) {
  std::string hint;
  for (int button : winsim::MessageBoxButtons(style)) {
    const char *word = button == IDYES      ? "y"
                       : button == IDNO     ? "n"
                       : button == IDOK     ? "ok"
                       : button == IDCANCEL ? "cancel"
                                            : nullptr;
    if (!word) continue;
    hint += (hint.empty() ? "" : ", ") + std::string(word) + " = " + AnswerName(button);
  }
  return hint;
}

void IgnoreInterrupt(int) {}

// While the user is asked, Ctrl-C interrupts the read instead of the program, so the run can end cleanly
// and the temporary copy of the machine is still removed.
class InterruptibleRead {
 public:
  InterruptibleRead() {
    struct sigaction action {};
    action.sa_handler = IgnoreInterrupt;
    sigemptyset(&action.sa_mask);
    action.sa_flags = 0;  // no SA_RESTART: the read fails with EINTR
    sigaction(SIGINT, &action, &previous_);
  }
  ~InterruptibleRead() { sigaction(SIGINT, &previous_, nullptr); }

 private:
  struct sigaction previous_ {};
};

}  // namespace

AnswerFallback AskAtTerminal(RunReport &report, std::istream &in) {
  return [&report, &in](const winsim::MessageBoxRecord &box) {
    report.ShowPendingBox(box);
    bool okOnly = (box.style & MB_TYPEMASK) == MB_OK;
    while (true) {
      report.Out() << "  answer (" << Hint(box.style) << (okOnly ? ", or Enter" : "") << "): " << std::flush;
      std::string line;
      bool read;
      {
        InterruptibleRead interruptible;
        read = static_cast<bool>(std::getline(in, line));
      }
      if (!read) {
        report.Out() << "\n";
        throw winsim::RunAborted("no answer was typed for the message box; the run ends there");
      }
      size_t first = line.find_first_not_of(" \t\r");
      line = first == std::string::npos ? "" : line.substr(first, line.find_last_not_of(" \t\r") - first + 1);
      if (line.empty() && okOnly) return IDOK;
      std::optional<int> answer = winsim::ParseAnswerWord(line);
      if (answer && winsim::AnswerFits(*answer, box.style)) return *answer;
      report.Out() << "  that is no answer to this box\n";
    }
  };
}

AnswerFallback StopUnanswered(RunReport &report) {
  return [&report](const winsim::MessageBoxRecord &box) -> int {
    report.ShowPendingBox(box);
    throw winsim::RunAborted(
        "the message box has no answer: give the answers with --answers or in [answers] of machine.txt, "
        "or run w95sim at a terminal");
  };
}

}  // namespace w95sim
