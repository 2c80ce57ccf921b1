// One field of a decoded sentence: where its text stands, whether the
// sentence had it, and its value read by its kind. The decoder fills a
// struct of these for each sentence (GgaFields, RmcFields ...); the classic
// rules and the receiver-cycle rules take what they need from it.
#pragma once

#include <cstddef>
#include <cstdint>

namespace quorval {

// How a field's text is read.
enum class Kind : uint8_t {
  kText,       // kept as text only: a letter, a unit, a status, a mode
  kReal,       // a decimal number
  kInteger,    // a whole number (32 bits, saturated)
  kTime,       // hhmmss[.ss]: the number as written, and whether it is of that form
  kLatitude,   // ddmm[.mmmm]: the number as written, and whether it is of that form
  kLongitude,  // dddmm[.mmmm]: the same with three digits of degrees
};

// Whether the sentence had the field. Receivers end a sentence with '*' and
// its checksum; without one, its last field has no delimiter after it.
enum class Presence : uint8_t {
  kClosed,  // a ',' or '*' closed it (an empty field ',,' too)
  kLast,    // the last field of a sentence without a checksum
  kPast,    // past the sentence's data: it has no such field
};

struct Field {
  // Where the field's text starts in its sentence (it is not terminated
  // after length). Past the data: the text after the last delimiter, the
  // checksum digits or a last field cut short, which the classic rules read
  // for the fields they read whatever comes.
  const char* text;
  // Only the value of the field's kind is set; past the data it is 0.
  double real;      // kReal, kTime, kLatitude, kLongitude
  int32_t integer;  // kInteger
  uint8_t length;   // of text
  Presence presence;
  bool wellFormed;  // kTime, kLatitude, kLongitude: not empty, and of the NMEA form
  // The character after the field: the delimiter that closed it; after the
  // data, the last delimiter of the sentence.
  char after;

  bool Closed() const { return presence == Presence::kClosed; }
  // The sentence has the field, empty or not.
  bool Sent() const { return presence != Presence::kPast; }
  bool Has() const { return Sent() && length > 0; }
  // Its first character; '\0' when the sentence has no text there.
  char Letter() const { return Has() ? text[0] : '\0'; }
};

// A number stored in a 16-bit field keeps its low 16 bits.
inline int16_t Low16(int32_t value) { return static_cast<int16_t>(value); }

// A date ddmmyy as RMC writes it; the divisions truncate toward zero and
// the remainders keep the number's sign.
inline void SplitDdmmyy(int32_t ddmmyy, int16_t& day, int16_t& month, int16_t& year) {
  day = Low16(ddmmyy / 10000 % 100);
  month = Low16(ddmmyy / 100 % 100);
  year = Low16(ddmmyy % 100);
}

// A field of a sentence's layout: its number (from 1, the first after the
// tag), how it is read, its name, and its place in the decoded struct.
template <typename Fields>
struct FieldEntry {
  int number;
  Kind kind;
  const char* name;
  Field& (*place)(Fields&);
};

// The decoded struct a layout fills: decltype(FieldsOf(kGgaLayout)).
template <typename Fields, size_t count>
Fields FieldsOf(const FieldEntry<Fields> (&layout)[count]);

template <typename>
struct MemberOf;
template <typename Fields>
struct MemberOf<Field Fields::*> {
  using type = Fields;
};

// The place of a named field: Named<&GgaFields::hdop>.
template <auto member>
Field& Named(typename MemberOf<decltype(member)>::type& fields) {
  return fields.*member;
}

// The place of the index-th field of a list: Listed<&GsaFields::ids, 3>.
template <typename>
struct ListOf;
template <typename Fields, int kSize>
struct ListOf<Field (Fields::*)[kSize]> {
  using type = Fields;
};
template <auto list, int index>
Field& Listed(typename ListOf<decltype(list)>::type& fields) {
  return (fields.*list)[index];
}

}  // namespace quorval
