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
template <const auto& layout, typename Fields = decltype(FieldsOf(layout))>
std::string OnePassDifference(const char* sentence, bool& onePass) {
  // Whatever a field's kind leaves unset differs between the two.
  Fields plain;
  std::memset(&plain, 0x5A, sizeof plain);
  Fields general{};
  onePass = DecodeInOnePass<layout>(sentence, plain);
  if (!onePass) return "";
  DecodeByGeneralRules(sentence, layout, general);
  for (const auto& entry : layout) {
    const Field& a = entry.place(plain);
    const Field& b = entry.place(general);
    // Only the value of the field's kind counts.
    const bool integer = entry.kind == Kind::kInteger;
    const bool real = !integer && entry.kind != Kind::kText;
    const bool form = real && entry.kind != Kind::kReal;
    const char* what = a.text != b.text                      ? "the text"
                       : a.length != b.length                ? "the length"
                       : a.presence != b.presence            ? "the presence"
                       : a.after != b.after                  ? "the delimiter after it"
                       : form && a.wellFormed != b.wellFormed ? "the form"
                       : integer && a.integer != b.integer   ? "the integer"
                       : real && !SameBits(a.real, b.real)   ? "the real"
                                                             : nullptr;
    if (what != nullptr) return "field " + std::to_string(entry.number) + " (" + entry.name + "): " + what;
  }
  return "";
}

}  // namespace quorval::test_support
