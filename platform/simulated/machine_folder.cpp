// Loading of machine folders: checks of the folder, reading of machine.txt, and a Machine set up from it.
#include "platform/simulated/machine_folder.h"

#include <fstream>
#include <iterator>
#include <system_error>

namespace winsim {

namespace fs = std::filesystem;

MachineDescription ReadMachineFolder(const fs::path &folder) {
  std::error_code error;
  fs::file_status status = fs::status(folder, error);
  if (!fs::exists(status)) throw MachineFolderError("no machine folder at " + folder.string());
  if (!fs::is_directory(status)) throw MachineFolderError(folder.string() + " is not a folder");
  if (!fs::is_directory(folder / "C", error))
    throw MachineFolderError("machine folder " + folder.string() + " has no folder C (the tree of drive C:)");

  fs::path descriptionPath = folder / "machine.txt";
  if (!fs::is_regular_file(descriptionPath, error))
    throw MachineFolderError("machine folder " + folder.string() + " has no description file machine.txt");
  std::ifstream file(descriptionPath, std::ios::binary);
  std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  if (!file.good() && !file.eof()) throw MachineFolderError("cannot read " + descriptionPath.string());

  DescriptionParse parse = ParseMachineDescription(text, descriptionPath.string());
  if (!parse.description) throw MachineFolderError(parse.error);
  return std::move(*parse.description);
}

std::unique_ptr<Machine> BuildMachine(const MachineDescription &description, const fs::path &driveC) {
  try {
    auto machine = std::make_unique<Machine>(driveC);
    for (const Window &window : description.windows) machine->AddWindow(window);
    for (const auto &[path, behaviour] : description.programs) machine->SetProgram(path, behaviour);
    if (description.environment) machine->SetEnvironment(*description.environment);
    if (description.showCommand) machine->SetShowCommand(*description.showCommand);
    if (description.restartResult) machine->SetRestartResult(*description.restartResult);
    return machine;
  } catch (const std::exception &error) {
    throw MachineFolderError(std::string("the machine cannot be set up as machine.txt says: ") + error.what());
  }
}

RunSettings RunSettingsOf(const MachineDescription &description) {
  RunSettings run;
  run.commandLine = description.commandLine;
  run.currentDirectory = description.currentDirectory;
  run.program = description.program;
  if (description.answersGiven) run.answers = description.answers;
  return run;
}

LoadedMachine LoadMachineFolder(const fs::path &folder) {
  MachineDescription description = ReadMachineFolder(folder);
  LoadedMachine loaded;
  loaded.machine = BuildMachine(description, folder / "C");
  loaded.run = RunSettingsOf(description);
  return loaded;
}

}  // namespace winsim
