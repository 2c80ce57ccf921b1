#include "files/scratch_file.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace quorval {

FILE* OpenScratchFile() {
#ifdef _WIN32
  // The C library's tmpfile writes to the root of the drive, which a user
  // may not: the user's own folder for temporary files instead, the file
  // deleted when closed ('D').
  char folder[MAX_PATH + 1];
  char path[MAX_PATH + 1];
  const DWORD length = GetTempPathA(sizeof folder, folder);
  if (length == 0 || length > MAX_PATH || GetTempFileNameA(folder, "qvl", 0, path) == 0) return nullptr;
  return std::fopen(path, "w+bTD");
#else
  return std::tmpfile();
#endif
}

}  // namespace quorval
