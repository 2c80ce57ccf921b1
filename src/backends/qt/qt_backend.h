// The windowing layer on Qt 6 Widgets: the desktop program. The layer keeps
// the message model; this backend draws what the layer creates (the main
// window with its menu, the dialog built from a template, message boxes, the
// file dialog) and turns what the user does into posted messages: a menu
// choice becomes WM_COMMAND with the item's identifier, a close box WM_CLOSE,
// a dialog button WM_COMMAND with the button's identifier.
#pragma once

#include <QPointer>
#include <QString>
#include <QWidget>
#include <cstdint>
#include <map>

#include "backends/qt/qt_windows.h"
#include "layer/windowing.h"

class QPainter;

namespace quorval::view {
class PlotWindow;
}

namespace quorval {

class QtBackend final : public WindowingBackend {
 public:
  QtBackend() = default;
  ~QtBackend() override;

  int MessageBox(WindowHandle owner, const char* text, const char* caption,
                 unsigned style) override;
  bool GetOpenFileName(OpenFileNameRequest& request) override;
  bool CreateWindow(WindowHandle window, const WindowClass& windowClass, const char* title,
                    unsigned style, int x, int y, int width, int height,
                    const MenuResource* menu) override;
  bool CreateDialog(WindowHandle dialog, WindowHandle owner, const DialogTemplate& dialogTemplate,
                    const WindowHandle* controls) override;
  void ShowWindow(WindowHandle window, int showCommand) override;
  void UpdateWindow(WindowHandle window) override;
  void DestroyWindow(WindowHandle window) override;
  void SetWindowText(WindowHandle window, const char* text) override;
  Rect GetWindowRect(WindowHandle window) override;
  Rect GetClientRect(WindowHandle window) override;
  Point ClientToScreen(WindowHandle window, Point point) override;
  void MoveWindow(WindowHandle window, int x, int y, int width, int height, bool repaint) override;
  void InvalidateRect(WindowHandle window, const Rect* rect, bool erase) override;
  void FillBarRect(WindowHandle window, const Rect& rect, uint32_t colour) override;
  void SetTextColor(DeviceContext context, uint32_t colour) override;
  void DrawText(DeviceContext context, const char* text, int length, const Rect& rect,
                unsigned format) override;
  void EnableMenuItem(WindowHandle window, unsigned id, bool enabled) override;
  void ShowTableWindow(WindowHandle owner, const char* tablePath) override;
  void CheckMenuItem(WindowHandle window, unsigned id, bool checked) override;
  void PollEvents() override;
  void WaitForEvents() override;
  bool ServicesOncePerBlock() const override { return true; }

  // The widget that presents a window of the layer (a control, a dialog or
  // the main window), nullptr when there is none.
  QWidget* Widget(WindowHandle window) const;

  // The client area of a window paints: its procedure receives WM_PAINT
  // and draws with the painter until the message has been handled.
  void PaintClient(WindowHandle window, QPainter& painter);

 private:
  void KeepWidget(WindowHandle window, QWidget* widget);
  BoxPlace PlaceForBox() const;
  QWidget* Client(WindowHandle window) const;  // where a window's client area is drawn

  std::map<WindowHandle, QPointer<QWidget>> widgets_;
  // One window per table, closed by the user (it then deletes itself).
  std::map<QString, QPointer<view::PlotWindow>> tableWindows_;
  WindowHandle paintingWindow_ = kNoWindow;
  QPainter* painter_ = nullptr;
  int64_t lastServiced_ = INT64_MIN / 2;  // monotonic nanoseconds
};

// Whether a display (X11, Wayland, or a Qt platform named in
// QT_QPA_PLATFORM) is there to open windows on.
bool DisplayAvailable();

}  // namespace quorval
