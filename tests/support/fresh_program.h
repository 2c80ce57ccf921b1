// Every test begins as a freshly started program: the epoch record, the run
// state, the windowing layer and the progress dialog's own fields as they
// are at start, with the test's backend in force; and ends with nothing left
// open for the next one.
#pragma once

#include "state/epoch_record.h"
#include "layer/windowing.h"
#include "resources/resources.h"
#include "shell/progress_dialog.h"
#include "state/run_state.h"

namespace quorval {

inline void StartFreshProgram(WindowingBackend* backend) {
  ResetEpochRecord();
  ResetRunState();
  ResetWindowing();
  RegisterResourceModule(kProgramInstance, &kProgramResources);
  ResetProgressDialog();
  InstallBackend(backend);
}

inline void EndProgram() {
  CloseAllStreams();
  InstallBackend(nullptr);
  ResetWindowing();
  ResetRunState();
}

}  // namespace quorval
