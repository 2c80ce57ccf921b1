#include "platform/scripted/scripted_backend.h"

#include <cstdio>
#include <cstring>

#include "resources/resources.h"

namespace {

std::string Quoted(const std::string& text) { return "\"" + text + "\""; }

const char* ActionName(UserAction::Kind kind) {
  switch (kind) {
    case UserAction::kClickCancel: return "clicks Cancel";
    case UserAction::kCloseDialog: return "closes the progress dialog";
    case UserAction::kRepaintDialog: return "uncovers the progress dialog";
    case UserAction::kChooseMenuItem: return "chooses menu item";
    case UserAction::kQueuedCommand: return "command arrives";
    case UserAction::kCloseMainWindow: return "closes the main window";
  }
  return "?";
}

}  // namespace

UserAction ClickCancel() { return {UserAction::kClickCancel}; }
UserAction CloseDialog() { return {UserAction::kCloseDialog}; }
UserAction RepaintDialog() { return {UserAction::kRepaintDialog}; }
UserAction ChooseMenuItem(unsigned id) { return {UserAction::kChooseMenuItem, id}; }
UserAction QueuedCommand(unsigned id) { return {UserAction::kQueuedCommand, id}; }
UserAction CloseMainWindow() { return {UserAction::kCloseMainWindow}; }

std::string ScriptedCall::Describe() const {
  std::string out = operation;
  char number[96];
  if (window != kNoWindow) {
    std::snprintf(number, sizeof number, " window=%ld", static_cast<long>(window));
    out += number;
  }
  if (!caption.empty()) out += " caption=" + Quoted(caption);
  if (!text.empty()) out += " text=" + Quoted(text);
  for (const std::string& part : filter) out += " filter=" + Quoted(part);
  std::snprintf(number, sizeof number, " flags=0x%x id=%d rect={%d,%d,%d,%d} answer=%ld", flags,
                id, rect.left, rect.top, rect.right, rect.bottom, static_cast<long>(answer));
  return out + number;
}

ScriptedBackend& ScriptedBackend::ChooseInFileDialog(const std::string& path) {
  fileAnswers_.push_back({true, path});
  return *this;
}

ScriptedBackend& ScriptedBackend::CancelFileDialog() {
  fileAnswers_.push_back({false, {}});
  return *this;
}

ScriptedBackend& ScriptedBackend::AnswerBox(int answer) {
  boxAnswers_.push_back(answer);
  return *this;
}

ScriptedBackend& ScriptedBackend::WhenIdle(UserAction action) {
  idleActions_.push_back(action);
  return *this;
}

ScriptedBackend& ScriptedBackend::AfterLine(int conversion, int line, UserAction action) {
  timedActions_.push_back({conversion, line, action});
  return *this;
}

std::vector<ScriptedCall> ScriptedBackend::Calls(const std::string& operation) const {
  std::vector<ScriptedCall> found;
  for (const ScriptedCall& call : calls_) {
    if (call.operation == operation) found.push_back(call);
  }
  return found;
}

std::vector<std::string> ScriptedBackend::Boxes() const {
  std::vector<std::string> boxes;
  for (const ScriptedCall& call : Calls("MessageBox")) boxes.push_back(call.caption + ": " + call.text);
  return boxes;
}

std::string ScriptedBackend::ControlText(int id) const {
  const auto found = controlTexts_.find(id);
  return found != controlTexts_.end() ? found->second : std::string();
}

std::vector<std::string> ScriptedBackend::Problems() const {
  std::vector<std::string> problems = problems_;
  for (const FileAnswer& answer : fileAnswers_) {
    problems.push_back("file dialog answer never asked for: " +
                       (answer.chosen ? answer.path : std::string("cancel")));
  }
  for (int answer : boxAnswers_) problems.push_back("box answer never asked for: " + std::to_string(answer));
  for (const UserAction& action : idleActions_) {
    problems.push_back(std::string("idle action never taken: ") + ActionName(action.kind));
  }
  for (const TimedAction& timed : timedActions_) {
    problems.push_back(std::string("action never taken: ") + ActionName(timed.action.kind) +
                       " after line " + std::to_string(timed.line) + " of conversion " +
                       std::to_string(timed.conversion));
  }
  return problems;
}

ScriptedCall& ScriptedBackend::Record(const std::string& operation, WindowHandle window) {
  calls_.push_back(ScriptedCall{});
  calls_.back().operation = operation;
  calls_.back().window = window;
  return calls_.back();
}

int ScriptedBackend::ControlId(WindowHandle control) const {
  const auto found = controlIds_.find(control);
  return found != controlIds_.end() ? found->second : 0;
}

int ScriptedBackend::MessageBox(WindowHandle owner, const char* text, const char* caption,
                                unsigned style) {
  const size_t index = calls_.size();
  {
    ScriptedCall& call = Record("MessageBox", owner);
    call.text = text != nullptr ? text : "";
    call.caption = caption != nullptr ? caption : "";
    call.flags = style;
  }
  // The script's hook may act (and be recorded) before the box is answered.
  if (beforeAnswer) beforeAnswer(ScriptedCall(calls_[index]));
  ScriptedCall& call = calls_[index];
  if ((style & MB_TYPEMASK) == MB_OK) {
    call.answer = IDOK;
  } else if (boxAnswers_.empty()) {
    problems_.push_back("unscripted box: " + call.caption + ": " + call.text);
    call.answer = IDCANCEL;
  } else {
    call.answer = boxAnswers_.front();
    boxAnswers_.pop_front();
  }
  return static_cast<int>(call.answer);
}

bool ScriptedBackend::GetOpenFileName(OpenFileNameRequest& request) {
  const size_t index = calls_.size();
  {
    ScriptedCall& call = Record("GetOpenFileName", request.hwndOwner);
    call.text = request.lpstrFile;
    call.caption = request.lpstrTitle != nullptr ? request.lpstrTitle : "";
    call.flags = request.Flags;
    call.id = static_cast<int>(request.lStructSize);
    call.size = request.nMaxFile;
    FilterEntry entries[8];
    const int count = FilterEntries(request.lpstrFilter, entries, 8);
    for (int i = 0; i < count; ++i) {
      call.filter.push_back(entries[i].description);
      call.filter.push_back(entries[i].pattern);
    }
  }
  if (beforeAnswer) beforeAnswer(ScriptedCall(calls_[index]));
  if (fileAnswers_.empty()) {
    problems_.push_back("unscripted file dialog: " + calls_[index].caption);
    return false;
  }
  const FileAnswer answer = fileAnswers_.front();
  fileAnswers_.pop_front();
  if (!answer.chosen) return false;
  if (answer.path.size() >= request.nMaxFile) {
    problems_.push_back("chosen name does not fit the dialog's buffer: " + answer.path);
    return false;
  }
  std::memcpy(request.lpstrFile, answer.path.c_str(), answer.path.size() + 1);
  calls_[index].answer = 1;
  return true;
}

bool ScriptedBackend::RegisterClass(const WindowClass& windowClass) {
  ScriptedCall& call = Record("RegisterClass", kNoWindow);
  call.caption = windowClass.className;
  call.text = windowClass.menuName != nullptr ? windowClass.menuName : "";
  call.flags = windowClass.style;
  call.id = static_cast<int>(windowClass.icon);
  call.size = windowClass.cursor;
  call.rect = Rect{windowClass.background, windowClass.classExtraBytes, windowClass.windowExtraBytes, 0};
  call.answer = refuseClassRegistration ? 0 : 1;
  return !refuseClassRegistration;
}

bool ScriptedBackend::CreateWindow(WindowHandle window, const WindowClass& windowClass,
                                   const char* title, unsigned style, int x, int y, int width,
                                   int height, const MenuResource* menu) {
  ScriptedCall& call = Record("CreateWindow", window);
  call.caption = windowClass.className;
  call.text = title;
  call.flags = style;
  call.rect = Rect{x, y, width, height};
  call.filter.push_back(menu != nullptr ? menu->name : "");
  call.answer = refuseWindowCreation ? 0 : 1;
  if (refuseWindowCreation) return false;
  mainWindow_ = window;
  return true;
}

bool ScriptedBackend::CreateDialog(WindowHandle dialog, WindowHandle owner,
                                   const DialogTemplate& dialogTemplate,
                                   const WindowHandle* controls) {
  ScriptedCall& call = Record("CreateDialog", dialog);
  call.caption = dialogTemplate.name;
  call.text = dialogTemplate.caption;
  call.flags = dialogTemplate.style;
  call.answer = owner;
  ++conversion_;
  line_ = 0;
  if (refuseDialogCreation) return false;
  dialog_ = dialog;
  // Until it is moved, the dialog stands at the middle of a 1280 x 1024 screen.
  dialogRect_ = Rect{640 - dialogWidth / 2, 512 - dialogHeight / 2, 640 - dialogWidth / 2 + dialogWidth,
                     512 - dialogHeight / 2 + dialogHeight};
  controlIds_.clear();
  controlTexts_.clear();
  for (int i = 0; i < dialogTemplate.controlCount; ++i) {
    controlIds_[controls[i]] = dialogTemplate.controls[i].id;
  }
  return true;
}

void ScriptedBackend::ShowWindow(WindowHandle window, int showCommand) {
  Record("ShowWindow", window).flags = static_cast<uint32_t>(showCommand);
  if (window == dialog_ && repaintShownDialogs) PostMessage(window, WM_PAINT, 0, 0);
}

void ScriptedBackend::UpdateWindow(WindowHandle window) {
  Record("UpdateWindow", window).id = ControlId(window);
}

void ScriptedBackend::DestroyWindow(WindowHandle window) {
  Record("DestroyWindow", window);
  if (window == dialog_) dialog_ = kNoWindow;
  if (window == mainWindow_) mainWindow_ = kNoWindow;
}

void ScriptedBackend::SetWindowText(WindowHandle window, const char* text) {
  ScriptedCall& call = Record("SetWindowText", window);
  call.id = ControlId(window);
  call.text = text;
  controlTexts_[call.id] = text;
}

Rect ScriptedBackend::GetWindowRect(WindowHandle window) {
  ScriptedCall& call = Record("GetWindowRect", window);
  if (window == dialog_) {
    call.rect = dialogRect_;
  } else if (window == mainWindow_) {
    call.rect = Rect{mainClientOrigin.x, mainClientOrigin.y, mainClientOrigin.x + mainClient.right,
                     mainClientOrigin.y + mainClient.bottom};
  }
  return call.rect;
}

Rect ScriptedBackend::GetClientRect(WindowHandle window) {
  ScriptedCall& call = Record("GetClientRect", window);
  call.id = ControlId(window);
  if (window == mainWindow_) {
    call.rect = mainClient;
  } else if (call.id == 30) {
    call.rect = barClient;
  } else if (window == dialog_) {
    call.rect = Rect{0, 0, dialogWidth, dialogHeight};
  }
  return call.rect;
}

Point ScriptedBackend::ClientToScreen(WindowHandle window, Point point) {
  ScriptedCall& call = Record("ClientToScreen", window);
  if (window == mainWindow_) point = Point{point.x + mainClientOrigin.x, point.y + mainClientOrigin.y};
  call.rect = Rect{point.x, point.y, 0, 0};
  return point;
}

void ScriptedBackend::MoveWindow(WindowHandle window, int x, int y, int width, int height,
                                 bool repaint) {
  ScriptedCall& call = Record("MoveWindow", window);
  call.rect = Rect{x, y, width, height};
  call.flags = repaint ? 1 : 0;
  if (window == dialog_) dialogRect_ = Rect{x, y, x + width, y + height};
}

void ScriptedBackend::InvalidateRect(WindowHandle window, const Rect* rect, bool erase) {
  ScriptedCall& call = Record("InvalidateRect", window);
  call.id = ControlId(window);
  call.flags = erase ? 1 : 0;
  if (rect != nullptr) call.rect = *rect;
}

void ScriptedBackend::FillBarRect(WindowHandle window, const Rect& rect, uint32_t colour) {
  ScriptedCall& call = Record("FillBarRect", window);
  call.id = ControlId(window);
  call.rect = rect;
  call.flags = colour;
}

void ScriptedBackend::BeginPaint(WindowHandle window) { Record("BeginPaint", window); }

void ScriptedBackend::SetTextColor(DeviceContext context, uint32_t colour) {
  Record("SetTextColor", context).flags = colour;
}

void ScriptedBackend::DrawText(DeviceContext context, const char* text, int length,
                               const Rect& rect, unsigned format) {
  ScriptedCall& call = Record("DrawText", context);
  call.text = std::string(text, static_cast<size_t>(length));
  call.rect = rect;
  call.flags = format;
}

void ScriptedBackend::EndPaint(WindowHandle window) { Record("EndPaint", window); }

void ScriptedBackend::EnableMenuItem(WindowHandle window, unsigned id, bool enabled) {
  ScriptedCall& call = Record("EnableMenuItem", window);
  call.id = static_cast<int>(id);
  call.flags = enabled ? 1 : 0;
}

intptr_t ScriptedBackend::SendMessage(WindowHandle window, unsigned message, uintptr_t wParam,
                                      intptr_t lParam) {
  // Recorded by its index: the procedure may record calls of its own meanwhile.
  const size_t index = calls_.size();
  ScriptedCall& call = Record("SendMessage", window);
  call.id = static_cast<int>(message);
  call.size = static_cast<uint32_t>(wParam);
  call.lParam = lParam;
  const intptr_t result = WindowingBackend::SendMessage(window, message, wParam, lParam);
  calls_[index].answer = result;
  return result;
}

void ScriptedBackend::Perform(const UserAction& action) {
  ScriptedCall& call = Record("User", kNoWindow);
  call.text = ActionName(action.kind);
  call.id = static_cast<int>(action.id);
  call.answer = 1;
  switch (action.kind) {
    case UserAction::kClickCancel:
      PostMessage(dialog_, WM_COMMAND, IDCANCEL, GetDlgItem(dialog_, IDCANCEL));
      break;
    case UserAction::kCloseDialog:
      PostMessage(dialog_, WM_CLOSE, 0, 0);
      break;
    case UserAction::kRepaintDialog:
      PostMessage(dialog_, WM_PAINT, 0, 0);
      break;
    case UserAction::kChooseMenuItem:
      // A greyed entry cannot be chosen: nothing reaches the program.
      if (MenuItemEnabled(mainWindow_, action.id)) {
        PostMessage(mainWindow_, WM_COMMAND, action.id, 0);
      } else {
        call.answer = 0;
      }
      break;
    case UserAction::kQueuedCommand:
      PostMessage(mainWindow_, WM_COMMAND, action.id, 0);
      break;
    case UserAction::kCloseMainWindow:
      PostMessage(mainWindow_, WM_CLOSE, 0, 0);
      break;
  }
}

void ScriptedBackend::PollEvents() {
  ++line_;
  for (auto timed = timedActions_.begin(); timed != timedActions_.end();) {
    if (timed->conversion == conversion_ && timed->line == line_) {
      const UserAction action = timed->action;
      timed = timedActions_.erase(timed);
      Perform(action);
    } else {
      ++timed;
    }
  }
}

void ScriptedBackend::WaitForEvents() {
  if (idleActions_.empty()) {
    Record("User", kNoWindow).text = "script ended";
    PostQuitMessage(kScriptEnded);
    return;
  }
  const UserAction action = idleActions_.front();
  idleActions_.pop_front();
  Perform(action);
}
