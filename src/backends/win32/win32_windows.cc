// The platform half of the Win32 backend: windows, painting, the message
// queue. Each function is the call it wraps; the real windows report what
// the user does to the layer, which keeps the message model.
#include <windows.h>

#include "backends/win32/win32_calls.h"

namespace quorval::win32 {
namespace {

// The layer window whose real window CreateWindowExA is making, until its
// first message tags it.
intptr_t creatingWindow = 0;

// The window being painted and its device context, from BeginPaint to EndPaint.
HWND paintingWindow = nullptr;
HDC paintContext = nullptr;
PAINTSTRUCT paint;

HWND W(Handle window) { return static_cast<HWND>(window); }

intptr_t LayerOf(HWND window) { return static_cast<intptr_t>(GetWindowLongPtrA(window, GWLP_USERDATA)); }

// The main window: a menu choice, the close box and painting go to the
// layer; everything else is the platform's default handling.
LRESULT CALLBACK MainWindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) SetWindowLongPtrA(window, GWLP_USERDATA, creatingWindow);
  const intptr_t layer = LayerOf(window);
  switch (message) {
    case WM_COMMAND:
      // A menu choice: notification code 0, no control.
      if (HIWORD(wParam) == 0 && lParam == 0) {
        ReportPosted(layer, WM_COMMAND, LOWORD(wParam), 0);
        return 0;
      }
      break;
    case WM_CLOSE:
      // The program decides what a close request does (not during a run).
      ReportPosted(layer, WM_CLOSE, 0, 0);
      return 0;
    case WM_PAINT:
      ReportPaint(layer);
      // A procedure that painted nothing leaves nothing invalid behind.
      ValidateRect(window, nullptr);
      return 0;
    default:
      break;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

intptr_t ProgramInstance() { return reinterpret_cast<intptr_t>(GetModuleHandleA(nullptr)); }

bool RegisterWindowClass(intptr_t instance, unsigned style, unsigned icon, unsigned cursor,
                         int background, const char* menuName, const char* className) {
  WNDCLASSA windowClass{};
  windowClass.style = style;
  windowClass.lpfnWndProc = MainWindowProcedure;
  windowClass.cbClsExtra = 0;
  windowClass.cbWndExtra = 0;
  windowClass.hInstance = reinterpret_cast<HINSTANCE>(instance);
  windowClass.hIcon = LoadIconA(nullptr, MAKEINTRESOURCEA(icon));
  windowClass.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(cursor));
  windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(background));
  windowClass.lpszMenuName = menuName;
  windowClass.lpszClassName = className;
  return RegisterClassA(&windowClass) != 0;
}

bool UnregisterWindowClass(intptr_t instance, const char* className) {
  return UnregisterClassA(className, reinterpret_cast<HINSTANCE>(instance)) != 0;
}

Handle CreateMainWindow(intptr_t layerWindow, intptr_t instance, const char* className,
                        const char* title, unsigned style, int x, int y, int width, int height) {
  creatingWindow = layerWindow;
  HWND window = CreateWindowExA(0, className, title, style, x, y, width, height, nullptr, nullptr,
                                reinterpret_cast<HINSTANCE>(instance), nullptr);
  creatingWindow = 0;
  return window;
}

bool DestroyWin(Handle window) { return DestroyWindow(W(window)) != 0; }
bool IsLiveWindow(Handle window) { return window != nullptr && IsWindow(W(window)) != 0; }
void ShowWin(Handle window, int showCommand) { ShowWindow(W(window), showCommand); }
void UpdateWin(Handle window) { UpdateWindow(W(window)); }
void SetText(Handle window, const char* text) { SetWindowTextA(W(window), text); }

void WindowRect(Handle window, int rect[4]) {
  RECT r{};
  GetWindowRect(W(window), &r);
  rect[0] = r.left, rect[1] = r.top, rect[2] = r.right, rect[3] = r.bottom;
}

void ClientRect(Handle window, int rect[4]) {
  RECT r{};
  GetClientRect(W(window), &r);
  rect[0] = r.left, rect[1] = r.top, rect[2] = r.right, rect[3] = r.bottom;
}

void ToScreen(Handle window, int& x, int& y) {
  POINT point{x, y};
  ClientToScreen(W(window), &point);
  x = point.x;
  y = point.y;
}

void MoveWin(Handle window, int x, int y, int width, int height, bool repaint) {
  MoveWindow(W(window), x, y, width, height, repaint ? TRUE : FALSE);
}

void Invalidate(Handle window, const int* rect, bool erase) {
  if (rect == nullptr) {
    InvalidateRect(W(window), nullptr, erase ? TRUE : FALSE);
    return;
  }
  const RECT r{rect[0], rect[1], rect[2], rect[3]};
  InvalidateRect(W(window), &r, erase ? TRUE : FALSE);
}

void FillRectangle(Handle window, const int rect[4], uint32_t colour) {
  HDC context = GetDC(W(window));
  if (context == nullptr) return;
  HBRUSH brush = CreateSolidBrush(colour);
  HGDIOBJ previous = SelectObject(context, brush);
  // The context's default pen: a one-pixel black outline.
  Rectangle(context, rect[0], rect[1], rect[2], rect[3]);
  SelectObject(context, previous);
  DeleteObject(brush);
  ReleaseDC(W(window), context);
}

void BeginPainting(Handle window) {
  if (paintingWindow != nullptr) return;
  paintContext = BeginPaint(W(window), &paint);
  paintingWindow = W(window);
}

void EndPainting(Handle window) {
  if (paintingWindow != W(window)) return;
  EndPaint(paintingWindow, &paint);
  paintingWindow = nullptr;
  paintContext = nullptr;
}

void SetTextColour(Handle window, uint32_t colour) {
  if (paintingWindow == W(window)) SetTextColor(paintContext, colour);
}

void DrawTextIn(Handle window, const char* text, int length, const int rect[4], unsigned format) {
  if (paintingWindow != W(window)) return;
  RECT r{rect[0], rect[1], rect[2], rect[3]};
  DrawTextA(paintContext, text, length, &r, format);
}

void EnableMenuCommand(Handle window, unsigned id, bool enabled) {
  EnableMenuItem(GetMenu(W(window)), id, MF_BYCOMMAND | (enabled ? MF_ENABLED : MF_GRAYED));
}

void CheckMenuCommand(Handle window, unsigned id, bool checked) {
  CheckMenuItem(GetMenu(W(window)), id, MF_BYCOMMAND | (checked ? MF_CHECKED : MF_UNCHECKED));
}

void DispatchPendingMessages() {
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) {
      ReportQuit(static_cast<int>(message.wParam));
      continue;
    }
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
}

void WaitAndDispatchMessages() {
  MSG message;
  const BOOL got = GetMessageA(&message, nullptr, 0, 0);
  if (got == 0 || got == -1) {
    ReportQuit(got == 0 ? static_cast<int>(message.wParam) : 0);
    return;
  }
  TranslateMessage(&message);
  DispatchMessageA(&message);
  DispatchPendingMessages();
}

uint32_t TickCount() { return GetTickCount(); }

}  // namespace quorval::win32
