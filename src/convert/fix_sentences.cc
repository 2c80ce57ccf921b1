// GGA, RMC, VTG and ZDA: position, time, velocity and date.
#include <cstdint>

#include "convert/field_tokenizer.h"
#include "convert/numeric_fields.h"
#include "convert/sentence_handlers.h"
#include "state/epoch_record.h"

namespace quorval {

namespace {

// How a field is read: only when a delimiter closed it, or always (an absent
// field then converts the text after the last delimiter: the checksum digits
// or a last field cut short).
enum class Read { kNotUsed, kIfPresent, kAlways };

struct FieldRule {
  Read read;
  void (*store)(const FieldSpan& field);
};

EpochRecord& record = epochRecord;

void StoreTime(const FieldSpan& f) { record.timeOfDay = NmeaTimeToSeconds(RealField(f)); }
void StoreLatitude(const FieldSpan& f) { record.latitude = NmeaToDegrees(RealField(f)); }
void StoreLongitude(const FieldSpan& f) { record.longitude = NmeaToDegrees(RealField(f)); }
// Exactly the upper-case letters turn the hemisphere; anything else leaves
// the angle that the same sentence stored positive (an empty field's text
// starts at its delimiter).
void ApplySouth(const FieldSpan& f) {
  if (f.text[0] == 'S') record.latitude = -record.latitude;
}
void ApplyWest(const FieldSpan& f) {
  if (f.text[0] == 'W') record.longitude = -record.longitude;
}
void StoreQuality(const FieldSpan& f) { record.gpsqual = Int16Field(f); }
void StoreSatellitesInFix(const FieldSpan& f) { record.numsvsinfix = Int16Field(f); }
void StoreGgaHdop(const FieldSpan& f) { record.GGAhdop = RealField(f); }
void StoreAltitude(const FieldSpan& f) {
  record.msl = RealField(f);
  record.alt = record.msl;
}
// alt is the altitude above mean sea level minus the geoid separation.
void StoreSeparation(const FieldSpan& f) { record.alt = record.msl - RealField(f); }
void StoreSpeed(const FieldSpan& f) { record.speedKnots = RealField(f); }
void StoreCourse(const FieldSpan& f) { record.heading = RealField(f); }
// ddmmyy; the divisions truncate toward zero and the remainders keep d's sign.
void StoreDate(const FieldSpan& f) {
  const int32_t d = IntField(f);
  record.day = static_cast<int16_t>((d / 10000) % 100);
  record.month = static_cast<int16_t>((d / 100) % 100);
  record.year = static_cast<int16_t>(d % 100);
}

constexpr FieldRule kNotUsed{Read::kNotUsed, nullptr};

// Fields from 1, the first after the tag; fields after the last used one
// are not read, since reading them changes nothing.
constexpr FieldRule kGgaFields[] = {
    {Read::kIfPresent, StoreTime},          //  1 UTC time hhmmss.ss
    {Read::kIfPresent, StoreLatitude},      //  2 latitude ddmm.mmmm
    {Read::kIfPresent, ApplySouth},         //  3 N or S
    {Read::kIfPresent, StoreLongitude},     //  4 longitude dddmm.mmmm
    {Read::kIfPresent, ApplyWest},          //  5 E or W
    {Read::kAlways, StoreQuality},          //  6 fix quality
    {Read::kAlways, StoreSatellitesInFix},  //  7 satellites in use
    {Read::kAlways, StoreGgaHdop},          //  8 HDOP
    {Read::kAlways, StoreAltitude},         //  9 altitude above mean sea level
    kNotUsed,                               // 10 unit of altitude
    {Read::kAlways, StoreSeparation},       // 11 geoid separation
};

constexpr FieldRule kRmcFields[] = {
    {Read::kIfPresent, StoreTime},       // 1 UTC time hhmmss.ss
    kNotUsed,                            // 2 status A or V, not examined
    {Read::kIfPresent, StoreLatitude},   // 3 latitude
    {Read::kIfPresent, ApplySouth},      // 4 N or S
    {Read::kIfPresent, StoreLongitude},  // 5 longitude
    {Read::kIfPresent, ApplyWest},       // 6 E or W
    {Read::kIfPresent, StoreSpeed},      // 7 speed over ground, knots
    {Read::kIfPresent, StoreCourse},     // 8 course over ground, degrees true
    {Read::kIfPresent, StoreDate},       // 9 date ddmmyy
};

constexpr FieldRule kVtgFields[] = {
    {Read::kIfPresent, StoreCourse},  // 1 course over ground, degrees true
    kNotUsed,                         // 2 T
    kNotUsed,                         // 3 course, degrees magnetic
    kNotUsed,                         // 4 M
    {Read::kIfPresent, StoreSpeed},   // 5 speed over ground, knots
};

// The numbers are read where the fields stand in the sentence rather than
// from a copy: they stop at the delimiter as they would at the copy's end.
template <int N>
void StoreFields(const char* sentence, const FieldRule (&rules)[N]) {
  SentenceFields fields;
  SplitFields(fields, sentence);
  for (int number = 1; number <= N; ++number) {
    const FieldRule& rule = rules[number - 1];
    if (rule.read == Read::kNotUsed) continue;
    const FieldSpan field = FieldAt(fields, number);
    if (rule.read == Read::kAlways || field.present) rule.store(field);
  }
}

}  // namespace

void HandleGga(const char* sentence) { StoreFields(sentence, kGgaFields); }
void HandleRmc(const char* sentence) { StoreFields(sentence, kRmcFields); }
void HandleVtg(const char* sentence) { StoreFields(sentence, kVtgFields); }
// The date in the record comes from RMC alone; ZDA is recognised and read over.
void HandleZda(const char*) {}

}  // namespace quorval
