// How w95sim shows a message box of the simulated machine: icon and buttons from the style, answers by name.
#ifndef TOOLS_W95SIM_MESSAGE_BOX_TEXT_H
#define TOOLS_W95SIM_MESSAGE_BOX_TEXT_H

#include <ostream>
#include <string>
#include <vector>

#include "platform/simulated/machine.h"

namespace w95sim {

std::string IconName(UINT style);        // "stop", "question", "exclamation", "information" or "none"
std::string ButtonsText(UINT style);     // "[はい(Y)] [いいえ(N)]"
std::string AnswerName(int answer);      // "はい(Y)", or what 0 and unknown values mean

// Title, icon, text and buttons of the box, texts decoded from code page 932; the answer is printed apart.
void PrintBox(std::ostream &out, const winsim::MessageBoxRecord &box);
void PrintAnswer(std::ostream &out, const winsim::MessageBoxRecord &box);

}  // namespace w95sim

#endif
