#include "convert/stream_reading.h"

#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "state/end_requests.h"

namespace quorval {

namespace {

// A wait looks at the end request at least this often, so that a request
// that came just before the wait began still ends it.
constexpr int kWaitSliceMilliseconds = 200;

}  // namespace

bool ArrivesWhileRead(FILE* stream) {
  struct stat info;
  const int descriptor = fileno(stream);
  return descriptor >= 0 && fstat(descriptor, &info) == 0 && !S_ISREG(info.st_mode);
}

size_t ReadArrived(FILE* stream, unsigned char* block, size_t size, FILE* rows) {
  const int descriptor = fileno(stream);
  pollfd arrival{descriptor, POLLIN, 0};
  if (rows != nullptr && poll(&arrival, 1, 0) == 0) std::fflush(rows);
  for (;;) {
    const int ready = poll(&arrival, 1, kWaitSliceMilliseconds);
    if (endRequestSignal != 0) return 0;
    if (ready == 0 || (ready < 0 && errno == EINTR)) continue;
    const ssize_t count = read(descriptor, block, size);
    if (count >= 0) return static_cast<size_t>(count);
    // Someone else made the stream non-blocking, or a signal came: wait again.
    if (errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR) return 0;
  }
}

}  // namespace quorval
