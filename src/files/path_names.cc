#include "files/path_names.h"

#include <cstring>

namespace quorval {

void SplitExtension(char* base, const char* path, char* extension) {
  size_t dot = 0;
  bool hasDot = false;
  size_t i = 0;
  for (; path[i] != '\0'; ++i) {
    base[i] = path[i];
    if (path[i] == '.') {
      dot = i;
      hasDot = true;
    } else if (path[i] == '/' || path[i] == '\\') {
      hasDot = false;
    }
  }
  if (hasDot) {
    std::memcpy(extension, path + dot, i - dot + 1);
    base[dot] = '\0';
  } else {
    std::strcpy(extension, ".");
    base[i] = '\0';
  }
}

const char* FileNamePart(const char* path) {
  const char* name = path;
  for (const char* p = path; *p != '\0'; ++p) {
    if (*p == '/' || *p == '\\' || *p == ':') name = p + 1;
  }
  return name;
}

}  // namespace quorval
