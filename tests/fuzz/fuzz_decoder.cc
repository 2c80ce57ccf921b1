// Every line of the input as a capture holds it, decoded under the tag of
// each sentence layout: the one-pass reading, when it takes the sentence,
// must give the struct of the general rules, field by field, and every
// number the general rules give must be what the reference converter's
// atof and atoi give for the field's text; otherwise the target aborts.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "convert/sentence_capture.h"
#include "fuzz_lines.h"
#include "reference/reference_converter.h"
#include "support/same_decoding.h"

using namespace quorval;

namespace {

[[noreturn]] void Fail(const char* sentence, const std::string& what) {
  std::fprintf(stderr, "'%s': %s\n", sentence, what.c_str());
  std::abort();
}

template <const auto& layout>
void Compare(const char* sentence) {
  bool onePass = false;
  const std::string difference = test_support::OnePassDifference<layout>(sentence, onePass);
  if (!difference.empty()) Fail(sentence, "the one-pass reading differs in " + difference);
  decltype(FieldsOf(layout)) fields{};
  DecodeByGeneralRules(sentence, layout, fields);
  for (const auto& entry : layout) {
    const Field& field = entry.place(fields);
    if (!field.Sent()) continue;
    const std::string text(field.text, field.length);
    if (entry.kind == Kind::kInteger && field.integer != reference::ParseInt(text.c_str())) {
      Fail(sentence, "field " + std::to_string(entry.number) + ": the integer is not atoi's");
    }
    const bool real = entry.kind != Kind::kInteger && entry.kind != Kind::kText;
    if (real && !test_support::SameBits(field.real, reference::ParseReal(text.c_str()))) {
      Fail(sentence, "field " + std::to_string(entry.number) + ": the real is not atof's");
    }
  }
}

void CompareAll(const std::string& line) {
  const std::string rest = line.size() >= 6 ? line.substr(6) : line;
  const struct {
    const char* tag;
    void (*compare)(const char*);
  } readers[] = {{"$GPGGA", Compare<kGgaLayout>}, {"$GPRMC", Compare<kRmcLayout>}, {"$GPVTG", Compare<kVtgLayout>},
                 {"$GPZDA", Compare<kZdaLayout>}, {"$GPGSA", Compare<kGsaLayout>}, {"$GPGSV", Compare<kGsvLayout>},
                 {"$GNGNS", Compare<kGnsLayout>}, {"$GPGLL", Compare<kGllLayout>}, {"$GPGST", Compare<kGstLayout>}};
  for (const auto& reader : readers) {
    // A capture: at most 200 characters, read ahead past its terminator.
    char captured[kSentenceCapacity + 1 + 32] = {};
    const std::string sentence = (reader.tag + rest).substr(0, kSentenceCapacity);
    std::memcpy(captured, sentence.data(), sentence.size());
    reader.compare(captured);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string input(reinterpret_cast<const char*>(data), size);
  fuzz_lines::ForEachCapture(input, kSentenceCapacity, [](const std::string& capture) { CompareAll(capture); });
  return 0;
}
