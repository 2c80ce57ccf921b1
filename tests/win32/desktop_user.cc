#include "win32/desktop_user.h"

#include <windows.h>
#include <commctrl.h>

#include <cstdio>

namespace desktop_user {
namespace {

HWND W(Window window) { return static_cast<HWND>(window); }

struct Search {
  const char* caption;
  HWND found;
  bool box;  // a dialog box only (the close question wears the main window's caption)
};

BOOL CALLBACK MatchCaption(HWND window, LPARAM parameter) {
  auto* search = reinterpret_cast<Search*>(parameter);
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  char caption[256] = {};
  if (process == GetCurrentProcessId() && IsWindowVisible(window) &&
      GetWindowTextA(window, caption, sizeof caption) >= 0 &&
      lstrcmpA(caption, search->caption) == 0) {
    char kind[64] = {};
    GetClassNameA(window, kind, sizeof kind);
    if (search->box && lstrcmpA(kind, "#32770") != 0) return TRUE;
    search->found = window;
    return FALSE;
  }
  return TRUE;
}

BOOL CALLBACK CollectOwn(HWND window, LPARAM parameter) {
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  if (process == GetCurrentProcessId() && IsWindowVisible(window)) {
    reinterpret_cast<std::vector<HWND>*>(parameter)->push_back(window);
  }
  return TRUE;
}

// The file dialog's name field: the explorer-style combo box, or the edit
// of the older layout.
HWND NameField(HWND fileDialog) {
  HWND field = GetDlgItem(fileDialog, 0x47C);  // cmb13
  if (field == nullptr) field = GetDlgItem(fileDialog, 0x480);  // edt1
  return field;
}

std::string TextOf(HWND window) {
  char text[1024] = {};
  SendMessageTimeoutA(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text), SMTO_NORMAL,
                      5000, nullptr);
  return text;
}

}  // namespace

unsigned long __stdcall RunScript(void* parameter) {
  auto* user = static_cast<User*>(parameter);
  user->script_(*user);
  if (!user->failures.empty()) user->TakeEveryWayOut();
  return 0;
}

void User::Start(std::function<void(User&)> script) {
  script_ = std::move(script);
  thread_ = CreateThread(nullptr, 0, RunScript, this, 0, nullptr);
}

void User::Join() {
  if (thread_ == nullptr) return;
  WaitForSingleObject(thread_, INFINITE);
  CloseHandle(thread_);
  thread_ = nullptr;
}

void User::Fail(const std::string& what) { failures.push_back(what); }

void User::TakeEveryWayOut() {
  for (int round = 0; round < 50; ++round) {
    std::vector<HWND> own;
    EnumWindows(CollectOwn, reinterpret_cast<LPARAM>(&own));
    if (own.empty()) return;
    for (HWND window : own) {
      char kind[64] = {};
      GetClassNameA(window, kind, sizeof kind);
      if (lstrcmpA(kind, "#32770") == 0) {
        PostMessageA(window, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
        PostMessageA(window, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
      } else {
        PostMessageA(window, WM_CLOSE, 0, 0);
      }
    }
    Sleep(200);
  }
}

Window User::WaitFor(const char* caption, int milliseconds) { return WaitFor(caption, milliseconds, false); }

Window User::WaitFor(const char* caption, int milliseconds, bool box) {
  for (int waited = 0; waited <= milliseconds; waited += 20) {
    Search search{caption, nullptr, box};
    EnumWindows(MatchCaption, reinterpret_cast<LPARAM>(&search));
    if (search.found != nullptr) {
      Sleep(50);  // let it finish appearing
      return search.found;
    }
    Sleep(20);
  }
  Fail(std::string("no window \"") + caption + "\" appeared");
  return nullptr;
}

Window User::WaitForBox(const char* caption, int milliseconds) {
  return WaitFor(caption, milliseconds, true);
}

bool User::Gone(Window window, int milliseconds) {
  for (int waited = 0; waited <= milliseconds; waited += 20) {
    if (!IsWindow(W(window))) return true;
    Sleep(20);
  }
  return false;
}

void User::Pause(int milliseconds) { Sleep(static_cast<DWORD>(milliseconds)); }

std::vector<std::string> User::MenuTitles(Window main) {
  std::vector<std::string> titles;
  HMENU menu = GetMenu(W(main));
  for (int i = 0; menu != nullptr && i < GetMenuItemCount(menu); ++i) {
    char text[128] = {};
    GetMenuStringA(menu, i, text, sizeof text, MF_BYPOSITION);
    titles.push_back(text);
  }
  return titles;
}

std::vector<std::string> User::MenuEntries(Window main, int popup) {
  std::vector<std::string> entries;
  HMENU drop = GetSubMenu(GetMenu(W(main)), popup);
  for (int i = 0; drop != nullptr && i < GetMenuItemCount(drop); ++i) {
    char text[128] = {};
    GetMenuStringA(drop, i, text, sizeof text, MF_BYPOSITION);
    entries.push_back(std::string(text) + "=" + std::to_string(GetMenuItemID(drop, i)));
  }
  return entries;
}

void User::ChooseMenu(Window main, unsigned id) {
  if (main != nullptr) PostMessageA(W(main), WM_COMMAND, MAKEWPARAM(id, 0), 0);
}

bool User::MenuChecked(Window main, unsigned id) {
  if (main == nullptr) return false;
  const UINT state = GetMenuState(GetMenu(W(main)), id, MF_BYCOMMAND);
  return state != static_cast<UINT>(-1) && (state & MF_CHECKED) != 0;
}

void User::CloseBox(Window window) {
  if (window != nullptr) PostMessageA(W(window), WM_CLOSE, 0, 0);
}

std::string User::ClassName(Window window) {
  char kind[64] = {};
  if (window != nullptr) GetClassNameA(W(window), kind, sizeof kind);
  return kind;
}

std::string User::Text(Window window) { return window != nullptr ? TextOf(W(window)) : ""; }

std::string User::BoxText(Window box) {
  return box != nullptr ? TextOf(GetDlgItem(W(box), 0xFFFF)) : "";
}

std::string User::ItemText(Window dialog, int id) {
  return dialog != nullptr ? TextOf(GetDlgItem(W(dialog), id)) : "";
}

void User::Press(Window dialog, int buttonId) {
  if (dialog == nullptr) return;
  HWND button = GetDlgItem(W(dialog), buttonId);
  PostMessageA(W(dialog), WM_COMMAND, MAKEWPARAM(buttonId, BN_CLICKED),
               reinterpret_cast<LPARAM>(button));
}

std::string User::ProposedName(Window fileDialog) {
  return fileDialog != nullptr ? TextOf(NameField(W(fileDialog))) : "";
}

std::vector<std::string> User::Filters(Window fileDialog) {
  std::vector<std::string> filters;
  if (fileDialog == nullptr) return filters;
  HWND types = GetDlgItem(W(fileDialog), 0x470);  // cmb1
  LRESULT count = 0;
  SendMessageTimeoutA(types, CB_GETCOUNT, 0, 0, SMTO_NORMAL, 5000, reinterpret_cast<PDWORD_PTR>(&count));
  for (LRESULT i = 0; i < count; ++i) {
    char text[512] = {};
    SendMessageTimeoutA(types, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text), SMTO_NORMAL, 5000,
                        nullptr);
    filters.push_back(text);
  }
  return filters;
}

void User::ChooseName(Window fileDialog, const std::string& path) {
  if (fileDialog == nullptr) return;
  SendMessageTimeoutA(NameField(W(fileDialog)), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path.c_str()),
                      SMTO_NORMAL, 5000, nullptr);
  Press(fileDialog, IDOK);
}

std::vector<User::Control> User::Controls(Window dialog) {
  std::vector<Control> controls;
  for (HWND child = dialog != nullptr ? GetWindow(W(dialog), GW_CHILD) : nullptr; child != nullptr;
       child = GetWindow(child, GW_HWNDNEXT)) {
    char kind[64] = {};
    GetClassNameA(child, kind, sizeof kind);
    controls.push_back(Control{kind, static_cast<short>(GetDlgCtrlID(child)), TextOf(child),
                               static_cast<unsigned>(GetWindowLongA(child, GWL_STYLE))});
  }
  return controls;
}

std::vector<std::string> User::Tabs(Window window) {
  std::vector<std::string> tabs;
  HWND control = window != nullptr ? FindWindowExA(W(window), nullptr, "SysTabControl32", nullptr) : nullptr;
  const LRESULT count = control != nullptr ? SendMessageA(control, TCM_GETITEMCOUNT, 0, 0) : 0;
  for (LRESULT i = 0; i < count; ++i) {
    char text[128] = {};
    TCITEMA tab{};
    tab.mask = TCIF_TEXT;
    tab.pszText = text;
    tab.cchTextMax = sizeof text;
    SendMessageA(control, TCM_GETITEMA, i, reinterpret_cast<LPARAM>(&tab));
    tabs.push_back(text);
  }
  return tabs;
}

void User::ChooseTab(Window window, int index) {
  HWND control = window != nullptr ? FindWindowExA(W(window), nullptr, "SysTabControl32", nullptr) : nullptr;
  if (control == nullptr) return;
  SendMessageA(control, TCM_SETCURSEL, index, 0);
  NMHDR changed{control, static_cast<UINT_PTR>(GetDlgCtrlID(control)), static_cast<UINT>(TCN_SELCHANGE)};
  SendMessageA(W(window), WM_NOTIFY, changed.idFrom, reinterpret_cast<LPARAM>(&changed));
}

std::vector<unsigned> User::ClientPixels(Window window) {
  RECT client{};
  if (window == nullptr || !GetClientRect(W(window), &client) || client.right <= 0 || client.bottom <= 0) return {};
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = client.right;
  info.bmiHeader.biHeight = -client.bottom;  // top row first
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  HDC memory = CreateCompatibleDC(nullptr);
  HBITMAP bitmap = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ previous = SelectObject(memory, bitmap);
  SendMessageA(W(window), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(memory), PRF_CLIENT);
  GdiFlush();
  const auto* first = static_cast<const unsigned*>(bits);
  std::vector<unsigned> pixels(first, first + client.right * client.bottom);
  for (unsigned& pixel : pixels) pixel &= 0xFFFFFF;
  SelectObject(memory, previous);
  DeleteObject(bitmap);
  DeleteDC(memory);
  return pixels;
}

void User::OpenMenu(Window main, int popup) {
  if (main == nullptr) return;
  // Alt selects the menu bar, the arrows walk to the title and drop its menu.
  PostMessageA(W(main), WM_SYSCOMMAND, SC_KEYMENU, 0);
  for (int i = 0; i < popup; ++i) PostMessageA(W(main), WM_KEYDOWN, VK_RIGHT, 0);
  PostMessageA(W(main), WM_KEYDOWN, VK_DOWN, 0);
}

void User::PressEscape(Window main) {
  if (main != nullptr) PostMessageA(W(main), WM_KEYDOWN, VK_ESCAPE, 0);
}

void User::Place(Window window, int x, int y, int width, int height) {
  if (window != nullptr) SetWindowPos(W(window), nullptr, x, y, width, height, SWP_NOZORDER);
}

bool User::CaptureScreen(const std::string& bmpPath) {
  const int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
  HGDIOBJ previous = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, width, height, screen, 0, 0, SRCCOPY);
  SelectObject(memory, previous);
  BITMAPINFOHEADER info{};
  info.biSize = sizeof info;
  info.biWidth = width;
  info.biHeight = height;  // bottom-up, as BMP files store their rows
  info.biPlanes = 1;
  info.biBitCount = 24;
  const DWORD rowBytes = (static_cast<DWORD>(width) * 3 + 3) & ~3u;
  std::vector<char> pixels(rowBytes * static_cast<DWORD>(height));
  GetDIBits(memory, bitmap, 0, height, pixels.data(), reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  BITMAPFILEHEADER file{};
  file.bfType = 0x4D42;  // "BM"
  file.bfOffBits = sizeof file + sizeof info;
  file.bfSize = file.bfOffBits + static_cast<DWORD>(pixels.size());
  FILE* out = std::fopen(bmpPath.c_str(), "wb");
  if (out == nullptr) return false;
  std::fwrite(&file, sizeof file, 1, out);
  std::fwrite(&info, sizeof info, 1, out);
  std::fwrite(pixels.data(), 1, pixels.size(), out);
  return std::fclose(out) == 0;
}

}  // namespace desktop_user
