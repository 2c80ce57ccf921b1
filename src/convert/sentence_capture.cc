#include "convert/sentence_capture.h"

#include <bit>
#include <cassert>
#include <cerrno>
#include <cstring>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

#include "convert/stream_reading.h"

namespace quorval {

namespace {

// The longest magic number CompressionOf looks for, bzip2's.
constexpr size_t kLongestMagic = 10;

inline bool IsPrintable(unsigned char c) { return c >= 32 && c <= 126; }

constexpr uint64_t kOnes = 0x0101010101010101ULL;      // 1 in every byte
constexpr uint64_t kHighBits = 0x8080808080808080ULL;  // the top bit of every byte

// Whether any of the eight bytes lies outside 32..126: below 32, 127, or
// 128 and above. Subtracting 32 from every byte sets the top bit of a byte
// below 32 whose own top bit was clear (a borrow can flag more bytes, but
// only when one below 32 is there); a byte 127 is the byte 0 after an
// exclusive or with 0x7F, found the same way with 1; a top bit set is 128
// and above.
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

// Whether [p, end) holds nothing but carriage returns: the end of a line
// (some loggers write CR CR LF), not text after a stop.
bool OnlyCarriageReturns(const unsigned char* p, const unsigned char* end) {
  for (; p < end; ++p) {
    if (*p != '\r') return false;
  }
  return true;
}

// The last '$' of [p, end), or nullptr.
const unsigned char* FindLastDollar(const unsigned char* p, const unsigned char* end) {
#ifdef __GLIBC__
  return static_cast<const unsigned char*>(memrchr(p, '$', static_cast<size_t>(end - p)));
#else
  while (end > p) {
    if (*--end == '$') return end;
  }
  return nullptr;
#endif
}

// The capture of a line that lies inside the block, [p, lineFeed]: from its
// last '$' to its first stop after it, terminated where the stop stood.
const char* CaptureInPlace(unsigned char* p, unsigned char* lineFeed, int capacity, char* spill,
                           bool& broken) {
  broken = false;
  unsigned char* dollar = const_cast<unsigned char*>(FindLastDollar(p, lineFeed));
  if (dollar == nullptr) {
    spill[0] = '\0';
    return spill;
  }
  const size_t room = static_cast<size_t>(capacity);
  const unsigned char* limit = static_cast<size_t>(lineFeed - dollar) > room ? dollar + room : lineFeed;
  unsigned char* stop = const_cast<unsigned char*>(FindUnprintable(dollar, limit));
  broken = stop < lineFeed && !IsPrintable(*stop) && !OnlyCarriageReturns(stop, lineFeed);
  *stop = '\0';
  return reinterpret_cast<const char*>(dollar);
}

#ifdef __SSE2__
// The common line, '$', printable text, then CR LF or LF, seen in one pass
// sixteen bytes a step: the first byte outside 32..126 and the last '$'
// before it. Reads stop at the block's end, which holds a NUL, and may look
// at the padding after it. Returns the line feed, or nullptr when the line
// is not of that shape; sets the capture and its stop.
unsigned char* ScanCommonLine(unsigned char* p, const unsigned char* end, unsigned char*& dollar,
                              unsigned char*& stop) {
  // One added to a byte outside 32..126 gives, as a signed byte, a value
  // below 33: 0..31 become 1..32, and 127..255 wrap to -128..0.
  const __m128i one = _mm_set1_epi8(1);
  const __m128i firstPrintablePlusOne = _mm_set1_epi8(33);
  const __m128i sign = _mm_set1_epi8('$');
  // The line's own '$' is its first byte; only another one changes it.
  dollar = *p == '$' ? p : nullptr;
  for (unsigned char* q = dollar != nullptr ? p + 1 : p;; q += 16) {
    const __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i*>(q));
    const __m128i stopsFound = _mm_cmplt_epi8(_mm_add_epi8(chunk, one), firstPrintablePlusOne);
    const __m128i dollarsFound = _mm_cmpeq_epi8(chunk, sign);
    if (_mm_movemask_epi8(_mm_or_si128(stopsFound, dollarsFound)) == 0) continue;
    const auto stops = static_cast<unsigned>(_mm_movemask_epi8(stopsFound));
    auto dollars = static_cast<unsigned>(_mm_movemask_epi8(dollarsFound));
    if (stops != 0) dollars &= (stops & (0u - stops)) - 1;  // only those before the stop
    if (dollars != 0) dollar = q + (std::bit_width(dollars) - 1);
    if (stops != 0) {
      stop = q + std::countr_zero(stops);
      break;
    }
  }
  if (stop >= end) return nullptr;
  if (*stop == '\n') return stop;
  if (*stop == '\r' && stop + 1 < end && stop[1] == '\n') return stop + 1;
  return nullptr;
}
#endif

struct Capture {
  int length;      // characters captured, kept when a stop switches capturing off
  bool capturing;
  bool stopped;    // a byte outside 32..126 ended it: only carriage returns may follow
  bool broken;     // something else did follow
};

// Applies the capture rules to a stretch of one line that holds no line feed.
// Every '$' restarts the capture, so only the last '$' of the stretch
// matters; a stop does not erase: the text before a control byte still forms
// the sentence.
void CaptureStretch(Capture& capture, char* sentence, int capacity, const unsigned char* p,
                    const unsigned char* end) {
  if (const unsigned char* dollar = FindLastDollar(p, end)) {
    p = dollar;
    capture = Capture{0, true, false, false};
  }
  if (!capture.capturing) {
    if (capture.stopped && !OnlyCarriageReturns(p, end)) capture.broken = true;
    return;
  }
  const size_t room = static_cast<size_t>(capacity - capture.length);
  const unsigned char* limit = static_cast<size_t>(end - p) > room ? p + room : end;
  const unsigned char* stop = FindUnprintable(p, limit);
  std::memcpy(sentence + capture.length, p, static_cast<size_t>(stop - p));
  capture.length += static_cast<int>(stop - p);
  // A control byte, or a printable one past the capacity, ends the capture.
  if (stop < end) {
    capture.capturing = false;
    capture.stopped = !IsPrintable(*stop);
    capture.broken = capture.stopped && !OnlyCarriageReturns(stop, end);
  }
}

bool Refill(LogReader& reader) {
  reader.blockStart += static_cast<int64_t>(reader.filled);
  reader.next = 0;
  // A compressed log's text comes from its own refill; a plain log never
  // goes through a decompressor.
  reader.filled = reader.inflation.inflater != nullptr
                      ? InflateBlock(reader)
                      : ReadLogBytes(reader, reader.block, reader.blockSize);
  if (!reader.started) {
    reader.started = true;
    // A pipe may hand out the first bytes of a compressed stream in pieces
    // shorter than the compressor's magic number.
    while (reader.arriving && reader.filled > 0 && reader.filled < kLongestMagic &&
           reader.filled < reader.blockSize) {
      const size_t more = ReadLogBytes(reader, reader.block + reader.filled,
                                       reader.blockSize - reader.filled);
      if (more == 0) break;
      reader.filled += more;
    }
    if (const char* compression = CompressionOf(reader.block, reader.filled)) {
      if (const Inflater* inflater = InflaterOf(compression)) {
        StartInflating(reader, *inflater);
        reader.filled = InflateBlock(reader);
      } else {
        // Lines of a compressed stream would be noise: none is read.
        reader.unreadCompression = compression;
        reader.filled = 0;
      }
    }
  }
  // A NUL after the data stops every scan of the block at its end.
  assert(reader.filled <= reader.blockSize);
  reader.block[reader.filled] = '\0';
  return reader.filled > 0;
}

// The rest of a line that the block does not hold whole: copied stretch by
// stretch into spill, across as many reads as it takes.
ReadStatus CaptureAcrossBlocks(LogReader& reader, char* spill, int capacity) {
  Capture capture{0, false, false, false};
  for (;;) {
    if (reader.next == reader.filled && !Refill(reader)) return kEndOfInput;
    const unsigned char* start = reader.block + reader.next;
    const size_t available = reader.filled - reader.next;
    const auto* lineFeed = static_cast<const unsigned char*>(std::memchr(start, '\n', available));
    CaptureStretch(capture, spill, capacity, start, lineFeed != nullptr ? lineFeed : start + available);
    if (lineFeed != nullptr) {
      reader.next += static_cast<size_t>(lineFeed - start) + 1;
      spill[capture.length] = '\0';
      reader.broken = capture.broken;
      return kLineComplete;
    }
    reader.next = reader.filled;
  }
}

}  // namespace

size_t ReadLogBytes(LogReader& reader, unsigned char* into, size_t size) {
  if (reader.arriving) {
    return ReadArrived(reader.stream, into, size, reader.rows, reader.readError);
  }
  errno = 0;
  const size_t count = std::fread(into, 1, size, reader.stream);
  // A short read is the end of the log only when the stream says so; a
  // failed disk or a pulled stick sets the error indicator instead.
  if (count < size && std::ferror(reader.stream) != 0) {
    reader.readError = errno != 0 ? errno : EIO;
  }
  return count;
}

void FinishReading(LogReader& reader) { EndInflating(reader.inflation); }

const char* CompressionOf(const unsigned char* bytes, size_t count) {
  // Each format's own magic number, long enough that no text log begins
  // with it: bzip2's "BZh" and level digit are followed by the block magic
  // (the digits of pi) or, for an empty stream, the end magic.
  static const struct {
    const char* name;
    unsigned char magic[kLongestMagic];
    size_t length;
  } kMagics[] = {
      {"gzip", {0x1F, 0x8B, 0x08}, 3},
      {"xz", {0xFD, '7', 'z', 'X', 'Z', 0x00}, 6},
      {"zstd", {0x28, 0xB5, 0x2F, 0xFD}, 4},
      {"bzip2", {'B', 'Z', 'h', 0, 0x31, 0x41, 0x59, 0x26, 0x53, 0x59}, 10},
      {"bzip2", {'B', 'Z', 'h', 0, 0x17, 0x72, 0x45, 0x38, 0x50, 0x90}, 10},
  };
  for (const auto& format : kMagics) {
    if (count < format.length) continue;
    bool same = true;
    for (size_t i = 0; i < format.length && same; ++i) {
      // bzip2's fourth byte is its block size, '1' to '9'.
      same = format.magic[i] == 0 && i == 3 ? bytes[i] >= '1' && bytes[i] <= '9'
                                            : bytes[i] == format.magic[i];
    }
    if (same) return format.name;
  }
  return nullptr;
}

void StartReading(LogReader& reader, FILE* stream, unsigned char* block, size_t blockSize,
                  RowsFlush rows) {
  assert(stream != nullptr && block != nullptr && blockSize > 0);
  const int64_t position = ftello(stream);
  reader = LogReader{stream, block, blockSize, 0, 0, position < 0 ? 0 : position,
                     ArrivesWhileRead(stream), rows, false, false, 0, nullptr, nullptr, {}};
}

ReadStatus ReadSentence(LogReader& reader, char* spill, int capacity, const char*& sentence) {
  assert(reader.block != nullptr && spill != nullptr && capacity > 0);
  if (reader.next == reader.filled && !Refill(reader)) return kEndOfInput;
  unsigned char* p = reader.block + reader.next;
  unsigned char* const end = reader.block + reader.filled;
#ifdef __SSE2__
  unsigned char* dollar;
  unsigned char* stop;
  if (unsigned char* lineFeed = ScanCommonLine(p, end, dollar, stop)) {
    reader.next = static_cast<size_t>(lineFeed + 1 - reader.block);
    reader.broken = false;
    if (dollar == nullptr) {
      spill[0] = '\0';
      sentence = spill;
    } else {
      if (stop - dollar > capacity) stop = dollar + capacity;
      *stop = '\0';
      sentence = reinterpret_cast<const char*>(dollar);
    }
    return kLineComplete;
  }
#endif
  if (auto* lineFeed = static_cast<unsigned char*>(std::memchr(p, '\n', static_cast<size_t>(end - p)))) {
    reader.next = static_cast<size_t>(lineFeed + 1 - reader.block);
    sentence = CaptureInPlace(p, lineFeed, capacity, spill, reader.broken);
    return kLineComplete;
  }
  sentence = spill;
  return CaptureAcrossBlocks(reader, spill, capacity);
}

}  // namespace quorval
