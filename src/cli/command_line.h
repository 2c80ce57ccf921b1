// The command-line converter's arguments and its run over the logs.
#pragma once

#include <vector>

#include "files/extra_tables.h"

namespace quorval {

inline constexpr const char kProgram[] = "quorval-convert";

// Exit statuses, as documented in --help and the README.
enum ExitStatus {
  kExitSuccess = 0,
  kExitUsage = 1,
  kExitInputUnreadable = 2,
  kExitOutputFailed = 3,
  kExitInterrupted = 128,  // + the signal's number
};

struct CommandLine {
  std::vector<const char*> logs;
  const char* outputName = nullptr;  // -o; "-" for standard output
  const char* batchList = nullptr;   // --batch
  bool allSystems = false;           // --gnss: every satellite system, one row per fix
  // --format: the tables each log writes, by TableFormat; the classic one alone by default.
  bool formats[kTableFormats] = {true};
  bool formatGiven = false;           // --format was given (else -o's extension may name a track)
  bool points = true;                 // GeoJSON: a Point feature per fix (--no-points: none)
  const char* outputDir = nullptr;    // --output-dir: every output there instead of beside its log
  int satellites = 12;               // --satellites: slots per row, 1 to 64
  bool quiet = false;                // no progress line and no word on unread sentences
  bool stats = false;                // --stats: what each log held, on standard error
  bool force = false;                // --force: write over a file that is not a table
  bool progressWithoutTerminal = false;  // draw the progress line on any stderr
  bool help = false;
  bool version = false;
};

// What the converter does before anything else: the console stands in for
// the windowing layer's display, and the program's resources are registered
// under its module, which the run state names.
void StartConverter();

// The format of a log's first output (the classic table when asked for),
// and how many tables each log writes.
TableFormat PrimaryFormatOf(const CommandLine& line);
int FormatCount(const CommandLine& line);

// Returns 0, or kExitUsage after printing what is wrong.
int ParseCommandLine(int argc, char** argv, CommandLine& line);

void PrintUsage();

// Converts each log in order into its output; returns the exit status.
int ConvertLogs(const CommandLine& line);

// --batch LIST: the desktop program's batch over the given list (no list
// chooser), its boxes as lines on standard error; returns the exit status.
int RunListedBatch(const CommandLine& line);

}  // namespace quorval
