#include "shell/log_run.h"

#include <cstdio>

#include "convert/conversion_loop.h"
#include "files/output_files.h"
#include "shell/progress_dialog.h"
#include "state/run_state.h"

namespace quorval {

namespace {

LogRunReporter reporter = nullptr;

}  // namespace

bool FinishOutputFile(const char* outputPath) { return FinishOutput(outputPath) == 0; }

void SetLogRunReporter(LogRunReporter told) { reporter = told; }

LogRunEnd RunLog(const char* outputPath, DialogAfterRun dialog, OutputFinisher finishOutput) {
  RunState& s = runState;
  ShowProgressDialog();
  ConvertLog(s.inputFile, s.outputFile);
  LogRunEnd end{s.cancelRequested != 0, std::ferror(s.inputFile) != 0, false};
  if (dialog == DialogAfterRun::kDestroyed) {
    DestroyWindow(s.progressDialog);
    s.progressDialog = kNoWindow;
  }
  // A cancel ends only this log: the next one, or the next run, starts clear.
  s.cancelRequested = 0;
  end.outputLost = !finishOutput(outputPath);
  std::snprintf(s.lastTablePath, sizeof s.lastTablePath, "%s", outputPath);
  if (reporter != nullptr) reporter(end);
  return end;
}

}  // namespace quorval
