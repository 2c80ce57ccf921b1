#include "convert/inflation.h"

#include <cerrno>
#include <cstring>
#include <limits>
#include <new>

#include "convert/sentence_capture.h"
#include "state/end_requests.h"

namespace quorval {

namespace {

// What the Windows build reads: Debian's mingw-w64 toolchain has zlib alone.
constexpr const Inflater* kInflaters[] = {
    &kGzipInflater,
#ifndef QUORVAL_GZIP_ONLY
    &kXzInflater,
    &kBzip2Inflater,
    &kZstdInflater,
#endif
};

// The text ends early: what the table holds stands, the log is named.
void Stop(LogReader& reader, const char* damage, int error) {
  if (reader.readError == 0) {
    reader.readError = error;
    reader.damage = damage;
  }
  EndInflating(reader.inflation);
}

}  // namespace

const Inflater* InflaterOf(const char* compression) {
  for (const Inflater* inflater : kInflaters) {
    if (std::strcmp(inflater->name, compression) == 0) return inflater;
  }
  return nullptr;
}

void StartInflating(LogReader& reader, const Inflater& inflater) {
  Inflation& f = reader.inflation;
  f = Inflation{&inflater, nullptr, nullptr, 0, 0, reader.blockStart, reader.blockStart, false, false};
  f.packed = new (std::nothrow) unsigned char[reader.blockSize];
  if (f.packed == nullptr) {
    Stop(reader, nullptr, ENOMEM);
    return;
  }
  // The bytes that showed the compressor are its first compressed bytes.
  std::memcpy(f.packed, reader.block, reader.filled);
  f.packedFilled = reader.filled;
  f.packedEnded = reader.filled == 0 || reader.readError != 0;
}

size_t InflateBlock(LogReader& reader) {
  Inflation& f = reader.inflation;
  unsigned char* out = reader.block;
  size_t room = reader.blockSize;
  f.blockPacked = f.packedPosition;
  while (room > 0 && !f.done) {
    if (f.packedNext == f.packedFilled && !f.packedEnded) {
      // A log that arrives while it is read hands out its text before the
      // wait for more: a receiver's rows go out as they come.
      if (reader.arriving && out > reader.block) break;
      f.packedNext = 0;
      f.packedFilled = ReadLogBytes(reader, f.packed, reader.blockSize);
      f.packedEnded = f.packedFilled == 0 || reader.readError != 0;
    }
    if (f.state == nullptr) {
      // Between streams: zeros that pad the log are passed over (as gzip
      // and zcat do); anything else begins the next stream (a gzip member
      // appended to the log, a second xz or bzip2 stream, a zstd frame).
      while (f.packedNext < f.packedFilled && f.packed[f.packedNext] == 0) {
        ++f.packedNext;
        ++f.packedPosition;
      }
      if (f.packedNext == f.packedFilled) {
        if (f.packedEnded) EndInflating(f);
        continue;
      }
      f.state = f.inflater->start();
      if (f.state == nullptr) {
        Stop(reader, nullptr, ENOMEM);
        break;
      }
    }
    InflateStep step{f.packed + f.packedNext, f.packedFilled - f.packedNext, out, room,
                     f.packedEnded};
    const InflateResult result = f.inflater->inflate(f.state, step);
    const size_t taken = f.packedFilled - f.packedNext - step.inCount;
    const size_t written = room - step.outRoom;
    f.packedNext += taken;
    f.packedPosition += static_cast<int64_t>(taken);
    out += written;
    room -= written;
    if (result == InflateResult::kStreamEnd) {
      f.inflater->end(f.state);
      f.state = nullptr;
    } else if (result == InflateResult::kDamaged) {
      Stop(reader, f.inflater->damaged, EIO);
    } else if (result == InflateResult::kNoMemory) {
      Stop(reader, nullptr, ENOMEM);
    } else if (taken == 0 && written == 0) {
      // A stream that goes nowhere with all of the log's bytes given ended
      // with the log; one that will not take the bytes it is given is
      // damaged. A read error or a request to end the program says more.
      if (!f.packedEnded) {
        if (f.packedNext < f.packedFilled) Stop(reader, f.inflater->damaged, EIO);
      } else if (endRequestSignal != 0 && reader.readError == 0) {
        EndInflating(f);
      } else {
        Stop(reader, f.inflater->cutShort, EIO);
      }
    }
  }
  return static_cast<size_t>(out - reader.block);
}

int64_t PackedPosition(const LogReader& reader) {
  const Inflation& f = reader.inflation;
  if (reader.filled == 0) return f.packedPosition;
  // At most a block of text by the compressed bytes it came from: well inside 64 bits.
  return f.blockPacked + static_cast<int64_t>(reader.next) * (f.packedPosition - f.blockPacked) /
                             static_cast<int64_t>(reader.filled);
}

int64_t LastTextPositionAt(const LogReader& reader, int64_t packedPosition) {
  const Inflation& f = reader.inflation;
  if (packedPosition >= f.packedPosition) return ReaderEnd(reader);
  if (packedPosition < f.blockPacked) return std::numeric_limits<int64_t>::min();
  return reader.blockStart + (packedPosition - f.blockPacked) * static_cast<int64_t>(reader.filled) /
                                 (f.packedPosition - f.blockPacked);
}

void EndInflating(Inflation& f) {
  if (f.state != nullptr) f.inflater->end(f.state);
  f.state = nullptr;
  delete[] f.packed;
  f.packed = nullptr;
  f.packedNext = f.packedFilled = 0;
  f.done = true;
}

}  // namespace quorval
