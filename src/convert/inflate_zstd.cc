// zstd logs, through libzstd.
#include <zstd.h>
#include <zstd_errors.h>

#include "convert/inflation.h"

namespace quorval {

namespace {

void* StartZstd() { return ZSTD_createDStream(); }

InflateResult InflateZstd(void* state, InflateStep& step) {
  ZSTD_inBuffer in{step.in, step.inCount, 0};
  ZSTD_outBuffer out{step.out, step.outRoom, 0};
  const size_t status = ZSTD_decompressStream(static_cast<ZSTD_DStream*>(state), &out, &in);
  step.in += in.pos;
  step.inCount -= in.pos;
  step.out += out.pos;
  step.outRoom -= out.pos;
  if (ZSTD_isError(status)) {
    return ZSTD_getErrorCode(status) == ZSTD_error_memory_allocation ? InflateResult::kNoMemory
                                                                      : InflateResult::kDamaged;
  }
  // Nothing left to write out of a frame that ended: the next, if any, is
  // a stream of its own.
  return status == 0 ? InflateResult::kStreamEnd : InflateResult::kGoing;
}

void EndZstd(void* state) { ZSTD_freeDStream(static_cast<ZSTD_DStream*>(state)); }

}  // namespace

extern const Inflater kZstdInflater{"zstd", "the zstd data is damaged (truncated)",
                                    "the zstd data is damaged (corrupt)", StartZstd, InflateZstd,
                                    EndZstd};

}  // namespace quorval
