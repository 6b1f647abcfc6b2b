// How the simulated machine answers a message box.
#include "platform/simulated/message_box_answers.h"

#include <vector>

#include "platform/simulated/text/cp932.h"

namespace winsim {

std::vector<int> MessageBoxButtons(UINT style) {
  switch (style & MB_TYPEMASK) {
    case MB_OKCANCEL:
      return {IDOK, IDCANCEL};
    case MB_ABORTRETRYIGNORE:
      return {IDABORT, IDRETRY, IDIGNORE};
    case MB_YESNOCANCEL:
      return {IDYES, IDNO, IDCANCEL};
    case MB_YESNO:
      return {IDYES, IDNO};
    case MB_RETRYCANCEL:
      return {IDRETRY, IDCANCEL};
    default:
      return {IDOK};
  }
}

bool AnswerFits(int answer, UINT style) {
  if (answer == 0) return true;
  for (int button : MessageBoxButtons(style)) {
    if (button == answer) return true;
  }
  return false;
}

int AnswerMessageBox(Machine::State &state, const MessageBoxRecord &box) {
  if (!state.answers.empty() && AnswerFits(state.answers.front(), box.style)) {
    int answer = state.answers.front();
    state.answers.pop_front();
    return answer;
  }
  if ((box.style & MB_TYPEMASK) == MB_OK) return IDOK;
  if (state.answerFallback) {
    int answer = state.answerFallback(box);
    if (AnswerFits(answer, box.style)) return answer;
  }
  throw RunAborted("no answer for the message box \"" + Cp932ToUtf8(box.caption) + "\": " + Cp932ToUtf8(box.text));
}

}  // namespace winsim
