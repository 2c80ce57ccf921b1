// GSA and GSV by the classic rules: dilution of precision, satellites used
// and satellites in view. Every field they read is read whatever comes, so
// a short sentence repeats the text after its last delimiter into every
// field after it.
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "convert/classic_fields.h"
#include "convert/sentence_decoder.h"
#include "convert/sentence_handlers.h"
#include "state/epoch_record.h"

namespace quorval {

namespace {

// Message 4 may fill the thirteenth slot; nothing is stored beyond it.
constexpr int64_t kLastStoredSlot = 12;

// Message m stores its g-th satellite in slot 4 (m - 1) + g; 64 bits keep a
// huge message number from overflowing.
int64_t SlotOf(int32_t message, int group) { return kGsvSatellites * (int64_t{message} - 1) + group; }

// The classic rules read no field after these: GSA's VDOP, the fourth
// satellite's SNR of GSV.
constexpr size_t kGsaRead = 17;
constexpr size_t kGsvRead = 19;

}  // namespace

void HandleGsa(const char* sentence) {
  GsaFields f;
  Decode<kGsaLayout, kGsaRead>(sentence, f);
  EpochRecord& r = epochRecord;
  r.sGSAMode = Low16(classic::Integer(f.fixMode));
  // A zero id does not advance the count, so the next nonzero id overwrites
  // it; entries past the last written one keep earlier sentences' ids.
  UsedSvList& used = r.usedSvs;
  used.numused = 0;
  // A sentence that has its VDOP has every field before it.
  const bool whole = f.vdop.Sent();
  for (const Field& field : f.ids) {
    const int32_t id = whole ? field.integer : classic::Integer(field);
    used.ids[used.numused] = Low16(id);
    if (id != 0) ++used.numused;
  }
  r.pdop = classic::Real(f.pdop);
  r.hdop = classic::Real(f.hdop);
  r.vdop = classic::Real(f.vdop);
}

void HandleGsv(const char* sentence) {
  GsvFields f;
  Decode<kGsvLayout, kGsvRead>(sentence, f);
  EpochRecord& r = epochRecord;
  const int32_t message = classic::Integer(f.message);
  if (message == 1) std::memset(r.satellites, 0, sizeof r.satellites);
  r.numsvsview = Low16(classic::Integer(f.inView));
  // A message number of 0 or below would place its satellites before the
  // table; such a message stores none.
  if (message < 1) return;
  const Field* before = &f.inView;
  for (int group = 0; group < kGsvSatellites; ++group) {
    // Groups go on while a ',' stands after the field before them: a '*'
    // there ends them.
    if (before->after != ',') break;
    const int64_t slot = SlotOf(message, group);
    if (slot > kLastStoredSlot) break;
    const GsvSatellite& satellite = f.satellites[group];
    SatelliteEntry& s = r.satellites[slot];
    if (satellite.snr.Sent()) {  // and so the three fields before it
      s.svid = Low16(satellite.id.integer);
      s.elev = Low16(satellite.elevation.integer);
      s.azim = Low16(satellite.azimuth.integer);
      s.sgnl = Low16(satellite.snr.integer);
    } else {
      s.svid = Low16(classic::Integer(satellite.id));
      s.elev = Low16(classic::Integer(satellite.elevation));
      s.azim = Low16(classic::Integer(satellite.azimuth));
      s.sgnl = Low16(classic::Integer(satellite.snr));
    }
    before = &satellite.snr;
  }
}

}  // namespace quorval
