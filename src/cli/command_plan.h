// What each log of a command writes, settled and checked before anything is
// converted: no output may be one of the logs, and no two logs one output.
#pragma once

#include <string>
#include <vector>

#include "cli/command_line.h"
#include "files/file_identity.h"

namespace quorval {

inline constexpr const char kStandardStream[] = "-";

bool IsStandardStream(const char* name);

// How a message names a log or an output: quoted, or the standard stream.
std::string Named(const char* name, bool output);

// What each log of the command writes, settled before anything is converted.
struct PlannedLog {
  const char* log;     // as given; "-" is standard input
  std::string output;  // "-" is standard output; empty when the log cannot be opened
  FileIdentity read;     // what the log is
  FileIdentity written;  // what the output is, if it exists already
};

// Every log of the command with its output: the named one (-o), standard
// output for standard input and for a log that is not a regular file, or
// the name derived beside the log.
std::vector<PlannedLog> PlanCommand(const CommandLine& line);

// Two logs that would write one output (kExitUsage), an output that is a
// log (kExitOutputFailed): refused with a line naming both. kExitSuccess
// when neither.
int RefuseClashes(const std::vector<PlannedLog>& plan);

// An output that would replace a file holding something else than a table
// of this program (a log typed after -o, a document): refused with a line
// naming it (kExitOutputFailed) unless --force; kExitSuccess when none.
int RefuseForeignFiles(const std::vector<PlannedLog>& plan);

}  // namespace quorval
