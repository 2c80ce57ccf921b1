// Every line of the input as a capture holds it, read under each tag of the
// multi-system mode (the line's text after its first six characters behind
// $GPGGA, $GPRMC, $GPVTG, $GPZDA and $GPGSA): when a one-pass reader takes
// the sentence, each field must be what the general reading rules give it
// (the field split, then the reference converter's atof and atoi, and the
// forms of a time and an angle), or the target aborts.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <type_traits>
#include <utility>

#include "convert/receiver_cycle.h"
#include "convert/sentence_capture.h"
#include "reference/reference_converter.h"
#include "fuzz_lines.h"

using namespace quorval;

namespace {

[[noreturn]] void Fail(const char* sentence, int number, const char* what) {
  std::fprintf(stderr, "'%s' field %d: %s differs from the general reading\n", sentence, number, what);
  std::abort();
}

template <typename Plain>
void Compare(const char* sentence) {
  Plain plain;
  if (!plain.Read(sentence)) return;
  SentenceFields split;
  SplitFields(split, sentence);
  // The data fields: those a delimiter closes, and a last one without a
  // checksum after it.
  int count = split.count > 0 ? split.count - 1 : 0;
  if (split.count > 0 && split.sentence[split.at[split.count - 1]] != '*' &&
      split.at[split.count - 1] + 1 < split.length) {
    ++count;
  }
  // PlainGsa reads no GSA of more fields before its '*': their DOPs stand
  // elsewhere.
  int beforeStar = count;
  for (int k = 1; k < split.count && k < beforeStar; ++k) {
    if (split.sentence[split.at[k]] == '*') beforeStar = k;
  }
  if (std::is_same_v<Plain, PlainGsa> && beforeStar > Plain::kCount) Fail(sentence, count, "the field count");
  for (int n = 1; n <= Plain::kCount; ++n) {
    const plain::Kind kind = Plain::kKinds[n - 1];
    const bool there = n <= count;
    const FieldSpan field = there ? FieldAt(split, n) : FieldSpan{false, "", 0};
    // The reference reads a field's copy, as its walk makes it.
    const std::string text(field.text, static_cast<size_t>(field.length));
    if (plain.Length(n) != field.length || plain.Has(n) != (field.length > 0)) Fail(sentence, n, "the length");
    if (kind == plain::Kind::kInteger) {
      if (plain.Int(n) != (there ? reference::ParseInt(text.c_str()) : 0)) Fail(sentence, n, "the integer");
      continue;
    }
    const char letter = field.length > 0 ? field.text[0] : '\0';
    if (kind == plain::Kind::kLetter || kind == plain::Kind::kNone) {
      if (plain.Letter(n) != letter) Fail(sentence, n, "the letter");
      if (kind == plain::Kind::kLetter) continue;
    }
    const double real = plain.Real(n);
    const double expected = there ? reference::ParseReal(text.c_str()) : 0.0;
    if (std::memcmp(&real, &expected, sizeof real) != 0) Fail(sentence, n, "the real");
    if ((kind == plain::Kind::kTime || kind == plain::Kind::kNone) && plain.IsTime(n) != (there && IsNmeaTime(field))) {
      Fail(sentence, n, "the time's form");
    }
    for (const auto& [angle, digits] : {std::pair{plain::Kind::kLatitude, plain::kLatitudeDigits},
                                        std::pair{plain::Kind::kLongitude, plain::kLongitudeDigits}}) {
      if ((kind == angle || kind == plain::Kind::kNone) &&
          plain.IsAngle(n, digits) != (there && IsNmeaAngle(field, digits))) {
        Fail(sentence, n, "the angle's form");
      }
    }
  }
}

void CompareAll(const std::string& line) {
  const std::string rest = line.size() >= 6 ? line.substr(6) : line;
  const struct {
    const char* tag;
    void (*compare)(const char*);
  } readers[] = {{"$GPGGA", Compare<PlainGga>}, {"$GPRMC", Compare<PlainRmc>}, {"$GPVTG", Compare<PlainVtg>},
                 {"$GPZDA", Compare<PlainZda>}, {"$GPGSA", Compare<PlainGsa>}};
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
