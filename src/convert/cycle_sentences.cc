// The sentences of a receiver cycle in the multi-system mode, decoded.
#include "convert/receiver_cycle.h"

#include <cassert>
#include <cstddef>
#include <cstring>

#include "convert/numeric_fields.h"
#include "convert/plain_fields.h"
#include "convert/sentence_handlers.h"
#include "text/sent_values.h"

namespace quorval {

namespace {

// An angle and its hemisphere letter, as GGA, GNS, RMC and GLL give them.
double Angle(const Field& angle, const Field& hemisphere, char negative) {
  const double degrees = NmeaToDegrees(angle.real);
  return hemisphere.Letter() == negative ? -degrees : degrees;
}

bool HasPosition(const Field& latitude, const Field& longitude) {
  return latitude.wellFormed && longitude.wellFormed;
}

bool Indexed(int16_t id) { return static_cast<uint16_t>(id) < kIndexedIds; }

// A field's text as sent; a field the sentence lacks is none.
void Keep(SentText& kept, const Field& field) { KeepSent(kept, field.text, field.Sent() ? field.length : 0); }

// Which sentence's position the tables show: GGA's before GNS's before
// RMC's before GLL's, as the row of the multi-system table takes it.
enum PositionRank : int8_t { kNoPosition, kGllPosition, kRmcPosition, kGnsPosition, kGgaPosition };

void KeepPosition(ReceiverCycle& cycle, PositionRank rank, const Field& latitude, const Field& northSouth,
                  const Field& longitude, const Field& eastWest) {
  if (rank <= cycle.positionRank || !HasPosition(latitude, longitude)) return;
  cycle.positionRank = rank;
  Keep(cycle.sent.latitude, latitude);
  Keep(cycle.sent.longitude, longitude);
  cycle.sent.south = northSouth.Letter() == 'S';
  cycle.sent.west = eastWest.Letter() == 'W';
}

// The mode indicator: RMC's before GNS's (one letter per system) before GLL's.
void KeepMode(ReceiverCycle& cycle, int8_t rank, const Field& mode) {
  if (rank <= cycle.modeRank || !mode.Has()) return;
  cycle.modeRank = rank;
  Keep(cycle.sent.mode, mode);
}

// The fix's own values, which GGA gives and GNS for receivers that send it
// instead; the DOP of a GSA goes before theirs.
void KeepFixValues(ReceiverCycle& cycle, const Field& altitude, const Field& separation,
                   const Field& satellites, const Field& hdop) {
  Keep(cycle.sent.heightMsl, altitude);
  Keep(cycle.sent.geoidSeparation, separation);
  Keep(cycle.sent.satsUsed, satellites);
  if (!cycle.hasGsa) Keep(cycle.sent.hdop, hdop);
}

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

// The names of the systems, by SatelliteSystem.
constexpr const char* kSystemNames[] = {"", "GPS", "GLONASS", "Galileo", "BeiDou", "QZSS", "NavIC"};

// The system of a satellite by its place in the number space, else by its
// talker. SBAS satellites (NMEA ids 33-64, PRN 120-158) stand apart.
const char* SystemName(int32_t prn, SatelliteSystem talker) {
  if ((prn >= 33 && prn <= 64) || (prn >= 120 && prn <= 158)) return "SBAS";
  const SatelliteSystem range = numbering::RangeOf(prn);
  return kSystemNames[static_cast<int>(range != SatelliteSystem::kSeveral ? range : talker)];
}

// A signal id's bit in a satellite's mark: 0-F, 16 for none, -1 for any
// other text (found by looking through the list).
int SignalBit(const SignalCell& signal) {
  if (signal.length == 0) return 16;
  if (signal.length > 1) return -1;
  const char c = signal.text[0];
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

bool SignalKnown(ReceiverCycle& cycle, const SignalRecord& signal) {
  const int bit = SignalBit(signal.signal);
  if (Indexed(signal.prn) && bit >= 0) {
    const auto id = static_cast<uint16_t>(signal.prn);
    if (cycle.signalMark[id] != cycle.number) {
      cycle.signalMark[id] = cycle.number;
      cycle.signalBits[id] = 0;
    }
    const uint32_t mask = uint32_t{1} << bit;
    const bool known = (cycle.signalBits[id] & mask) != 0;
    cycle.signalBits[id] |= mask;
    return known;
  }
  for (int i = 0; i < cycle.signalCount; ++i) {
    const SignalRecord& kept = cycle.perSignal[i];
    if (kept.prn == signal.prn && kept.signal.length == signal.signal.length &&
        std::memcmp(kept.signal.text, signal.signal.text, signal.signal.length) == 0) {
      return true;
    }
  }
  return false;
}

// A field of a captured sentence as a satellite's cell: a capture may be
// read kSentenceReadAhead bytes past its end, so the whole cell is copied
// in one move, whatever the field's length.
static_assert(kSignalCellCapacity <= kSentenceReadAhead);
void KeepCaptured(SignalCell& cell, const char* text, int length) {
  std::memcpy(cell.text, text, kSignalCellCapacity);
  cell.length = length <= kSignalCellCapacity ? static_cast<uint8_t>(length) : 0;
}

// Each satellite of a GSV on its signal, the first report of each kept.
// The signal id stands after the last satellite: in the first group that
// has its id alone, or in field 20 after four satellites.
void AddSignals(ReceiverCycle& cycle, const GsvFields& f, int groups, SatelliteSystem system) {
  const Field* signalId = nullptr;
  if (groups < kGsvSatellites) {
    const GsvSatellite& after = f.satellites[groups];
    if (after.id.Has() && !after.elevation.Sent()) signalId = &after.id;
  } else if (f.signalId.Has()) {
    signalId = &f.signalId;
  }
  for (int i = 0; i < groups; ++i) {
    const GsvSatellite& group = f.satellites[i];
    const int32_t prn = TableSatelliteId(system, group.id.integer);
    if (Low16(prn) == 0) continue;  // a group without an id names none
    if (cycle.signalCount == kCycleSignals) return;
    SignalRecord& signal = cycle.perSignal[cycle.signalCount];
    signal.prn = Low16(prn);
    signal.system = SystemName(prn, system);
    signal.used = false;
    KeepCaptured(signal.svid, group.id.text, group.id.length);
    if (signalId != nullptr) {
      KeepCaptured(signal.signal, signalId->text, signalId->length);
    } else {
      signal.signal.length = 0;
    }
    KeepCaptured(signal.elevation, group.elevation.text, group.elevation.length);
    KeepCaptured(signal.azimuth, group.azimuth.text, group.azimuth.length);
    KeepCaptured(signal.snr, group.snr.text, group.snr.length);
    if (!SignalKnown(cycle, signal)) ++cycle.signalCount;
  }
}

// GNS gives a mode per system where GGA gives one quality: the best of them
// as GGA's number (R RTK 4, F float RTK 5, P precise 3, D differential 2,
// A autonomous 1, E estimated 6, M manual 7, S simulator 8; N no fix 0).
int16_t QualityOfModes(const Field& modes) {
  constexpr char kBestFirst[] = "RFPDAEMS";
  constexpr int16_t kQuality[] = {4, 5, 3, 2, 1, 6, 7, 8};
  constexpr int kNone = sizeof kQuality / sizeof kQuality[0];
  int best = kNone;
  for (int i = 0; modes.Sent() && i < modes.length; ++i) {
    for (int k = 0; k < best; ++k) {
      if (modes.text[i] == kBestFirst[k]) best = k;
    }
  }
  return best < kNone ? kQuality[best] : int16_t{0};
}

// GSA: 1 mode, 2 fix mode, 3 to 14 used ids, 15 PDOP, 16 HDOP, 17 VDOP,
// and in NMEA 4.10 18 the system id. Receivers of many systems list up to
// 24 ids (30 fields): the DOPs then stand before the system id, counted
// from the end.
constexpr int kGsaFirstId = 3;
constexpr int kGsaPdop = kGsaFirstId + kGsaIds;
constexpr int kGsaSystemId = kGsaPdop + 3;

// Field number must be one of the layout's (1 to 30).
const Field& GsaField(const GsaFields& f, int number) {
  assert(number >= 1 && number <= static_cast<int>(sizeof kGsaLayout / sizeof kGsaLayout[0]));
  return kGsaLayout[number - 1].place(const_cast<GsaFields&>(f));
}

// A field of a long GSA as a number, whatever its kind in the layout.
int32_t GsaInteger(const GsaFields& f, int number) {
  const Field& field = GsaField(f, number);
  if (kGsaLayout[number - 1].kind == Kind::kInteger || !field.Sent()) return field.integer;
  return IntField(FieldSpan{field.Closed(), field.text, field.length});
}
double GsaReal(const GsaFields& f, int number) {
  const Field& field = GsaField(f, number);
  if (kGsaLayout[number - 1].kind == Kind::kReal || !field.Sent()) return field.real;
  return RealField(FieldSpan{field.Closed(), field.text, field.length});
}

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
// the fixed places read it. The fields count up to the checksum's '*': a
// spliced line's text after it is no part of the GSA.
GsaLayout LayoutOf(const GsaFields& f) {
  // Most GSAs end by field 18: the places are fixed.
  if (!f.more[0].Sent()) return GsaLayout{kGsaPdop, f.systemId.Sent() && f.systemId.length == 1 ? kGsaSystemId : 0};
  constexpr int kFields = static_cast<int>(sizeof kGsaLayout / sizeof kGsaLayout[0]);
  int count = 0;
  while (count < kFields && GsaField(f, count + 1).Sent()) {
    ++count;
    if (GsaField(f, count).Closed() && GsaField(f, count).after == '*') break;
  }
  if (count <= kGsaSystemId) return GsaLayout{kGsaPdop, f.systemId.Sent() && f.systemId.length == 1 ? kGsaSystemId : 0};
  const Field& last = GsaField(f, count);
  const bool systemId = last.length == 1 && last.text[0] >= '1' && last.text[0] <= '6';
  return GsaLayout{count - 2 - (systemId ? 1 : 0), systemId ? count : 0};
}

}  // namespace

void AddGga(ReceiverCycle& cycle, const GgaFields& f) {
  if (cycle.hasGga) return;
  cycle.hasGga = true;
  CycleFix& fix = cycle.gga;
  fix.positioned = HasPosition(f.latitude, f.longitude);
  if (fix.positioned) {
    fix.latitude = Angle(f.latitude, f.northSouth, 'S');
    fix.longitude = Angle(f.longitude, f.eastWest, 'W');
  }
  fix.quality = Low16(f.quality.integer);
  fix.inFix = Low16(f.satellites.integer);
  fix.hdop = f.hdop.real;
  fix.msl = f.altitude.real;
  fix.alt = fix.msl - f.separation.real;
  if (!cycle.keepsText) return;
  KeepPosition(cycle, kGgaPosition, f.latitude, f.northSouth, f.longitude, f.eastWest);
  KeepFixValues(cycle, f.altitude, f.separation, f.satellites, f.hdop);
  Keep(cycle.sent.quality, f.quality);
}

// NMEA 4.10 sends a GNS of all systems (talker GN) with the position and
// one of each system with its satellites alone: the cycle's GNS is the
// first that places the fix.
void AddGns(ReceiverCycle& cycle, const GnsFields& f) {
  if (cycle.hasGns || !HasPosition(f.latitude, f.longitude)) return;
  cycle.hasGns = true;
  CycleFix& fix = cycle.gns;
  fix.positioned = true;
  fix.latitude = Angle(f.latitude, f.northSouth, 'S');
  fix.longitude = Angle(f.longitude, f.eastWest, 'W');
  fix.quality = QualityOfModes(f.mode);
  fix.inFix = Low16(f.satellites.integer);
  fix.hdop = f.hdop.real;
  fix.msl = f.altitude.real;
  fix.alt = fix.msl - f.separation.real;
  const int modes = f.mode.Sent() && f.mode.length < sizeof cycle.gnsModes ? f.mode.length : 0;
  std::memcpy(cycle.gnsModes, f.mode.text, static_cast<size_t>(modes));
  cycle.gnsModes[modes] = '\0';
  if (!cycle.keepsText) return;
  KeepPosition(cycle, kGnsPosition, f.latitude, f.northSouth, f.longitude, f.eastWest);
  KeepMode(cycle, 2, f.mode);
  if (cycle.hasGga) return;
  KeepFixValues(cycle, f.altitude, f.separation, f.satellites, f.hdop);
  const char quality = static_cast<char>('0' + fix.quality);
  KeepSent(cycle.sent.quality, &quality, 1);
}

void AddRmc(ReceiverCycle& cycle, const RmcFields& f) {
  if (cycle.hasRmc) return;
  cycle.hasRmc = true;
  cycle.rmcValid = f.status.Letter() == 'A';
  cycle.rmcPositioned = HasPosition(f.latitude, f.longitude);
  if (cycle.rmcPositioned) {
    cycle.rmcLatitude = Angle(f.latitude, f.northSouth, 'S');
    cycle.rmcLongitude = Angle(f.longitude, f.eastWest, 'W');
  }
  cycle.rmcSpeed = f.speed.real;
  cycle.rmcCourse = f.course.real;
  cycle.rmcDated = f.date.Has();
  SplitDdmmyy(f.date.integer, cycle.rmcDay, cycle.rmcMonth, cycle.rmcYear);
  cycle.rmcMode = f.mode.Letter();
  cycle.rmcNavigationalStatus = f.navigationalStatus.Letter();
  if (!cycle.keepsText) return;
  KeepPosition(cycle, kRmcPosition, f.latitude, f.northSouth, f.longitude, f.eastWest);
  KeepMode(cycle, 3, f.mode);
  Keep(cycle.sent.speedKnots, f.speed);
  Keep(cycle.sent.course, f.course);
  cycle.sent.status = f.status.length == 1 ? f.status.text[0] : '\0';
  // ddmmyy; ZDA's date, with its year in full, goes before it.
  if (f.date.Sent() && f.date.length == 6 && cycle.sent.year == 0) {
    cycle.sent.day = cycle.rmcDay;
    cycle.sent.month = cycle.rmcMonth;
    cycle.sent.year = static_cast<int16_t>(FullYearOfRmc(cycle.rmcYear));
  }
}

void AddGll(ReceiverCycle& cycle, const GllFields& f) {
  if (cycle.hasGll) return;
  cycle.hasGll = true;
  // NMEA 2.3's mode N says no fix whatever the status.
  cycle.gllValid = f.status.Letter() == 'A' && f.mode.Letter() != 'N';
  cycle.gllPositioned = HasPosition(f.latitude, f.longitude);
  if (cycle.gllPositioned) {
    cycle.gllLatitude = Angle(f.latitude, f.northSouth, 'S');
    cycle.gllLongitude = Angle(f.longitude, f.eastWest, 'W');
  }
  if (!cycle.keepsText) return;
  KeepPosition(cycle, kGllPosition, f.latitude, f.northSouth, f.longitude, f.eastWest);
  KeepMode(cycle, 1, f.mode);
  if (!cycle.hasRmc) cycle.sent.status = f.status.length == 1 ? f.status.text[0] : '\0';
}

void AddVtg(ReceiverCycle& cycle, const VtgFields& f) {
  if (cycle.hasVtg) return;
  cycle.hasVtg = true;
  cycle.vtgCourse = f.course.real;
  cycle.vtgSpeed = f.speed.real;
  if (!cycle.keepsText || cycle.hasRmc) return;
  Keep(cycle.sent.speedKnots, f.speed);
  Keep(cycle.sent.course, f.course);
}

void AddZda(ReceiverCycle& cycle, const ZdaFields& f) {
  if (cycle.zdaDated) return;
  if (!f.day.Has() || !f.month.Has() || !f.year.Has()) return;
  cycle.zdaDated = true;
  cycle.zdaDay = Low16(f.day.integer);
  cycle.zdaMonth = Low16(f.month.integer);
  cycle.zdaYear = Low16(f.year.integer % 100);  // yyyy: the last two digits, as the year column has
  if (cycle.keepsText && f.year.length == 4) {
    cycle.sent.day = cycle.zdaDay;
    cycle.sent.month = cycle.zdaMonth;
    cycle.sent.year = Low16(f.year.integer);
  }
}

void AddGst(ReceiverCycle& cycle, const GstFields& f) {
  if (cycle.hasGst) return;
  cycle.hasGst = true;
  cycle.latitudeError = f.latitudeError.real;
  cycle.longitudeError = f.longitudeError.real;
  cycle.altitudeError = f.altitudeError.real;
  if (!cycle.keepsText) return;
  Keep(cycle.sent.latitudeSd, f.latitudeError);
  Keep(cycle.sent.longitudeSd, f.longitudeError);
  Keep(cycle.sent.heightSd, f.altitudeError);
}

void AddGsa(ReceiverCycle& cycle, const GsaFields& f, SatelliteSystem system) {
  // The system id of NMEA 4.10, one hex digit, names the system of the ids;
  // without it the talker does, or for GN each id's range. (Some receivers
  // put another number there, a TDOP of 3.3 say: that is no system id.)
  const GsaLayout layout = LayoutOf(f);
  if (layout.systemId != 0) {
    const SatelliteSystem named = SystemOfId(GsaInteger(f, layout.systemId));
    if (named != SatelliteSystem::kSeveral) system = named;
  }
  if (layout.pdop == kGsaPdop) {
    for (const Field& id : f.ids) AddUsed(cycle, TableSatelliteId(system, id.integer));
  } else {
    for (int field = kGsaFirstId; field < layout.pdop; ++field) {
      AddUsed(cycle, TableSatelliteId(system, GsaInteger(f, field)));
    }
  }
  if (cycle.hasGsa) return;
  cycle.hasGsa = true;
  cycle.fixMode = Low16(f.fixMode.integer);
  cycle.pdop = GsaReal(f, layout.pdop);
  cycle.hdop = GsaReal(f, layout.pdop + 1);
  cycle.vdop = GsaReal(f, layout.pdop + 2);
  if (!cycle.keepsText) return;
  Keep(cycle.sent.fixType, f.fixMode);
  Keep(cycle.sent.pdop, GsaField(f, layout.pdop));
  Keep(cycle.sent.hdop, GsaField(f, layout.pdop + 1));
  Keep(cycle.sent.vdop, GsaField(f, layout.pdop + 2));
}

void AddGsv(ReceiverCycle& cycle, const GsvFields& f, SatelliteSystem system) {
  cycle.gsvSeen = true;
  // Four fields a satellite; a group without its last field is the signal
  // id of NMEA 4.10, never a satellite.
  int groups = 0;
  for (const GsvSatellite& group : f.satellites) {
    if (!group.snr.Sent()) break;
    ++groups;
    SatelliteEntry satellite{};
    satellite.svid = Low16(TableSatelliteId(system, group.id.integer));
    satellite.elev = Low16(group.elevation.integer);
    satellite.azim = Low16(group.azimuth.integer);
    satellite.sgnl = Low16(group.snr.integer);
    if (satellite.svid != 0) AddInView(cycle, satellite);  // a group without an id names none
  }
  if (cycle.keepsSignals) AddSignals(cycle, f, groups, system);
}

// What the sentences give must stand before inView, which the clearing
// below does not reach.
static_assert(offsetof(ReceiverCycle, modeRank) + 1 <= offsetof(ReceiverCycle, inView));

void ClearCycle(ReceiverCycle& cycle) {
  std::memset(&cycle, 0, offsetof(ReceiverCycle, inView));
  cycle.inViewCount = 0;
  cycle.usedCount = 0;
  cycle.signalCount = 0;
  // Numbers from 1 (a zero-initialised table marks nothing of cycle 1), as
  // many as the place marks hold; then the tables start over.
  if (++cycle.number == kCycleNumbers) {
    std::memset(cycle.inViewMark, 0, sizeof cycle.inViewMark);
    std::memset(cycle.usedMark, 0, sizeof cycle.usedMark);
    std::memset(cycle.signalMark, 0, sizeof cycle.signalMark);
    cycle.number = 1;
  }
}

bool HasFix(const ReceiverCycle& cycle) {
  // A fix that no sentence places would be a row at latitude 0.
  if (!cycle.gga.positioned && !cycle.gns.positioned && !cycle.rmcPositioned && !cycle.gllPositioned) {
    return false;
  }
  if (cycle.hasGga) return cycle.gga.quality > 0;
  if (cycle.hasGns) return cycle.gns.quality > 0;
  if (cycle.hasRmc) return cycle.rmcValid;
  return cycle.hasGll && cycle.gllValid;
}

void MarkUsedSignals(ReceiverCycle& cycle) {
  for (int i = 0; i < cycle.signalCount; ++i) cycle.perSignal[i].used = IsUsed(cycle, cycle.perSignal[i].prn);
}

const SatelliteEntry* FillRow(ReceiverCycle& cycle, double timeOfDay, EpochRecord& row, int& filled) {
  row.timeOfDay = timeOfDay;
  // The sentences of one cycle describe one fix; GGA has it in full, GNS
  // as fully for receivers that send it instead, RMC and GLL the position.
  const CycleFix& fix = cycle.hasGga || !cycle.hasGns ? cycle.gga : cycle.gns;
  if (cycle.gga.positioned || cycle.gns.positioned) {
    const CycleFix& placed = cycle.gga.positioned ? cycle.gga : cycle.gns;
    row.latitude = placed.latitude;
    row.longitude = placed.longitude;
  } else if (cycle.rmcPositioned) {
    row.latitude = cycle.rmcLatitude;
    row.longitude = cycle.rmcLongitude;
  } else {
    row.latitude = cycle.gllLatitude;
    row.longitude = cycle.gllLongitude;
  }
  row.alt = fix.alt;
  row.msl = fix.msl;
  row.GGAhdop = fix.hdop;
  row.gpsqual = fix.quality;
  row.numsvsinfix = fix.inFix;
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
