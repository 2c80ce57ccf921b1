// The program's entry and its one main window with the menu.
#pragma once

#include "layer/windowing.h"

namespace quorval {

inline constexpr const char kMainWindowClass[] = "Quorval";
inline constexpr const char kDefaultInputName[] = "DEFAULT.TXT";
// The question a close request during a run asks, under the window's title.
inline constexpr const char kStopRunQuestion[] = "A conversion is running. Stop it and quit?";

// Exit code when the main window cannot be created.
constexpr int kExitNoMainWindow = 2;

// Registers the class, creates the main window and runs the message loop.
// Returns the exit code: 0 after a normal end (or a failed class
// registration), 2 when the main window cannot be created. The command line
// is not used.
int ProgramEntry(InstanceHandle instance, InstanceHandle previousInstance,
                 const char* commandLine, int showCommand);

// The class atom, 0 on failure.
int RegisterMainWindowClass(InstanceHandle instance);

intptr_t MainWindowProc(WindowHandle window, unsigned message, uintptr_t wParam,
                        intptr_t lParam);

// The first input chooser proposes "DEFAULT.TXT".
void SetDefaultInputName();
void ClearStatusText();

}  // namespace quorval
