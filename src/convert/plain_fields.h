// The fields of a sentence read in one pass, for the sentences receivers
// send: every field closed by ',' or '*', numbers written as plain digits
// or a plain decimal. Each reader starts at the first character of a field
// and returns the delimiter that closes it, or nullptr when the field is
// not of that form; the decoder then reads the whole sentence by the
// general rules instead. What a reader gives equals
// what the general rules give for the same text. Readers may look at up to
// eight characters past the field, the sentence's read-ahead included.
#pragma once

#include <bit>
#include <cstdint>
#include <cstring>

namespace quorval {

namespace plain {

inline bool IsDelimiter(char c) { return c == ',' || c == '*'; }

constexpr int kLatitudeDigits = 4;   // ddmm
constexpr int kLongitudeDigits = 5;  // dddmm

inline unsigned DigitOf(char c) { return static_cast<unsigned>(static_cast<unsigned char>(c)) - '0'; }

// Powers of ten that a double holds exactly.
inline constexpr double kPowersOfTen[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,
                                          1e7,  1e8,  1e9,  1e10, 1e11, 1e12, 1e13,
                                          1e14, 1e15, 1e16, 1e17, 1e18, 1e19};
// A mantissa up to 2^53 is an exact double.
constexpr uint64_t kExactMantissaLimit = uint64_t{1} << 53;

constexpr uint64_t EachByte(uint8_t byte) { return 0x0101010101010101u * byte; }

// Eight characters as one number, the first in its lowest byte.
[[gnu::always_inline]] inline uint64_t LoadEight(const char* p) {
  uint64_t chars;
  std::memcpy(&chars, p, sizeof chars);
  if constexpr (std::endian::native == std::endian::big) {
    uint64_t swapped = 0;
    for (int i = 0; i < 8; ++i) swapped |= (chars >> (8 * i) & 0xFF) << (8 * (7 - i));
    chars = swapped;
  }
  return chars;
}

// The digits that lead eight characters: their number (0 to 8) and, in the
// low bytes, their values. A character below '0' borrows from the next
// byte up, but only bytes after a non-digit are touched.
struct DigitRun {
  uint64_t values;  // each character less '0'
  int count;
};
[[gnu::always_inline]] inline DigitRun LeadingDigits(const char* p) {
  const uint64_t values = LoadEight(p) - EachByte('0');
  // A digit's byte is now 0 to 9. Adding 0x76 (0x80 - 10) carries a byte of
  // 10 or more into its high bit, and a byte of 0x80 or more (a character
  // below '0', or above 0x7F) has it already: the high bit of either sum
  // marks a non-digit. Only the lowest mark counts, and no carry or borrow
  // reaches a byte below it.
  const uint64_t notDigit = ((values + EachByte(0x76)) | values) & EachByte(0x80);
  return DigitRun{values, notDigit == 0 ? 8 : std::countr_zero(notDigit) / 8};
}

// The value of a run of one to eight digits: one or two by hand, more by
// combining pairs, then pairs of pairs, in three multiplications.
[[gnu::always_inline]] inline uint64_t RunValue(const DigitRun& run) {
  if (run.count <= 2) {
    const auto first = static_cast<uint32_t>(run.values & 0xFF);
    return run.count == 1 ? first : first * 10 + static_cast<uint32_t>(run.values >> 8 & 0xFF);
  }
  // The run in the high bytes, zeros before it: eight digits d0..d7, d0 (the
  // most significant) in the lowest byte.
  uint64_t v = run.values << (8 * (8 - run.count));
  // Each byte k now holds 10 d(k) + d(k+1) in its low bits: the pairs
  // d0d1, d2d3, d4d5, d6d7 stand in bytes 0, 2, 4 and 6 (at most 99).
  v = v * 10 + (v >> 8);
  // Bytes 0 and 4 hold the pairs d0d1 and d4d5, bytes 2 and 6 (shifted down
  // by 16) d2d3 and d6d7. One multiplication weighs two pairs and adds them
  // in the high half: d0d1 * 10^6 + d4d5 * 10^2, and d2d3 * 10^4 + d6d7 * 1.
  constexpr uint64_t kPairs = 0x000000FF000000FFu;
  constexpr uint64_t kHigh = 100 + (uint64_t{1000000} << 32);
  constexpr uint64_t kLow = 1 + (uint64_t{10000} << 32);
  return ((v & kPairs) * kHigh + ((v >> 16) & kPairs) * kLow) >> 32;
}

inline constexpr uint64_t kWholePowersOfTen[] = {1,      10,      100,      1000,     10000,
                                                 100000, 1000000, 10000000, 100000000};

// The bytes of a word that are zero, as their high bits; exact for the
// lowest one (a borrow can mark bytes above it), which is all that is used.
// A byte less 1 sets its high bit only from 0x00 or above 0x80, and ~v
// keeps it only where the byte's own high bit was clear: so from 0x00.
constexpr uint64_t ZeroBytes(uint64_t v) { return (v - EachByte(0x01)) & ~v & EachByte(0x80); }

// Any text up to its delimiter (a unit, a letter, a status), eight
// characters at a time: a ',' or '*' or the terminator in the word ends it.
// Reads at most seven characters past the terminator.
[[gnu::always_inline]] inline const char* SkipField(const char* p) {
  // Most text fields are empty or one letter.
  if (IsDelimiter(p[0])) return p;
  if (p[0] == '\0') return nullptr;
  if (IsDelimiter(p[1])) return p + 1;
  for (++p;; p += 8) {
    const uint64_t chars = LoadEight(p);
    const uint64_t stops =
        ZeroBytes(chars ^ EachByte(',')) | ZeroBytes(chars ^ EachByte('*')) | ZeroBytes(chars);
    if (stops != 0) {
      p += std::countr_zero(stops) / 8;
      return *p == '\0' ? nullptr : p;
    }
  }
}

// Up to nine decimal digits (an empty field is 0). Satellite ids, angles
// and signal levels have two or three digits: those are read a character at
// a time without a loop, which takes fewer steps than a word at a time.
[[gnu::always_inline]] inline const char* Int(const char* p, int32_t& value) {
  const unsigned d0 = DigitOf(p[0]);
  if (d0 > 9) {
    value = 0;
    return IsDelimiter(p[0]) ? p : nullptr;
  }
  const unsigned d1 = DigitOf(p[1]);
  if (d1 > 9) {
    value = static_cast<int32_t>(d0);
    return IsDelimiter(p[1]) ? p + 1 : nullptr;
  }
  const unsigned d2 = DigitOf(p[2]);
  if (d2 > 9) {
    value = static_cast<int32_t>(d0 * 10 + d1);
    return IsDelimiter(p[2]) ? p + 2 : nullptr;
  }
  const char* start = p;
  uint32_t v = d0 * 100 + d1 * 10 + d2;
  for (p += 3; DigitOf(*p) <= 9; ++p) v = v * 10 + DigitOf(*p);
  if (!IsDelimiter(*p) || p - start > 9) return nullptr;
  value = static_cast<int32_t>(v);
  return p;
}

// What a real field must look like to be read in one pass: any plain
// decimal, or the forms of a time of day (hhmmss[.ss]: six whole digits)
// and of a latitude or longitude (ddmm[.mm], dddmm[.mm]: one to four or
// five), which have no sign.
enum class Form { kDecimal, kTime, kLatitude, kLongitude };

// [-][digits][.digits], each run of digits at most eight long and the
// mantissa at most 2^53: one division by an exact power of ten gives the
// correctly rounded value, as the general reading does. A '-' before
// nothing but zeros is dropped ('-000' is 0); before anything else it
// negates ('-0.0' and '-.' are -0). An empty field is 0; a time or angle of
// another form is the general rules' (which find it no time or position).
template <Form form = Form::kDecimal>
[[gnu::always_inline]] inline const char* Real(const char* p, double& value) {
  if (form != Form::kDecimal && IsDelimiter(*p)) {
    value = 0.0;
    return p;
  }
  const bool negative = form == Form::kDecimal && *p == '-';
  p += negative ? 1 : 0;
  const DigitRun whole = LeadingDigits(p);
  if constexpr (form == Form::kTime) {
    if (whole.count != 6) return nullptr;
  }
  if constexpr (form == Form::kLatitude || form == Form::kLongitude) {
    constexpr int kMost = form == Form::kLatitude ? kLatitudeDigits : kLongitudeDigits;
    if (whole.count == 0 || whole.count > kMost) return nullptr;
  }
  uint64_t mantissa = whole.count == 0 ? 0 : RunValue(whole);
  p += whole.count;
  int fraction = 0;
  const bool point = *p == '.';
  if (point) {
    const DigitRun decimals = LeadingDigits(++p);
    if (decimals.count != 0) mantissa = mantissa * kWholePowersOfTen[decimals.count] + RunValue(decimals);
    fraction = decimals.count;
    p += decimals.count;
  }
  // A ninth digit in a row ends the one-pass reading.
  if (!IsDelimiter(*p) || mantissa > kExactMantissaLimit) return nullptr;
  if (!point && mantissa == 0) {
    value = 0.0;
    return p;
  }
  const double magnitude = static_cast<double>(mantissa) / kPowersOfTen[fraction];
  value = negative ? -magnitude : magnitude;
  return p;
}

// A time of day: six digits, then '.' and digits or nothing.
inline const char* Time(const char* p, double& value) { return Real<Form::kTime>(p, value); }

// A latitude ddmm.mmmm (wholeDigits 4) or longitude dddmm.mmmm (5): one to
// wholeDigits digits, then '.' and digits or nothing.
inline const char* Angle(const char* p, int wholeDigits, double& value) {
  return wholeDigits == kLatitudeDigits ? Real<Form::kLatitude>(p, value) : Real<Form::kLongitude>(p, value);
}

}  // namespace plain

}  // namespace quorval
