// A windowing backend for tests: records every message box (with the system
// reason that came with it) and answers each from a script.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/windowing.h"

struct RecordedBox {
  WindowHandle owner;
  std::string text;
  std::string caption;
  unsigned style;
  int reason;  // errno value given for the box, 0 when none
};

class RecordingBackend final : public WindowingBackend {
 public:
  // Answers the n-th box (counted from 0); by default every box is answered
  // as an unattended console would answer it: OK, or Cancel for a choice.
  std::function<int(const RecordedBox&, int n)> answer = [](const RecordedBox& box, int) {
    return (box.style & MB_TYPEMASK) == MB_OK ? IDOK : IDCANCEL;
  };
  std::vector<RecordedBox> boxes;

  int MessageBox(WindowHandle owner, const char* text, const char* caption,
                 unsigned style) override {
    boxes.push_back({owner, text, caption, style, TakeMessageReason()});
    return answer(boxes.back(), static_cast<int>(boxes.size()) - 1);
  }
};
