// bzip2 logs, through libbz2.
#include <bzlib.h>

#include <climits>
#include <new>

#include "convert/inflation.h"

namespace quorval {

namespace {

// libbz2 counts in unsigned int: a larger block goes over in pieces.
unsigned int Piece(size_t count) { return count > UINT_MAX ? UINT_MAX : static_cast<unsigned int>(count); }

void* StartBzip2() {
  auto* stream = new (std::nothrow) bz_stream{};
  // No messages of its own, and the fast decoder's memory.
  if (stream != nullptr && BZ2_bzDecompressInit(stream, 0, 0) != BZ_OK) {
    delete stream;
    return nullptr;
  }
  return stream;
}

InflateResult InflateBzip2(void* state, InflateStep& step) {
  bz_stream& stream = *static_cast<bz_stream*>(state);
  const unsigned int in = Piece(step.inCount);
  const unsigned int out = Piece(step.outRoom);
  stream.next_in = const_cast<char*>(reinterpret_cast<const char*>(step.in));
  stream.avail_in = in;
  stream.next_out = reinterpret_cast<char*>(step.out);
  stream.avail_out = out;
  const int status = BZ2_bzDecompress(&stream);
  step.in += in - stream.avail_in;
  step.inCount -= in - stream.avail_in;
  step.out += out - stream.avail_out;
  step.outRoom -= out - stream.avail_out;
  switch (status) {
    case BZ_OK:
      return InflateResult::kGoing;
    case BZ_STREAM_END:
      return InflateResult::kStreamEnd;
    case BZ_MEM_ERROR:
      return InflateResult::kNoMemory;
    default:
      return InflateResult::kDamaged;
  }
}

void EndBzip2(void* state) {
  auto* stream = static_cast<bz_stream*>(state);
  BZ2_bzDecompressEnd(stream);
  delete stream;
}

}  // namespace

extern const Inflater kBzip2Inflater{"bzip2", "the bzip2 data is damaged (truncated)",
                                     "the bzip2 data is damaged (corrupt)", StartBzip2,
                                     InflateBzip2, EndBzip2};

}  // namespace quorval
