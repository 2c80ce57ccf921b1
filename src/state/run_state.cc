#include "state/run_state.h"

#include <cstring>
#include <initializer_list>

#include "state/end_requests.h"

namespace quorval {

RunState runState = [] {
  RunState initial{};
  std::strcpy(initial.inputExtension, ".txt");
  initial.satelliteSlots = kDefaultSatelliteSlots;
  return initial;
}();

void ResetRunState() {
  runState = RunState{};
  std::strcpy(runState.inputExtension, ".txt");
  runState.satelliteSlots = kDefaultSatelliteSlots;
}

int CloseOutputStream() {
  if (runState.outputFile == nullptr) return 0;
  // A failed write sets the error indicator; the close flushes the rest and
  // reports a failure of that final write. Standard output stays open for
  // whatever the program writes next, so it is only flushed.
  const bool lostEarlier = std::ferror(runState.outputFile) != 0;
  const bool lostAtClose = runState.outputFile == stdout ? std::fflush(stdout) != 0
                                                         : std::fclose(runState.outputFile) != 0;
  runState.outputFile = nullptr;
  tableBeingWritten = 0;
  if (lostEarlier || lostAtClose) {
    runState.outputWriteFailed = 1;
    return -1;
  }
  return 0;
}

void CloseAllStreams() {
  for (FILE** stream : {&runState.inputFile, &runState.listFile, &runState.diagFile}) {
    // Standard input (a log read from a pipe) is the process's, not the run's.
    if (*stream != nullptr && *stream != stdin) std::fclose(*stream);
    *stream = nullptr;
  }
  CloseOutputStream();
}

}  // namespace quorval
