#include "shell/main_window.h"

#include <cstdio>
#include <cstring>

#include "files/file_choosers.h"
#include "resources/resources.h"
#include "resources/version.h"
#include "shell/batch_run.h"
#include "shell/run_guard.h"
#include "state/run_state.h"
#include "shell/single_run.h"

namespace quorval {

namespace {

constexpr int kTitleSize = 128;
constexpr uint32_t kBlack = RGB(0, 0, 0);

void PaintStatusText(WindowHandle window) {
  const DeviceContext context = BeginPaint(window);
  SetTextColor(context, kBlack);
  Rect client{};
  GetClientRect(window, &client);
  DrawText(context, runState.statusText, static_cast<int>(std::strlen(runState.statusText)),
           client, DT_CENTER | DT_WORDBREAK);
  EndPaint(window);
}

// "Quorval-103": the window title, and the caption of the question that
// closing the window during a run asks.
void FormatTitle(char* title) { std::snprintf(title, kTitleSize, "Quorval-%s", kVersionLabel); }

void ShowAbout() {
  char text[kTitleSize];
  std::snprintf(text, sizeof text, "ZARN-%s", kVersionLabel);
  MessageBox(kNoWindow, text, "Bramlet", MB_TASKMODAL | MB_ICONINFORMATION | MB_OK);
}

// View > Show Last Table: the table this session wrote last or, before it
// wrote any, one the user chooses. It reads a finished table only, so it
// stays usable during a run, as About does: the conversion waits while the
// table is read.
void ShowLastTable(WindowHandle window) {
  if (runState.lastTablePath[0] != '\0') {
    ShowTableWindow(window, runState.lastTablePath);
    return;
  }
  char path[kPathSize] = {};
  char filter[96];
  std::snprintf(filter, sizeof filter, "Quorval Tables (*.csv;*.xlx)|*.csv;*.xlx|%s", kAllFilesFilter);
  if (ChooseFile(window, path, filter, kChooseTable) == IDYES) ShowTableWindow(window, path);
}

void ExitProgram(WindowHandle window) {
  CloseAllStreams();
  DestroyWindow(window);
  if (window == runState.mainWindow) PostQuitMessage(0);
}

// The close box, the system menu, Alt+F4 and a finished batch. During a run
// nothing ends unasked under the conversion: on Yes the run is cancelled
// and the program ends once the run has closed its files (a batch converts
// no further log); on No the conversion goes on. No is the default, so that
// a stray Enter loses nothing.
void AnswerCloseRequest(WindowHandle window) {
  if (window != runState.mainWindow) return;
  if (runState.runInProgress == 0) {
    PostQuitMessage(0);
    return;
  }
  if (CloseRequested()) return;  // asked and answered: the run is stopping
  char caption[kTitleSize];
  FormatTitle(caption);
  const int answer = MessageBox(kNoWindow, kStopRunQuestion, caption,
                                MB_TASKMODAL | MB_ICONQUESTION | MB_YESNO | MB_DEFBUTTON2);
  if (answer == IDYES) RequestCloseAfterRun();
}

// An Options item: its check mark is the choice; a run takes it when it
// begins, so a change during a run waits for the next.
void ToggleOption(WindowHandle window, unsigned id, int32_t& checked) {
  checked = checked != 0 ? 0 : 1;
  CheckMenuItem(window, id, MF_BYCOMMAND | (checked != 0 ? MF_CHECKED : MF_UNCHECKED));
}

intptr_t HandleCommand(WindowHandle window, uintptr_t wParam, intptr_t lParam) {
  const unsigned id = static_cast<unsigned>(wParam & 0xFFFF);
  // The run guard disables these during a run; one that arrives anyway
  // (queued before the run began) is ignored.
  const bool guarded = id == kExitCommand || id == kSingleCommand || id == kBatchCommand;
  if (guarded && runState.runInProgress != 0) return 0;
  switch (id) {
    case kExitCommand:
      ExitProgram(window);
      return 0;
    case kAboutCommand:
      ShowAbout();
      return 0;
    case kShowLastTableCommand:
      ShowLastTable(window);
      return 0;
    case kSingleCommand:
      RunSingleFile(window, wParam, lParam);
      return 0;
    case kBatchCommand:
      RunBatch(window, wParam, lParam);
      return 0;
    case kAllSystemsCommand:
      ToggleOption(window, id, runState.allSystemsChecked);
      return 0;
    case kFixesTableCommand:
      ToggleOption(window, id, runState.fixesTableChecked);
      return 0;
    case kSatellitesTableCommand:
      ToggleOption(window, id, runState.satellitesTableChecked);
      return 0;
    default:
      return DefWindowProc(window, WM_COMMAND, wParam, lParam);
  }
}

}  // namespace

int ProgramEntry(InstanceHandle instance, InstanceHandle previousInstance, const char*,
                 int showCommand) {
  RunState& s = runState;
  s.cancelRequested = 0;
  s.instance = instance;
  char title[kTitleSize];
  FormatTitle(title);
  if (previousInstance == 0 && RegisterMainWindowClass(instance) == 0) return 0;
  s.mainWindow = CreateWindow(kMainWindowClass, title, WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                              CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, kNoWindow, 0, instance,
                              nullptr);
  if (s.mainWindow == kNoWindow) {
    LoadString(instance, kWindowCreationFailedString, title, kTitleSize);
    MessageBox(kNoWindow, title, nullptr, MB_APPLMODAL | MB_ICONWARNING | MB_OK);
    return kExitNoMainWindow;
  }
  ShowWindow(s.mainWindow, showCommand);
  UpdateWindow(s.mainWindow);
  return RunMessageLoop();
}

int RegisterMainWindowClass(InstanceHandle instance) {
  WindowClass windowClass{};
  windowClass.style = CS_HREDRAW | CS_VREDRAW;
  windowClass.windowProc = MainWindowProc;
  windowClass.instance = instance;
  windowClass.icon = IDI_APPLICATION;
  windowClass.cursor = IDC_ARROW;
  windowClass.background = WHITE_BRUSH;
  windowClass.menuName = kMainMenuName;
  windowClass.className = kMainWindowClass;
  return RegisterClass(windowClass);
}

intptr_t MainWindowProc(WindowHandle window, unsigned message, uintptr_t wParam,
                        intptr_t lParam) {
  switch (message) {
    case WM_CREATE:
      SetDefaultInputName();
      ClearStatusText();
      return 0;
    case WM_MOVE:
    case WM_SIZE:
      return 0;
    case WM_PAINT:
      PaintStatusText(window);
      return 0;
    case WM_CLOSE:
      AnswerCloseRequest(window);
      return 0;
    case WM_COMMAND:
      return HandleCommand(window, wParam, lParam);
    default:
      return DefWindowProc(window, message, wParam, lParam);
  }
}

void SetDefaultInputName() { std::strcpy(runState.inputPath, kDefaultInputName); }

void ClearStatusText() { runState.statusText[0] = '\0'; }

}  // namespace quorval
