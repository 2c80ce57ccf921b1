// xz logs, through liblzma.
#include <lzma.h>

#include <cstdint>
#include <new>

#include "convert/inflation.h"

namespace quorval {

namespace {

void* StartXz() {
  auto* stream = new (std::nothrow) lzma_stream{};  // all zero, as LZMA_STREAM_INIT
  // Every stream of a log made of several, and no memory limit, as xz
  // decompresses by default.
  if (stream != nullptr && lzma_stream_decoder(stream, UINT64_MAX, LZMA_CONCATENATED) != LZMA_OK) {
    delete stream;
    return nullptr;
  }
  return stream;
}

InflateResult InflateXz(void* state, InflateStep& step) {
  lzma_stream& stream = *static_cast<lzma_stream*>(state);
  stream.next_in = step.in;
  stream.avail_in = step.inCount;
  stream.next_out = step.out;
  stream.avail_out = step.outRoom;
  // Only told that the log ends does the decoder know that no stream follows.
  const lzma_ret status = lzma_code(&stream, step.lastInput ? LZMA_FINISH : LZMA_RUN);
  step.in = stream.next_in;
  step.inCount = stream.avail_in;
  step.out = stream.next_out;
  step.outRoom = stream.avail_out;
  switch (status) {
    case LZMA_OK:
    case LZMA_BUF_ERROR:  // no progress: the reader tells what that means
      return InflateResult::kGoing;
    case LZMA_STREAM_END:
      return InflateResult::kStreamEnd;
    case LZMA_MEM_ERROR:
    case LZMA_MEMLIMIT_ERROR:
      return InflateResult::kNoMemory;
    default:
      return InflateResult::kDamaged;
  }
}

void EndXz(void* state) {
  auto* stream = static_cast<lzma_stream*>(state);
  lzma_end(stream);
  delete stream;
}

}  // namespace

extern const Inflater kXzInflater{"xz", "the xz data is damaged (truncated)",
                                  "the xz data is damaged (corrupt)", StartXz, InflateXz, EndXz};

}  // namespace quorval
