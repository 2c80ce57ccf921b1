// GSA and GSV: dilution of precision, satellites used and satellites in view.
// Neither looks at whether a field is present: each converts whatever text
// the field has, so a short sentence repeats its last text into every field
// after it.
#include <cstdint>
#include <cstring>

#include "convert/field_tokenizer.h"
#include "convert/numeric_fields.h"
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

}  // namespace

void HandleGsa(const char* sentence) {
  EpochRecord& r = epochRecord;
  SentenceFields fields;
  SplitFields(fields, sentence);
  r.sGSAMode = Int16Field(FieldAt(fields, kGsaFixMode));
  // A zero id does not advance the count, so the next nonzero id overwrites
  // it; entries past the last written one keep earlier sentences' ids.
  r.usedSvs.numused = 0;
  for (int i = 0; i < kUsedIds; ++i) {
    const int32_t id = IntField(FieldAt(fields, kGsaFirstId + i));
    r.usedSvs.ids[r.usedSvs.numused] = static_cast<int16_t>(id);
    if (id != 0) ++r.usedSvs.numused;
  }
  r.pdop = RealField(FieldAt(fields, kGsaPdop));
  r.hdop = RealField(FieldAt(fields, kGsaPdop + 1));
  r.vdop = RealField(FieldAt(fields, kGsaPdop + 2));
}

void HandleGsv(const char* sentence) {
  EpochRecord& r = epochRecord;
  SentenceFields fields;
  SplitFields(fields, sentence);
  const int32_t message = IntField(FieldAt(fields, kGsvMessage));
  if (message == 1) std::memset(r.satellites, 0, sizeof r.satellites);
  r.numsvsview = Int16Field(FieldAt(fields, kGsvInView));
  // A message number of 0 or below would place its satellites before the
  // table; such a message stores none. 64 bits keep a huge number from
  // overflowing the slot arithmetic.
  if (message < 1) return;
  for (int group = 0; group < kSatellitesPerMessage; ++group) {
    const int last = kGsvInView + group * kFieldsPerSatellite;
    // Groups go on while a ',' stands after the field before them: a '*'
    // there ends them.
    if (CharAfterField(fields, last) != ',') break;
    const int64_t slot = kSatellitesPerMessage * (int64_t{message} - 1) + group;
    if (slot > kLastStoredSlot) break;
    SatelliteEntry& s = r.satellites[slot];
    s.svid = Int16Field(FieldAt(fields, last + 1));
    s.elev = Int16Field(FieldAt(fields, last + 2));
    s.azim = Int16Field(FieldAt(fields, last + 3));
    s.sgnl = Int16Field(FieldAt(fields, last + 4));
  }
}

}  // namespace quorval
