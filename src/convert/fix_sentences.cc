// GGA, RMC, VTG and ZDA: position, time, velocity and date.
#include <cstddef>
#include <cstdint>
#include <utility>

#include "convert/field_tokenizer.h"
#include "convert/numeric_fields.h"
#include "convert/plain_fields.h"
#include "convert/sentence_handlers.h"
#include "state/epoch_record.h"

namespace quorval {

namespace {

// How a field is read: only when a delimiter closed it, or always (an absent
// field then converts the text after the last delimiter: the checksum digits
// or a last field cut short).
enum class Read { kNotUsed, kIfPresent, kAlways };

using plain::FieldValue;
using plain::Kind;

struct FieldRule {
  Read read;
  Kind kind;
  void (*store)(const FieldValue& value);
};

EpochRecord& record = epochRecord;

void StoreTime(const FieldValue& v) { record.timeOfDay = NmeaTimeToSeconds(v.real); }
void StoreLatitude(const FieldValue& v) { record.latitude = NmeaToDegrees(v.real); }
void StoreLongitude(const FieldValue& v) { record.longitude = NmeaToDegrees(v.real); }
// Exactly the upper-case letters turn the hemisphere; anything else leaves
// the angle that the same sentence stored positive (an empty field's first
// character is its delimiter).
void ApplySouth(const FieldValue& v) {
  if (v.letter == 'S') record.latitude = -record.latitude;
}
void ApplyWest(const FieldValue& v) {
  if (v.letter == 'W') record.longitude = -record.longitude;
}
void StoreQuality(const FieldValue& v) { record.gpsqual = static_cast<int16_t>(v.integer); }
void StoreSatellitesInFix(const FieldValue& v) { record.numsvsinfix = static_cast<int16_t>(v.integer); }
void StoreGgaHdop(const FieldValue& v) { record.GGAhdop = v.real; }
void StoreAltitude(const FieldValue& v) {
  record.msl = v.real;
  record.alt = record.msl;
}
// alt is the altitude above mean sea level minus the geoid separation.
void StoreSeparation(const FieldValue& v) { record.alt = record.msl - v.real; }
void StoreSpeed(const FieldValue& v) { record.speedKnots = v.real; }
void StoreCourse(const FieldValue& v) { record.heading = v.real; }
// ddmmyy; the divisions truncate toward zero and the remainders keep d's sign.
void StoreDate(const FieldValue& v) {
  const int32_t d = v.integer;
  record.day = static_cast<int16_t>((d / 10000) % 100);
  record.month = static_cast<int16_t>((d / 100) % 100);
  record.year = static_cast<int16_t>(d % 100);
}

constexpr FieldRule kNotUsed{Read::kNotUsed, Kind::kNone, nullptr};

// Fields from 1, the first after the tag; fields after the last used one
// are not read, since reading them changes nothing.
constexpr FieldRule kGgaFields[] = {
    {Read::kIfPresent, Kind::kReal, StoreTime},              //  1 UTC time hhmmss.ss
    {Read::kIfPresent, Kind::kReal, StoreLatitude},          //  2 latitude ddmm.mmmm
    {Read::kIfPresent, Kind::kLetter, ApplySouth},           //  3 N or S
    {Read::kIfPresent, Kind::kReal, StoreLongitude},         //  4 longitude dddmm.mmmm
    {Read::kIfPresent, Kind::kLetter, ApplyWest},            //  5 E or W
    {Read::kAlways, Kind::kInteger, StoreQuality},           //  6 fix quality
    {Read::kAlways, Kind::kInteger, StoreSatellitesInFix},   //  7 satellites in use
    {Read::kAlways, Kind::kReal, StoreGgaHdop},              //  8 HDOP
    {Read::kAlways, Kind::kReal, StoreAltitude},             //  9 altitude above mean sea level
    kNotUsed,                                                // 10 unit of altitude
    {Read::kAlways, Kind::kReal, StoreSeparation},           // 11 geoid separation
};

constexpr FieldRule kRmcFields[] = {
    {Read::kIfPresent, Kind::kReal, StoreTime},       // 1 UTC time hhmmss.ss
    kNotUsed,                                         // 2 status A or V, not examined
    {Read::kIfPresent, Kind::kReal, StoreLatitude},   // 3 latitude
    {Read::kIfPresent, Kind::kLetter, ApplySouth},    // 4 N or S
    {Read::kIfPresent, Kind::kReal, StoreLongitude},  // 5 longitude
    {Read::kIfPresent, Kind::kLetter, ApplyWest},     // 6 E or W
    {Read::kIfPresent, Kind::kReal, StoreSpeed},      // 7 speed over ground, knots
    {Read::kIfPresent, Kind::kReal, StoreCourse},     // 8 course over ground, degrees true
    {Read::kIfPresent, Kind::kInteger, StoreDate},    // 9 date ddmmyy
};

constexpr FieldRule kVtgFields[] = {
    {Read::kIfPresent, Kind::kReal, StoreCourse},  // 1 course over ground, degrees true
    kNotUsed,                                      // 2 T
    kNotUsed,                                      // 3 course, degrees magnetic
    kNotUsed,                                      // 4 M
    {Read::kIfPresent, Kind::kReal, StoreSpeed},   // 5 speed over ground, knots
};

// The general rules: the sentence split at its delimiters, each field that
// is read converted from its text where it stands (numbers stop at the
// delimiter as they would at a copy's end), absent fields included.
FieldValue ValueOf(Kind kind, const FieldSpan& field) {
  FieldValue value{};
  if (kind == Kind::kReal) value.real = RealField(field);
  if (kind == Kind::kInteger) value.integer = IntField(field);
  if (kind == Kind::kLetter) value.letter = field.text[0];
  return value;
}

template <int N>
void StoreFields(const char* sentence, const FieldRule (&rules)[N]) {
  SentenceFields fields;
  SplitFields(fields, sentence);
  for (int number = 1; number <= N; ++number) {
    const FieldRule& rule = rules[number - 1];
    if (rule.read == Read::kNotUsed) continue;
    const FieldSpan field = FieldAt(fields, number);
    if (rule.read == Read::kAlways || field.present) rule.store(ValueOf(rule.kind, field));
  }
}

// One field of the one-pass reading; p rests on the delimiter before it.
template <const auto& rules, size_t index>
const char* ReadPlainField(const char* p, FieldValue& value) {
  if (p == nullptr) return nullptr;
  return plain::Field<rules[index].kind>(p + 1, value);
}

template <const auto& rules, size_t index>
void StorePlainField(const FieldValue& value) {
  if constexpr (rules[index].read != Read::kNotUsed) rules[index].store(value);
}

// The one-pass reading of a sentence whose fields up to the last used one
// are all closed by a delimiter and plain: every field is then present, so
// every rule stores, in field order, what the general rules would store.
// False, with nothing stored, for any other sentence.
template <const auto& rules, size_t... index>
bool StorePlainFields(const char* sentence, std::index_sequence<index...>) {
  const char* p = sentence + 6;
  if (!plain::IsDelimiter(*p)) return false;  // a longer tag, or none of the fields
  FieldValue values[sizeof...(index)];
  ((p = ReadPlainField<rules, index>(p, values[index])), ...);
  if (p == nullptr) return false;
  (StorePlainField<rules, index>(values[index]), ...);
  return true;
}

template <const auto& rules>
void HandleFixSentence(const char* sentence) {
  constexpr size_t count = sizeof rules / sizeof rules[0];
  if (!StorePlainFields<rules>(sentence, std::make_index_sequence<count>())) {
    StoreFields(sentence, rules);
  }
}

}  // namespace

void HandleGga(const char* sentence) { HandleFixSentence<kGgaFields>(sentence); }
void HandleRmc(const char* sentence) { HandleFixSentence<kRmcFields>(sentence); }
void HandleVtg(const char* sentence) { HandleFixSentence<kVtgFields>(sentence); }
// The date in the record comes from RMC alone; ZDA is recognised and read over.
void HandleZda(const char*) {}

}  // namespace quorval
