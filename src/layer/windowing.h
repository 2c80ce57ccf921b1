// The narrow windowing layer that the shell is written against. Each
// operation stands for the Win32 call it is named after and keeps that
// call's message numbers, style bits and answer values, so a procedure of the
// shell reads step for step like the Win32 procedure it describes.
//
// The layer itself keeps the message model: registered classes, the windows
// and dialogs with their procedures, the posted-message queue, the message
// loop, the quit request and the platform's default handling. A backend
// (desktop, console, scripted for tests) only presents: it draws the windows
// the layer creates, shows boxes and file dialogs, and turns what the user
// does into messages:
//   - a menu choice: PostMessage(main window, WM_COMMAND, item identifier, 0)
//     (a greyed item cannot be chosen: see MenuItemEnabled; choosing an item
//     with a check mark changes nothing by itself, the program checks it:
//     see MenuItemChecked);
//   - the main window's close box: PostMessage(main window, WM_CLOSE, 0, 0);
//   - the dialog's Cancel button: PostMessage(dialog, WM_COMMAND, IDCANCEL,
//     button); its close box: PostMessage(dialog, WM_CLOSE, 0, 0), which the
//     default dialog handling turns into the same Cancel;
//   - the main window needs painting: SendMessage(main window, WM_PAINT, 0, 0),
//     whose handler draws through BeginPaint, DrawText and EndPaint;
//   - the progress dialog itself needs repainting (it was uncovered):
//     PostMessage(dialog, WM_PAINT, 0, 0), a notification of position 0.
// The bar control is only a surface: a toolkit that paints inside its own
// paint events keeps the bar's last rectangle, which InvalidateRect clears
// and FillBarRect sets (repainting at once).
#pragma once

#include <cstdint>

#include "layer/resource_module.h"
#include "layer/win32_values.h"

namespace quorval {

using WindowHandle = std::intptr_t;  // 0 = no window
constexpr WindowHandle kNoWindow = 0;
using InstanceHandle = std::intptr_t;
// Painting happens on one window at a time; its context is named by the window.
using DeviceContext = WindowHandle;

using WindowProc = intptr_t (*)(WindowHandle window, unsigned message, uintptr_t wParam,
                                intptr_t lParam);
// Returns nonzero for a message it handled, zero to leave the default
// dialog handling in force.
using DialogProc = intptr_t (*)(WindowHandle dialog, unsigned message, uintptr_t wParam,
                                intptr_t lParam);

struct Rect {
  int left, top, right, bottom;
};

struct Point {
  int x, y;
};

struct WindowClass {
  unsigned style;
  WindowProc windowProc;
  int classExtraBytes;
  int windowExtraBytes;
  InstanceHandle instance;
  unsigned icon;    // IDI_APPLICATION
  unsigned cursor;  // IDC_ARROW
  int background;   // a stock brush: WHITE_BRUSH
  const char* menuName;
  const char* className;
};

// The file-open dialog's request, with the members the program sets.
struct OpenFileNameRequest {
  uint32_t lStructSize;
  WindowHandle hwndOwner;
  // Zero-terminated texts, description and pattern in turn, closed by an
  // empty text.
  const char* lpstrFilter;
  char* lpstrFile;  // proposes a name on entry, receives the chosen full path
  uint32_t nMaxFile;
  const char* lpstrTitle;
  uint32_t Flags;
};

struct FilterEntry {
  const char* description;
  const char* pattern;  // empty when the list ends after the description
};

// What a backend does for each operation. Only backends are classes. The
// defaults are those of a display that shows nothing and where nobody is
// present to act; they are the backend in force until a program installs
// its own.
class WindowingBackend {
 public:
  virtual ~WindowingBackend() = default;

  // Nobody answers: a plain box is taken as read (IDOK), a Yes/No question
  // as No, every other choice as Cancel.
  virtual int MessageBox(WindowHandle owner, const char* text, const char* caption,
                         unsigned style);
  // Shows the dialog; true with the chosen path in lpstrFile, false for a
  // cancel or a failure.
  virtual bool GetOpenFileName(OpenFileNameRequest& request);

  // Presentation of what the layer created. Handles are the layer's; a
  // backend that cannot make a window answers false and the layer forgets it.
  virtual bool RegisterClass(const WindowClass& windowClass);
  // x, y, width and height may be CW_USEDEFAULT: the backend places it.
  virtual bool CreateWindow(WindowHandle window, const WindowClass& windowClass,
                            const char* title, unsigned style, int x, int y, int width,
                            int height, const MenuResource* menu);
  // controls[i] is the handle of the template's i-th control. The dialog
  // appears at ShowWindow.
  virtual bool CreateDialog(WindowHandle dialog, WindowHandle owner,
                            const DialogTemplate& dialogTemplate, const WindowHandle* controls);
  virtual void ShowWindow(WindowHandle window, int showCommand);
  virtual void UpdateWindow(WindowHandle window);
  virtual void DestroyWindow(WindowHandle window);
  virtual void SetWindowText(WindowHandle window, const char* text);
  // A dialog control's text (control is the layer's handle of item id); by
  // default that control's SetWindowText, the number in decimal.
  virtual void SetDlgItemText(WindowHandle dialog, int id, WindowHandle control, const char* text);
  virtual void SetDlgItemInt(WindowHandle dialog, int id, WindowHandle control, unsigned value,
                             bool isSigned);
  virtual Rect GetWindowRect(WindowHandle window);  // screen coordinates
  virtual Rect GetClientRect(WindowHandle window);  // origin 0, 0
  virtual Point ClientToScreen(WindowHandle window, Point point);
  virtual void MoveWindow(WindowHandle window, int x, int y, int width, int height, bool repaint);
  // Forget what was drawn in the window (all of it when rect is nullptr).
  virtual void InvalidateRect(WindowHandle window, const Rect* rect, bool erase);
  // A rectangle filled with the colour inside a one-pixel black outline; a
  // rectangle without width or height draws nothing.
  virtual void FillBarRect(WindowHandle window, const Rect& rect, uint32_t colour);
  virtual void BeginPaint(WindowHandle window);
  virtual void SetTextColor(DeviceContext context, uint32_t colour);
  virtual void DrawText(DeviceContext context, const char* text, int length, const Rect& rect,
                        unsigned format);
  virtual void EndPaint(WindowHandle window);
  virtual void EnableMenuItem(WindowHandle window, unsigned id, bool enabled);
  virtual void ShowTableWindow(WindowHandle owner, const char* tablePath);
  virtual void CheckMenuItem(WindowHandle window, unsigned id, bool checked);

  // Events: turn what the user did since the last call into posted (or
  // sent) messages; PollEvents returns at once, WaitForEvents waits until
  // something happened.
  virtual void PollEvents();
  virtual void WaitForEvents();
  // Whether a conversion may service messages once per block of its log
  // read instead of after every line, for a toolkit whose look for events
  // costs more than converting a line. What the user does meanwhile waits
  // at most for the rest of the block: a fraction of a millisecond of a
  // file, and an arriving log is read as it arrives. The layer's own queue
  // fills only while messages are serviced or sent, so nothing waits in it.
  virtual bool ServicesOncePerBlock() const;

  // The layer's own message delivery; a backend overrides these only to
  // observe them.
  virtual intptr_t SendMessage(WindowHandle window, unsigned message, uintptr_t wParam,
                               intptr_t lParam);
  virtual void ServicePendingMessages();
};

// The backend in force: one that shows nothing until a program installs its own.
WindowingBackend& CurrentBackend();
void InstallBackend(WindowingBackend* backend);  // nullptr: back to showing nothing

// Forget every class, window, queued message and registered module: a fresh
// program, for tests.
void ResetWindowing();

// Message boxes and the file dialog.
int MessageBox(WindowHandle owner, const char* text, const char* caption, unsigned style);
bool GetOpenFileName(OpenFileNameRequest& request);
// Reads a dialog filter list into entries; returns how many it holds.
int FilterEntries(const char* filter, FilterEntry* entries, int capacity);

// Classes and windows.
uint16_t RegisterClass(const WindowClass& windowClass);  // the class atom, 0 on failure
// Delivers WM_CREATE to the class's procedure before it returns; no window
// (kNoWindow) on failure.
WindowHandle CreateWindow(const char* className, const char* title, unsigned style, int x, int y,
                          int width, int height, WindowHandle parent, intptr_t menu,
                          InstanceHandle instance, void* createData);
bool ShowWindow(WindowHandle window, int showCommand);
bool UpdateWindow(WindowHandle window);
bool DestroyWindow(WindowHandle window);
bool IsWindow(WindowHandle window);
intptr_t DefWindowProc(WindowHandle window, unsigned message, uintptr_t wParam, intptr_t lParam);

// Messages and the program's life.
bool PostMessage(WindowHandle window, unsigned message, uintptr_t wParam, intptr_t lParam);
intptr_t SendMessage(WindowHandle window, unsigned message, uintptr_t wParam, intptr_t lParam);
// Take every pending message off the queue and dispatch it (PeekMessage loop).
// A quit request taken off here goes to no window and ends nothing.
void ServicePendingMessages();
void PostQuitMessage(int exitCode);
// GetMessage, TranslateMessage, DispatchMessage until the quit request;
// returns its exit code.
int RunMessageLoop();

// The modeless dialog built from a template of the resources. Delivers
// WM_INITDIALOG to the procedure before it returns; kNoWindow on failure.
WindowHandle CreateDialogParam(InstanceHandle instance, const char* templateName,
                               WindowHandle owner, DialogProc dialogProc, intptr_t initParam);
WindowHandle GetDlgItem(WindowHandle dialog, int id);
bool SetDlgItemText(WindowHandle dialog, int id, const char* text);
bool SetDlgItemInt(WindowHandle dialog, int id, unsigned value, bool isSigned);

// Geometry.
bool GetWindowRect(WindowHandle window, Rect* rect);
bool GetClientRect(WindowHandle window, Rect* rect);
bool ClientToScreen(WindowHandle window, Point* point);
bool MoveWindow(WindowHandle window, int x, int y, int width, int height, bool repaint);

// Drawing.
bool InvalidateRect(WindowHandle window, const Rect* rect, bool erase);
// Stands for GetDC, CreateSolidBrush, SelectObject, Rectangle, DeleteObject
// and ReleaseDC: the filled rectangle with the default one-pixel pen.
void FillBarRect(WindowHandle window, const Rect& rect, uint32_t colour);
DeviceContext BeginPaint(WindowHandle window);
void EndPaint(WindowHandle window);
uint32_t SetTextColor(DeviceContext context, uint32_t colour);
int DrawText(DeviceContext context, const char* text, int length, const Rect& rect,
             unsigned format);

// The program's window on a table it wrote: the four pictures of the log
// (track, sky, signal, satellites and DOP) in a top-level window of its
// own, which the user closes. It stands for creating and showing a window
// of the program's own class, as Win32 would do with CreateWindow and
// ShowWindow; a backend draws it with what it has. A backend without a
// display says so instead. Returns at once; the window lives on.
void ShowTableWindow(WindowHandle owner, const char* tablePath);

// Resources and the menu.
// The resources of the module that the instance handle names (a program
// registers its own at start); nullptr forgets them. Every lookup below
// goes to the module of the handle given, or of the window class.
void RegisterResourceModule(InstanceHandle instance, const ResourceModule* module);
// The menu of that name in the module, nullptr when it holds none.
const MenuResource* LoadMenu(InstanceHandle instance, const char* name);
// Copies string id of the string table (cut to fit); returns its length, 0
// when there is no such string.
int LoadString(InstanceHandle instance, unsigned id, char* buffer, int bufferSize);
// flags MF_BYCOMMAND with MF_ENABLED or MF_GRAYED; returns the item's
// previous state, -1 when the window has no menu.
int EnableMenuItem(WindowHandle window, unsigned id, unsigned flags);
// For backends: whether the user can choose the item now.
bool MenuItemEnabled(WindowHandle window, unsigned id);
// flags MF_BYCOMMAND with MF_CHECKED or MF_UNCHECKED: the check mark of the
// item; returns its previous state, -1 when the window's menu has no such
// item. Every item starts unchecked.
int CheckMenuItem(WindowHandle window, unsigned id, unsigned flags);
// For backends: whether the item shows its check mark.
bool MenuItemChecked(WindowHandle window, unsigned id);

// The system's reason (an errno value) for the failure that the next message
// box reports, and the names the box is about (the file, and the other file
// of a pair). A console words the box for a terminal from them; a window
// shows the text as it stands. Taking the reason clears them all, and so
// does the box itself.
void SetMessageReason(int errnum, const char* subject = nullptr,
                      const char* otherSubject = nullptr);
// which: 0 the file, 1 the other; nullptr when the box named none.
const char* MessageSubject(int which);
int TakeMessageReason();

}  // namespace quorval
