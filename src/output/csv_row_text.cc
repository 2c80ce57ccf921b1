// The text of one row, column by column as the CSV column table lays it
// out. The table is read while the writer is compiled, so each column costs
// what a call written out for it would; the twelve satellite slots of the
// usual table are written out the same way.
#include <algorithm>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <utility>

#include "text/csv_columns.h"
#include "output/csv_writer.h"
#include "text/decimal_digits.h"
#include "output/dms.h"
#include "text/fixed_point.h"
#include "state/epoch_record.h"
#include "state/run_state.h"

namespace quorval {

namespace {

// One knot is 1852 metres per hour.
constexpr double kMetresPerNauticalMile = 1852;
constexpr double kSecondsPerHour = 3600;
// The 14-digit value the table has always used, slightly above pi: a course
// of exactly 180 degrees therefore gives an east velocity of -0.000.
constexpr double kPi = 3.1415926535898;

constexpr char kLineEnd[] = "\r\n";

// A slot that the record does not have prints as an empty one.
constexpr SatelliteEntry kEmptySlot{};

inline char* AppendChar(char* out, char c) {
  *out = c;
  return out + 1;
}

// "%d," of 0 to 999 (satellite ids, angles, signal levels, counts, flags),
// four bytes each, written whole, and how many of them count.
constexpr int kSmallIntegers = 1000;
struct alignas(8) SmallIntegerText {  // eight bytes: an entry is found by one scaled index
  char text[4];
  uint8_t length;
};
struct SmallIntegerTexts {
  SmallIntegerText of[kSmallIntegers];
  constexpr SmallIntegerTexts() : of{} {
    for (int v = 0; v < kSmallIntegers; ++v) {
      uint8_t at = 0;
      if (v >= 100) of[v].text[at++] = static_cast<char>('0' + v / 100);
      if (v >= 10) of[v].text[at++] = static_cast<char>('0' + v / 10 % 10);
      of[v].text[at++] = static_cast<char>('0' + v % 10);
      of[v].text[at++] = ',';
      of[v].length = at;
    }
  }
};
constexpr SmallIntegerTexts kSmallIntegerTexts;

// "%d,"
inline char* AppendInteger(char* out, int32_t value) {
  if (static_cast<uint32_t>(value) < kSmallIntegers) {
    const SmallIntegerText& small = kSmallIntegerTexts.of[value];
    std::memcpy(out, small.text, 4);
    return out + small.length;
  }
  if (value < 0) {
    *out++ = '-';
    out = AppendUnsigned(out, 0u - static_cast<uint32_t>(value));
  } else {
    out = AppendUnsigned(out, static_cast<uint32_t>(value));
  }
  return AppendChar(out, ',');
}

// "%02d": at least two characters, zero-padded.
inline char* AppendTwoDigits(char* out, int32_t value) {
  if (static_cast<uint32_t>(value) < 100) {
    std::memcpy(out, DigitPair(static_cast<uint32_t>(value)), 2);
    return out + 2;
  }
  return std::to_chars(out, out + 12, value).ptr;
}

// "%d:%02d:%02d.%02d%c,"
template <char positiveLetter, char negativeLetter>
char* AppendDms(char* out, double value) {
  const DmsParts parts = SplitDms(value);
  out = parts.degrees >= 0 ? AppendUnsigned(out, static_cast<uint32_t>(parts.degrees))
                           : std::to_chars(out, out + 12, parts.degrees).ptr;
  out = AppendTwoDigits(AppendChar(out, ':'), parts.minutes);
  out = AppendTwoDigits(AppendChar(out, ':'), parts.seconds);
  out = AppendTwoDigits(AppendChar(out, '.'), parts.hundredths);
  return AppendChar(AppendChar(out, parts.negative ? negativeLetter : positiveLetter), ',');
}

template <int decimals>
char* AppendFixed(char* out, double value) {
  return AppendChar(WriteFixedOf<decimals>(out, value), ',');
}

// The text of a real column as the last row wrote it, for the value it had:
// a position, an altitude or a dilution value that did not change since is
// copied instead of written again. The text is a function of the value's
// bits alone, so it holds for every row and every conversion.
constexpr size_t kReusedTextSize = 32;
struct ReusedText {
  uint64_t value;
  size_t length;  // 0: none kept (every text has at least "0.0,")
  char text[kReusedTextSize];
};
ReusedText reusedTexts[kEpochColumnCount];

template <size_t column, char* (*append)(char*, double)>
char* AppendReusing(char* out, double value) {
  ReusedText& reused = reusedTexts[column];
  const uint64_t bits = std::bit_cast<uint64_t>(value);
  if (reused.length != 0 && reused.value == bits) {
    std::memcpy(out, reused.text, kReusedTextSize);  // rows have room to spare
    return out + reused.length;
  }
  char* end = append(out, value);
  const auto length = static_cast<size_t>(end - out);
  reused.length = length <= kReusedTextSize ? length : 0;
  reused.value = bits;
  if (reused.length != 0) std::memcpy(reused.text, out, kReusedTextSize);
  return end;
}

// What a row reads: the record, the counter, and the values it works out.
struct RowValues {
  const EpochRecord& record;
  int32_t epochCounter;
  double speed;  // metres per second
  double east;
  double north;
};

// The speed in metres per second and the two velocity components of a
// speed and course, kept for the next row: at rest or on a steady course
// the sine and cosine are not worked out again.
struct Motion {
  uint64_t knots;
  uint64_t heading;
  bool known;
  double speed;
  double east;
  double north;
};
Motion lastMotion{};

RowValues ValuesOf(const EpochRecord& r, int32_t epochCounter) {
  Motion& m = lastMotion;
  const uint64_t knots = std::bit_cast<uint64_t>(r.speedKnots);
  const uint64_t heading = std::bit_cast<uint64_t>(r.heading);
  if (!m.known || m.knots != knots || m.heading != heading) {
    const double speed = r.speedKnots * kMetresPerNauticalMile / kSecondsPerHour;
    const double course = r.heading * kPi / 180;
    m = Motion{knots, heading, true, speed, std::sin(course) * speed, std::cos(course) * speed};
  }
  return RowValues{r, epochCounter, m.speed, m.east, m.north};
}

// Each column's value, chosen while the writer is compiled.
template <ColumnSource>
[[maybe_unused]] constexpr bool kNotThatKindOfValue = false;

template <ColumnSource source>
double RealValue(const RowValues& v) {
  const EpochRecord& r = v.record;
  if constexpr (source == ColumnSource::kTimeOfDay) return r.timeOfDay;
  else if constexpr (source == ColumnSource::kLongitude) return r.longitude;
  else if constexpr (source == ColumnSource::kLatitude) return r.latitude;
  else if constexpr (source == ColumnSource::kAlt) return r.alt;
  else if constexpr (source == ColumnSource::kMsl) return r.msl;
  else if constexpr (source == ColumnSource::kSpeed) return v.speed;
  else if constexpr (source == ColumnSource::kHeading) return r.heading;
  else if constexpr (source == ColumnSource::kEastVelocity) return v.east;
  else if constexpr (source == ColumnSource::kNorthVelocity) return v.north;
  else if constexpr (source == ColumnSource::kGgaHdop) return r.GGAhdop;
  else if constexpr (source == ColumnSource::kPdop) return r.pdop;
  else if constexpr (source == ColumnSource::kHdop) return r.hdop;
  else if constexpr (source == ColumnSource::kVdop) return r.vdop;
  else static_assert(kNotThatKindOfValue<source>, "a fixed-point column needs a real value");
}

template <ColumnSource source>
int32_t IntegerValue(const RowValues& v) {
  const EpochRecord& r = v.record;
  if constexpr (source == ColumnSource::kEpochCounter) return v.epochCounter;
  else if constexpr (source == ColumnSource::kFixMode) return r.sGSAMode;
  else if constexpr (source == ColumnSource::kYear) return r.year;
  else if constexpr (source == ColumnSource::kMonth) return r.month;
  else if constexpr (source == ColumnSource::kDay) return r.day;
  else if constexpr (source == ColumnSource::kSatellitesInFix) return r.numsvsinfix;
  else if constexpr (source == ColumnSource::kSatellitesUsed) return r.usedSvs.numused;
  else if constexpr (source == ColumnSource::kSatellitesInView) return r.numsvsview;
  else if constexpr (source == ColumnSource::kFixQuality) return r.gpsqual;
  else static_assert(kNotThatKindOfValue<source>, "an integer column of the epoch needs an integer");
}

template <ColumnSource source>
int32_t SlotValue(const SatelliteEntry& s) {
  if constexpr (source == ColumnSource::kSatelliteId) return s.svid;
  else if constexpr (source == ColumnSource::kAzimuth) return s.azim;
  else if constexpr (source == ColumnSource::kElevation) return s.elev;
  else if constexpr (source == ColumnSource::kSignal) return s.sgnl;
  else if constexpr (source == ColumnSource::kUsedInFix) return s.used;
  else static_assert(kNotThatKindOfValue<source>, "a slot's column needs a field of the slot");
}

// One column of the epoch, as its entry of the table says.
template <size_t column>
char* AppendEpochColumn(char* out, const RowValues& v) {
  constexpr CsvColumn c = kEpochColumns[column];
  if constexpr (c.format == ColumnFormat::kInteger) {
    return AppendInteger(out, IntegerValue<c.source>(v));
  } else if constexpr (c.format == ColumnFormat::kFixed) {
    static_assert(c.decimals == 1 || c.decimals == 3 || c.decimals == 6);
    return AppendReusing<column, AppendFixed<c.decimals>>(out, RealValue<c.source>(v));
  } else if constexpr (c.format == ColumnFormat::kDmsEastWest) {
    return AppendReusing<column, AppendDms<'E', 'W'>>(out, RealValue<c.source>(v));
  } else {
    return AppendReusing<column, AppendDms<'N', 'S'>>(out, RealValue<c.source>(v));
  }
}

// Always inline: the classic row and the other rows each have it written
// out, as the classic row alone had it before.
template <size_t... columns>
[[gnu::always_inline]] inline char* AppendEpochColumns(char* out, const RowValues& v,
                                                       std::index_sequence<columns...>) {
  ((out = AppendEpochColumn<columns>(out, v)), ...);
  return out;
}

template <size_t... columns>
char* AppendSlotColumns(char* out, const SatelliteEntry& s, std::index_sequence<columns...>) {
  static_assert(((kSatelliteColumns[columns].format == ColumnFormat::kInteger) && ...));
  ((out = AppendInteger(out, SlotValue<kSatelliteColumns[columns].source>(s))), ...);
  return out;
}

template <size_t... slots>
char* AppendSatellites(char* out, const SatelliteEntry* satellites, std::index_sequence<slots...>) {
  ((out = AppendSlotColumns(out, satellites[slots], std::make_index_sequence<kSatelliteColumnCount>())),
   ...);
  return out;
}

}  // namespace

namespace {

// The usual table: the twelve slots written out, as the classic row has
// always been written.
inline char* FormatTwelveSlots(char* out, const EpochRecord& record, int32_t index,
                               const SatelliteEntry* satellites) {
  const RowValues values = ValuesOf(record, index);
  out = AppendEpochColumns(out, values, std::make_index_sequence<kEpochColumnCount>());
  out = AppendSatellites(out, satellites, std::make_index_sequence<kDefaultSatelliteSlots>());
  std::memcpy(out, kLineEnd, 2);
  return out + 2;
}

// Any other number of slots, and the multi-system rows: the table's slots
// show satellites[0] to satellites[filled - 1], and empty slots after them.
[[gnu::noinline]] char* FormatAnySlots(char* out, const EpochRecord& record, int32_t index,
                                       const SatelliteEntry* satellites, int filled) {
  const RowValues values = ValuesOf(record, index);
  out = AppendEpochColumns(out, values, std::make_index_sequence<kEpochColumnCount>());
  const int slots = runState.satelliteSlots;
  const int shown = std::min(filled, slots);
  for (int slot = 0; slot < shown; ++slot) {
    out = AppendSlotColumns(out, satellites[slot], std::make_index_sequence<kSatelliteColumnCount>());
  }
  for (int slot = shown; slot < slots; ++slot) {
    out = AppendSlotColumns(out, kEmptySlot, std::make_index_sequence<kSatelliteColumnCount>());
  }
  std::memcpy(out, kLineEnd, 2);
  return out + 2;
}

}  // namespace

char* FormatCsvRow(char* out) {
  if (runState.satelliteSlots == kDefaultSatelliteSlots) {
    return FormatTwelveSlots(out, epochRecord, EpochCounter, epochRecord.satellites);
  }
  // The record's slots that a row shows: as many as the table has, up to
  // the record's 32.
  return FormatAnySlots(out, epochRecord, EpochCounter, epochRecord.satellites,
                        std::min<int>(runState.satelliteSlots, kSatelliteSlots));
}

char* FormatCsvRowOf(char* out, const EpochRecord& record, int32_t index,
                     const SatelliteEntry* satellites, int filled) {
  return FormatAnySlots(out, record, index, satellites, filled);
}

}  // namespace quorval
