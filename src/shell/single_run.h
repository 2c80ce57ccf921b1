// The Single PostProc command: one log chosen, converted with the progress
// dialog shown, and the question whether to convert another.
#pragma once

#include "platform/windowing.h"

// The command's handler; wParam and lParam are those of the command message.
void RunSingleFile(WindowHandle window, uintptr_t wParam, intptr_t lParam);

// The end of a run that reached the conversion: closes its files, clears
// the cancel request and asks "Do another file?" (under "Processing Aborted"
// when the run was aborted). Yes queues the same command message again.
void FinishSingleRun(WindowHandle window, unsigned message, uintptr_t wParam, intptr_t lParam,
                     bool aborted);
