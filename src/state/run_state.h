// The one record of everything a conversion run needs besides the epoch
// record: windows, paths and derived names, the four streams, the input's
// size, the progress bookkeeping and the cancel request. Nothing of it is
// saved when the program ends.
#pragma once

#include <cstdint>
#include <cstdio>

#include "layer/windowing.h"

namespace quorval {

constexpr int kPathSize = 1000;       // 999 characters and the terminator
constexpr int kExtensionSize = 1000;  // the extension of any path that fits kPathSize
constexpr int kStatusTextSize = 20;
// Satellite slots per row of the table: twelve, or 1 to 64 when asked for.
constexpr int kDefaultSatelliteSlots = 12;
constexpr int kMaxSatelliteSlots = 64;

struct RunState {
  InstanceHandle instance;
  WindowHandle mainWindow;
  char statusText[kStatusTextSize];
  int32_t cancelRequested;

  char inputPath[kPathSize];
  char outputPath[kPathSize];
  char batchOutputPath[kPathSize];
  char inputBase[kPathSize];
  char inputExtension[kExtensionSize];
  char outputBase[kPathSize];
  int32_t outputFileNumber;

  FILE* inputFile;
  FILE* outputFile;
  FILE* listFile;
  FILE* diagFile;

  // Sizes and positions are 64-bit so that logs of 2 GB and more convert
  // and report progress completely.
  int64_t inputSize;
  int32_t progressStarted;
  int64_t progressStep;
  int64_t lastNotifiedPosition;

  WindowHandle progressDialog;

  // The run guard: set from a run's first chooser to its last question, so
  // that commands the progress pump dispatches meanwhile start nothing.
  int32_t runInProgress;
  // A close request during a run was confirmed: the run stops, closes its
  // files and the program then ends.
  int32_t closeRequested;

  // The table the session wrote last (a single run's or a batch log's,
  // finished or cut short), which View > Show Last Table opens; empty until
  // a run has written one.
  char lastTablePath[kPathSize];

  // Set when closing the output showed that not all of it reached the file
  // (disk full, I/O error); cleared when the next output is opened.
  int32_t outputWriteFailed;

  // The satellite slots of every row of the tables written: 12 unless the
  // command line asked for 1 to 64.
  int32_t satelliteSlots;

  // All satellite systems: the Options menu's check item (off at every
  // start), and the mode of the run in progress, which takes the item's
  // state when the run begins (the command line's --gnss sets both).
  int32_t allSystemsChecked;
  int32_t allSystemsInRun;

  // The fixes and the satellites table beside each table a run writes: the
  // Options menu's check items (off at every start), and the choice of the
  // run in progress, taken as the run begins (the command line's --batch
  // with --format sets both).
  int32_t fixesTableChecked;
  int32_t satellitesTableChecked;
  int32_t fixesTableInRun;
  int32_t satellitesTableInRun;
};

extern RunState runState;

// Program-start state: everything empty, the first filter extension ".txt",
// twelve satellite slots per row.
void ResetRunState();

// Close every stream the program holds open and mark all four none.
void CloseAllStreams();

// Close the output stream, noting in outputWriteFailed whether any of it was
// lost. Returns 0, or -1 when the close or an earlier write failed.
int CloseOutputStream();

}  // namespace quorval
