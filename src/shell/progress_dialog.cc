#include "shell/progress_dialog.h"

#include <cstring>

#include "convert/progress_pump.h"
#include "files/path_names.h"
#include "state/run_state.h"

namespace quorval {

namespace {

// The dialog's own fields, kept for the life of the program.
struct ProgressDialogState {
  WindowHandle progressBar;
  char shownFileName[kPathSize];
  char shownFolder[kPathSize];
  int32_t progressPermille;
  // Outlives the dialogs: a new dialog's first repaint draws it back to 0.
  int32_t lastDrawnPermille;
};
ProgressDialogState dialogState{};

void InitializeProgressDialog(WindowHandle dialog) {
  const RunState& s = runState;
  CenterDialog(dialog);
  dialogState.progressBar = GetDlgItem(dialog, kProgressBarId);
  char work[kPathSize];
  std::strcpy(work, s.outputBase);
  char* name = const_cast<char*>(FileNamePart(work));
  std::strcpy(dialogState.shownFileName, name);
  SetDlgItemText(dialog, kFileNameFieldId, dialogState.shownFileName);
  *name = '\0';
  std::strcpy(dialogState.shownFolder, work);
  SetDlgItemText(dialog, kFolderFieldId, dialogState.shownFolder);
  SetDlgItemInt(dialog, kKilobytesReadFieldId, 0, false);
  SetDlgItemInt(dialog, kKilobytesTotalFieldId,
                static_cast<unsigned>(s.inputSize / kBytesPerKilobyte), false);
  dialogState.progressPermille = 0;
}

void DrawBar() {
  const WindowHandle bar = dialogState.progressBar;
  // Repainting the bar control removes the rectangle drawn before.
  InvalidateRect(bar, nullptr, true);
  UpdateWindow(bar);
  Rect client{};
  GetClientRect(bar, &client);
  const Rect filled{client.left, client.top, BarWidth(client.right, dialogState.progressPermille),
                    client.bottom};
  FillBarRect(bar, filled, kBarFillColour);
  dialogState.lastDrawnPermille = dialogState.progressPermille;
}

void ShowPosition(WindowHandle dialog, int64_t position) {
  SetDlgItemInt(dialog, kKilobytesReadFieldId, static_cast<unsigned>(position / kBytesPerKilobyte),
                false);
  dialogState.progressPermille = ProgressPermille(position, runState.inputSize);
  if (dialogState.progressPermille != dialogState.lastDrawnPermille) DrawBar();
  UpdateWindow(dialogState.progressBar);
}

}  // namespace

void ResetProgressDialog() { dialogState = ProgressDialogState{}; }

int32_t ProgressPermille(int64_t position, int64_t inputSize) {
  if (inputSize <= 0 || position <= 0) return 0;
  // The division first, then the scaling, as the display always computed it:
  // 617283 of 1234567 bytes is 499, not 500.
  const double permille = static_cast<double>(position) / static_cast<double>(inputSize) *
                          static_cast<double>(kPermilleScale);
  return permille >= kPermilleScale ? kPermilleScale : static_cast<int32_t>(permille);
}

int BarWidth(int right, int32_t permille) {
  const int64_t width = static_cast<int64_t>(right) * permille / kPermilleScale;
  return width > right ? right : static_cast<int>(width);
}

void CenterDialog(WindowHandle dialog) {
  Rect dialogRect{};
  GetWindowRect(dialog, &dialogRect);
  const int width = dialogRect.right - dialogRect.left;
  const int height = dialogRect.bottom - dialogRect.top;
  Rect client{};
  GetClientRect(runState.mainWindow, &client);
  Point anchor{client.right / 2, client.bottom / 4};
  ClientToScreen(runState.mainWindow, &anchor);
  const int x = anchor.x - width / 2;
  int y = anchor.y - height / 2;
  if (y < height / 2) y = height / 2;
  MoveWindow(dialog, x, y, width, height, false);
}

void ShowProgressDialog() {
  RunState& s = runState;
  s.progressDialog = CreateDialogParam(s.instance, kProgressTemplateName, s.mainWindow, ProgressDialogProc, 0);
  if (s.progressDialog != kNoWindow) ShowWindow(s.progressDialog, SW_SHOWNORMAL);
}

intptr_t ProgressDialogProc(WindowHandle dialog, unsigned message, uintptr_t wParam,
                            intptr_t lParam) {
  switch (message) {
    case WM_INITDIALOG:
      InitializeProgressDialog(dialog);
      return 0;
    case WM_PAINT:
      ShowPosition(dialog, lParam == kPositionInRecord ? runState.lastNotifiedPosition
                                                       : static_cast<int64_t>(lParam));
      return 0;
    case WM_COMMAND:
      if (wParam == static_cast<uintptr_t>(IDCANCEL)) {
        runState.cancelRequested = 1;
        return 1;
      }
      return 0;
    default:
      return 0;
  }
}

}  // namespace quorval
