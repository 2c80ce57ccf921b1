#include "shell/single_run.h"

#include <cstring>

#include "files/input_opening.h"
#include "files/output_files.h"
#include "shell/log_run.h"
#include "shell/run_guard.h"
#include "state/run_state.h"

namespace quorval {

void RunSingleFile(WindowHandle window, uintptr_t wParam, intptr_t lParam) {
  RunState& s = runState;
  if (!BeginRun()) return;
  if (OpenInputInteractive(window, s.inputPath) == 0) {
    std::strcpy(s.outputPath, s.inputPath);
    if (OpenCsvOutput(window, s.outputPath) != 0) {
      CloseAllStreams();  // the input opened above
    } else {
      const LogRunEnd end = RunLog(s.outputPath, DialogAfterRun::kKept);
      if (end.Failed()) ShowReadFailure(end, s.inputPath, s.outputPath);
      FinishSingleRun(window, WM_COMMAND, wParam, lParam,
                      end.cancelled || end.Failed() || end.OutputLost());
    }
  }
  EndRun();
}

void FinishSingleRun(WindowHandle window, unsigned message, uintptr_t wParam, intptr_t lParam,
                     bool aborted) {
  RunState& s = runState;
  CloseAllStreams();
  // A close request during the run ends the program without further questions.
  const int answer =
      CloseRequested() ? IDNO
                       : MessageBox(kNoWindow, "Do another file?",
                                    aborted ? "Processing Aborted" : "Processing Complete",
                                    MB_TASKMODAL | MB_ICONQUESTION | MB_YESNO);
  DestroyWindow(s.progressDialog);
  s.progressDialog = kNoWindow;
  if (answer == IDYES) PostMessage(window, message, wParam, lParam);
}

}  // namespace quorval
