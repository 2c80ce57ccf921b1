// The progress dialog of a conversion: the output's folder and name, the
// kilobytes read of the total, a filling bar, and Cancel.
#pragma once

#include <cstdint>

#include "layer/windowing.h"
#include "resources/resources.h"

namespace quorval {

constexpr int64_t kBytesPerKilobyte = 1000;
constexpr int32_t kPermilleScale = 1000;
constexpr uint32_t kBarFillColour = RGB(150, 0, 150);  // 9830550

// Creates the dialog over the main window, keeps it in progressDialog and shows it.
void ShowProgressDialog();

// WM_INITDIALOG fills the fields from outputBase and inputSize; WM_PAINT
// carries the input position in lParam (0 for a repaint the window system
// asks for); WM_COMMAND 2 is Cancel.
intptr_t ProgressDialogProc(WindowHandle dialog, unsigned message, uintptr_t wParam,
                            intptr_t lParam);

// Places the dialog's centre on the main window's vertical centre line, a
// quarter of the way down its client area, its top at least half its own
// height below the top of the screen.
void CenterDialog(WindowHandle dialog);

// The dialog's own fields as at program start, for tests.
void ResetProgressDialog();

// Thousandths of the input read, truncated; 0 while the size is unknown
// (0), at most the whole bar for a log that grew after it was measured.
int32_t ProgressPermille(int64_t position, int64_t inputSize);

// The filled part of a bar whose client area ends at right.
int BarWidth(int right, int32_t permille);

}  // namespace quorval
