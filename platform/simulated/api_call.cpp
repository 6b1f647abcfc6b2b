// Recording, fault injection and results of the simulated Win32 operations.
#include "platform/simulated/api_call.h"

#include <cstdio>
#include <cstdlib>

namespace winsim {

namespace {
Machine::State *current_state = nullptr;
}

Machine::State &Current() {
  if (current_state == nullptr) {
    std::fprintf(stderr, "winsim: a Win32 operation was called while no program runs on a simulated machine\n");
    std::abort();
  }
  return *current_state;
}

void SetCurrent(Machine::State *state) { current_state = state; }

std::string TextArgument(const char *text) {
  if (text == nullptr) return "NULL";
  return "\"" + std::string(text) + "\"";
}

std::string NumberArgument(unsigned long long value) { return std::to_string(value); }

std::string SignedArgument(long long value) { return std::to_string(value); }

std::string HandleArgument(const void *handle) {
  if (handle == nullptr) return "NULL";
  char text[32];
  std::snprintf(text, sizeof text, "0x%llx", static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(handle)));
  return text;
}

static bool DecideFault(FaultPlan &plan, const std::string &name) {
  int occurrence = ++plan.occurrences[name];
  ++plan.faultableCalls;
  bool fail = false;
  auto at = plan.failAt.find(name);
  if (at != plan.failAt.end() && at->second.count(occurrence) != 0) fail = true;
  auto from = plan.failFrom.find(name);
  if (from != plan.failFrom.end() && occurrence >= from->second) fail = true;
  if (plan.failNth != 0 && plan.faultableCalls == plan.failNth) fail = true;
  if (fail) plan.injected = true;
  return fail;
}

ApiCall::ApiCall(const char *name, std::vector<std::string> arguments, Faultable faultable)
    : machine_(Current()), index_(machine_.trace.size()) {
  Call call;
  call.name = name;
  call.arguments = std::move(arguments);
  if (faultable == Faultable::Yes) faulted_ = DecideFault(machine_.faults, call.name);
  call.faulted = faulted_;
  machine_.trace.push_back(std::move(call));
}

void ApiCall::Finish(std::string result) {
  Call &call = machine_.trace[index_];
  call.result = std::move(result);
  if (machine_.callObserver) machine_.callObserver(call);
}

}  // namespace winsim
