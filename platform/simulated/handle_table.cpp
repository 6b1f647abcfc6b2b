// The simulated machine's handles.
#include "platform/simulated/handle_table.h"

#include <unistd.h>

namespace winsim {

HANDLE AddHandle(Machine::State &state, HandleEntry entry) {
  uintptr_t value = state.nextHandle;
  state.nextHandle += 4;
  state.handles.emplace(value, std::move(entry));
  return reinterpret_cast<HANDLE>(value);
}

HandleEntry *FindHandle(Machine::State &state, HANDLE handle, HandleKind kind) {
  auto found = state.handles.find(reinterpret_cast<uintptr_t>(handle));
  if (found == state.handles.end() || found->second.kind != kind) return nullptr;
  return &found->second;
}

void DropHandle(Machine::State &state, HANDLE handle) {
  auto found = state.handles.find(reinterpret_cast<uintptr_t>(handle));
  if (found == state.handles.end()) return;
  if (found->second.descriptor >= 0) close(found->second.descriptor);
  state.handles.erase(found);
}

}  // namespace winsim
