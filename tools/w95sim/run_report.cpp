// Printing the events of a run as the machine reports its calls.
#include "tools/w95sim/run_report.h"

#include "platform/simulated/api_call.h"
#include "platform/simulated/text/cp932.h"
#include "tools/w95sim/message_box_text.h"

namespace w95sim {

namespace {

std::string Utf8(const std::string &cp932) { return winsim::Cp932ToUtf8(cp932); }

// A text argument as the trace records it, between quotes.
std::string Unquoted(const std::string &argument) {
  if (argument.size() >= 2 && argument.front() == '"' && argument.back() == '"')
    return argument.substr(1, argument.size() - 2);
  return argument;
}

}  // namespace

std::string RunReport::ProgramOf(DWORD processId) const {
  for (const winsim::ProcessRecord &process : machine_.Processes())
    if (process.id == processId) return Utf8(process.program);
  return "process " + std::to_string(processId);
}

void RunReport::ReportNewProcesses() {
  const auto &processes = machine_.Processes();
  for (; processesReported_ < processes.size(); ++processesReported_) {
    const winsim::ProcessRecord &process = processes[processesReported_];
    out_ << "\n▶ program started: " << Utf8(process.commandLine) << "\n"
         << "    program:   " << Utf8(process.program) << "\n"
         << "    directory: " << Utf8(process.currentDirectory) << "\n"
         << "    started by " << ProgramOf(process.parentId)
         << (process.deferred ? "; it runs once Veltrask has ended\n" : "\n");
  }
  out_ << std::flush;
}

void RunReport::ShowPendingBox(const winsim::MessageBoxRecord &box) {
  PrintBox(out_, box);
  pendingBoxShown_ = true;
}

void RunReport::OnCall(const winsim::Call &call) {
  if (call.name == "MessageBoxA" && !machine_.Boxes().empty()) {
    const winsim::MessageBoxRecord &box = machine_.Boxes().back();
    if (!pendingBoxShown_) PrintBox(out_, box);
    PrintAnswer(out_, box);
    pendingBoxShown_ = false;
  } else if (call.name == "CreateProcessA") {
    size_t before = processesReported_;
    ReportNewProcesses();
    if (processesReported_ == before) {
      std::string commandLine = call.arguments.size() > 1 ? Unquoted(call.arguments[1]) : std::string();
      out_ << "\n▶ could not start: " << Utf8(commandLine) << "\n" << std::flush;
    }
  } else if (call.name == "WaitForSingleObject") {
    const auto &processes = machine_.Processes();
    for (size_t i = processes.size(); i-- > 1;) {
      if (processes[i].parentId != processes[0].id || processes[i].deferred) continue;
      out_ << "  Veltrask waited for " << Utf8(processes[i].program) << " to end";
      if (processes[i].exitCode != STILL_ACTIVE) out_ << ": it ended with exit code " << processes[i].exitCode;
      out_ << "\n" << std::flush;
      break;
    }
  } else if (call.name == "FindWindowA") {
    // The start guard's probe for a running print manager.
    std::string title = call.arguments.size() > 1 ? Unquoted(call.arguments[1]) : std::string();
    out_ << "\n◇ window titled \"" << Utf8(title)
         << "\" looked for: " << (call.result == "NULL" ? "none is open" : "found") << "\n"
         << std::flush;
  } else if (call.name == "FindFirstFileA") {
    std::string pattern = call.arguments.empty() ? std::string() : Unquoted(call.arguments[0]);
    out_ << "\n◇ looked for \"" << Utf8(pattern) << "\": "
         << (call.result.rfind(winsim::HandleArgument(INVALID_HANDLE_VALUE), 0) == 0 ? "nothing matches" : "found")
         << "\n"
         << std::flush;
  } else if (call.name == "ExitWindowsEx") {
    UINT flags = machine_.RestartRequests().empty() ? 0 : machine_.RestartRequests().back();
    out_ << "\n⟳ " << (flags & EWX_REBOOT ? "restart" : "shut-down") << " of Windows requested (ExitWindowsEx, flags "
         << flags << "); the platform answered " << call.result << "\n"
         << std::flush;
  }
}

void RunReport::Finish(const winsim::RunResult &result) {
  ReportNewProcesses();
  const auto &processes = machine_.Processes();
  for (size_t i = 1; i < processes.size(); ++i) {
    if (processes[i].deferred && processes[i].exitCode != STILL_ACTIVE)
      out_ << "  " << Utf8(processes[i].program) << " ran after Veltrask, exit code " << processes[i].exitCode << "\n";
  }
  if (result.ran) {
    out_ << "\n■ Veltrask ended with exit code " << result.exitCode << "\n";
  } else {
    out_ << "\n■ The run stopped: " << result.error << "\n";
  }
  out_ << std::flush;
}

}  // namespace w95sim
