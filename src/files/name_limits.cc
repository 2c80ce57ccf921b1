#include "files/name_limits.h"

#include <cstdio>

#include "layer/windowing.h"
#include "state/run_state.h"

namespace quorval {

int RefuseLongName(const char* name, int limit) {
  char text[kPathSize + 200];
  std::snprintf(text, sizeof text,
                "The name formed from %.999s would be longer than %d characters.\n"
                "Move or rename the file to a shorter path.",
                name, limit);
  SetMessageReason(0, name);
  MessageBox(kNoWindow, text, "File name too long", MB_TASKMODAL | MB_ICONWARNING);
  return 1;
}

}  // namespace quorval
