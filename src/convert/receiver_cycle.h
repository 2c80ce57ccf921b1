// One receiver cycle of a multi-system log: what the sentences of one UTC
// time of day said, whatever the order and the talkers they came in. Each
// sentence adds what it carries; the first GGA, RMC, VTG, ZDA and GSA of a
// cycle give its values (a second one of another talker describes the same
// fix), the satellites in view gather from every GSV, and the used ones from
// every GSA of the cycle.
#pragma once

#include <cstddef>
#include <cstdint>

#include "convert/field_tokenizer.h"
#include "convert/numeric_fields.h"
#include "convert/plain_fields.h"
#include "convert/satellite_numbering.h"
#include "state/epoch_record.h"

namespace quorval {

// A sentence's fields as this mode reads them: a field counts only when the
// sentence has it, up to the '*' of its checksum (or with its last field,
// when it has none). A field cut short or missing gives nothing, and the
// checksum digits are never read as a value.
struct DataFields {
  SentenceFields split;
  int count;  // data fields

  explicit DataFields(const char* sentence);

  bool Has(int number) const { return number <= count && FieldAt(split, number).length > 0; }
  int Length(int number) const { return number <= count ? FieldAt(split, number).length : 0; }
  // An empty field reads as 0 by itself; only the text past the data (the
  // checksum) must not be read.
  // A plain decimal is read in one pass, anything else by the general rules.
  double Real(int number) const {
    if (number > count) return 0.0;
    const FieldSpan field = FieldAt(split, number);
    double value;
    if (field.present && plain::Real(field.text, value) != nullptr) return value;
    return RealField(field);
  }
  int32_t Int(int number) const { return number <= count ? IntField(FieldAt(split, number)) : 0; }
  int16_t Int16(int number) const { return static_cast<int16_t>(Int(number)); }
  char Letter(int number) const {
    if (number > count) return '\0';
    const FieldSpan field = FieldAt(split, number);
    return field.length > 0 ? field.text[0] : '\0';
  }
  bool IsTime(int number) const { return number <= count && IsNmeaTime(FieldAt(split, number)); }
  bool IsAngle(int number, int wholeDigits) const {
    return number <= count && IsNmeaAngle(FieldAt(split, number), wholeDigits);
  }
};

// The first fields of a sentence read in one pass, each by its kind, for
// the sentences receivers send: what they give equals what DataFields gives
// for the same fields. Read is false when a field is not plain or the
// sentence ends in a field that no delimiter closes; DataFields reads it.
// A field of kind kNone is passed over and read only when asked for: the
// cycle often has its value from another sentence already.
template <plain::Kind... kinds>
class PlainDataFields {
 public:
  static constexpr int kCount = sizeof...(kinds);
  static constexpr plain::Kind kKinds[kCount] = {kinds...};

  bool Read(const char* sentence) {
    const char* p = sentence + kTagLength;
    return plain::IsDelimiter(*p) && ReadFrom<0>(p);
  }

  bool Has(int number) const { return length_[number - 1] > 0; }
  int Length(int number) const { return length_[number - 1]; }
  double Real(int number) const {
    const int i = number - 1;
    if (kKinds[i] != plain::Kind::kNone) return values_[i].real;
    // As DataFields reads a field that a delimiter closed.
    double value = 0.0;
    if (length_[i] > 0 && plain::Real(start_[i], value) == nullptr) value = ParseReal(start_[i]);
    return value;
  }
  int32_t Int(int number) const { return values_[number - 1].integer; }
  int16_t Int16(int number) const { return static_cast<int16_t>(Int(number)); }
  char Letter(int number) const {
    const int i = number - 1;
    if (length_[i] == 0) return '\0';
    return kKinds[i] == plain::Kind::kNone ? *start_[i] : values_[i].letter;
  }
  // A field of kind kTime, kLatitude or kLongitude is read only when it is
  // one (or empty); a field passed over is checked as DataFields checks it.
  bool IsTime(int number) const {
    const int i = number - 1;
    if (kKinds[i] == plain::Kind::kTime) return length_[i] > 0;
    return kKinds[i] == plain::Kind::kNone && IsNmeaTime(FieldSpan{true, start_[i], length_[i]});
  }
  bool IsAngle(int number, int wholeDigits) const {
    const int i = number - 1;
    if (kKinds[i] == plain::Kind::kLatitude) return wholeDigits == plain::kLatitudeDigits && length_[i] > 0;
    if (kKinds[i] == plain::Kind::kLongitude) return wholeDigits == plain::kLongitudeDigits && length_[i] > 0;
    return kKinds[i] == plain::Kind::kNone && IsNmeaAngle(FieldSpan{true, start_[i], length_[i]}, wholeDigits);
  }
  // After Read: the sentence has no field beyond these.
  bool Ends() const { return ends_; }

 private:
  // Field index + 1; p rests on the delimiter before it.
  template <int index>
  bool ReadFrom(const char* p) {
    if constexpr (index == kCount) {
      ends_ = *p != ',';
      return true;
    } else {
      const char* start = p + 1;
      const char* end = plain::Field<kKinds[index]>(start, values_[index]);
      if (end == nullptr) return RestAbsent(p, index);
      if constexpr (kKinds[index] == plain::Kind::kNone) start_[index] = start;
      length_[index] = static_cast<uint8_t>(end - start);
      return ReadFrom<index + 1>(end);
    }
  }

  // After the '*' or after a last ',' with nothing behind it, a sentence
  // has no more fields: they read as empty, as DataFields reads them.
  bool RestAbsent(const char* p, int from) {
    if (plain::SkipField(p + 1) != nullptr || (*p != '*' && p[1] != '\0')) return false;
    for (int i = from; i < kCount; ++i) {
      values_[i] = plain::FieldValue{};
      length_[i] = 0;
    }
    ends_ = true;
    return true;
  }

  plain::FieldValue values_[kCount];
  const char* start_[kCount];  // of the fields passed over
  uint8_t length_[kCount];
  bool ends_;
};

namespace fields {
constexpr plain::Kind R = plain::Kind::kReal, I = plain::Kind::kInteger, L = plain::Kind::kLetter,
                      N = plain::Kind::kNone, T = plain::Kind::kTime, Lat = plain::Kind::kLatitude,
                      Lon = plain::Kind::kLongitude;
}  // namespace fields

// The fields that the cycle reads of each sentence, by number from 1.
using PlainGga = PlainDataFields<fields::T, fields::Lat, fields::L, fields::Lon, fields::L, fields::I,
                                 fields::I, fields::R, fields::R, fields::N, fields::R>;
// RMC's position and GSA's DOPs when the cycle has none yet.
using PlainRmc = PlainDataFields<fields::T, fields::L, fields::N, fields::N, fields::N, fields::N,
                                 fields::R, fields::R, fields::I>;
using PlainVtg = PlainDataFields<fields::R, fields::N, fields::N, fields::N, fields::R>;
using PlainZda = PlainDataFields<fields::T, fields::I, fields::I, fields::I>;
// GSA: mode, fix mode, twelve ids, three DOPs and the system id; a GSA of
// more fields lists more ids, and the general rules find its DOPs.
struct PlainGsa
    : PlainDataFields<fields::L, fields::I, fields::I, fields::I, fields::I, fields::I, fields::I,
                      fields::I, fields::I, fields::I, fields::I, fields::I, fields::I, fields::I,
                      fields::N, fields::N, fields::N, fields::I> {
  bool Read(const char* sentence) { return PlainDataFields::Read(sentence) && Ends(); }
};

// Satellites one cycle can hold in view and in use: more than four full
// constellations show at once, and the table prints at most 64.
constexpr int kCycleSatellites = 128;
// Ids of the number space below this are found by their place in the
// cycle's lists at once; a cycle of four systems names a hundred signals.
constexpr int kIndexedIds = 1024;
static_assert(kCycleSatellites <= 256, "a place fits a byte");

struct ReceiverCycle {
  // GGA: fields 1 to 11; RMC: position, speed, course, date, status.
  // A GGA or RMC whose latitude or longitude is not a number carries no
  // position (Positioned false).
  bool hasGga, ggaPositioned;
  double ggaLatitude, ggaLongitude, msl, alt, ggaHdop;
  int16_t quality, inFix;
  bool hasRmc, rmcValid, rmcDated, rmcPositioned;
  double rmcLatitude, rmcLongitude, rmcSpeed, rmcCourse;
  int16_t rmcDay, rmcMonth, rmcYear;
  bool hasVtg;
  double vtgSpeed, vtgCourse;
  bool zdaDated;
  int16_t zdaDay, zdaMonth, zdaYear;
  bool hasGsa;
  int16_t fixMode;
  double pdop, hdop, vdop;

  // In view, each satellite once, in the order the cycle first named them;
  // used, each id once.
  SatelliteEntry inView[kCycleSatellites];
  int inViewCount;
  int16_t used[kCycleSatellites];
  int usedCount;
  // For ids below kIndexedIds, marked with the cycle's number: the place in
  // inView (the number times 256 plus the place), and whether the id is
  // used (the number); an entry of another number says nothing. Other ids
  // are looked up in the lists. A new cycle needs only a new number.
  uint32_t number;
  uint32_t inViewMark[kIndexedIds];
  uint32_t usedMark[kIndexedIds];
};

// The numbers a cycle's marks hold, 1 to kCycleNumbers - 1.
constexpr uint32_t kCycleNumbers = uint32_t{1} << 24;

// Empties a cycle for the next one; a cycle starts out zero-initialised and
// is emptied before its first sentence.
void ClearCycle(ReceiverCycle& cycle);

// What a sentence of the cycle adds to it; system is its talker's. Fields
// is DataFields or the sentence's PlainDataFields.
template <typename Fields>
void AddGga(ReceiverCycle& cycle, const Fields& sentence);
template <typename Fields>
void AddRmc(ReceiverCycle& cycle, const Fields& sentence);
template <typename Fields>
void AddVtg(ReceiverCycle& cycle, const Fields& sentence);
template <typename Fields>
void AddZda(ReceiverCycle& cycle, const Fields& sentence);
template <typename Fields>
void AddGsa(ReceiverCycle& cycle, const Fields& sentence, SatelliteSystem system);
void AddGsv(ReceiverCycle& cycle, const DataFields& sentence, SatelliteSystem system);
// The same in one pass over the sentence, for a GSV of plain digits ended by
// its checksum, as receivers send it: false, having added nothing, for any
// other, which AddGsv then reads. The sentence is a capture: at most
// kSentenceCapacity characters, and the text after its terminator is read
// too.
bool AddPlainGsv(ReceiverCycle& cycle, const char* sentence, SatelliteSystem system);

// Whether the cycle holds a fix: its GGA reports a fix quality, or, in a
// cycle without GGA, its RMC says its data are valid; and its GGA or RMC
// carries a position.
bool HasFix(const ReceiverCycle& cycle);

// The cycle as the table's row shows it: the record's fields (not its
// satellites or used ids, which the row takes from the slots), and the
// satellites in view as the row's slots, their used flags set in place.
// Returns the slots; filled is their number.
const SatelliteEntry* FillRow(ReceiverCycle& cycle, double timeOfDay, EpochRecord& row, int& filled);

}  // namespace quorval
