// The six sentences of a receiver cycle in the multi-system mode.
#include "convert/receiver_cycle.h"

#include <cstddef>
#include <cstring>

#include "convert/plain_fields.h"
#include "convert/sentence_capture.h"

namespace quorval {

namespace {

// An angle and its hemisphere letter, as GGA and RMC give them.
template <typename Fields>
bool HasPosition(const Fields& f, int latitude) {
  return f.IsAngle(latitude, plain::kLatitudeDigits) && f.IsAngle(latitude + 2, plain::kLongitudeDigits);
}

template <typename Fields>
double Angle(const Fields& f, int number, char negative) {
  const double degrees = NmeaToDegrees(f.Real(number));
  return f.Letter(number + 1) == negative ? -degrees : degrees;
}

// ddmmyy as RMC gives it; yyyy of ZDA keeps its last two digits, as the
// table's year column always has.
void SplitDate(int32_t ddmmyy, int16_t& day, int16_t& month, int16_t& year) {
  day = static_cast<int16_t>(ddmmyy / 10000 % 100);
  month = static_cast<int16_t>(ddmmyy / 100 % 100);
  year = static_cast<int16_t>(ddmmyy % 100);
}

bool Indexed(int16_t id) { return static_cast<uint16_t>(id) < kIndexedIds; }

bool IsUsed(const ReceiverCycle& cycle, int16_t id) {
  if (Indexed(id)) return cycle.usedMark[static_cast<uint16_t>(id)] == cycle.number;
  for (int i = 0; i < cycle.usedCount; ++i) {
    if (cycle.used[i] == id) return true;
  }
  return false;
}

void AddUsed(ReceiverCycle& cycle, int32_t id) {
  const auto table = static_cast<int16_t>(id);
  if (table == 0 || IsUsed(cycle, table) || cycle.usedCount == kCycleSatellites) return;
  cycle.used[cycle.usedCount++] = table;
  if (Indexed(table)) cycle.usedMark[static_cast<uint16_t>(table)] = cycle.number;
}

// The place of a satellite in view, -1 when the cycle has not named it.
int InViewPlace(const ReceiverCycle& cycle, int16_t id) {
  if (Indexed(id)) {
    const uint32_t mark = cycle.inViewMark[static_cast<uint16_t>(id)];
    return mark >> 8 == cycle.number ? static_cast<int>(mark & 0xFF) : -1;
  }
  for (int i = 0; i < cycle.inViewCount; ++i) {
    if (cycle.inView[i].svid == id) return i;
  }
  return -1;
}

// NMEA 4.11 repeats a satellite once per signal: it is kept once, with the
// values of its strongest signal.
void AddInView(ReceiverCycle& cycle, const SatelliteEntry& satellite) {
  const int place = InViewPlace(cycle, satellite.svid);
  if (place >= 0) {
    SatelliteEntry& known = cycle.inView[place];
    if (satellite.sgnl > known.sgnl) known = satellite;
    return;
  }
  if (cycle.inViewCount == kCycleSatellites) return;
  if (Indexed(satellite.svid)) {
    cycle.inViewMark[static_cast<uint16_t>(satellite.svid)] =
        cycle.number << 8 | static_cast<uint32_t>(cycle.inViewCount);
  }
  cycle.inView[cycle.inViewCount++] = satellite;
}

// GSA: 1 mode, 2 fix mode, 3 to 14 used ids, 15 PDOP, 16 HDOP, 17 VDOP,
// and in NMEA 4.10 18 the system id. Receivers of many systems list up to
// 24 ids (30 fields): the DOPs then stand before the system id, counted
// from the end.
constexpr int kGsaFirstId = 3;
constexpr int kGsaIds = 12;
constexpr int kGsaPdop = kGsaFirstId + kGsaIds;
constexpr int kGsaSystemId = kGsaPdop + 3;

// Where a GSA's ids end, its DOPs stand and its system id is (0: none).
struct GsaLayout {
  int pdop;
  int systemId;
};

// A GSA has twelve id fields at least (empty ones included, as NMEA lays
// it out), so up to 18 fields the places are fixed: DOPs at 15 to 17, and
// field 18 the system id when it is one (SiRF's TDOP of 3.3 there is not).
// A GSA of 19 fields or more lists 2 + ids + 3 (+ 1): its last field is
// the system id when it is one digit 1 to 6 without a point (a DOP has
// one), and the three DOPs stand just before it, or last without it. A
// GSA of 13 ids without system id cannot be told from 12 ids and a TDOP:
// the fixed places read it.
// The fields before the checksum's '*': a spliced line's text after it
// is no part of the GSA.
int FieldCount(const DataFields& f) {
  for (int k = 1; k < f.split.count && k < f.count; ++k) {
    if (f.split.sentence[f.split.at[k]] == '*') return k;
  }
  return f.count;
}
template <plain::Kind... kinds>
int FieldCount(const PlainDataFields<kinds...>&) {
  return kGsaSystemId;  // PlainGsa reads no longer GSA
}

template <typename Fields>
GsaLayout LayoutOf(const Fields& f) {
  const int count = FieldCount(f);
  if (count <= kGsaSystemId) return GsaLayout{kGsaPdop, f.Length(kGsaSystemId) == 1 ? kGsaSystemId : 0};
  const char last = f.Letter(count);
  const bool systemId = f.Length(count) == 1 && last >= '1' && last <= '6';
  return GsaLayout{count - 2 - (systemId ? 1 : 0), systemId ? count : 0};
}
// GSV: 1 messages, 2 this message, 3 in view, four fields per satellite (id,
// elevation, azimuth, SNR), and in NMEA 4.10 one more: the signal id.
constexpr int kGsvFirstSatellite = 4;
constexpr int kFieldsPerSatellite = 4;

}  // namespace

DataFields::DataFields(const char* sentence) {
  SplitFields(split, sentence);
  count = split.count > 0 ? split.count - 1 : 0;  // the fields a delimiter closes
  // Without a checksum the last field is the one no delimiter closes.
  if (split.count > 0 && split.sentence[split.at[split.count - 1]] != '*' &&
      split.at[split.count - 1] + 1 < split.length) {
    ++count;
  }
}

template <typename Fields>
void AddGga(ReceiverCycle& cycle, const Fields& f) {
  if (cycle.hasGga) return;
  cycle.hasGga = true;
  cycle.ggaPositioned = HasPosition(f, 2);
  if (cycle.ggaPositioned) {
    cycle.ggaLatitude = Angle(f, 2, 'S');
    cycle.ggaLongitude = Angle(f, 4, 'W');
  }
  cycle.quality = f.Int16(6);
  cycle.inFix = f.Int16(7);
  cycle.ggaHdop = f.Real(8);
  cycle.msl = f.Real(9);
  cycle.alt = cycle.msl - f.Real(11);
}

template <typename Fields>
void AddRmc(ReceiverCycle& cycle, const Fields& f) {
  if (cycle.hasRmc) return;
  cycle.hasRmc = true;
  cycle.rmcValid = f.Letter(2) == 'A';
  // A row takes its position from GGA when the cycle's GGA carries one.
  if (!cycle.ggaPositioned) {
    cycle.rmcPositioned = HasPosition(f, 3);
    if (cycle.rmcPositioned) {
      cycle.rmcLatitude = Angle(f, 3, 'S');
      cycle.rmcLongitude = Angle(f, 5, 'W');
    }
  }
  cycle.rmcSpeed = f.Real(7);
  cycle.rmcCourse = f.Real(8);
  cycle.rmcDated = f.Has(9);
  SplitDate(f.Int(9), cycle.rmcDay, cycle.rmcMonth, cycle.rmcYear);
}

template <typename Fields>
void AddVtg(ReceiverCycle& cycle, const Fields& f) {
  if (cycle.hasVtg) return;
  cycle.hasVtg = true;
  cycle.vtgCourse = f.Real(1);
  cycle.vtgSpeed = f.Real(5);
}

template <typename Fields>
void AddZda(ReceiverCycle& cycle, const Fields& f) {
  if (cycle.zdaDated) return;
  if (!f.Has(2) || !f.Has(3) || !f.Has(4)) return;
  cycle.zdaDated = true;
  cycle.zdaDay = f.Int16(2);
  cycle.zdaMonth = f.Int16(3);
  cycle.zdaYear = static_cast<int16_t>(f.Int(4) % 100);
}

template <typename Fields>
void AddGsa(ReceiverCycle& cycle, const Fields& f, SatelliteSystem system) {
  // The system id of NMEA 4.10, one hex digit, names the system of the ids;
  // without it the talker does, or for GN each id's range. (Some receivers
  // put another number there, a TDOP of 3.3 say: that is no system id.)
  const GsaLayout layout = LayoutOf(f);
  if (layout.systemId != 0) {
    const SatelliteSystem named = SystemOfId(f.Int(layout.systemId));
    if (named != SatelliteSystem::kSeveral) system = named;
  }
  for (int field = kGsaFirstId; field < layout.pdop; ++field) {
    AddUsed(cycle, TableSatelliteId(system, f.Int(field)));
  }
  if (cycle.hasGsa) return;
  cycle.hasGsa = true;
  cycle.fixMode = f.Int16(2);
  cycle.pdop = f.Real(layout.pdop);
  cycle.hdop = f.Real(layout.pdop + 1);
  cycle.vdop = f.Real(layout.pdop + 2);
}

template void AddGga(ReceiverCycle&, const DataFields&);
template void AddGga(ReceiverCycle&, const PlainGga&);
template void AddRmc(ReceiverCycle&, const DataFields&);
template void AddRmc(ReceiverCycle&, const PlainRmc&);
template void AddVtg(ReceiverCycle&, const DataFields&);
template void AddVtg(ReceiverCycle&, const PlainVtg&);
template void AddZda(ReceiverCycle&, const DataFields&);
template void AddZda(ReceiverCycle&, const PlainZda&);
template void AddGsa(ReceiverCycle&, const DataFields&, SatelliteSystem);
template void AddGsa(ReceiverCycle&, const PlainGsa&, SatelliteSystem);

// Four fields per satellite; one field over is the signal id of NMEA 4.10,
// never a satellite.
int GsvSatellites(int fields) {
  return fields < kGsvFirstSatellite ? 0 : (fields - 3) / kFieldsPerSatellite;
}

// Always inline: it is taken for every satellite of every GSV.
[[gnu::always_inline]] inline void AddGsvSatellite(ReceiverCycle& cycle, SatelliteSystem system, int32_t id,
                                                   int32_t elevation, int32_t azimuth, int32_t signal) {
  SatelliteEntry satellite{};
  satellite.svid = static_cast<int16_t>(TableSatelliteId(system, id));
  satellite.elev = static_cast<int16_t>(elevation);
  satellite.azim = static_cast<int16_t>(azimuth);
  satellite.sgnl = static_cast<int16_t>(signal);
  if (satellite.svid != 0) AddInView(cycle, satellite);  // a group without an id names none
}

void AddGsv(ReceiverCycle& cycle, const DataFields& f, SatelliteSystem system) {
  const int satellites = GsvSatellites(f.count);
  for (int s = 0; s < satellites; ++s) {
    const int first = kGsvFirstSatellite + s * kFieldsPerSatellite;
    AddGsvSatellite(cycle, system, f.Int(first), f.Int(first + 1), f.Int(first + 2), f.Int(first + 3));
  }
}

bool AddPlainGsv(ReceiverCycle& cycle, const char* sentence, SatelliteSystem system) {
  // Four satellites, the counts before them and a signal id: 20 fields.
  constexpr int kPlainFields = 24;
  // Every field takes a character at least, so a captured sentence has
  // fewer fields than its capacity: their number is checked once, after.
  int32_t values[kSentenceCapacity];
  const char* p = sentence + kTagLength;
  if (*p != ',') return false;
  int fields = 0;
  do {
    p = plain::Int(p + 1, values[fields++]);
    if (p == nullptr) return false;
  } while (*p == ',');
  if (fields > kPlainFields) return false;
  // The '*' of the checksum, its two digits and the end: the fields that the
  // general reading counts.
  if (p[1] == '\0' || p[2] == '\0' || p[3] != '\0' || plain::IsDelimiter(p[1]) ||
      plain::IsDelimiter(p[2])) {
    return false;
  }
  const int satellites = GsvSatellites(fields);
  for (int s = 0; s < satellites; ++s) {
    const int32_t* group = values + (kGsvFirstSatellite - 1) + s * kFieldsPerSatellite;
    AddGsvSatellite(cycle, system, group[0], group[1], group[2], group[3]);
  }
  return true;
}

void ClearCycle(ReceiverCycle& cycle) {
  std::memset(&cycle, 0, offsetof(ReceiverCycle, inView));
  cycle.inViewCount = 0;
  cycle.usedCount = 0;
  // Numbers from 1 (a zero-initialised table marks nothing of cycle 1), as
  // many as the place marks hold; then the tables start over.
  if (++cycle.number == kCycleNumbers) {
    std::memset(cycle.inViewMark, 0, sizeof cycle.inViewMark);
    std::memset(cycle.usedMark, 0, sizeof cycle.usedMark);
    cycle.number = 1;
  }
}

bool HasFix(const ReceiverCycle& cycle) {
  // A fix that no sentence places would be a row at latitude 0.
  if (!cycle.ggaPositioned && !cycle.rmcPositioned) return false;
  return cycle.hasGga ? cycle.quality > 0 : cycle.hasRmc && cycle.rmcValid;
}

const SatelliteEntry* FillRow(ReceiverCycle& cycle, double timeOfDay, EpochRecord& row, int& filled) {
  row.timeOfDay = timeOfDay;
  // GGA and RMC of one cycle describe one fix; GGA has it in full.
  row.latitude = cycle.ggaPositioned ? cycle.ggaLatitude : cycle.rmcLatitude;
  row.longitude = cycle.ggaPositioned ? cycle.ggaLongitude : cycle.rmcLongitude;
  row.alt = cycle.alt;
  row.msl = cycle.msl;
  row.GGAhdop = cycle.ggaHdop;
  row.gpsqual = cycle.quality;
  row.numsvsinfix = cycle.inFix;
  row.speedKnots = cycle.hasRmc ? cycle.rmcSpeed : cycle.vtgSpeed;
  row.heading = cycle.hasRmc ? cycle.rmcCourse : cycle.vtgCourse;
  if (cycle.rmcDated) {
    row.day = cycle.rmcDay, row.month = cycle.rmcMonth, row.year = cycle.rmcYear;
  } else if (cycle.zdaDated) {
    row.day = cycle.zdaDay, row.month = cycle.zdaMonth, row.year = cycle.zdaYear;
  } else {
    row.day = row.month = row.year = 0;
  }
  row.sGSAMode = cycle.fixMode;
  row.pdop = cycle.pdop;
  row.hdop = cycle.hdop;
  row.vdop = cycle.vdop;
  row.usedSvs.numused = static_cast<int16_t>(cycle.usedCount);
  row.numsvsview = static_cast<int16_t>(cycle.inViewCount);
  filled = cycle.inViewCount;
  for (int i = 0; i < filled; ++i) cycle.inView[i].used = IsUsed(cycle, cycle.inView[i].svid) ? 1 : 0;
  return cycle.inView;
}

}  // namespace quorval
