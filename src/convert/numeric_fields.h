// Numbers from field texts, and the two composite NMEA notations.
#pragma once

#include <cstdint>

#include "convert/field_tokenizer.h"
#include "text/decimal_reading.h"  // ReadDecimalReal, which the fields' reading rests on

namespace quorval {

// A field's text may be a copy or stand where the field is in its sentence:
// it ends at its terminator, a line end, or the ',' or '*' after it.
//
// A field as a real: a leading '-' and the zeros after it are taken first.
// When nothing else follows, the field is 0, without its sign ('-000');
// otherwise the rest is read as a decimal number (white space, sign, digits,
// '.', exponent) and the '-' negates it ('-0.0' is -0). '.' is the decimal
// point whatever the locale; text that does not start like a number gives 0.
double ParseReal(const char* text);

// A field as a 32-bit integer, with the same sign and leading-zero rules.
// Values beyond the 32-bit range saturate at its ends.
int32_t ParseInt(const char* text);

// The numbers in a field of a split sentence, as the handlers store them;
// a 16-bit field keeps the low 16 bits.
inline double RealField(const FieldSpan& field) { return ParseReal(field.text); }

inline int32_t IntField(const FieldSpan& field) {
  // Most integer fields are a few plain digits: with no sign, white space or
  // room to pass 32 bits they are read at once.
  if (field.length <= 9) {
    uint32_t value = 0;
    int i = 0;
    for (; i < field.length; ++i) {
      const unsigned digit = static_cast<unsigned char>(field.text[i]) - unsigned{'0'};
      if (digit > 9) break;
      value = value * 10 + digit;
    }
    if (i == field.length) return static_cast<int32_t>(value);
  }
  return ParseInt(field.text);
}

inline int16_t Int16Field(const FieldSpan& field) { return static_cast<int16_t>(IntField(field)); }

// Whether a field is a time of day as NMEA writes it: hhmmss, then '.' and
// fraction digits or nothing. Text of another form (a spliced line's
// '|19322|1.00') is no time, as an empty field is none.
bool IsNmeaTime(const FieldSpan& field);

// Whether a field is a latitude ddmm.mmmm (wholeDigits 4) or a longitude
// dddmm.mmmm (5): one to wholeDigits digits, then '.' and digits or
// nothing; no sign, no other character.
bool IsNmeaAngle(const FieldSpan& field, int wholeDigits);

// hhmmss.ss to seconds of the day.
double NmeaTimeToSeconds(double hhmmss);

// ddmm.mmmm or dddmm.mmmm to decimal degrees (no hemisphere sign).
double NmeaToDegrees(double ddmm);

}  // namespace quorval
