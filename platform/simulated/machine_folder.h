// Machine folders: a drive C: tree (folder "C") beside its description file machine.txt, loaded as a Machine.
#ifndef PLATFORM_SIMULATED_MACHINE_FOLDER_H
#define PLATFORM_SIMULATED_MACHINE_FOLDER_H

#include <filesystem>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/simulated/machine.h"
#include "platform/simulated/machine_description.h"

namespace winsim {

// What is wrong with a machine folder, as one line for the user.
class MachineFolderError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// How the deliverable is to be run: not part of the machine, and each may be replaced for one run.
struct RunSettings {
  std::optional<std::string> commandLine;  // code page 932, program first
  std::optional<std::string> currentDirectory;
  std::optional<std::string> program;       // the program file when the command line does not name it first
  std::optional<std::vector<int>> answers;  // none when machine.txt has no [answers]
};

struct LoadedMachine {
  std::unique_ptr<Machine> machine;
  RunSettings run;
};

// Checks that folder holds C and machine.txt and reads the description. Throws MachineFolderError.
MachineDescription ReadMachineFolder(const std::filesystem::path &folder);

// A Machine over driveC with the description's windows, programs, environment, show command and restart result.
// The run settings are not applied. Throws MachineFolderError when the machine refuses a setting.
std::unique_ptr<Machine> BuildMachine(const MachineDescription &description, const std::filesystem::path &driveC);

RunSettings RunSettingsOf(const MachineDescription &description);

// ReadMachineFolder, then BuildMachine over folder/C.
LoadedMachine LoadMachineFolder(const std::filesystem::path &folder);

}  // namespace winsim

#endif
