// Arbitrary bytes through the whole conversion: capture, tokenizer, every
// sentence handler and the CSV writer.
#include <cstddef>
#include <cstdint>
#include <cstdio>

#include "convert/conversion_loop.h"
#include "shell/run_state.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FILE* input = fmemopen(const_cast<uint8_t*>(data), size, "rb");
  if (input == nullptr) return 0;  // fmemopen refuses an empty buffer
  FILE* output = std::fopen("/dev/null", "wb");
  runState.inputFile = input;
  runState.inputSize = static_cast<int64_t>(size);
  runState.progressStarted = 0;
  ConvertLog(input, output);
  runState.inputFile = nullptr;
  std::fclose(output);
  std::fclose(input);
  return 0;
}
