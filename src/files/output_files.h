// Naming, opening and closing the outputs of a run.
#pragma once

#include <cstdio>

#include "platform/windowing.h"

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

// Opens the path for writing (an existing file is emptied) with full
// buffering into outputFile. While that fails, the retry prompt names the
// path; Cancel returns 1 with no stream open.
int OpenOutputWithRetry(const char* outputPath);

// Closes outputFile. When not all of the output reached the file (disk full,
// I/O error), the failure box names the path and 1 is returned; else 0.
int FinishOutput(const char* outputPath);

// The single run's output: the name derived from inputBase is proposed in
// the output chooser (which asks before an existing file is overwritten),
// and whatever the user typed, the file gets ".csv". Returns 0 with the
// output open and its path in outputPath (a kPathSize buffer), 1 when the
// user gave up in the chooser or at the retry prompt.
int OpenCsvOutput(WindowHandle owner, char* outputPath);

// A batch item's output: the ".xlx" name derived from inputBase, opened
// without a question (an output still open from an earlier item is closed
// first). Returns 0 with the output open, 1 when it was refused or the user
// chose Cancel at the retry prompt.
int OpenBatchOutput(char* outputPath);

// Closes a batch item's input and then its output. Returns 0, or -1 when a
// close failed (for the output: not all of it reached the file, which the
// failure box has named); the stream is no longer recorded either way.
int CloseRunFiles();

}  // namespace quorval
