// quorval-convert: the command-line converter.
#include <cstdio>

#include "cli/command_line.h"
#include "backends/console/console_backend.h"
#include "resources/version.h"

namespace quorval {
namespace {

int RunCommand(int argc, char** argv) {
  CommandLine line;
  if (const int status = ParseCommandLine(argc, argv, line); status != 0) return status;
  if (line.help) {
    PrintUsage();
    return kExitSuccess;
  }
  if (line.version) {
    std::printf("quorval-convert %s\n", kVersionLabel);  // as GNU tools name themselves
    return kExitSuccess;
  }
  if (line.batchList != nullptr) return RunListedBatch(line);
  return ConvertLogs(line);
}

}  // namespace

}  // namespace quorval

int main(int argc, char** argv) {
  using namespace quorval;
  StartConverter();
  InstallConsoleEndRequests();
  const int status = RunCommand(argc, argv);
  EndByRequestSignal();  // an interrupted run ends by its signal, all closed
  return status;
}
