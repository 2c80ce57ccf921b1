// GGA, RMC, VTG and ZDA by the classic rules: position, time, velocity and
// date into the epoch record.
#include <cstddef>
#include <cstdint>

#include "convert/classic_fields.h"
#include "convert/numeric_fields.h"
#include "convert/sentence_decoder.h"
#include "convert/sentence_handlers.h"
#include "state/epoch_record.h"

namespace quorval {

namespace {

EpochRecord& record = epochRecord;

// The classic rules read no field after these: GGA's geoid separation,
// RMC's date, VTG's speed in knots.
constexpr size_t kGgaRead = 11;
constexpr size_t kRmcRead = 9;
constexpr size_t kVtgRead = 5;

// The field read when present: a ddmm.mmmm angle, and its hemisphere
// letter, exactly the upper-case one turning it negative (an empty field's
// first character is its delimiter, and changes nothing).
void StoreAngle(const Field& angle, const Field& hemisphere, char negative, double& degrees) {
  if (angle.Closed()) degrees = NmeaToDegrees(angle.real);
  if (hemisphere.Closed() && hemisphere.text[0] == negative) degrees = -degrees;
}

void StoreTime(const Field& time) {
  if (time.Closed()) record.timeOfDay = NmeaTimeToSeconds(time.real);
}

// Time and position when present; quality, satellites, HDOP, altitude and
// separation whatever comes (fields 6 to 11).
void ApplyGga(const GgaFields& f) {
  StoreTime(f.time);
  StoreAngle(f.latitude, f.northSouth, 'S', record.latitude);
  StoreAngle(f.longitude, f.eastWest, 'W', record.longitude);
  record.gpsqual = Low16(classic::Integer(f.quality));
  record.numsvsinfix = Low16(classic::Integer(f.satellites));
  record.GGAhdop = classic::Real(f.hdop);
  record.msl = classic::Real(f.altitude);
  // alt is the altitude above mean sea level minus the geoid separation.
  record.alt = record.msl - classic::Real(f.separation);
}

// Every field when present; the status is not examined.
void ApplyRmc(const RmcFields& f) {
  StoreTime(f.time);
  StoreAngle(f.latitude, f.northSouth, 'S', record.latitude);
  StoreAngle(f.longitude, f.eastWest, 'W', record.longitude);
  if (f.speed.Closed()) record.speedKnots = f.speed.real;
  if (f.course.Closed()) record.heading = f.course.real;
  if (f.date.Closed()) SplitDdmmyy(f.date.integer, record.day, record.month, record.year);
}

void ApplyVtg(const VtgFields& f) {
  if (f.course.Closed()) record.heading = f.course.real;
  if (f.speed.Closed()) record.speedKnots = f.speed.real;
}

}  // namespace

void HandleGga(const char* sentence) {
  GgaFields fields;
  Decode<kGgaLayout, kGgaRead>(sentence, fields);
  ApplyGga(fields);
}

void HandleRmc(const char* sentence) {
  RmcFields fields;
  Decode<kRmcLayout, kRmcRead>(sentence, fields);
  ApplyRmc(fields);
}

void HandleVtg(const char* sentence) {
  VtgFields fields;
  Decode<kVtgLayout, kVtgRead>(sentence, fields);
  ApplyVtg(fields);
}

// The date in the record comes from RMC alone; ZDA is recognised and read over.
void HandleZda(const char*) {}

}  // namespace quorval
