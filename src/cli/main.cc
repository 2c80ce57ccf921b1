// quorval-convert: the command-line converter.
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "cli/command_line.h"
#include "platform/console/console_backend.h"
#include "resources/version.h"
#include "shell/batch_run.h"
#include "shell/run_state.h"

namespace {

constexpr const char kProgramName[] = "quorval-convert";

void ReportFile(const char* what, const char* name) {
  if (errno != 0) {
    std::fprintf(stderr, "%s: cannot %s '%s': %s\n", kProgramName, what, name, std::strerror(errno));
  } else {
    std::fprintf(stderr, "%s: cannot %s '%s'\n", kProgramName, what, name);
  }
}

// --batch LIST: the desktop program's batch over the given list (no list
// chooser), the same procedure with its boxes as lines on standard error.
int RunListedBatch(const CommandLine& line) {
  SetConsoleProgramName(kProgramName);
  ShowConsoleProgressDialogs(!line.quiet && isatty(STDERR_FILENO) == 1);
  if (std::strlen(line.batchList) >= static_cast<size_t>(kPathSize)) {
    std::fprintf(stderr, "%s: %.60s...: path longer than %d characters\n", kProgramName,
                 line.batchList, kPathSize - 1);
    return kExitInputUnreadable;
  }
  char listName[kPathSize] = {};
  std::strcpy(listName, line.batchList);
  errno = 0;
  switch (RunBatchList(listName, 0, 0)) {
    case kBatchListDone:
    case kBatchListEmpty:
    case kBatchClosed:
      return kExitSuccess;
    case kBatchListUnreadable:
      ReportFile("open the list", line.batchList);
      return kExitInputUnreadable;
    case kBatchDiagnosticsFailed:
      ReportFile("create the diagnostics file", listName);
      return kExitOutputFailed;
    case kBatchInputMissing:
      return kExitInputUnreadable;
    case kBatchOutputFailed:
    case kBatchCloseFailed:
      return kExitOutputFailed;
  }
  return kExitOutputFailed;
}

}  // namespace

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
