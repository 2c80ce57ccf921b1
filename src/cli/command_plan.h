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

// One table a log writes.
struct PlannedTable {
  TableFormat format;
  std::string output;    // "-" is standard output; empty when no name can be derived
  FileIdentity written;  // what the output is, if it exists already
};

// What each log of the command writes, settled before anything is converted.
struct PlannedLog {
  const char* log;     // as given; "-" is standard input
  FileIdentity read;   // what the log is
  // Its tables, the primary format's first; empty when the log cannot be opened.
  std::vector<PlannedTable> tables;
};

// Every log of the command with its outputs: the named one (-o), standard
// output for standard input and for a log that is not a regular file, or
// the names derived beside the log: <base>-103+000.csv for the classic
// table, <base>-fixes.csv and <base>-satellites.csv for the new ones.
std::vector<PlannedLog> PlanCommand(const CommandLine& line);

// Two tables that would be one output (kExitUsage), several tables for
// standard output (kExitUsage), an output that is a log (kExitOutputFailed):
// refused with a line naming them. kExitSuccess when none.
int RefuseClashes(const std::vector<PlannedLog>& plan);

// An output that would replace a file holding something else than a table
// of this program (a log typed after -o, a document): refused with a line
// naming it (kExitOutputFailed) unless --force; kExitSuccess when none.
int RefuseForeignFiles(const std::vector<PlannedLog>& plan);

}  // namespace quorval
