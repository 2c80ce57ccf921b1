// The windowing backend of the tests, without a display: it answers every
// file dialog and message box from a script, acts as the user would at given
// moments (a menu choice or a close request while the program is idle, a
// Cancel click after line k of a conversion), and records what the program
// asked of it, each call as a record of its own kind whose fields say what
// they hold, all of them also in one transcript in the order they came.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "layer/windowing.h"

namespace quorval {

// A message box as shown and answered.
struct BoxShown {
  size_t at;  // its line in the transcript
  WindowHandle owner;
  std::string text;
  std::string caption;
  unsigned style;
  int reason;  // the errno value given for the box, 0 when none
  int answer;
};

// A file dialog as shown.
struct ChooserShown {
  WindowHandle owner;
  std::string title;
  std::string proposedName;
  std::vector<std::string> filter;  // description, pattern, description, pattern, ...
  uint32_t flags;
  uint32_t structSize;  // lStructSize
  uint32_t bufferSize;  // nMaxFile
  bool chosen;
};

struct ClassRegistered {
  std::string className;
  std::string menuName;
  unsigned style;
  unsigned icon;
  unsigned cursor;
  int background;  // a stock brush
};

struct WindowCreated {
  WindowHandle window;
  std::string className;
  std::string title;
  std::string menuName;  // of the menu the window shows, empty for none
  unsigned style;
  int x, y, width, height;
};

struct DialogCreated {
  size_t at;
  WindowHandle dialog;
  WindowHandle owner;
  std::string templateName;
  std::string caption;
  unsigned style;
};

struct WindowShown {
  WindowHandle window;
  int showCommand;
};

struct WindowMoved {
  WindowHandle window;
  int x, y, width, height;
  bool repaint;
};

// FillBarRect and InvalidateRect on a control of the dialog.
struct BarFilled {
  int controlId;
  Rect rect;
  uint32_t colour;
};
struct BarWiped {
  int controlId;
  bool erase;
};

// DrawText, with the colour set for the painting it belongs to.
struct TextDrawn {
  WindowHandle window;
  std::string text;
  Rect rect;
  unsigned format;
  uint32_t colour;
};

struct MenuItemState {
  unsigned id;
  bool enabled;
};

// A window opened on a table (ShowTableWindow).
struct TableWindowShown {
  WindowHandle owner;
  std::string tablePath;
};

// A message sent through the backend (the pump's progress notification).
struct MessageSent {
  WindowHandle window;
  unsigned message;
  uintptr_t wParam;
  intptr_t lParam;
  int64_t position;  // as the dialog reads it: lParam, or the record's past a 32-bit lParam
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
    kRequestCancel,    // what the dialog's Cancel does, for a conversion run without one
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
UserAction RequestCancel();

// An action as taken: whether it reached the program (a greyed entry cannot
// be chosen).
struct ActionTaken {
  UserAction::Kind kind;
  unsigned id;
  bool reached;
};

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
  // conversion starts with its progress dialog, and conversion 0 is the
  // time before the first dialog).
  ScriptedBackend& AfterLine(int conversion, int line, UserAction action);

  // Called with the caption of each box and the title of each file dialog
  // before it is answered, to change the world meanwhile (the user closes
  // the program that locks a file).
  std::function<void(const std::string& caption)> beforeAnswer;

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
  // A toolkit that the conversion asks for events once per block of the log
  // (the lines AfterLine counts are then the calls).
  bool servicesOncePerBlock = false;

  // What happened, by kind.
  std::vector<BoxShown> boxes;
  std::vector<ChooserShown> choosers;
  std::vector<ClassRegistered> classes;
  std::vector<WindowCreated> windows;
  std::vector<DialogCreated> dialogs;
  std::vector<WindowShown> shown;
  std::vector<WindowHandle> destroyed;
  std::vector<WindowMoved> moves;
  std::vector<BarFilled> barsFilled;
  std::vector<BarWiped> barsWiped;
  std::vector<TextDrawn> textsDrawn;
  std::vector<MenuItemState> menuStates;
  std::vector<MessageSent> sent;
  std::vector<TableWindowShown> tableWindows;
  std::vector<ActionTaken> actions;
  // Every call, one line each ("MessageBox Processing Complete: Do another
  // file?", "DestroyWindow 257"), in order.
  std::vector<std::string> transcript;

  // Every box as "caption: text", in order.
  std::vector<std::string> Boxes() const;
  // Lines of the transcript that start with the operation's name.
  int Count(const std::string& operation) const;
  // The first line at or after `from` for the operation (on the window, when
  // given); transcript.size() when there is none.
  size_t Find(const std::string& operation, WindowHandle window = kNoWindow, size_t from = 0) const;
  // What the control of the current (or last) progress dialog shows.
  std::string ControlText(int id) const;
  // Script entries never used, and calls the script had no answer for.
  std::vector<std::string> Problems() const;
  int Conversions() const { return conversion_; }
  // Times the program serviced its pending messages (the pump does it once a line).
  int Serviced() const { return serviced_; }

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
  void ShowTableWindow(WindowHandle owner, const char* tablePath) override;
  void CheckMenuItem(WindowHandle window, unsigned id, bool checked) override;
  intptr_t SendMessage(WindowHandle window, unsigned message, uintptr_t wParam,
                       intptr_t lParam) override;
  void PollEvents() override;
  void WaitForEvents() override;
  bool ServicesOncePerBlock() const override { return servicesOncePerBlock; }

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

  size_t Note(const std::string& line);
  void Perform(const UserAction& action);
  int ControlId(WindowHandle control) const;

  std::deque<FileAnswer> fileAnswers_;
  std::deque<int> boxAnswers_;
  std::deque<UserAction> idleActions_;
  std::vector<TimedAction> timedActions_;
  std::vector<std::string> problems_;

  WindowHandle mainWindow_ = kNoWindow;
  WindowHandle dialog_ = kNoWindow;
  Rect dialogRect_{};
  std::map<WindowHandle, int> controlIds_;
  std::map<int, std::string> controlTexts_;
  uint32_t textColour_ = 0;
  int conversion_ = 0;
  int line_ = 0;
  int serviced_ = 0;
};

}  // namespace quorval
