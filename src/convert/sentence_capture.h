// Capturing the sentence of each line of a log. A line is complete at its
// line feed; its capture is the text from its last '$' up to the first byte
// outside 32..126 or to 200 characters, whichever comes first.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>

#include "convert/inflation.h"

namespace quorval {

constexpr int kSentenceCapacity = 200;

// Bytes after a block that a read may look at; they belong to the caller's
// block too, never to the log. The scans read sixteen bytes at a time from
// any byte up to the NUL that ends the block's data: the last read reaches
// fifteen bytes past it, so the NUL and fifteen more. The same sixteen
// bytes after a capture's terminator, in the block or in spill, are the
// read-ahead that the readers of a capture rely on (kSentenceReadAhead,
// SentenceChecksum).
constexpr size_t kReadBlockPadding = 16;
static_assert(kReadBlockPadding >= 1 + 15, "the NUL after the data and a sixteen-byte read from it");

// Reads a log in large blocks and counts the bytes it hands out itself, so
// that no byte goes through a locked stream call and no line needs a
// position query.
// What sends the rows made so far to their streams.
struct RowsFlush {
  void (*flush)(void* context);  // nullptr: nothing to send
  void* context;
};

struct LogReader {
  FILE* stream;
  unsigned char* block;  // blockSize bytes, then kReadBlockPadding
  size_t blockSize;
  size_t next;           // first byte of the block not yet consumed
  size_t filled;         // bytes of the block read from the stream
  int64_t blockStart;    // stream position of block[0]
  bool arriving;         // a pipe, FIFO, terminal or device: read what has arrived
  RowsFlush rows;        // before a wait for more of such a log
  // The last line's capture was stopped by a byte outside 32..126 with more
  // of the line after it than carriage returns: a sentence that a receiver's
  // restart or a serial fault broke off, which the capture cannot show.
  bool broken;
  bool started;          // the first block has been read and looked at
  int readError;         // why the log could not be read on (an errno value), or 0
  const char* unreadCompression;  // the compressor of a log this build does not read ("xz"), or nullptr
  const char* damage;    // why a compressed log's text ended early (readError is EIO), or nullptr
  Inflation inflation;   // the decompression of a compressed log
};

// The compressor whose stream the bytes begin with ("gzip", "xz", "bzip2",
// "zstd"), found by the format's magic number, or nullptr. A log read from
// the start is looked at once, at its first block.
const char* CompressionOf(const unsigned char* bytes, size_t count);

enum ReadStatus { kLineComplete = 0, kEndOfInput = 1 };

// Starts reading at the stream's current position (0 when it cannot tell,
// as for a pipe). The block is caller-owned and must hold blockSize +
// kReadBlockPadding bytes (blockSize at least 1): a NUL is written after
// the data of every read, and the scans look past it. When the log is not
// a regular file, rows (the tables being written, if given) are flushed
// whenever the reader has to wait for more.
void StartReading(LogReader& reader, FILE* stream, unsigned char* block, size_t blockSize,
                  RowsFlush rows = {});

// Position of the first byte not yet consumed: after a complete line, the
// position just past its line feed.
inline int64_t ReaderPosition(const LogReader& reader) {
  return reader.blockStart + static_cast<int64_t>(reader.next);
}

// Position just past the bytes read from the stream so far.
inline int64_t ReaderEnd(const LogReader& reader) {
  return reader.blockStart + static_cast<int64_t>(reader.filled);
}

// Reads up to size bytes of the log as they stand in its file or pipe (of a
// log that arrives while it is read, what has arrived). Returns 0 at the
// end of the log, after a read error (readError says why) and when a
// request to end the program came while it waited.
size_t ReadLogBytes(LogReader& reader, unsigned char* into, size_t size);

// Gives back what the reading of a compressed log holds; a plain log holds
// nothing. Due after every reading that may have met a compressed log.
void FinishReading(LogReader& reader);

// Reads one line (up to and including its line feed) and points sentence at
// its capture, zero-terminated, valid until the next call. A line that lies
// inside one block is captured where it stands: the byte that ended the
// capture, already read, becomes its terminator. A line across blocks is
// copied into spill, which also holds the empty capture; spill must hold
// capacity + 1 + kReadBlockPadding bytes (capacity at least 1). Either way
// kReadBlockPadding bytes after the terminator can be read. Sets
// reader.broken for the line. Returns kEndOfInput when the input ended (or
// failed, as readError, damage and unreadCompression then say) before a
// line feed: an unterminated last line is never processed. A log
// compressed with a compressor this build reads is read as its text.
ReadStatus ReadSentence(LogReader& reader, char* spill, int capacity, const char*& sentence);

}  // namespace quorval
