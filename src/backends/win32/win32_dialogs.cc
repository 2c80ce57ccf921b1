// The platform half of the Win32 backend: the progress dialog from the
// module's "PROGRESS" template, message boxes and the file-open dialog.
#include <windows.h>
#include <commctrl.h>
#include <commdlg.h>

#include <cstddef>

#include "backends/win32/win32_calls.h"

namespace quorval::win32 {
namespace {

// The structure as version 4.0 of the platform had it, up to lpTemplateName
// (OPENFILENAME_SIZE_VERSION_400A): 76 bytes on 32-bit Windows.
constexpr DWORD kOpenFileName400Size = offsetof(OPENFILENAMEA, lpTemplateName) + sizeof(LPCSTR);
#ifndef _WIN64
static_assert(kOpenFileName400Size == 76, "the 4.0 structure of 32-bit Windows");
#endif

intptr_t creatingDialog = 0;

HWND W(Handle window) { return static_cast<HWND>(window); }

intptr_t LayerOf(HWND window) { return static_cast<intptr_t>(GetWindowLongPtrA(window, GWLP_USERDATA)); }

// The modeless dialog: its buttons, its close box and its repaints go to the
// layer. Unhandled messages keep the platform's default dialog handling.
INT_PTR CALLBACK TemplateDialogProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      SetWindowLongPtrA(dialog, GWLP_USERDATA, creatingDialog);
      return TRUE;
    case WM_COMMAND:
      if (HIWORD(wParam) == BN_CLICKED && lParam != 0) {
        const HWND button = reinterpret_cast<HWND>(lParam);
        ReportPosted(LayerOf(dialog), WM_COMMAND, LOWORD(wParam), LayerOf(button));
        return TRUE;
      }
      return FALSE;
    case WM_CLOSE:
      // The layer's default dialog handling turns it into Cancel.
      ReportPosted(LayerOf(dialog), WM_CLOSE, 0, 0);
      return TRUE;
    case WM_PAINT:
      // The dialog was uncovered: a notification of position 0, after the
      // platform has painted the dialog itself. A paint into a given
      // context (a themed control drawing its parent behind it) or with
      // nothing invalid uncovers nothing.
      if (wParam == 0 && GetUpdateRect(dialog, nullptr, FALSE)) {
        ReportPosted(LayerOf(dialog), WM_PAINT, 0, 0);
      }
      return FALSE;
    default:
      return FALSE;
  }
}

}  // namespace

void InitializeCommonControls() {
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_PROGRESS_CLASS};
  InitCommonControlsEx(&controls);
}

Handle CreateTemplateDialog(intptr_t layerDialog, intptr_t instance, const char* templateName,
                            Handle owner) {
  creatingDialog = layerDialog;
  HWND dialog = CreateDialogParamA(reinterpret_cast<HINSTANCE>(instance), templateName, W(owner),
                                   TemplateDialogProcedure, 0);
  creatingDialog = 0;
  return dialog;
}

Handle DialogChild(Handle dialog, int index) {
  HWND child = GetWindow(W(dialog), GW_CHILD);
  while (child != nullptr && index-- > 0) child = GetWindow(child, GW_HWNDNEXT);
  return child;
}

int ControlId(Handle control) { return static_cast<short>(GetDlgCtrlID(W(control))); }

void TagControl(Handle control, intptr_t layerControl) {
  SetWindowLongPtrA(W(control), GWLP_USERDATA, layerControl);
}

bool SetItemText(Handle dialog, int id, const char* text) {
  return SetDlgItemTextA(W(dialog), id, text) != 0;
}

bool SetItemNumber(Handle dialog, int id, unsigned value, bool isSigned) {
  return SetDlgItemInt(W(dialog), id, value, isSigned ? TRUE : FALSE) != 0;
}

int ShowMessageBox(Handle owner, const char* text, const char* caption, unsigned style) {
  return MessageBoxA(W(owner), text, caption, style);
}

bool ShowOpenFileDialog(Handle owner, const char* filter, char* file, uint32_t maxFile,
                        const char* title, uint32_t flags) {
  OPENFILENAMEA request;
  ZeroMemory(&request, sizeof request);
  request.lStructSize = kOpenFileName400Size;
  request.hwndOwner = W(owner);
  request.lpstrFilter = filter;
  request.lpstrFile = file;
  request.nMaxFile = maxFile;
  request.lpstrTitle = title;
  request.Flags = flags;
  return GetOpenFileNameA(&request) != 0;
}

}  // namespace quorval::win32
