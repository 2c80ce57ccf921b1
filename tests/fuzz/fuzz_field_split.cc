// Every line of the input as a capture holds it (up to its first byte
// outside 32..126, at most 200 characters):
// the one-pass field split must report each field exactly as the
// reference's NextField walk finds it (present or not, text, and the
// character the walk's cursor rests on), or the target aborts.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "convert/field_tokenizer.h"
#include "reference/reference_converter.h"
#include "fuzz_lines.h"

using namespace quorval;

namespace {

void Compare(const std::string& sentence) {
  // The walk starts after a six-character tag, as the handlers start it.
  if (sentence.size() < 6) return;
  SentenceFields fields;
  SplitFields(fields, sentence.c_str());
  const char* cursor = sentence.c_str() + 6;
  for (int number = 1; number <= fields.count + 2; ++number) {
    const int walked = reference::NextField(cursor);
    const FieldSpan split = FieldAt(fields, number);
    const std::string text(split.text, static_cast<size_t>(split.length));
    if (split.present != (walked != 0) || text != reference::FieldBuffer ||
        CharAfterField(fields, number) != *cursor) {
      std::fprintf(stderr, "'%s' field %d: split present %d '%s' then '%c', walk %d '%s' then '%c'\n",
                   sentence.c_str(), number, split.present ? 1 : 0, text.c_str(),
                   CharAfterField(fields, number), walked, reference::FieldBuffer, *cursor);
      std::abort();
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string input(reinterpret_cast<const char*>(data), size);
  fuzz_lines::ForEachCapture(input, 200, [](const std::string& capture) { Compare(capture); });
  return 0;
}
