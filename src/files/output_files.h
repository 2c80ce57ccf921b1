// Naming, opening and closing the outputs of a run.
#pragma once

#include <cstdio>

#include "files/staged_output.h"
#include "layer/windowing.h"

namespace quorval {

inline constexpr const char kCsvExtension[] = ".csv";
inline constexpr const char kBatchExtension[] = ".xlx";

// The output name of a log: outputBase (a kPathSize buffer) receives
// "<inputBase>-103+000", outputPath (kPathSize too) that and the extension.
// False, with both untouched, when the name would not fit.
bool DeriveOutputName(const char* inputBase, const char* extension, char* outputBase,
                      char* outputPath);

// outputBase = "<inputBase>-103+000"; outputPath = outputBase + extension.
// Returns 0, or 1 after telling the user that the name does not fit a path
// buffer (nothing is written past a buffer).
int FormOutputName(char* outputPath, const char* extension);

// Whether a file may be replaced by a table without asking: it is empty, or
// it begins with the header of a table of this program (an earlier output).
// A file that cannot be read counts as one that may not.
bool HoldsOnlyATable(const char* path);

// Opens the path's table for writing with full buffering into outputFile:
// written beside the name and put in place when the run ends (an existing
// file stays as it was until then). While that fails, the retry prompt
// names the path; Cancel returns 1 with no stream open.
int OpenOutputWithRetry(const char* outputPath);

// How the run of a table ended.
enum class TableEnd {
  kWhole,       // the log was read to its end, or the user cut it short: its rows stand
  kReadFailed,  // the log could not be read on: its rows stand only where no file stood
  kNotALog,     // the log is no text log at all: nothing stands
};

// What became of the table.
enum class TableFate {
  kInPlace,       // the table stands under its name
  kPreviousKept,  // the run failed; the file that stood under the name is as it was
  kNotWritten,    // nothing was put under the name
  kLost,          // not all of it reached the file; the failure box named it
};

// The same for any table: the stream written beside the path in staged, or
// nullptr when the user chose Cancel.
FILE* OpenTableWithRetry(const char* outputPath, StagedOutput& staged);

// Puts a table whose stream has been closed in place, or leaves the name as
// it was, as the run's end decides; closeFailure is the errno value of a
// failed write or close (0: none), which the failure box names.
TableFate PlaceTable(const char* outputPath, StagedOutput& staged, int closeFailure, TableEnd end);

// Closes outputFile and, as the run's end decides, puts its table in place or
// leaves the name as it was. When not all of the table reached the file
// (disk full, I/O error), the failure box names the path.
TableFate FinishOutput(const char* outputPath, TableEnd end = TableEnd::kWhole);

// Closes an output that no run will finish and removes what it wrote, so
// that the name stays as it was.
void AbandonOutput();

// The single run's output: the name derived from inputBase is proposed in
// the output chooser (which asks before an existing file is overwritten),
// and whatever the user typed, the file gets ".csv"; the extra tables of
// the run are opened beside it. Returns 0 with the output open and its path
// in outputPath (a kPathSize buffer), 1 when the user gave up in the
// chooser or at a retry prompt, or an extra table was refused.
int OpenCsvOutput(WindowHandle owner, char* outputPath);

// A batch item's output: the ".xlx" name derived from inputBase, opened
// without a question, and the extra tables of the run beside it (outputs
// still open from an earlier item are closed first). Returns 0 with the
// output open, 1 when one was refused or the user chose Cancel at a retry
// prompt.
int OpenBatchOutput(char* outputPath);

// Closes a batch item's input and then its output. Returns 0, or -1 when a
// close failed (for the output: not all of it reached the file, which the
// failure box has named); the stream is no longer recorded either way.
int CloseRunFiles();

}  // namespace quorval
