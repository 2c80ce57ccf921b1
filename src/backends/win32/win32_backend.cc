// The layer half of the Win32 backend (no windows.h here): each operation
// handed to the call it stands for in the platform half.
#include "backends/win32/win32_backend.h"

#include <cstdio>

#include "backends/win32/win32_calls.h"
#include "resources/resources.h"

namespace quorval {

namespace {

// The conversion asks for pending events after every line; the queue is
// looked at only this often, which keeps repaints and a Cancel click prompt
// while costing the conversion one tick reading per line (an empty
// PeekMessageA costs tens of microseconds under some window systems).
constexpr uint32_t kServiceIntervalMs = 10;

void ToInts(const Rect& rect, int out[4]) {
  out[0] = rect.left, out[1] = rect.top, out[2] = rect.right, out[3] = rect.bottom;
}

Rect FromInts(const int in[4]) { return Rect{in[0], in[1], in[2], in[3]}; }

}  // namespace

namespace win32 {

void ReportPosted(intptr_t layerWindow, unsigned message, uintptr_t wParam, intptr_t lParam) {
  if (layerWindow != 0) quorval::PostMessage(layerWindow, message, wParam, lParam);
}

void ReportPaint(intptr_t layerWindow) {
  if (layerWindow != 0) quorval::SendMessage(layerWindow, WM_PAINT, 0, 0);
}

void ReportQuit(int exitCode) { quorval::PostQuitMessage(exitCode); }

}  // namespace win32

InstanceHandle Win32ProgramInstance() { return win32::ProgramInstance(); }

Win32Backend::Win32Backend() {
  // The bar's surface is the platform's progress control, whose class must
  // be there before the dialog is made.
  win32::InitializeCommonControls();
  lastServiced_ = win32::TickCount() - kServiceIntervalMs;
}

Win32Backend::~Win32Backend() {
  win32::CloseTableWindows();
  for (Presented& entry : presented_) {
    if (entry.window != nullptr && win32::IsLiveWindow(entry.window)) win32::DestroyWin(entry.window);
  }
  if (className_[0] != '\0') win32::UnregisterWindowClass(instance_, className_);
}

void Win32Backend::Keep(WindowHandle layer, void* window) {
  for (Presented& entry : presented_) {
    if (entry.window == nullptr) {
      entry = Presented{layer, window};
      return;
    }
  }
}

void Win32Backend::ForgetGone() {
  for (Presented& entry : presented_) {
    if (entry.window != nullptr && !win32::IsLiveWindow(entry.window)) entry = Presented{};
  }
}

void* Win32Backend::Window(WindowHandle window) const {
  if (window == kNoWindow) return nullptr;
  for (const Presented& entry : presented_) {
    if (entry.window != nullptr && entry.layer == window) return entry.window;
  }
  return nullptr;
}

int Win32Backend::MessageBox(WindowHandle owner, const char* text, const char* caption,
                             unsigned style) {
  TakeMessageReason();  // a box shows its text as it stands
  return win32::ShowMessageBox(Window(owner), text, caption, style);
}

bool Win32Backend::GetOpenFileName(OpenFileNameRequest& request) {
  return win32::ShowOpenFileDialog(Window(request.hwndOwner), request.lpstrFilter,
                                   request.lpstrFile, request.nMaxFile, request.lpstrTitle,
                                   request.Flags);
}

bool Win32Backend::RegisterClass(const WindowClass& windowClass) {
  instance_ = windowClass.instance;
  if (!win32::RegisterWindowClass(windowClass.instance, windowClass.style, windowClass.icon,
                                  windowClass.cursor, windowClass.background, windowClass.menuName,
                                  windowClass.className)) {
    return false;
  }
  std::snprintf(className_, sizeof className_, "%s", windowClass.className);
  return true;
}

bool Win32Backend::CreateWindow(WindowHandle window, const WindowClass& windowClass,
                                const char* title, unsigned style, int x, int y, int width,
                                int height, const MenuResource*) {
  // The class menu comes from the module's resources, as the class names it.
  void* created = win32::CreateMainWindow(window, windowClass.instance, windowClass.className,
                                          title, style, x, y, width, height);
  if (created == nullptr) return false;
  Keep(window, created);
  return true;
}

bool Win32Backend::CreateDialog(WindowHandle dialog, WindowHandle owner,
                                const DialogTemplate& dialogTemplate,
                                const WindowHandle* controls) {
  void* created = win32::CreateTemplateDialog(dialog, instance_, dialogTemplate.name, Window(owner));
  if (created == nullptr) return false;
  // The module's template and the layer's must agree control for control.
  void* children[64];
  bool matches = dialogTemplate.controlCount <= 64;
  for (int i = 0; matches && i < dialogTemplate.controlCount; ++i) {
    children[i] = win32::DialogChild(created, i);
    matches = children[i] != nullptr &&
              win32::ControlId(children[i]) == dialogTemplate.controls[i].id;
  }
  if (!matches) {
    win32::DestroyWin(created);
    return false;
  }
  Keep(dialog, created);
  for (int i = 0; i < dialogTemplate.controlCount; ++i) {
    win32::TagControl(children[i], controls[i]);
    Keep(controls[i], children[i]);
  }
  return true;
}

void Win32Backend::ShowWindow(WindowHandle window, int showCommand) {
  if (void* w = Window(window)) win32::ShowWin(w, showCommand);
}

void Win32Backend::UpdateWindow(WindowHandle window) {
  if (void* w = Window(window)) win32::UpdateWin(w);
}

void Win32Backend::DestroyWindow(WindowHandle window) {
  if (void* w = Window(window)) win32::DestroyWin(w);
  ForgetGone();  // a dialog's controls go with it
}

void Win32Backend::SetWindowText(WindowHandle window, const char* text) {
  if (void* w = Window(window)) win32::SetText(w, text);
}

void Win32Backend::SetDlgItemText(WindowHandle dialog, int id, WindowHandle control,
                                  const char* text) {
  void* w = Window(dialog);
  if (w == nullptr) return;
  // A control without an identifier of its own is reached directly.
  if (id == -1) {
    SetWindowText(control, text);
  } else {
    win32::SetItemText(w, id, text);
  }
}

void Win32Backend::SetDlgItemInt(WindowHandle dialog, int id, WindowHandle control,
                                 unsigned value, bool isSigned) {
  void* w = Window(dialog);
  if (w == nullptr) return;
  if (id == -1) {
    WindowingBackend::SetDlgItemInt(dialog, id, control, value, isSigned);
  } else {
    win32::SetItemNumber(w, id, value, isSigned);
  }
}

Rect Win32Backend::GetWindowRect(WindowHandle window) {
  int rect[4] = {};
  if (void* w = Window(window)) win32::WindowRect(w, rect);
  return FromInts(rect);
}

Rect Win32Backend::GetClientRect(WindowHandle window) {
  int rect[4] = {};
  if (void* w = Window(window)) win32::ClientRect(w, rect);
  return FromInts(rect);
}

Point Win32Backend::ClientToScreen(WindowHandle window, Point point) {
  if (void* w = Window(window)) win32::ToScreen(w, point.x, point.y);
  return point;
}

void Win32Backend::MoveWindow(WindowHandle window, int x, int y, int width, int height,
                              bool repaint) {
  if (void* w = Window(window)) win32::MoveWin(w, x, y, width, height, repaint);
}

void Win32Backend::InvalidateRect(WindowHandle window, const Rect* rect, bool erase) {
  void* w = Window(window);
  if (w == nullptr) return;
  int r[4];
  if (rect != nullptr) ToInts(*rect, r);
  win32::Invalidate(w, rect != nullptr ? r : nullptr, erase);
}

void Win32Backend::FillBarRect(WindowHandle window, const Rect& rect, uint32_t colour) {
  void* w = Window(window);
  if (w == nullptr) return;
  int r[4];
  ToInts(rect, r);
  win32::FillRectangle(w, r, colour);
}

void Win32Backend::BeginPaint(WindowHandle window) {
  if (void* w = Window(window)) win32::BeginPainting(w);
}

void Win32Backend::SetTextColor(DeviceContext context, uint32_t colour) {
  if (void* w = Window(context)) win32::SetTextColour(w, colour);
}

void Win32Backend::DrawText(DeviceContext context, const char* text, int length, const Rect& rect,
                            unsigned format) {
  void* w = Window(context);
  if (w == nullptr || text == nullptr) return;
  int r[4];
  ToInts(rect, r);
  win32::DrawTextIn(w, text, length, r, format);
}

void Win32Backend::EndPaint(WindowHandle window) {
  if (void* w = Window(window)) win32::EndPainting(w);
}

void Win32Backend::EnableMenuItem(WindowHandle window, unsigned id, bool enabled) {
  if (void* w = Window(window)) win32::EnableMenuCommand(w, id, enabled);
}

void Win32Backend::CheckMenuItem(WindowHandle window, unsigned id, bool checked) {
  if (void* w = Window(window)) win32::CheckMenuCommand(w, id, checked);
}

void Win32Backend::ShowTableWindow(WindowHandle, const char* tablePath) {
  win32::ShowTable(tablePath);
}

void Win32Backend::PollEvents() {
  const uint32_t now = win32::TickCount();
  if (now - lastServiced_ < kServiceIntervalMs) return;  // unsigned: the tick count wraps
  lastServiced_ = now;
  win32::DispatchPendingMessages();
}

void Win32Backend::WaitForEvents() {
  win32::WaitAndDispatchMessages();
  lastServiced_ = win32::TickCount();
}

}  // namespace quorval
