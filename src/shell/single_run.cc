#include "shell/single_run.h"

#include <cstdio>
#include <cstring>

#include "convert/conversion_loop.h"
#include "files/input_opening.h"
#include "files/output_files.h"
#include "shell/progress_dialog.h"
#include "shell/run_guard.h"
#include "state/run_state.h"

namespace {

// The steps between the choosers and the prompt: the conversion itself.
// Returns whether it was aborted: cancelled, or the log could not be read
// to its end.
bool ConvertChosenLog() {
  RunState& s = runState;
  ShowProgressDialog();
  ConvertLog(s.inputFile, s.outputFile);
  return s.cancelRequested != 0 || std::ferror(s.inputFile) != 0;
}

}  // namespace

void RunSingleFile(WindowHandle window, uintptr_t wParam, intptr_t lParam) {
  RunState& s = runState;
  if (!BeginRun()) return;
  if (OpenInputInteractive(window, s.inputPath) == 0) {
    std::strcpy(s.outputPath, s.inputPath);
    if (OpenCsvOutput(window, s.outputPath) != 0) {
      CloseAllStreams();  // the input opened above
    } else {
      const bool aborted = ConvertChosenLog();
      FinishSingleRun(window, WM_COMMAND, wParam, lParam, aborted);
    }
  }
  EndRun();
}

void FinishSingleRun(WindowHandle window, unsigned message, uintptr_t wParam, intptr_t lParam,
                     bool aborted) {
  RunState& s = runState;
  // An output that did not reach the file completely is named in a box.
  if (FinishOutput(s.outputPath) != 0) aborted = true;
  CloseAllStreams();
  s.cancelRequested = 0;
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
