// The narrow windowing layer that the shell is written against. Each
// operation stands for the Win32 call it is named after and keeps that
// call's message numbers, style bits and answer values, so a procedure of the
// shell reads step for step like the original. A backend (desktop, console,
// scripted for tests) supplies what each operation does.
#pragma once

#include <cstdint>

using WindowHandle = std::intptr_t;  // 0 = no window
constexpr WindowHandle kNoWindow = 0;

// Messages.
constexpr unsigned WM_CREATE = 0x0001;
constexpr unsigned WM_MOVE = 0x0003;
constexpr unsigned WM_SIZE = 0x0005;
constexpr unsigned WM_PAINT = 0x000F;
constexpr unsigned WM_CLOSE = 0x0010;
constexpr unsigned WM_QUIT = 0x0012;
constexpr unsigned WM_INITDIALOG = 0x0110;
constexpr unsigned WM_COMMAND = 0x0111;

// Message box styles.
constexpr unsigned MB_OK = 0x0000;
constexpr unsigned MB_YESNOCANCEL = 0x0003;
constexpr unsigned MB_YESNO = 0x0004;
constexpr unsigned MB_RETRYCANCEL = 0x0005;
constexpr unsigned MB_ICONQUESTION = 0x0020;
constexpr unsigned MB_ICONWARNING = 0x0030;
constexpr unsigned MB_ICONINFORMATION = 0x0040;
constexpr unsigned MB_APPLMODAL = 0x0000;
constexpr unsigned MB_TASKMODAL = 0x2000;
constexpr unsigned MB_TYPEMASK = 0x000F;
constexpr unsigned MB_ICONMASK = 0x00F0;

// Message box answers.
constexpr int IDOK = 1;
constexpr int IDCANCEL = 2;
constexpr int IDRETRY = 4;
constexpr int IDYES = 6;
constexpr int IDNO = 7;

// What a backend does for each operation. Only backends are classes.
class WindowingBackend {
 public:
  virtual ~WindowingBackend() = default;
  virtual int MessageBox(WindowHandle owner, const char* text, const char* caption,
                         unsigned style) = 0;
  virtual intptr_t SendMessage(WindowHandle window, unsigned message, uintptr_t wParam,
                               intptr_t lParam) = 0;
  virtual void ServicePendingMessages() = 0;
};

// The backend in force; the console backend until a program installs another.
WindowingBackend& CurrentBackend();
void InstallBackend(WindowingBackend* backend);  // nullptr: back to the console

int MessageBox(WindowHandle owner, const char* text, const char* caption, unsigned style);
intptr_t SendMessage(WindowHandle window, unsigned message, uintptr_t wParam, intptr_t lParam);
// Take every pending message off the queue and dispatch it (PeekMessage loop).
void ServicePendingMessages();

// The system's reason (an errno value) for the failure that the next message
// box reports. A console shows it beside the text; a window shows the text as
// it stands. Taking it clears it.
void SetMessageReason(int errnum);
int TakeMessageReason();
