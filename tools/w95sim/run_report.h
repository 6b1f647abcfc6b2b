// The running account w95sim prints of a run: message boxes, programs started, waits, the restart request.
#ifndef TOOLS_W95SIM_RUN_REPORT_H
#define TOOLS_W95SIM_RUN_REPORT_H

#include <ostream>

#include "platform/simulated/machine.h"

namespace w95sim {

class RunReport {
 public:
  RunReport(const winsim::Machine &machine, std::ostream &out) : machine_(machine), out_(out) {}

  // The machine's call observer: prints what the call just ended has done.
  void OnCall(const winsim::Call &call);
  // Prints the box whose call is in progress now, before an answer is asked for.
  void ShowPendingBox(const winsim::MessageBoxRecord &box);
  void Finish(const winsim::RunResult &result);

  std::ostream &Out() { return out_; }

 private:
  void ReportNewProcesses();
  std::string ProgramOf(DWORD processId) const;

  const winsim::Machine &machine_;
  std::ostream &out_;
  size_t processesReported_ = 1;  // the deliverable's own process is announced before the run
  bool pendingBoxShown_ = false;
};

}  // namespace w95sim

#endif
