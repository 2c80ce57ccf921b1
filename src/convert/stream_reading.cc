#include "convert/stream_reading.h"

#include <cerrno>

#include "state/end_requests.h"

#ifdef _WIN32
#include <io.h>
#include <windows.h>
#else
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace quorval {

namespace {

#ifdef _WIN32
// An anonymous pipe cannot be waited on with a time limit: it is looked at
// this often until something arrived or its writer closed it.
constexpr DWORD kPipeLookMilliseconds = 5;

HANDLE SystemHandle(FILE* stream) {
  const int descriptor = _fileno(stream);
  return descriptor >= 0 ? reinterpret_cast<HANDLE>(_get_osfhandle(descriptor))
                         : INVALID_HANDLE_VALUE;
}
#else
// A wait looks at the end request at least this often, so that a request
// that came just before the wait began still ends it.
constexpr int kWaitSliceMilliseconds = 200;
#endif

}  // namespace

#ifdef _WIN32
bool ArrivesWhileRead(FILE* stream) {
  const HANDLE input = SystemHandle(stream);
  if (input == INVALID_HANDLE_VALUE) return false;
  const DWORD type = GetFileType(input);
  return type == FILE_TYPE_PIPE || type == FILE_TYPE_CHAR;
}

// The handle is read directly, as the descriptor is elsewhere: no text-mode
// translation, and no waiting for a whole block.
size_t ReadArrived(FILE* stream, unsigned char* block, size_t size, const RowsFlush& rows, int& readError) {
  const HANDLE input = SystemHandle(stream);
  if (GetFileType(input) == FILE_TYPE_PIPE) {
    for (bool waited = false;; waited = true) {
      if (endRequestSignal != 0) return 0;
      DWORD available = 0;
      // A pipe whose writer is gone fails here; the read below then ends it.
      if (!PeekNamedPipe(input, nullptr, 0, nullptr, &available, nullptr) || available > 0) break;
      if (!waited && rows.flush != nullptr) rows.flush(rows.context);
      Sleep(kPipeLookMilliseconds);
    }
  } else if (rows.flush != nullptr) {
    rows.flush(rows.context);  // a console or a device: the read may wait
  }
  DWORD count = 0;
  const DWORD wanted = size > MAXDWORD ? MAXDWORD : static_cast<DWORD>(size);
  if (endRequestSignal != 0) return 0;
  if (!ReadFile(input, block, wanted, &count, nullptr)) {
    // The writer of a pipe closing it is the pipe's end, not a failure.
    const DWORD reason = GetLastError();
    if (reason != ERROR_BROKEN_PIPE && reason != ERROR_HANDLE_EOF) readError = EIO;
    return 0;
  }
  return count;
}
#else
bool ArrivesWhileRead(FILE* stream) {
  struct stat info;
  const int descriptor = fileno(stream);
  return descriptor >= 0 && fstat(descriptor, &info) == 0 && !S_ISREG(info.st_mode);
}

size_t ReadArrived(FILE* stream, unsigned char* block, size_t size, const RowsFlush& rows, int& readError) {
  const int descriptor = fileno(stream);
  pollfd arrival{descriptor, POLLIN, 0};
  if (rows.flush != nullptr && poll(&arrival, 1, 0) == 0) rows.flush(rows.context);
  for (;;) {
    const int ready = poll(&arrival, 1, kWaitSliceMilliseconds);
    if (endRequestSignal != 0) return 0;
    if (ready == 0 || (ready < 0 && errno == EINTR)) continue;
    const ssize_t count = read(descriptor, block, size);
    if (count >= 0) return static_cast<size_t>(count);
    // Someone else made the stream non-blocking, or a signal came: wait again.
    if (errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR) {
      readError = errno;  // a folder as standard input, a device gone
      return 0;
    }
  }
}
#endif

}  // namespace quorval
