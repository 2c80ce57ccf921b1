// A windowing backend for tests, without a display: it answers every file
// dialog and message box from a script, acts as the user would at given
// moments (a menu choice or a close request while the program is idle, a
// Cancel click after line k of a conversion), and records every call it
// receives with its texts, captions, styles, titles, filters and flags, in
// order.
#pragma once

#include <deque>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "platform/windowing.h"

struct ScriptedCall {
  std::string operation;  // the layer operation, or "User" for an action taken
  WindowHandle window = kNoWindow;  // owner, target window or control
  std::string text;       // box text, proposed file name, window title, control text
  std::string caption;    // box caption, dialog title, class or template name
  uint32_t flags = 0;     // box style, dialog flags, window style, show command, colour
  int id = 0;             // control or menu identifier; the request's size for a file dialog
  uint32_t size = 0;      // the path buffer's size for a file dialog
  std::vector<std::string> filter;  // description, pattern, description, pattern, ...
  Rect rect{};            // rectangle drawn or placement (x, y, width, height)
  intptr_t lParam = 0;    // a message's lParam (the position of a progress notification)
  intptr_t answer = 0;    // what the call answered
  std::string Describe() const;
};

// Something the user does.
struct UserAction {
  enum Kind {
    kClickCancel,      // the progress dialog's Cancel button
    kCloseDialog,      // the progress dialog's close box
    kRepaintDialog,    // the window system asks the dialog to repaint
    kChooseMenuItem,   // a menu entry, if it is enabled
    kQueuedCommand,    // a command message that arrives whatever the menu shows
    kCloseMainWindow,  // the main window's close box
  };
  Kind kind;
  unsigned id = 0;
};

UserAction ClickCancel();
UserAction CloseDialog();
UserAction RepaintDialog();
UserAction ChooseMenuItem(unsigned id);
UserAction QueuedCommand(unsigned id);
UserAction CloseMainWindow();

// The exit code of a message loop that ran out of script while idle.
constexpr int kScriptEnded = 99;

class ScriptedBackend final : public WindowingBackend {
 public:
  // The script, consumed in order.
  ScriptedBackend& ChooseInFileDialog(const std::string& path);
  ScriptedBackend& CancelFileDialog();
  // Answers for boxes with more than an OK button (an OK box answers IDOK
  // without a script).
  ScriptedBackend& AnswerBox(int answer);
  // When the message loop has nothing to do.
  ScriptedBackend& WhenIdle(UserAction action);
  // After line `line` of the conversion-th conversion (both from 1; a
  // conversion starts with its progress dialog).
  ScriptedBackend& AfterLine(int conversion, int line, UserAction action);

  // Called with each box and file dialog before it is answered, to change
  // the world meanwhile (the user closes the program that locks a file).
  std::function<void(const ScriptedCall&)> beforeAnswer;

  // The screen as the script lays it out.
  Point mainClientOrigin{100, 80};  // screen position of the main window's client area
  Rect mainClient{0, 0, 640, 480};
  int dialogWidth = 540;
  int dialogHeight = 170;
  Rect barClient{0, 0, 300, 20};
  bool refuseClassRegistration = false;
  bool refuseWindowCreation = false;
  bool refuseDialogCreation = false;
  // The window system asks a dialog to paint when it is shown, as it does
  // for every new window.
  bool repaintShownDialogs = true;

  // What happened.
  const std::vector<ScriptedCall>& Calls() const { return calls_; }
  std::vector<ScriptedCall> Calls(const std::string& operation) const;
  // Every box as "caption: text", in order.
  std::vector<std::string> Boxes() const;
  // What the control of the current (or last) progress dialog shows.
  std::string ControlText(int id) const;
  // Script entries never used, and calls the script had no answer for.
  std::vector<std::string> Problems() const;
  int Conversions() const { return conversion_; }
  WindowHandle MainWindow() const { return mainWindow_; }

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
  intptr_t SendMessage(WindowHandle window, unsigned message, uintptr_t wParam,
                       intptr_t lParam) override;
  void PollEvents() override;
  void WaitForEvents() override;

 private:
  struct FileAnswer {
    bool chosen;
    std::string path;
  };
  struct TimedAction {
    int conversion;
    int line;
    UserAction action;
  };

  ScriptedCall& Record(const std::string& operation, WindowHandle window);
  void Perform(const UserAction& action);
  int ControlId(WindowHandle control) const;

  std::deque<FileAnswer> fileAnswers_;
  std::deque<int> boxAnswers_;
  std::deque<UserAction> idleActions_;
  std::vector<TimedAction> timedActions_;
  std::vector<std::string> problems_;
  std::vector<ScriptedCall> calls_;

  WindowHandle mainWindow_ = kNoWindow;
  WindowHandle dialog_ = kNoWindow;
  Rect dialogRect_{};
  std::map<WindowHandle, int> controlIds_;
  std::map<int, std::string> controlTexts_;
  int conversion_ = 0;
  int line_ = 0;
};
