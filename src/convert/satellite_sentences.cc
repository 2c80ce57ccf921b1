// GSA and GSV: dilution of precision, satellites used and satellites in view.
// Neither looks at what NextField returns: each field converts whatever
// FieldBuffer holds, so a short sentence repeats its last text.
#include <cstdint>
#include <cstring>

#include "convert/field_tokenizer.h"
#include "convert/numeric_fields.h"
#include "convert/sentence_handlers.h"
#include "output/epoch_record.h"

namespace {

int16_t NextInt16(const char*& cursor) {
  NextField(cursor);
  return static_cast<int16_t>(ParseInt(FieldBuffer));
}

double NextReal(const char*& cursor) {
  NextField(cursor);
  return ParseReal(FieldBuffer);
}

constexpr int kSatellitesPerMessage = 4;
// Message 4 may fill the thirteenth slot; nothing is stored beyond it.
constexpr int64_t kLastStoredSlot = 12;

}  // namespace

void HandleGsa(const char* sentence) {
  EpochRecord& r = epochRecord;
  const char* cursor = sentence + 6;
  NextField(cursor);  // mode M or A
  r.sGSAMode = NextInt16(cursor);
  // A zero id does not advance the count, so the next nonzero id overwrites
  // it; entries past the last written one keep earlier sentences' ids.
  r.usedSvs.numused = 0;
  for (int field = 0; field < kUsedIds; ++field) {
    NextField(cursor);
    const int32_t id = ParseInt(FieldBuffer);
    r.usedSvs.ids[r.usedSvs.numused] = static_cast<int16_t>(id);
    if (id != 0) ++r.usedSvs.numused;
  }
  r.pdop = NextReal(cursor);
  r.hdop = NextReal(cursor);
  r.vdop = NextReal(cursor);
}

void HandleGsv(const char* sentence) {
  EpochRecord& r = epochRecord;
  const char* cursor = sentence + 6;
  NextField(cursor);  // total number of messages, not compared
  NextField(cursor);
  const int32_t message = ParseInt(FieldBuffer);
  if (message == 1) std::memset(r.satellites, 0, sizeof r.satellites);
  r.numsvsview = NextInt16(cursor);
  // A message number of 0 or below would place its satellites before the
  // table; such a message stores none. 64 bits keep a huge number from
  // overflowing the slot arithmetic.
  if (message < 1) return;
  for (int group = 0; group < kSatellitesPerMessage; ++group) {
    // After a field closed by '*' the cursor rests on the '*': no more groups.
    if (*cursor != ',') break;
    const int64_t slot = kSatellitesPerMessage * (int64_t{message} - 1) + group;
    if (slot > kLastStoredSlot) break;
    SatelliteEntry& s = r.satellites[slot];
    s.svid = NextInt16(cursor);
    s.elev = NextInt16(cursor);
    s.azim = NextInt16(cursor);
    s.sgnl = NextInt16(cursor);
  }
}
