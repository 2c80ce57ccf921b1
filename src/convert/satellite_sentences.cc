// GSA and GSV: dilution of precision, satellites used and satellites in view.
// Neither looks at whether a field is present: each converts whatever text
// the field has, so a short sentence repeats its last text into every field
// after it.
#include <cstdint>
#include <cstring>

#include "convert/field_tokenizer.h"
#include "convert/numeric_fields.h"
#include "convert/plain_fields.h"
#include "convert/sentence_handlers.h"
#include "state/epoch_record.h"

namespace quorval {

namespace {

constexpr int kSatellitesPerMessage = 4;
constexpr int kFieldsPerSatellite = 4;
// Message 4 may fill the thirteenth slot; nothing is stored beyond it.
constexpr int64_t kLastStoredSlot = 12;

// GSA: field 1 mode M or A (not used), 2 fix mode, 3 to 14 the ids of the
// satellites used, 15 PDOP, 16 HDOP, 17 VDOP.
constexpr int kGsaFixMode = 2;
constexpr int kGsaFirstId = 3;
constexpr int kGsaPdop = 15;
// GSV: field 1 number of messages (not compared), 2 this message's number,
// 3 satellites in view, then id, elevation, azimuth and SNR per satellite.
constexpr int kGsvMessage = 2;
constexpr int kGsvInView = 3;

// Message m stores its g-th satellite in slot 4 (m - 1) + g; 64 bits keep a
// huge message number from overflowing.
int64_t SlotOf(int32_t message, int group) {
  return kSatellitesPerMessage * (int64_t{message} - 1) + group;
}

// A zero id does not advance the count, so the next nonzero id overwrites
// it; entries past the last written one keep earlier sentences' ids.
void StoreUsedIds(const int32_t (&ids)[kUsedIds]) {
  UsedSvList& used = epochRecord.usedSvs;
  used.numused = 0;
  for (int32_t id : ids) {
    used.ids[used.numused] = static_cast<int16_t>(id);
    if (id != 0) ++used.numused;
  }
}

// The general rules, for any GSA sentence.
void StoreGsaFields(const char* sentence) {
  EpochRecord& r = epochRecord;
  SentenceFields fields;
  SplitFields(fields, sentence);
  r.sGSAMode = Int16Field(FieldAt(fields, kGsaFixMode));
  int32_t ids[kUsedIds];
  for (int i = 0; i < kUsedIds; ++i) ids[i] = IntField(FieldAt(fields, kGsaFirstId + i));
  StoreUsedIds(ids);
  r.pdop = RealField(FieldAt(fields, kGsaPdop));
  r.hdop = RealField(FieldAt(fields, kGsaPdop + 1));
  r.vdop = RealField(FieldAt(fields, kGsaPdop + 2));
}

// One pass over a GSA sentence whose seventeen fields are closed by
// delimiters and plain; false, with nothing stored, for any other.
bool StorePlainGsaFields(const char* sentence) {
  const char* p = sentence + 6;
  if (!plain::IsDelimiter(*p)) return false;
  int32_t mode;
  int32_t ids[kUsedIds];
  double dop[3];
  p = plain::SkipField(p + 1);
  if (p == nullptr || (p = plain::Int(p + 1, mode)) == nullptr) return false;
  for (int32_t& id : ids) {
    if ((p = plain::Int(p + 1, id)) == nullptr) return false;
  }
  for (double& value : dop) {
    if ((p = plain::Real(p + 1, value)) == nullptr) return false;
  }
  EpochRecord& r = epochRecord;
  r.sGSAMode = static_cast<int16_t>(mode);
  StoreUsedIds(ids);
  r.pdop = dop[0];
  r.hdop = dop[1];
  r.vdop = dop[2];
  return true;
}

// The general rules, for any GSV sentence.
void StoreGsvFields(const char* sentence) {
  EpochRecord& r = epochRecord;
  SentenceFields fields;
  SplitFields(fields, sentence);
  const int32_t message = IntField(FieldAt(fields, kGsvMessage));
  if (message == 1) std::memset(r.satellites, 0, sizeof r.satellites);
  r.numsvsview = Int16Field(FieldAt(fields, kGsvInView));
  // A message number of 0 or below would place its satellites before the
  // table; such a message stores none.
  if (message < 1) return;
  for (int group = 0; group < kSatellitesPerMessage; ++group) {
    const int last = kGsvInView + group * kFieldsPerSatellite;
    // Groups go on while a ',' stands after the field before them: a '*'
    // there ends them.
    if (CharAfterField(fields, last) != ',') break;
    const int64_t slot = SlotOf(message, group);
    if (slot > kLastStoredSlot) break;
    SatelliteEntry& s = r.satellites[slot];
    s.svid = Int16Field(FieldAt(fields, last + 1));
    s.elev = Int16Field(FieldAt(fields, last + 2));
    s.azim = Int16Field(FieldAt(fields, last + 3));
    s.sgnl = Int16Field(FieldAt(fields, last + 4));
  }
}

// One pass over a GSV sentence whose fields up to the last one stored are
// closed by delimiters and plain; false, with nothing stored, for any other.
bool StorePlainGsvFields(const char* sentence) {
  const char* p = sentence + 6;
  if (!plain::IsDelimiter(*p)) return false;
  int32_t message;
  int32_t inView;
  p = plain::SkipField(p + 1);
  if (p == nullptr || (p = plain::Int(p + 1, message)) == nullptr ||
      (p = plain::Int(p + 1, inView)) == nullptr) {
    return false;
  }
  // The groups whose slots lie in the table: slot 4 (m - 1) + g up to 12.
  int64_t room = 0;
  if (message >= 1) room = kLastStoredSlot + 1 - SlotOf(message, 0);
  const int groups = room < 0 ? 0 : room > kSatellitesPerMessage ? kSatellitesPerMessage : static_cast<int>(room);
  int32_t values[kSatellitesPerMessage][kFieldsPerSatellite];  // id, elevation, azimuth, SNR
  int stored = 0;
  for (; stored < groups && *p == ','; ++stored) {
    int32_t* v = values[stored];
    if ((p = plain::Int(p + 1, v[0])) == nullptr || (p = plain::Int(p + 1, v[1])) == nullptr ||
        (p = plain::Int(p + 1, v[2])) == nullptr || (p = plain::Int(p + 1, v[3])) == nullptr) {
      return false;
    }
  }
  EpochRecord& r = epochRecord;
  if (message == 1) std::memset(r.satellites, 0, sizeof r.satellites);
  r.numsvsview = static_cast<int16_t>(inView);
  for (int group = 0; group < stored; ++group) {
    SatelliteEntry& s = r.satellites[SlotOf(message, group)];
    s.svid = static_cast<int16_t>(values[group][0]);
    s.elev = static_cast<int16_t>(values[group][1]);
    s.azim = static_cast<int16_t>(values[group][2]);
    s.sgnl = static_cast<int16_t>(values[group][3]);
  }
  return true;
}

}  // namespace

void HandleGsa(const char* sentence) {
  if (!StorePlainGsaFields(sentence)) StoreGsaFields(sentence);
}

void HandleGsv(const char* sentence) {
  if (!StorePlainGsvFields(sentence)) StoreGsvFields(sentence);
}

}  // namespace quorval
