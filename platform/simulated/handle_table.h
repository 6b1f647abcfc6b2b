// The simulated machine's handles: one table of files, searches, processes and threads.
#ifndef PLATFORM_SIMULATED_HANDLE_TABLE_H
#define PLATFORM_SIMULATED_HANDLE_TABLE_H

#include "platform/simulated/machine_state.h"

namespace winsim {

HANDLE AddHandle(Machine::State &state, HandleEntry entry);
// The entry of a handle of that kind, or nullptr for any other value.
HandleEntry *FindHandle(Machine::State &state, HANDLE handle, HandleKind kind);
// Closes the host side of an entry (a file's descriptor) and drops it.
void DropHandle(Machine::State &state, HANDLE handle);

}  // namespace winsim

#endif
