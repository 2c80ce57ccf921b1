#include "convert/sentence_capture.h"

#include <cstring>

namespace {

struct Capture {
  int length;      // characters captured, kept when a stop switches capturing off
  bool capturing;
};

inline bool IsPrintable(unsigned char c) { return c >= 32 && c <= 126; }

// Applies the capture rules to a stretch of one line that holds no line feed.
// Every '$' restarts the capture, so only the last '$' of the stretch
// matters; a stop does not erase: the text before a control byte still forms
// the sentence.
void CaptureStretch(Capture& capture, char* sentence, int capacity, const unsigned char* p,
                    const unsigned char* end) {
  const void* dollar = memrchr(p, '$', static_cast<size_t>(end - p));
  if (dollar != nullptr) {
    p = static_cast<const unsigned char*>(dollar);
    capture.length = 0;
    capture.capturing = true;
  }
  if (!capture.capturing) return;
  int length = capture.length;
  for (; p < end; ++p) {
    if (!IsPrintable(*p) || length == capacity) {
      capture.capturing = false;
      break;
    }
    sentence[length++] = static_cast<char>(*p);
  }
  capture.length = length;
}

bool Refill(LogReader& reader) {
  reader.blockStart += static_cast<int64_t>(reader.filled);
  reader.next = 0;
  reader.filled = std::fread(reader.block, 1, reader.blockSize, reader.stream);
  return reader.filled > 0;
}

}  // namespace

void StartReading(LogReader& reader, FILE* stream, unsigned char* block, size_t blockSize) {
  const int64_t position = ftello(stream);
  reader = LogReader{stream, block, blockSize, 0, 0, position < 0 ? 0 : position};
}

ReadStatus ReadSentence(char* sentence, LogReader& reader, int capacity) {
  Capture capture{0, false};
  for (;;) {
    if (reader.next == reader.filled && !Refill(reader)) return kEndOfInput;
    const unsigned char* start = reader.block + reader.next;
    const size_t available = reader.filled - reader.next;
    const auto* lineFeed = static_cast<const unsigned char*>(std::memchr(start, '\n', available));
    CaptureStretch(capture, sentence, capacity, start, lineFeed != nullptr ? lineFeed : start + available);
    if (lineFeed != nullptr) {
      reader.next += static_cast<size_t>(lineFeed - start) + 1;
      sentence[capture.length] = '\0';
      return kLineComplete;
    }
    reader.next = reader.filled;
  }
}
