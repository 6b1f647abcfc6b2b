// w95sim: runs the kit's deliverables on a simulated Japanese Windows 95 machine kept in a folder.
#include <iostream>
#include <string>
#include <vector>

#include "platform/simulated/machine_folder.h"
#include "tools/w95sim/command_line_options.h"
#include "tools/w95sim/veltrask_run.h"

int main(int argc, char **argv) {
  using namespace w95sim;
  try {
    Options options = ParseOptions(std::vector<std::string>(argv + 1, argv + argc));
    if (options.help) {
      std::cout << kUsage;
      return 0;
    }
    return RunVeltrask(options, VELTRASK_MODULE_PATH, std::cout);
  } catch (const UsageError &error) {
    std::cerr << "w95sim: " << error.what() << "\n";
    return kBadInput;
  } catch (const winsim::MachineFolderError &error) {
    std::cerr << "w95sim: " << error.what() << "\n";
    return kBadInput;
  } catch (const std::exception &error) {
    std::cerr << "w95sim: " << error.what() << "\n";
    return kRunNotCompleted;
  }
}
