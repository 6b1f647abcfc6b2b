// How the simulated machine answers a message box: from the script, with OK for a lone OK button, or the fallback.
#ifndef PLATFORM_SIMULATED_MESSAGE_BOX_ANSWERS_H
#define PLATFORM_SIMULATED_MESSAGE_BOX_ANSWERS_H

#include "platform/simulated/machine_state.h"

namespace winsim {

// The answer the box gets. Throws RunAborted when a question has no answer.
int AnswerMessageBox(Machine::State &state, const MessageBoxRecord &box);

}  // namespace winsim

#endif
