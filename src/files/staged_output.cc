#include "files/staged_output.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

#ifdef _WIN32
#include <io.h>
#include <process.h>
#include <windows.h>
#else
#include <unistd.h>
#endif

namespace quorval {

namespace {

// How many names beside the target are tried before giving up: another
// run of the same process id would need to have left all of them.
constexpr int kStagingAttempts = 100;

#ifdef _WIN32
int ProcessId() { return _getpid(); }
constexpr int kCreateFlags = _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY;
constexpr int kCreateMode = _S_IREAD | _S_IWRITE;

// Whether the file may be written now: another program's lock or the
// read-only attribute refuse it, as they refused emptying it in place.
int RefusesWriting(const char* path) {
  const int descriptor = _open(path, _O_WRONLY | _O_BINARY);
  if (descriptor < 0) return errno;
  _close(descriptor);
  return 0;
}

void KeepPermissions(int, const struct stat&) {}

bool ResolveLink(const char*, char*) { return false; }

int Replace(const char* staged, const char* placed) {
  if (MoveFileExA(staged, placed, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) return 0;
  switch (GetLastError()) {
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
    case ERROR_ACCESS_DENIED: return EACCES;
    case ERROR_DISK_FULL: return ENOSPC;
    default: return EIO;
  }
}
#else
int ProcessId() { return static_cast<int>(getpid()); }
constexpr int kCreateFlags = O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC;
constexpr int kCreateMode = 0666;  // less the umask, as for any new file

int RefusesWriting(const char* path) {
  const int descriptor = open(path, O_WRONLY | O_NONBLOCK | O_CLOEXEC);
  if (descriptor < 0) return errno;
  close(descriptor);
  return 0;
}

// The replacement keeps what the user set on the table it replaces; a
// change of owner that the system refuses (not root) leaves the writer's.
void KeepPermissions(int descriptor, const struct stat& replaced) {
  if (fchown(descriptor, replaced.st_uid, replaced.st_gid) != 0) {
    // Not the owner's to give away: the file stays the writer's.
  }
  fchmod(descriptor, replaced.st_mode & 07777);
}

// A link is replaced by writing what it leads to, as writing in place did.
bool ResolveLink(const char* path, char* resolved) {
  struct stat link;
  if (lstat(path, &link) != 0 || !S_ISLNK(link.st_mode)) return false;
  char* real = realpath(path, nullptr);
  if (real == nullptr) return false;
  const bool fits = std::strlen(real) < kPathSize;
  if (fits) std::strcpy(resolved, real);
  std::free(real);
  return fits;
}

int Replace(const char* staged, const char* placed) {
  return std::rename(staged, placed) == 0 ? 0 : errno;
}
#endif

}  // namespace

FILE* OpenStagedOutput(const char* target, StagedOutput& output) {
  output = StagedOutput{};
  if (!ResolveLink(target, output.placed)) std::snprintf(output.placed, kPathSize, "%s", target);
  struct stat status;
  const bool exists = stat(output.placed, &status) == 0;
  if (exists && S_ISDIR(status.st_mode)) {
    errno = EISDIR;
    return nullptr;
  }
  if (exists && !S_ISREG(status.st_mode)) return std::fopen(output.placed, "wb");
  if (exists) {
    if (const int refused = RefusesWriting(output.placed); refused != 0) {
      errno = refused;
      return nullptr;
    }
  }
  output.existed = exists;
  for (int attempt = 0; attempt < kStagingAttempts; ++attempt) {
    if (attempt == 0) {
      std::snprintf(output.staged, sizeof output.staged, "%s.part-%d", output.placed, ProcessId());
    } else {
      std::snprintf(output.staged, sizeof output.staged, "%s.part-%d-%d", output.placed,
                    ProcessId(), attempt);
    }
    const int descriptor = open(output.staged, kCreateFlags, kCreateMode);
    if (descriptor < 0) {
      if (errno == EEXIST) continue;
      output.staged[0] = '\0';
      return nullptr;
    }
    if (exists) KeepPermissions(descriptor, status);
    FILE* stream = fdopen(descriptor, "wb");
    if (stream == nullptr) {
      const int reason = errno;
      close(descriptor);
      DiscardStagedOutput(output);
      errno = reason;
    }
    return stream;
  }
  output.staged[0] = '\0';
  errno = EEXIST;
  return nullptr;
}

int PlaceStagedOutput(StagedOutput& output) {
  if (output.staged[0] == '\0') return 0;
  const int reason = Replace(output.staged, output.placed);
  if (reason != 0) DiscardStagedOutput(output);
  output.staged[0] = '\0';
  return reason;
}

void DiscardStagedOutput(StagedOutput& output) {
  if (output.staged[0] != '\0') std::remove(output.staged);
  output.staged[0] = '\0';
}

}  // namespace quorval
