// Answers for the questions that no scripted answer is left for: asked at the terminal, or none at all.
#ifndef TOOLS_W95SIM_TERMINAL_ANSWERS_H
#define TOOLS_W95SIM_TERMINAL_ANSWERS_H

#include <functional>
#include <istream>

#include "platform/simulated/machine.h"
#include "tools/w95sim/run_report.h"

namespace w95sim {

using AnswerFallback = std::function<int(const winsim::MessageBoxRecord &)>;

// Shows the box and reads the answer from in (y/n and the other answer words); ends the run at end of input or
// on Ctrl-C.
AnswerFallback AskAtTerminal(RunReport &report, std::istream &in);

// Shows the box and ends the run: nobody is there to answer.
AnswerFallback StopUnanswered(RunReport &report);

}  // namespace w95sim

#endif
