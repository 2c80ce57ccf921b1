// The one reader of every sentence layout: it fills the sentence's decoded
// struct from its table (sentence_layouts.h). Sentences as receivers send
// them, every field closed by ',' or '*' and numbers written as plain
// digits, are read in one pass; any other text by the general rules, which
// split the sentence first. Both give the same struct for the same text
// (a fuzz target holds them to it).
#pragma once

#include <cstddef>
#include <cstdint>
#include <iterator>
#include <utility>

#include "convert/decoded_field.h"
#include "convert/field_tokenizer.h"
#include "convert/numeric_fields.h"
#include "convert/plain_fields.h"
#include "convert/sentence_layouts.h"

namespace quorval {

namespace decoding {

// The fields that hold the sentence's data: those a delimiter closes, and
// the last one when no '*' comes before it and it has text.
inline int DataFieldCount(const SentenceFields& split) {
  if (split.count == 0) return 0;
  const int last = split.at[split.count - 1];
  const bool unclosed = split.sentence[last] != '*' && last + 1 < split.length;
  return split.count - 1 + (unclosed ? 1 : 0);
}

inline void Clear(Field& field) {
  field.real = 0.0;
  field.integer = 0;
  field.wellFormed = false;
}

// One field by the general rules: its text converted where it stands.
inline void ReadGeneral(Kind kind, const SentenceFields& split, int number, int dataFields, Field& field) {
  const FieldSpan span = FieldAt(split, number);
  field.text = span.text;
  field.length = static_cast<uint8_t>(span.length);
  field.after = CharAfterField(split, number);
  field.presence = span.present ? Presence::kClosed : number <= dataFields ? Presence::kLast : Presence::kPast;
  Clear(field);
  if (field.presence == Presence::kPast) return;
  switch (kind) {
    case Kind::kText:
      break;
    case Kind::kReal:
      field.real = RealField(span);
      break;
    case Kind::kInteger:
      field.integer = IntField(span);
      break;
    case Kind::kTime:
      field.real = RealField(span);
      field.wellFormed = span.length > 0 && IsNmeaTime(span);
      break;
    case Kind::kLatitude:
      field.real = RealField(span);
      field.wellFormed = span.length > 0 && IsNmeaAngle(span, plain::kLatitudeDigits);
      break;
    case Kind::kLongitude:
      field.real = RealField(span);
      field.wellFormed = span.length > 0 && IsNmeaAngle(span, plain::kLongitudeDigits);
      break;
  }
}

// One field in one pass, start at its first character: the delimiter that
// closes it, or nullptr when the field is not plain.
template <Kind kind>
[[gnu::always_inline]] inline const char* ReadPlain(const char* start, Field& field) {
  const char* end = nullptr;
  if constexpr (kind == Kind::kText) end = plain::SkipField(start);
  if constexpr (kind == Kind::kReal) end = plain::Real(start, field.real);
  if constexpr (kind == Kind::kInteger) end = plain::Int(start, field.integer);
  if constexpr (kind == Kind::kTime) end = plain::Real<plain::Form::kTime>(start, field.real);
  if constexpr (kind == Kind::kLatitude) end = plain::Real<plain::Form::kLatitude>(start, field.real);
  if constexpr (kind == Kind::kLongitude) end = plain::Real<plain::Form::kLongitude>(start, field.real);
  // Time and angle readers take only their NMEA form, or an empty field.
  if constexpr (kind == Kind::kTime || kind == Kind::kLatitude || kind == Kind::kLongitude) {
    field.wellFormed = end != nullptr && end != start;
  }
  return end;
}

// After a '*' and its checksum, or after a last ',' with nothing behind it,
// a sentence has no more fields: the rest of the layout's first count, from
// index on, is past its data, with the text after that delimiter (p).
// False for any other end, which the general rules read.
template <const auto& layout, size_t count, size_t index, typename Fields>
bool RestPast(const char* p, Fields& fields) {
  const char* rest = p + 1;
  int length = 0;
  for (; rest[length] != '\0'; ++length) {
    if (plain::IsDelimiter(rest[length])) return false;
  }
  if (*p != '*' && length != 0) return false;  // a last field without checksum
  const Field past{rest, 0.0, 0, static_cast<uint8_t>(length), Presence::kPast, false, *p};
  [&]<size_t... i>(std::index_sequence<i...>) {
    ((layout[index + i].place(fields) = past), ...);
  }(std::make_index_sequence<count - index>());
  return true;
}

// The layout's first count fields from index on; p rests on the delimiter
// before them.
template <const auto& layout, size_t count, size_t index, typename Fields>
[[gnu::always_inline]] inline bool ReadPlainFrom(const char* p, Fields& fields) {
  if constexpr (index == count) {
    return true;  // the fields after them are not asked for
  } else {
    Field& field = layout[index].place(fields);
    const char* start = p + 1;
    const char* end = ReadPlain<layout[index].kind>(start, field);
    if (end == nullptr) return RestPast<layout, count, index>(p, fields);
    field.text = start;
    field.length = static_cast<uint8_t>(end - start);
    field.presence = Presence::kClosed;
    field.after = *end;
    return ReadPlainFrom<layout, count, index + 1>(end, fields);
  }
}

}  // namespace decoding

// The general rules, for any captured sentence: the layout's first count
// fields (all of them by default); the struct's other fields are not written.
template <typename Fields, size_t size>
void DecodeByGeneralRules(const char* sentence, const FieldEntry<Fields> (&layout)[size], Fields& fields,
                          size_t count = size) {
  SentenceFields split;
  SplitFields(split, sentence);
  const int dataFields = decoding::DataFieldCount(split);
  for (size_t i = 0; i < count; ++i) {
    decoding::ReadGeneral(layout[i].kind, split, layout[i].number, dataFields, layout[i].place(fields));
  }
}

// The one-pass reading: false, with the struct in part written, for a
// sentence that is not of the plain form. The sentence must be a capture:
// its text ends at a terminator, and the numbers' eight-character reads may
// run up to 16 bytes past it (kSentenceReadAhead).
template <const auto& layout, size_t count = std::size(layout), typename Fields>
[[gnu::always_inline]] inline bool DecodeInOnePass(const char* sentence, Fields& fields) {
  static_assert(count <= std::size(layout));
  const char* p = sentence + kTagLength;
  return plain::IsDelimiter(*p) && decoding::ReadPlainFrom<layout, count, 0>(p, fields);
}

// The layout's first count fields, for rules that read no field after them.
template <const auto& layout, size_t count = std::size(layout), typename Fields>
[[gnu::always_inline]] inline void Decode(const char* sentence, Fields& fields) {
  if (!DecodeInOnePass<layout, count>(sentence, fields)) DecodeByGeneralRules(sentence, layout, fields, count);
}

inline void Decode(const char* sentence, GgaFields& fields) { Decode<kGgaLayout>(sentence, fields); }
inline void Decode(const char* sentence, RmcFields& fields) { Decode<kRmcLayout>(sentence, fields); }
inline void Decode(const char* sentence, VtgFields& fields) { Decode<kVtgLayout>(sentence, fields); }
inline void Decode(const char* sentence, ZdaFields& fields) { Decode<kZdaLayout>(sentence, fields); }
inline void Decode(const char* sentence, GsaFields& fields) { Decode<kGsaLayout>(sentence, fields); }
inline void Decode(const char* sentence, GsvFields& fields) { Decode<kGsvLayout>(sentence, fields); }
inline void Decode(const char* sentence, GnsFields& fields) { Decode<kGnsLayout>(sentence, fields); }
inline void Decode(const char* sentence, GllFields& fields) { Decode<kGllLayout>(sentence, fields); }
inline void Decode(const char* sentence, GstFields& fields) { Decode<kGstLayout>(sentence, fields); }

}  // namespace quorval
