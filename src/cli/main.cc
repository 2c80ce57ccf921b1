// quorval-convert: the command-line converter.
#include <cstdio>

#include "cli/command_line.h"
#include "resources/version.h"

int main(int argc, char** argv) {
  CommandLine line;
  if (const int status = ParseCommandLine(argc, argv, line); status != 0) return status;
  if (line.help) {
    PrintUsage();
    return kExitSuccess;
  }
  if (line.version) {
    std::printf("%s\n", kVersionLabel);
    return kExitSuccess;
  }
  if (line.batchList != nullptr) return RunListedBatch(line);
  return ConvertLogs(line);
}
