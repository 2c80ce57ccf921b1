// The Single PostProc command: one log chosen, converted with the progress
// dialog shown, and the question whether to convert another.
#pragma once

#include "layer/windowing.h"

namespace quorval {

// The command's handler; wParam and lParam are those of the command message.
void RunSingleFile(WindowHandle window, uintptr_t wParam, intptr_t lParam);

// The end of a run whose log was converted (RunLog): closes its files, asks
// "Do another file?" (under "Processing Aborted" when the run was aborted:
// cancelled, the log not read to its end or the table not written
// completely) with the progress dialog still on screen, then destroys the
// dialog. Yes queues the same command message again.
void FinishSingleRun(WindowHandle window, unsigned message, uintptr_t wParam, intptr_t lParam,
                     bool aborted);

}  // namespace quorval
