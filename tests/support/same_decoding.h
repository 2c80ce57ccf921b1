// Whether the decoder's one-pass reading of a sentence gives the struct its
// general rules give, field by field: shared by the decoder's tests and its
// fuzz target.
#pragma once

#include <cstring>
#include <string>

#include "convert/sentence_decoder.h"

namespace quorval::test_support {

inline bool SameBits(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; }  // -0 is not 0

// Empty when the one-pass reading declines the sentence or agrees with the
// general rules; otherwise the first field that differs and how. The
// sentence must be a capture (read-ahead after its terminator).
template <typename Fields, size_t count>
Fields FieldsOf(const FieldEntry<Fields> (&)[count]);

template <const auto& layout, typename Fields = decltype(FieldsOf(layout))>
std::string OnePassDifference(const char* sentence, bool& onePass) {
  Fields plain{};
  Fields general{};
  onePass = DecodeInOnePass<layout>(sentence, plain);
  if (!onePass) return "";
  DecodeByGeneralRules(sentence, layout, general);
  for (const auto& entry : layout) {
    const Field& a = entry.place(plain);
    const Field& b = entry.place(general);
    const char* what = a.text != b.text           ? "the text"
                       : a.length != b.length     ? "the length"
                       : a.presence != b.presence ? "the presence"
                       : a.after != b.after       ? "the delimiter after it"
                       : a.wellFormed != b.wellFormed ? "the form"
                       : a.integer != b.integer   ? "the integer"
                       : !SameBits(a.real, b.real) ? "the real"
                                                   : nullptr;
    if (what != nullptr) return "field " + std::to_string(entry.number) + " (" + entry.name + "): " + what;
  }
  return "";
}

}  // namespace quorval::test_support
