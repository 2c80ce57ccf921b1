// gzip logs, through zlib.
#include <zlib.h>

#include <climits>
#include <new>

#include "convert/inflation.h"

namespace quorval {

namespace {

// zlib counts in unsigned int: a larger block goes over in pieces.
uInt Piece(size_t count) { return count > UINT_MAX ? UINT_MAX : static_cast<uInt>(count); }

void* StartGzip() {
  auto* stream = new (std::nothrow) z_stream{};
  // The largest window, and the gzip header and trailer (with its check of
  // the text) around the deflated data.
  if (stream != nullptr && inflateInit2(stream, MAX_WBITS + 16) != Z_OK) {
    delete stream;
    return nullptr;
  }
  return stream;
}

InflateResult InflateGzip(void* state, InflateStep& step) {
  z_stream& stream = *static_cast<z_stream*>(state);
  const uInt in = Piece(step.inCount);
  const uInt out = Piece(step.outRoom);
  stream.next_in = const_cast<Bytef*>(step.in);
  stream.avail_in = in;
  stream.next_out = step.out;
  stream.avail_out = out;
  const int status = inflate(&stream, Z_NO_FLUSH);
  step.in += in - stream.avail_in;
  step.inCount -= in - stream.avail_in;
  step.out += out - stream.avail_out;
  step.outRoom -= out - stream.avail_out;
  switch (status) {
    case Z_OK:
    case Z_BUF_ERROR:  // nothing to do until more comes
      return InflateResult::kGoing;
    case Z_STREAM_END:
      return InflateResult::kStreamEnd;
    case Z_MEM_ERROR:
      return InflateResult::kNoMemory;
    default:
      return InflateResult::kDamaged;
  }
}

void EndGzip(void* state) {
  auto* stream = static_cast<z_stream*>(state);
  inflateEnd(stream);
  delete stream;
}

}  // namespace

extern const Inflater kGzipInflater{"gzip", "the gzip data is damaged (truncated)",
                                    "the gzip data is damaged (corrupt)", StartGzip, InflateGzip,
                                    EndGzip};

}  // namespace quorval
