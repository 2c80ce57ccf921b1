// A table is written beside its name and put in place when its run ends:
// the file it replaces stays as it was until then, a run that fails or is
// killed leaves it untouched, and two runs writing one name never mix their
// rows (the one that ends last stands whole).
#pragma once

#include <cstddef>
#include <cstdio>

#include "state/run_state.h"

namespace quorval {

// Room for a path that fits kPathSize and the staging suffix.
inline constexpr size_t kStagedPathSize = kPathSize + 48;

struct StagedOutput {
  char staged[kStagedPathSize];  // the file being written; empty when writing the name itself
  char placed[kStagedPathSize];  // the file it becomes: the name, or what its link leads to
  bool existed;                  // a regular file stood at the name when the run began
};

// Opens what will become target. A regular file or no file at that name is
// written as "<name>.part-<process id>" beside it (beside what a link leads
// to), with the permission bits and owner of the file it replaces; anything
// else (a device, a FIFO) is opened and written itself, for it holds no table
// to lose. An existing file that may not be written (read-only, or locked
// by another program on Windows) is refused as before, not quietly replaced.
// Returns the stream, or nullptr with errno saying why.
FILE* OpenStagedOutput(const char* target, StagedOutput& output);

// Puts the staged file in place of its target, atomically. Returns 0, or the
// errno value of the failure, with the staged file removed.
int PlaceStagedOutput(StagedOutput& output);

// Removes the staged file of a run whose table must not stand.
void DiscardStagedOutput(StagedOutput& output);

}  // namespace quorval
