// Naming and opening the outputs of a run.
#pragma once

#include <cstdio>

inline constexpr const char kCsvExtension[] = ".csv";
inline constexpr const char kBatchExtension[] = ".xlx";

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
