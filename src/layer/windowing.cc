#include "layer/windowing.h"

#include <strings.h>

#include <cstdio>
#include <cstring>

#include "layer/window_table.h"

namespace quorval {

namespace {

WindowingBackend showingNothing;
WindowingBackend* installed = nullptr;
int pendingReason = 0;
const char* pendingSubjects[2] = {};

// A program and the few libraries it loads: one module each at most.
constexpr int kMaxModules = 4;
struct RegisteredModule {
  InstanceHandle instance;
  const ResourceModule* module;
};
RegisteredModule modules[kMaxModules];

const ResourceModule* ModuleOf(InstanceHandle instance) {
  for (const RegisteredModule& entry : modules) {
    if (entry.module != nullptr && entry.instance == instance) return entry.module;
  }
  return nullptr;
}

}  // namespace

// What a display that shows nothing does, where nobody is present to act.
int WindowingBackend::MessageBox(WindowHandle, const char*, const char*, unsigned style) {
  switch (style & MB_TYPEMASK) {
    case MB_OK:
      return IDOK;
    case MB_YESNO:
      return IDNO;
    default:
      return IDCANCEL;
  }
}
bool WindowingBackend::GetOpenFileName(OpenFileNameRequest&) { return false; }
bool WindowingBackend::RegisterClass(const WindowClass&) { return true; }
bool WindowingBackend::CreateWindow(WindowHandle, const WindowClass&, const char*, unsigned, int,
                                    int, int, int, const MenuResource*) {
  return false;
}
bool WindowingBackend::CreateDialog(WindowHandle, WindowHandle, const DialogTemplate&,
                                    const WindowHandle*) {
  return false;
}
void WindowingBackend::ShowWindow(WindowHandle, int) {}
void WindowingBackend::UpdateWindow(WindowHandle) {}
void WindowingBackend::DestroyWindow(WindowHandle) {}
void WindowingBackend::SetWindowText(WindowHandle, const char*) {}
void WindowingBackend::SetDlgItemText(WindowHandle, int, WindowHandle control, const char* text) {
  SetWindowText(control, text);
}
void WindowingBackend::SetDlgItemInt(WindowHandle dialog, int id, WindowHandle control,
                                     unsigned value, bool isSigned) {
  char text[16];
  if (isSigned) {
    std::snprintf(text, sizeof text, "%d", static_cast<int>(value));
  } else {
    std::snprintf(text, sizeof text, "%u", value);
  }
  SetDlgItemText(dialog, id, control, text);
}
Rect WindowingBackend::GetWindowRect(WindowHandle) { return Rect{}; }
Rect WindowingBackend::GetClientRect(WindowHandle) { return Rect{}; }
Point WindowingBackend::ClientToScreen(WindowHandle, Point point) { return point; }
void WindowingBackend::MoveWindow(WindowHandle, int, int, int, int, bool) {}
void WindowingBackend::InvalidateRect(WindowHandle, const Rect*, bool) {}
void WindowingBackend::FillBarRect(WindowHandle, const Rect&, uint32_t) {}
void WindowingBackend::BeginPaint(WindowHandle) {}
void WindowingBackend::SetTextColor(DeviceContext, uint32_t) {}
void WindowingBackend::DrawText(DeviceContext, const char*, int, const Rect&, unsigned) {}
void WindowingBackend::EndPaint(WindowHandle) {}
void WindowingBackend::EnableMenuItem(WindowHandle, unsigned, bool) {}
void WindowingBackend::ShowTableWindow(WindowHandle, const char*) {}
void WindowingBackend::CheckMenuItem(WindowHandle, unsigned, bool) {}
void WindowingBackend::PollEvents() {}
bool WindowingBackend::ServicesOncePerBlock() const { return false; }
// Nobody is present who could ever act: the program's life ends.
void WindowingBackend::WaitForEvents() { PostQuitMessage(0); }

WindowingBackend& CurrentBackend() {
  return installed != nullptr ? *installed : showingNothing;
}

void InstallBackend(WindowingBackend* backend) { installed = backend; }

void ResetWindowing() {
  for (RegisteredModule& entry : modules) entry = RegisteredModule{};
  ResetWindowTable();
  ResetMessageQueue();
  TakeMessageReason();
}

int MessageBox(WindowHandle owner, const char* text, const char* caption, unsigned style) {
  const int answer = CurrentBackend().MessageBox(owner, text, caption, style);
  TakeMessageReason();  // the reason belonged to this box only
  return answer;
}

bool GetOpenFileName(OpenFileNameRequest& request) {
  if (request.lpstrFile == nullptr || request.nMaxFile == 0) return false;
  return CurrentBackend().GetOpenFileName(request);
}

int FilterEntries(const char* filter, FilterEntry* entries, int capacity) {
  int count = 0;
  if (filter == nullptr) return 0;
  const char* p = filter;
  while (*p != '\0' && count < capacity) {
    const char* description = p;
    p += std::strlen(p) + 1;
    entries[count++] = FilterEntry{description, p};
    // A description without a pattern closes the list.
    if (*p == '\0') break;
    p += std::strlen(p) + 1;
  }
  return count;
}

bool ShowWindow(WindowHandle window, int showCommand) {
  if (!IsWindow(window)) return false;
  CurrentBackend().ShowWindow(window, showCommand);
  return true;
}

bool UpdateWindow(WindowHandle window) {
  if (!IsWindow(window)) return false;
  CurrentBackend().UpdateWindow(window);
  return true;
}

bool SetDlgItemText(WindowHandle dialog, int id, const char* text) {
  const WindowHandle control = GetDlgItem(dialog, id);
  if (control == kNoWindow) return false;
  CurrentBackend().SetDlgItemText(dialog, id, control, text != nullptr ? text : "");
  return true;
}

bool SetDlgItemInt(WindowHandle dialog, int id, unsigned value, bool isSigned) {
  const WindowHandle control = GetDlgItem(dialog, id);
  if (control == kNoWindow) return false;
  CurrentBackend().SetDlgItemInt(dialog, id, control, value, isSigned);
  return true;
}

bool GetWindowRect(WindowHandle window, Rect* rect) {
  if (!IsWindow(window)) return false;
  *rect = CurrentBackend().GetWindowRect(window);
  return true;
}

bool GetClientRect(WindowHandle window, Rect* rect) {
  if (!IsWindow(window)) return false;
  *rect = CurrentBackend().GetClientRect(window);
  return true;
}

bool ClientToScreen(WindowHandle window, Point* point) {
  if (!IsWindow(window)) return false;
  *point = CurrentBackend().ClientToScreen(window, *point);
  return true;
}

bool MoveWindow(WindowHandle window, int x, int y, int width, int height, bool repaint) {
  if (!IsWindow(window)) return false;
  CurrentBackend().MoveWindow(window, x, y, width, height, repaint);
  return true;
}

bool InvalidateRect(WindowHandle window, const Rect* rect, bool erase) {
  if (!IsWindow(window)) return false;
  CurrentBackend().InvalidateRect(window, rect, erase);
  return true;
}

void FillBarRect(WindowHandle window, const Rect& rect, uint32_t colour) {
  if (IsWindow(window)) CurrentBackend().FillBarRect(window, rect, colour);
}

DeviceContext BeginPaint(WindowHandle window) {
  if (!IsWindow(window)) return kNoWindow;
  CurrentBackend().BeginPaint(window);
  return window;
}

void EndPaint(WindowHandle window) {
  if (IsWindow(window)) CurrentBackend().EndPaint(window);
}

uint32_t SetTextColor(DeviceContext context, uint32_t colour) {
  if (IsWindow(context)) CurrentBackend().SetTextColor(context, colour);
  return 0;
}

int DrawText(DeviceContext context, const char* text, int length, const Rect& rect,
             unsigned format) {
  if (!IsWindow(context)) return 0;
  CurrentBackend().DrawText(context, text, length, rect, format);
  return 0;
}

void ShowTableWindow(WindowHandle owner, const char* tablePath) {
  if (tablePath != nullptr && tablePath[0] != '\0') CurrentBackend().ShowTableWindow(owner, tablePath);
}

void RegisterResourceModule(InstanceHandle instance, const ResourceModule* module) {
  RegisteredModule* free = nullptr;
  for (RegisteredModule& entry : modules) {
    if (entry.module != nullptr && entry.instance == instance) {
      entry.module = module;
      return;
    }
    if (entry.module == nullptr && free == nullptr) free = &entry;
  }
  if (free != nullptr && module != nullptr) *free = RegisteredModule{instance, module};
}

const MenuResource* LoadMenu(InstanceHandle instance, const char* name) {
  const ResourceModule* module = ModuleOf(instance);
  if (module == nullptr || name == nullptr) return nullptr;
  for (int i = 0; i < module->menuCount; ++i) {
    if (strcasecmp(module->menus[i]->name, name) == 0) return module->menus[i];
  }
  return nullptr;
}

const DialogTemplate* FindDialogTemplate(InstanceHandle instance, const char* name) {
  const ResourceModule* module = ModuleOf(instance);
  if (module == nullptr || name == nullptr) return nullptr;
  for (int i = 0; i < module->dialogCount; ++i) {
    if (strcasecmp(module->dialogs[i]->name, name) == 0) return module->dialogs[i];
  }
  return nullptr;
}

int LoadString(InstanceHandle instance, unsigned id, char* buffer, int bufferSize) {
  if (bufferSize <= 0) return 0;
  const ResourceModule* module = ModuleOf(instance);
  const char* text = nullptr;
  for (int i = 0; module != nullptr && i < module->stringCount; ++i) {
    if (module->strings[i].id == id) text = module->strings[i].text;
  }
  if (text == nullptr) {
    buffer[0] = '\0';
    return 0;
  }
  const int length = std::snprintf(buffer, static_cast<size_t>(bufferSize), "%s", text);
  return length < bufferSize ? length : bufferSize - 1;
}

void SetMessageReason(int errnum, const char* subject, const char* otherSubject) {
  pendingReason = errnum;
  pendingSubjects[0] = subject;
  pendingSubjects[1] = otherSubject;
}

const char* MessageSubject(int which) {
  return which == 0 || which == 1 ? pendingSubjects[which] : nullptr;
}

int TakeMessageReason() {
  const int reason = pendingReason;
  pendingReason = 0;
  pendingSubjects[0] = pendingSubjects[1] = nullptr;
  return reason;
}

}  // namespace quorval
