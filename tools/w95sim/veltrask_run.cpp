// One run of Veltrask on a machine folder or its copy: setting up answers, running, and reporting changes.
#include "tools/w95sim/veltrask_run.h"

#include <unistd.h>

#include <iostream>
#include <optional>

#include "platform/simulated/machine_folder.h"
#include "platform/simulated/text/cp932.h"
#include "tools/w95sim/message_box_text.h"
#include "tools/w95sim/run_report.h"
#include "tools/w95sim/terminal_answers.h"
#include "tools/w95sim/tree_changes.h"
#include "tools/w95sim/working_copy.h"

namespace w95sim {

namespace fs = std::filesystem;

namespace {

std::string AnswerList(const std::vector<int> &answers) {
  if (answers.empty()) return "none";
  std::string list;
  for (int answer : answers) list += (list.empty() ? "" : ", ") + AnswerName(answer);
  return list;
}

}  // namespace

ExitStatus RunVeltrask(const Options &options, const fs::path &modulePath, std::ostream &out) {
  winsim::MachineDescription description = winsim::ReadMachineFolder(options.machineFolder);
  winsim::RunSettings run = winsim::RunSettingsOf(description);
  if (options.commandLine) run.commandLine = options.commandLine;
  if (options.directory) run.currentDirectory = options.directory;
  if (options.program) run.program = options.program;
  const char *answersFrom = options.answers ? "--answers" : "machine.txt";
  if (options.answers) run.answers = options.answers;
  if (!run.commandLine)
    throw UsageError("no command line for Veltrask: give command-line in [run] of machine.txt or --command-line");
  if (!run.currentDirectory)
    throw UsageError("no current directory for Veltrask: give directory in [run] of machine.txt or --directory");

  std::optional<WorkingCopy> copy;
  fs::path folder = options.writeBack ? options.machineFolder : copy.emplace(options.machineFolder).Folder();
  std::unique_ptr<winsim::Machine> machine = winsim::BuildMachine(description, folder / "C");

  bool terminal = isatty(STDIN_FILENO);
  out << "Machine:   " << options.machineFolder.string()
      << (options.writeBack ? " (the run changes this folder)" : " (on a copy; the folder stays as it is)") << "\n"
      << "Veltrask:  " << (run.commandLine->empty() ? "(an empty command line)" : winsim::Cp932ToUtf8(*run.commandLine))
      << "\n"
      << (run.program ? "program:   " + winsim::Cp932ToUtf8(*run.program) + "\n" : std::string())
      << "directory: " << winsim::Cp932ToUtf8(*run.currentDirectory) << "\n"
      << "answers:   " << (run.answers ? AnswerList(*run.answers) + " (from " + answersFrom + ")" : "none given")
      << (terminal ? "; further questions are asked here\n" : "\n") << std::flush;

  RunReport report(*machine, out);
  if (run.answers) machine->QueueAnswers(*run.answers);
  machine->SetAnswerFallback(terminal ? AskAtTerminal(report, std::cin) : StopUnanswered(report));
  machine->SetCallObserver([&report](const winsim::Call &call) { report.OnCall(call); });

  TreeSnapshot before = SnapshotTree(machine->DriveC());
  winsim::RunResult result;
  try {
    result = machine->RunProgram(modulePath, *run.commandLine, *run.currentDirectory, run.program.value_or(""));
  } catch (const winsim::RunAborted &aborted) {
    result.ran = false;
    result.error = aborted.what();
  }
  report.Finish(result);
  if (machine->AnswersLeft() > 0) out << "  " << machine->AnswersLeft() << " answer(s) were not needed\n";

  out << "\nChanges on drive C:\n";
  PrintTreeChanges(out, CompareTrees(before, SnapshotTree(machine->DriveC())));
  out << std::flush;
  if (!result.ran) {
    std::cerr << "w95sim: the run stopped: " << result.error << "\n";
    return kRunNotCompleted;
  }
  return kRunEnded;
}

}  // namespace w95sim
