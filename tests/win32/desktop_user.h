// A person at the Windows desktop program, on a thread of their own: they
// wait for a window by its caption, read what it shows, choose menu
// commands, type a name into the file dialog and press buttons, all through
// the platform's own messages to the real windows. Plain types only: the
// user's half includes windows.h, the tests' half the layer's header.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace desktop_user {

using Window = void*;  // an HWND

class User {
 public:
  // Runs the script on a thread of its own until it returns.
  void Start(std::function<void(User&)> script);
  // Waits for the script to end. When a step could not be carried out, the
  // user takes every way out (Cancel in each box and dialog, then the close
  // box) so that the program ends anyway.
  void Join();

  // A top-level window of this program with this caption, nullptr when none
  // appeared within the time.
  Window WaitFor(const char* caption, int milliseconds = 20000);
  Window WaitForBox(const char* caption, int milliseconds = 20000);  // a dialog box only
  bool Gone(Window window, int milliseconds = 20000);
  void Pause(int milliseconds);

  // The menu: its titles and, per title, the entries' texts and identifiers.
  std::vector<std::string> MenuTitles(Window main);
  std::vector<std::string> MenuEntries(Window main, int popup);  // "text=id"
  void ChooseMenu(Window main, unsigned id);  // WM_COMMAND as the menu sends it
  bool MenuChecked(Window main, unsigned id);  // the entry shows its check mark
  void CloseBox(Window window);               // WM_CLOSE, as the close box sends it

  std::string ClassName(Window window);
  std::string Text(Window window);                  // the caption
  std::string BoxText(Window box);                  // a message box's message
  std::string ItemText(Window dialog, int id);
  // Presses the dialog's button: the BN_CLICKED notification it sends.
  void Press(Window dialog, int buttonId);

  // The file dialog: the name it proposes, its filter descriptions, and a
  // name typed and confirmed with the Open button.
  std::string ProposedName(Window fileDialog);
  std::vector<std::string> Filters(Window fileDialog);
  void ChooseName(Window fileDialog, const std::string& path);

  // Controls of a dialog in creation order: class, id, text, style bits and
  // the rectangle in dialog units.
  struct Control {
    std::string className;
    int id;
    std::string text;
    unsigned style;
  };
  std::vector<Control> Controls(Window dialog);

  // The window's tab control: its tabs' texts, and one chosen as a click
  // chooses it (the selection, then its notification to the window).
  std::vector<std::string> Tabs(Window window);
  void ChooseTab(Window window, int index);
  // The window's client area as it draws itself into a given context
  // (WM_PRINTCLIENT): its pixels, row after row, as 0xRRGGBB.
  std::vector<unsigned> ClientPixels(Window window);

  // For pictures: drops the menu of the popup as the keyboard does (it
  // stays open until Escape), and writes the whole screen as a 24-bit BMP.
  void OpenMenu(Window main, int popup);
  void PressEscape(Window main);
  void Place(Window window, int x, int y, int width, int height);  // as a drag would
  bool CaptureScreen(const std::string& bmpPath);

  // What went wrong, for the test to report.
  void Fail(const std::string& what);
  std::vector<std::string> failures;

 private:
  void TakeEveryWayOut();
  Window WaitFor(const char* caption, int milliseconds, bool box);
  void* thread_ = nullptr;
  std::function<void(User&)> script_;
  friend unsigned long __stdcall RunScript(void* user);
};

}  // namespace desktop_user
