#include "resources/resources.h"

namespace {

struct StringEntry {
  unsigned id;
  const char* text;
};

constexpr StringEntry kStrings[] = {
    {1, "Error registering window class"},
    {2, "Window creation failed!"},
};

}  // namespace

const char* FindStringResource(unsigned id) {
  for (const StringEntry& entry : kStrings) {
    if (entry.id == id) return entry.text;
  }
  return nullptr;
}
