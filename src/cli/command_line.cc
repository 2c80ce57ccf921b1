#include "cli/command_line.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "convert/conversion_loop.h"
#include "files/input_opening.h"
#include "files/output_files.h"
#include "files/path_names.h"
#include "output/epoch_record.h"
#include "platform/console/console_backend.h"
#include "resources/version.h"
#include "shell/batch_run.h"
#include "shell/progress_dialog.h"
#include "shell/run_state.h"

namespace {

constexpr const char kProgram[] = "quorval-convert";

int UsageError(const char* what, const char* argument) {
  std::fprintf(stderr, "%s: %s%s%s\nTry '%s --help' for more information.\n", kProgram, what,
               argument != nullptr ? " " : "", argument != nullptr ? argument : "", kProgram);
  return kExitUsage;
}

bool IsStandardStream(const char* name) { return std::strcmp(name, "-") == 0; }

bool SameFile(const struct stat& a, const struct stat& b) {
  return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// Whether writing to outputPath would empty one of the logs being converted.
bool WouldOverwriteInput(const char* outputPath, const CommandLine& line) {
  struct stat output;
  if (stat(outputPath, &output) != 0) return false;
  for (const char* log : line.logs) {
    struct stat input;
    if (!IsStandardStream(log) && stat(log, &input) == 0 && SameFile(input, output)) return true;
  }
  return false;
}

bool ShowsProgress(const CommandLine& line) {
  return !line.quiet && (line.progressWithoutTerminal || isatty(STDERR_FILENO) == 1);
}

// What the progress line calls the output: its path without the extension,
// as for a derived name.
void NameShownOutput(const char* outputPath) {
  char extension[kPathSize];
  SplitExtension(runState.outputBase, outputPath, extension);
}

int OpenLog(const char* log) {
  RunState& s = runState;
  if (IsStandardStream(log)) {
    std::strcpy(s.inputPath, "-");
    s.inputFile = stdin;
    PrepareInput();
    return kExitSuccess;
  }
  if (std::strlen(log) >= static_cast<size_t>(kPathSize)) {
    std::fprintf(stderr, "%s: %.60s...: path longer than %d characters\n", kProgram, log,
                 kPathSize - 1);
    return kExitInputUnreadable;
  }
  std::strcpy(s.inputPath, log);
  return OpenInputDirect(s.inputPath) == 0 ? kExitSuccess : kExitInputUnreadable;
}

// Names and opens the output of the log just opened.
int OpenOutput(const char* log, const CommandLine& line) {
  RunState& s = runState;
  const char* named = line.outputName;
  if (named == nullptr && IsStandardStream(log)) named = "-";
  if (named != nullptr && IsStandardStream(named)) {
    std::strcpy(s.outputPath, "(standard output)");
    std::strcpy(s.outputBase, "standard output");
    s.outputFile = stdout;
    s.outputWriteFailed = 0;
    return kExitSuccess;
  }
  if (named != nullptr) {
    if (std::strlen(named) >= static_cast<size_t>(kPathSize)) {
      std::fprintf(stderr, "%s: %.60s...: path longer than %d characters\n", kProgram, named,
                   kPathSize - 1);
      return kExitOutputFailed;
    }
    std::strcpy(s.outputPath, named);
    NameShownOutput(s.outputPath);
  } else if (FormOutputName(s.outputPath, kCsvExtension) != 0) {
    return kExitOutputFailed;
  }
  if (WouldOverwriteInput(s.outputPath, line)) {
    std::fprintf(stderr, "%s: %s: refusing to write the output over an input log\n", kProgram,
                 s.outputPath);
    return kExitOutputFailed;
  }
  return OpenOutputWithRetry(s.outputPath) == 0 ? kExitSuccess : kExitOutputFailed;
}

int ConvertOne(const char* log, const CommandLine& line) {
  RunState& s = runState;
  int status = OpenLog(log);
  if (status != kExitSuccess) return status;
  status = OpenOutput(log, line);
  if (status != kExitSuccess) {
    CloseAllStreams();
    return status;
  }
  // The desktop program's progress dialog, drawn as a line on a terminal.
  ShowProgressDialog();
  ConvertLog(s.inputFile, s.outputFile);
  DestroyWindow(s.progressDialog);
  s.progressDialog = kNoWindow;
  s.cancelRequested = 0;

  const bool written = FinishOutput(s.outputPath) == 0;
  CloseAllStreams();  // the log
  if (!written) return kExitOutputFailed;
  if (ShowsProgress(line)) {
    const int rows = EpochCounter > 0 ? EpochCounter - 1 : 0;
    std::fprintf(stderr, "%s -> %s (%d rows)\n", log, s.outputPath, rows);
  }
  return kExitSuccess;
}

void ReportFile(const char* what, const char* name) {
  if (errno != 0) {
    std::fprintf(stderr, "%s: cannot %s '%s': %s\n", kProgram, what, name, std::strerror(errno));
  } else {
    std::fprintf(stderr, "%s: cannot %s '%s'\n", kProgram, what, name);
  }
}

}  // namespace

void PrintUsage() {
  std::printf(
      "Usage: %s [OPTION]... LOG...\n"
      "   or: %s [--quiet] --batch LIST\n"
      "Convert NMEA 0183 receiver logs into CSV tables, one row per position epoch.\n"
      "\n"
      "Each LOG is converted, in order, into <base>-%s+000.csv beside it (the name\n"
      "the desktop program proposes). Values that a log does not set carry over\n"
      "from the logs before it, as in one session of the desktop program.\n"
      "\n"
      "  -o FILE     write the output of a single LOG to FILE ('-': standard output)\n"
      "  -           as LOG: read standard input (output to standard output unless -o)\n"
      "  --batch LIST  convert every log named in LIST, one per line, as the\n"
      "              desktop program's Batch PostProc does: each entry's extension\n"
      "              becomes .log, each output <base>-%s+000.xlx, and the logs whose\n"
      "              conversion started are listed in <LIST base>-diag.txt; the\n"
      "              batch stops at a log that cannot be opened\n"
      "  --quiet     no progress line\n"
      "  --help      show this help and exit\n"
      "  --version   show the version label and exit\n"
      "\n"
      "Progress (percent, megabytes read of the total, rate) is shown on standard\n"
      "error when it is a terminal.\n"
      "\n"
      "Exit status: 0 success (for --batch: the list was done), 1 usage error,\n"
      "2 an input (or the list) could not be read, 3 an output could not be\n"
      "created or written completely.\n"
      "\n"
      "Example:\n"
      "  %s day1.txt day2.txt      writes day1-%s+000.csv and day2-%s+000.csv\n",
      kProgram, kProgram, kVersionLabel, kVersionLabel, kProgram, kVersionLabel, kVersionLabel);
}

int ParseCommandLine(int argc, char** argv, CommandLine& line) {
  bool optionsEnded = false;
  for (int i = 1; i < argc; ++i) {
    const char* arg = argv[i];
    if (optionsEnded || arg[0] != '-' || IsStandardStream(arg)) {
      line.logs.push_back(arg);
    } else if (std::strcmp(arg, "--") == 0) {
      optionsEnded = true;
    } else if (std::strcmp(arg, "--help") == 0 || std::strcmp(arg, "-h") == 0) {
      line.help = true;
    } else if (std::strcmp(arg, "--version") == 0) {
      line.version = true;
    } else if (std::strcmp(arg, "--quiet") == 0 || std::strcmp(arg, "-q") == 0) {
      line.quiet = true;
    } else if (std::strcmp(arg, "-o") == 0) {
      if (++i == argc) return UsageError("option -o needs a file name", nullptr);
      line.outputName = argv[i];
    } else if (std::strcmp(arg, "--batch") == 0) {
      if (++i == argc) return UsageError("option --batch needs a list file", nullptr);
      line.batchList = argv[i];
    } else {
      return UsageError("unknown option", arg);
    }
  }
  if (line.help || line.version) return 0;
  if (line.batchList != nullptr) {
    if (!line.logs.empty() || line.outputName != nullptr) {
      return UsageError("--batch takes no LOG and no -o", nullptr);
    }
    return 0;
  }
  if (line.logs.empty()) return UsageError("no LOG given", nullptr);
  if (line.outputName != nullptr && line.logs.size() > 1) {
    return UsageError("-o names the output of a single LOG", nullptr);
  }
  return 0;
}

int ConvertLogs(const CommandLine& line) {
  SetConsoleProgramName(kProgram);
  ShowConsoleProgressDialogs(ShowsProgress(line));
  // Every log is tried; the status is the most serious failure met.
  int status = kExitSuccess;
  for (const char* log : line.logs) {
    const int result = ConvertOne(log, line);
    if (result > status) status = result;
  }
  return status;
}

int RunListedBatch(const CommandLine& line) {
  SetConsoleProgramName(kProgram);
  ShowConsoleProgressDialogs(ShowsProgress(line));
  if (std::strlen(line.batchList) >= static_cast<size_t>(kPathSize)) {
    std::fprintf(stderr, "%s: %.60s...: path longer than %d characters\n", kProgram,
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
    case kBatchListNotAFile:
    case kBatchInputMissing:
      return kExitInputUnreadable;
    case kBatchWouldOverwrite:
    case kBatchOutputFailed:
    case kBatchCloseFailed:
    case kBatchDiagnosticsIncomplete:
      return kExitOutputFailed;
  }
  return kExitOutputFailed;
}

