// The command "w95sim veltrask": one run of Veltrask on a machine folder, told as it happens.
#ifndef TOOLS_W95SIM_VELTRASK_RUN_H
#define TOOLS_W95SIM_VELTRASK_RUN_H

#include <filesystem>
#include <ostream>

#include "tools/w95sim/command_line_options.h"

namespace w95sim {

enum ExitStatus { kRunEnded = 0, kBadInput = 2, kRunNotCompleted = 3 };

// Throws UsageError and winsim::MachineFolderError for bad input.
ExitStatus RunVeltrask(const Options &options, const std::filesystem::path &modulePath, std::ostream &out);

}  // namespace w95sim

#endif
