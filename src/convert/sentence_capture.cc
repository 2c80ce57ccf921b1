#include "convert/sentence_capture.h"

#include <cstring>

#include "convert/stream_reading.h"

namespace quorval {

namespace {

struct Capture {
  int length;      // characters captured, kept when a stop switches capturing off
  bool capturing;
};

inline bool IsPrintable(unsigned char c) { return c >= 32 && c <= 126; }

constexpr uint64_t kOnes = 0x0101010101010101ULL;
constexpr uint64_t kHighBits = 0x8080808080808080ULL;

// Whether any of the eight bytes lies outside 32..126: below 32, 127, or
// 128 and above.
inline bool HasUnprintable(uint64_t x) {
  const uint64_t below32 = (x - kOnes * 32) & ~x & kHighBits;
  const uint64_t y = x ^ (kOnes * 0x7F);
  const uint64_t is127 = (y - kOnes) & ~y & kHighBits;
  return (below32 | is127 | (x & kHighBits)) != 0;
}

// The first byte of [p, end) outside 32..126, or end; eight bytes a step.
const unsigned char* FindUnprintable(const unsigned char* p, const unsigned char* end) {
  for (; end - p >= 8; p += 8) {
    uint64_t word;
    std::memcpy(&word, p, 8);
    if (HasUnprintable(word)) break;
  }
  while (p < end && IsPrintable(*p)) ++p;
  return p;
}

// The last '$' of a stretch, searched from its end.
const unsigned char* LastDollar(const unsigned char* p, const unsigned char* end) {
#ifdef __GLIBC__
  return static_cast<const unsigned char*>(memrchr(p, '$', static_cast<size_t>(end - p)));
#else
  while (end > p) {
    if (*--end == '$') return end;
  }
  return nullptr;
#endif
}

// Applies the capture rules to a stretch of one line that holds no line feed.
// Every '$' restarts the capture, so only the last '$' of the stretch
// matters; a stop does not erase: the text before a control byte still forms
// the sentence.
void CaptureStretch(Capture& capture, char* sentence, int capacity, const unsigned char* p,
                    const unsigned char* end) {
  const unsigned char* dollar = LastDollar(p, end);
  if (dollar != nullptr) {
    p = dollar;
    capture.length = 0;
    capture.capturing = true;
  }
  if (!capture.capturing) return;
  const size_t room = static_cast<size_t>(capacity - capture.length);
  const unsigned char* limit = static_cast<size_t>(end - p) > room ? p + room : end;
  const unsigned char* stop = FindUnprintable(p, limit);
  std::memcpy(sentence + capture.length, p, static_cast<size_t>(stop - p));
  capture.length += static_cast<int>(stop - p);
  // A control byte, or a printable one past the capacity, ends the capture.
  if (stop < end) capture.capturing = false;
}

bool Refill(LogReader& reader) {
  reader.blockStart += static_cast<int64_t>(reader.filled);
  reader.next = 0;
  reader.filled = reader.arriving
                      ? ReadArrived(reader.stream, reader.block, reader.blockSize, reader.rows)
                      : std::fread(reader.block, 1, reader.blockSize, reader.stream);
  return reader.filled > 0;
}

}  // namespace

void StartReading(LogReader& reader, FILE* stream, unsigned char* block, size_t blockSize,
                  FILE* rows) {
  const int64_t position = ftello(stream);
  reader = LogReader{stream, block, blockSize, 0, 0, position < 0 ? 0 : position,
                     ArrivesWhileRead(stream), rows};
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

}  // namespace quorval
