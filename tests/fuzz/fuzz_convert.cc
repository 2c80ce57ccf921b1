// Arbitrary bytes through the whole conversion (capture, tokenizer, every
// sentence handler, the CSV writer) and through the reference converter:
// the tables must agree byte for byte. The input holds up to three logs,
// split at its first two 0xFF bytes, converted one after the other from a
// fresh record, so that values carried from log to log are compared too.
// A log that begins as a gzip stream is decompressed and converted,
// unchecked but under the sanitizers.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "convert/conversion_loop.h"
#include "convert/sentence_capture.h"
#include "state/epoch_record.h"
#include "reference/reference_converter.h"
#include "state/run_state.h"

using namespace quorval;

namespace {

std::string Table(FILE* output, char*& text, size_t& length) {
  std::fclose(output);
  std::string table(text, length);
  std::free(text);
  return table;
}

void Compare(const uint8_t* data, size_t size) {
  const char* compression = CompressionOf(data, size);
  // The record as it was before a compressed log, which the reference
  // does not convert.
  const EpochRecord kept = epochRecord;
  char* text = nullptr;
  size_t length = 0;

  FILE* input = fmemopen(const_cast<uint8_t*>(data), size, "rb");
  FILE* output = open_memstream(&text, &length);
  runState.inputFile = input;
  runState.inputSize = static_cast<int64_t>(size);
  runState.progressStarted = 0;
  static Conversion conversion;
  // A log that begins as a compressor's stream is read as its text, which
  // the reference does not do: only the sanitizers watch the decompression
  // of whatever bytes follow a gzip header. The other compressors can
  // unfold a few bytes into gigabytes of text; they are left alone.
  if (compression == nullptr || std::strcmp(compression, "gzip") == 0) {
    ConvertLog(input, output, conversion);
  }
  runState.inputFile = nullptr;
  std::fclose(input);
  const std::string fast = Table(output, text, length);
  if (compression != nullptr) {
    epochRecord = kept;
    return;
  }

  input = fmemopen(const_cast<uint8_t*>(data), size, "rb");
  output = open_memstream(&text, &length);
  reference::ConvertLog(input, output);
  std::fclose(input);
  const std::string plain = Table(output, text, length);

  if (fast != plain) {
    size_t at = 0;
    while (at < fast.size() && at < plain.size() && fast[at] == plain[at]) ++at;
    const size_t line = fast.rfind('\n', at) == std::string::npos ? 0 : fast.rfind('\n', at) + 1;
    std::fprintf(stderr, "tables differ at byte %zu\nconverter: %.400s\nreference: %.400s\n", at,
                 fast.c_str() + line, plain.c_str() + std::min(line, plain.size()));
    std::abort();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  ResetEpochRecord();
  reference::ResetRecord();
  const uint8_t* end = data + size;
  for (int log = 0; log < 3 && data < end; ++log) {
    const auto* separator = static_cast<const uint8_t*>(std::memchr(data, 0xFF, end - data));
    const uint8_t* logEnd = log < 2 && separator != nullptr ? separator : end;
    // fmemopen refuses an empty buffer; an empty log changes nothing anyway.
    if (logEnd > data) Compare(data, static_cast<size_t>(logEnd - data));
    data = logEnd == end ? end : logEnd + 1;
  }
  return 0;
}
