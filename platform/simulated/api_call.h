// What every simulated Win32 operation does around its work: record the call, maybe fail it, record the result.
#ifndef PLATFORM_SIMULATED_API_CALL_H
#define PLATFORM_SIMULATED_API_CALL_H

#include <string>
#include <vector>

#include "platform/simulated/machine_state.h"

namespace winsim {

// Argument texts for the trace.
std::string TextArgument(const char *text);
std::string NumberArgument(unsigned long long value);
std::string SignedArgument(long long value);
std::string HandleArgument(const void *handle);

enum class Faultable { No, Yes };

// One call in progress. Construct it first thing in an operation; then either Fail() or Return().
class ApiCall {
 public:
  ApiCall(const char *name, std::vector<std::string> arguments, Faultable faultable = Faultable::Yes);

  Machine::State &machine() { return machine_; }
  // Whether the machine chose to make this call fail.
  bool Faulted() const { return faulted_; }

  template <typename T>
  T Return(T value) {
    Finish(ResultText(value));
    return value;
  }
  // Sets the last error and returns value, the operation's way of failing.
  template <typename T>
  T Fail(T value, DWORD error) {
    machine_.lastError = error;
    Finish(ResultText(value) + " error " + std::to_string(error));
    return value;
  }
  void ReturnNothing() { Finish(""); }

 private:
  static std::string ResultText(const char *value) { return TextArgument(value); }
  static std::string ResultText(char *value) { return TextArgument(value); }
  template <typename T>
  static std::string ResultText(T *value) {
    return HandleArgument(value);
  }
  template <typename T>
  static std::string ResultText(T value) {
    return std::to_string(value);
  }
  void Finish(std::string result);

  Machine::State &machine_;
  size_t index_;
  bool faulted_ = false;
};

}  // namespace winsim

#endif
