#include "shell/run_guard.h"

#include "state/end_requests.h"
#include "layer/windowing.h"
#include "resources/resources.h"
#include "state/run_state.h"

namespace quorval {

namespace {

constexpr unsigned kGuardedCommands[] = {kSingleCommand, kBatchCommand, kExitCommand};

void EnableGuardedCommands(bool enabled) {
  // A batch on the command line has no main window and no menu.
  if (runState.mainWindow == kNoWindow) return;
  for (unsigned id : kGuardedCommands) {
    EnableMenuItem(runState.mainWindow, id, MF_BYCOMMAND | (enabled ? MF_ENABLED : MF_GRAYED));
  }
}

}  // namespace

bool BeginRun() {
  RunState& s = runState;
  if (s.runInProgress != 0) return false;
  s.runInProgress = 1;
  s.closeRequested = 0;
  // The Options items as they stand now hold for the whole run.
  s.allSystemsInRun = s.allSystemsChecked;
  s.fixesTableInRun = s.fixesTableChecked;
  s.satellitesTableInRun = s.satellitesTableChecked;
  EnableGuardedCommands(false);
  return true;
}

void EndRun() {
  RunState& s = runState;
  s.runInProgress = 0;
  EnableGuardedCommands(true);
  if (s.closeRequested != 0) {
    s.closeRequested = 0;
    PostQuitMessage(0);
  }
}

void RequestCloseAfterRun() {
  runState.cancelRequested = 1;
  runState.closeRequested = 1;
}

bool CloseRequested() { return runState.closeRequested != 0 || endRequestSignal != 0; }

}  // namespace quorval
