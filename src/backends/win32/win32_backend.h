// The windowing layer on Win32 itself: the desktop program on Windows. The
// layer keeps the message model; this backend makes each operation the
// call it is named after (RegisterClassA, CreateWindowExA with the class
// menu, CreateDialogParamA with the "PROGRESS" template, MessageBoxA,
// GetOpenFileNameA, GetDC and Rectangle for the bar, PeekMessageA between
// lines and GetMessageA for the loop, a window of its own for a table's
// pictures) and reports what the user does as
// the layer's messages: a menu choice WM_COMMAND with the item's
// identifier, a close box WM_CLOSE, the dialog's button WM_COMMAND with its
// identifier.
#pragma once

#include <cstdint>

#include "layer/windowing.h"

namespace quorval {

class Win32Backend final : public WindowingBackend {
 public:
  Win32Backend();
  ~Win32Backend() override;

  int MessageBox(WindowHandle owner, const char* text, const char* caption,
                 unsigned style) override;
  bool GetOpenFileName(OpenFileNameRequest& request) override;
  bool RegisterClass(const WindowClass& windowClass) override;
  bool CreateWindow(WindowHandle window, const WindowClass& windowClass, const char* title,
                    unsigned style, int x, int y, int width, int height,
                    const MenuResource* menu) override;
  bool CreateDialog(WindowHandle dialog, WindowHandle owner, const DialogTemplate& dialogTemplate,
                    const WindowHandle* controls) override;
  void ShowWindow(WindowHandle window, int showCommand) override;
  void UpdateWindow(WindowHandle window) override;
  void DestroyWindow(WindowHandle window) override;
  void SetWindowText(WindowHandle window, const char* text) override;
  void SetDlgItemText(WindowHandle dialog, int id, WindowHandle control, const char* text) override;
  void SetDlgItemInt(WindowHandle dialog, int id, WindowHandle control, unsigned value,
                     bool isSigned) override;
  Rect GetWindowRect(WindowHandle window) override;
  Rect GetClientRect(WindowHandle window) override;
  Point ClientToScreen(WindowHandle window, Point point) override;
  void MoveWindow(WindowHandle window, int x, int y, int width, int height, bool repaint) override;
  void InvalidateRect(WindowHandle window, const Rect* rect, bool erase) override;
  void FillBarRect(WindowHandle window, const Rect& rect, uint32_t colour) override;
  void BeginPaint(WindowHandle window) override;
  void SetTextColor(DeviceContext context, uint32_t colour) override;
  void DrawText(DeviceContext context, const char* text, int length, const Rect& rect,
                unsigned format) override;
  void EndPaint(WindowHandle window) override;
  void EnableMenuItem(WindowHandle window, unsigned id, bool enabled) override;
  void ShowTableWindow(WindowHandle owner, const char* tablePath) override;
  void CheckMenuItem(WindowHandle window, unsigned id, bool checked) override;
  void PollEvents() override;
  void WaitForEvents() override;

  // The platform's window that presents a window of the layer (an HWND),
  // nullptr when there is none.
  void* Window(WindowHandle window) const;

 private:
  struct Presented {
    WindowHandle layer;
    void* window;
  };
  static constexpr int kMaxPresented = 64;

  void Keep(WindowHandle layer, void* window);
  void ForgetGone();

  Presented presented_[kMaxPresented] = {};
  intptr_t instance_ = 0;  // the module of the registered class, which holds the resources
  char className_[64] = {};  // the class registered, which goes with the backend
  uint32_t lastServiced_ = 0;
};

// The program's module handle, as WinMain is given it.
InstanceHandle Win32ProgramInstance();

}  // namespace quorval
