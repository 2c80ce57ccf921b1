// Where the two halves of the Win32 backend meet. windows.h and the
// layer's header cannot share a translation unit (windows.h makes macros of
// CreateWindow, MessageBox, DrawText and RGB, and declares the platform's
// own WM_ values and PostQuitMessage), so the half that makes the real
// calls (win32_windows.cc, win32_dialogs.cc) and the half that speaks to
// the layer (win32_backend.cc) share only this header: plain types, names
// that are no platform macro, and the platform's own handles as void*.
#pragma once

#include <cstdint>

namespace quorval::win32 {

using Handle = void*;  // an HWND, HDC or HINSTANCE as the platform gives it

// --- Made by the platform half ---

// The module whose resources the program carries (the .exe itself).
intptr_t ProgramInstance();
// InitCommonControlsEx for the progress bar class "msctls_progress32".
void InitializeCommonControls();

// RegisterClassA with the program's window procedure standing in for the
// class's: icon and cursor are stock ids, background a stock brush.
bool RegisterWindowClass(intptr_t instance, unsigned style, unsigned icon, unsigned cursor,
                         int background, const char* menuName, const char* className);
bool UnregisterWindowClass(intptr_t instance, const char* className);
// CreateWindowExA; the window reports to the layer window it presents.
Handle CreateMainWindow(intptr_t layerWindow, intptr_t instance, const char* className,
                        const char* title, unsigned style, int x, int y, int width, int height);
// CreateDialogParamA with the template of the module's resources.
Handle CreateTemplateDialog(intptr_t layerDialog, intptr_t instance, const char* templateName,
                            Handle owner);
// The index-th child of a dialog in creation order, nullptr past the last.
Handle DialogChild(Handle dialog, int index);
int ControlId(Handle control);
// Marks a control with the layer handle its clicks are reported with.
void TagControl(Handle control, intptr_t layerControl);

bool DestroyWin(Handle window);
bool IsLiveWindow(Handle window);
void ShowWin(Handle window, int showCommand);
void UpdateWin(Handle window);
void SetText(Handle window, const char* text);
bool SetItemText(Handle dialog, int id, const char* text);               // SetDlgItemTextA
bool SetItemNumber(Handle dialog, int id, unsigned value, bool isSigned);  // SetDlgItemInt
void WindowRect(Handle window, int rect[4]);  // GetWindowRect: screen left, top, right, bottom
void ClientRect(Handle window, int rect[4]);  // GetClientRect
void ToScreen(Handle window, int& x, int& y);  // ClientToScreen
void MoveWin(Handle window, int x, int y, int width, int height, bool repaint);
void Invalidate(Handle window, const int* rect, bool erase);  // InvalidateRect, nullptr: all
// GetDC, CreateSolidBrush, SelectObject, Rectangle, SelectObject, DeleteObject, ReleaseDC.
void FillRectangle(Handle window, const int rect[4], uint32_t colour);
void BeginPainting(Handle window);  // BeginPaint, unless the window is being painted already
void EndPainting(Handle window);
void SetTextColour(Handle window, uint32_t colour);
void DrawTextIn(Handle window, const char* text, int length, const int rect[4], unsigned format);
void EnableMenuCommand(Handle window, unsigned id, bool enabled);
void CheckMenuCommand(Handle window, unsigned id, bool checked);  // CheckMenuItem

int ShowMessageBox(Handle owner, const char* text, const char* caption, unsigned style);
// The program's window on a table, its four views as tabs (one window per
// table, read afresh when shown again); CloseTableWindows closes them all.
void ShowTable(const char* tablePath);
void CloseTableWindows();
// GetOpenFileNameA with the structure's 4.0 size for this architecture (76
// bytes on 32-bit Windows); true with the chosen path in file.
bool ShowOpenFileDialog(Handle owner, const char* filter, char* file, uint32_t maxFile,
                        const char* title, uint32_t flags);

// PeekMessageA, TranslateMessage, DispatchMessageA while a message is pending.
void DispatchPendingMessages();
// GetMessageA (waits), then dispatches it and whatever else is pending.
void WaitAndDispatchMessages();
uint32_t TickCount();  // GetTickCount: milliseconds, wrapping

// --- Made by the layer half: what the real windows report ---

// The user did something that the layer hears as a posted message.
void ReportPosted(intptr_t layerWindow, unsigned message, uintptr_t wParam, intptr_t lParam);
// A window must be painted now: its procedure receives WM_PAINT.
void ReportPaint(intptr_t layerWindow);
// The platform's own quit message arrived (the session ends).
void ReportQuit(int exitCode);

}  // namespace quorval::win32
