// Reading a compressed log as its text. When the first block of a log shows
// a compressor's stream, the reader fills its block with the decompressed
// text instead, from the compressed bytes read in blocks of their own; the
// capture sees the same lines as in the plain log. Each library stands
// behind one small interface (inflate_gzip.cc, inflate_xz.cc, ...).
#pragma once

#include <cstddef>
#include <cstdint>

namespace quorval {

struct LogReader;

// One call of a decompressor: it takes compressed bytes from in and writes
// text to out, and moves both past what it took and wrote.
struct InflateStep {
  const unsigned char* in;
  size_t inCount;
  unsigned char* out;
  size_t outRoom;
  bool lastInput;  // no compressed byte follows those of in
};

enum class InflateResult {
  kGoing,      // more of the stream to come (or to be written out)
  kStreamEnd,  // a stream (a gzip member, a zstd frame) ended whole
  kDamaged,    // the data cannot be decompressed
  kNoMemory,
};

// A compressor's library, as the reader uses it.
struct Inflater {
  const char* name;      // as CompressionOf names it
  const char* cutShort;  // the reason when the log ends inside a stream
  const char* damaged;   // the reason when its data cannot be decompressed
  void* (*start)();      // the library's state for one stream; nullptr when memory is short
  InflateResult (*inflate)(void* state, InflateStep& step);
  void (*end)(void* state);
};

// The compressors this build reads (all four on Linux; Debian's mingw-w64
// has only zlib, so gzip alone on Windows).
extern const Inflater kGzipInflater;
extern const Inflater kXzInflater;
extern const Inflater kBzip2Inflater;
extern const Inflater kZstdInflater;

// The reader's side of a compressed log.
struct Inflation {
  const Inflater* inflater;  // nullptr: the log is read as it stands
  void* state;               // the library's, for the stream being read; nullptr between streams
  unsigned char* packed;     // the reader's blockSize of compressed bytes
  size_t packedNext;         // first compressed byte not yet decompressed
  size_t packedFilled;
  int64_t packedPosition;    // its position in the log
  int64_t blockPacked;       // the position where the text of the block began
  bool packedEnded;          // the log holds no more compressed bytes
  bool done;                 // the text ended, or damage or a read error stopped it
};

// The library of a compressor this build reads, or nullptr.
const Inflater* InflaterOf(const char* compression);

// After the first block of the log showed the inflater's stream: its bytes
// become the first compressed bytes, and the block is to be filled with
// text (InflateBlock). Allocates the compressed block once per log.
void StartInflating(LogReader& reader, const Inflater& inflater);

// Fills the reader's block with the next text of the log, as much as fits
// (from a log that arrives while it is read, what its compressed bytes so
// far give). Returns 0 at the end of the text, after a read error or a
// request to end the program, and when the data is damaged: then
// reader.damage names it and readError is EIO.
size_t InflateBlock(LogReader& reader);

// Where the text consumed lies in the compressed log: as far into the
// compressed bytes its block came from as it lies in the block. And the
// last position in the block's text that lies at or before a position in
// the compressed log (INT64_MIN when none does), for the progress of lines.
int64_t PackedPosition(const LogReader& reader);
int64_t LastTextPositionAt(const LogReader& reader, int64_t packedPosition);

// Gives back what the reading of a compressed log holds (nothing for a
// plain log); the inflation is then done.
void EndInflating(Inflation& inflation);

}  // namespace quorval
