// Texts for message boxes as w95sim prints them; button labels are those of a Japanese Windows 95.
#include "tools/w95sim/message_box_text.h"

#include <algorithm>

#include "platform/simulated/text/cp932.h"

namespace w95sim {

std::string IconName(UINT style) {
  switch (style & MB_ICONMASK) {
    case 0:
      return "none";
    case MB_ICONHAND:
      return "stop";
    case MB_ICONQUESTION:
      return "question";
    case MB_ICONEXCLAMATION:
      return "exclamation";
    case MB_ICONASTERISK:
      return "information";
    default:
      return "unknown (" + std::to_string(style & MB_ICONMASK) + ")";
  }
}

std::string AnswerName(int answer) {
  switch (answer) {
    case IDOK:
      return "OK";
    case IDCANCEL:
      return "ｷｬﾝｾﾙ";
    case IDABORT:
      return "中止(A)";
    case IDRETRY:
      return "再試行(R)";
    case IDIGNORE:
      return "無視(I)";
    case IDYES:
      return "はい(Y)";
    case IDNO:
      return "いいえ(N)";
    case 0:
      return "0 (the box could not be shown)";
    default:
      return std::to_string(answer);
  }
}

std::string ButtonsText(UINT style) {
  std::string text;
  for (int button : winsim::MessageBoxButtons(style)) text += (text.empty() ? "[" : " [") + AnswerName(button) + "]";
  return text;
}

namespace {

void PrintLines(std::ostream &out, const char *label, const std::string &cp932) {
  std::string text = winsim::Cp932ToUtf8(cp932);
  out << label;
  for (char c : text) {
    if (c == '\n') {
      out << "\n│          ";
    } else if (c != '\r') {
      out << c;
    }
  }
  out << "\n";
}

}  // namespace

void PrintBox(std::ostream &out, const winsim::MessageBoxRecord &box) {
  out << "\n┌ Message box\n";
  PrintLines(out, "│ title:   ", box.caption);
  out << "│ icon:    " << IconName(box.style) << "\n";
  PrintLines(out, "│ text:    ", box.text);
  out << "│ buttons: " << ButtonsText(box.style) << "\n" << std::flush;
}

void PrintAnswer(std::ostream &out, const winsim::MessageBoxRecord &box) {
  if (!box.shown) {
    out << "└ not shown: the call failed, answer " << AnswerName(box.answer) << "\n" << std::flush;
    return;
  }
  out << "└ answer:  " << AnswerName(box.answer) << "\n" << std::flush;
}

}  // namespace w95sim
