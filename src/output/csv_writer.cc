#include "output/csv_writer.h"

#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <utility>

#include "output/csv_columns.h"
#include "output/dms.h"
#include "output/fixed_point.h"
#include "state/epoch_record.h"

namespace quorval {

namespace {

// Output lines end in CR LF on every platform.
constexpr char kLineEnd[] = "\r\n";

// One knot is 1852 metres per hour.
constexpr double kMetresPerNauticalMile = 1852;
constexpr double kSecondsPerHour = 3600;
// The 14-digit value the table has always used, slightly above pi: a course
// of exactly 180 degrees therefore gives an east velocity of -0.000.
constexpr double kPi = 3.1415926535898;

int firstWriteError = 0;

void WriteNotingFailure(const char* text, size_t length, FILE* output) {
  if (std::fwrite(text, 1, length, output) != length && firstWriteError == 0) {
    firstWriteError = errno;
  }
}

// The text of a conversion on its way to its stream. A write this large goes
// past the stream's own buffer straight to the file: a 4 KiB write per 4 KiB
// of table cost a fifth of the conversion in the kernel.
constexpr size_t kGatheredTextSize = 256 * 1024;
struct GatheredText {
  FILE* stream;
  size_t length;
  char text[kGatheredTextSize];
};
GatheredText gathered{};

// Where the next line goes: after the text gathered for the same stream,
// with room for any row.
char* RoomFor(FILE* output) {
  if (gathered.stream != output || kGatheredTextSize - gathered.length < kMaxCsvRowText) {
    FlushCsvText();
    gathered.stream = output;
  }
  return gathered.text + gathered.length;
}

void Gathered(const char* end) { gathered.length = static_cast<size_t>(end - gathered.text); }

std::string BuildHeader() {
  std::string header;
  for (const CsvColumn& column : kEpochColumns) (header += column.name) += ',';
  char number[8];
  for (int slot = 0; slot < kPrintedSatellites; ++slot) {
    std::snprintf(number, sizeof number, "%02d,", slot);
    for (const CsvColumn& column : kSatelliteColumns) (header += column.name) += number;
  }
  return header + kLineEnd;
}

inline char* AppendChar(char* out, char c) {
  *out = c;
  return out + 1;
}

// Most integer columns (satellite ids, angles, counts, flags) are below 100.
inline char* AppendInteger(char* out, int32_t value) {
  if (static_cast<uint32_t>(value) < 10) {
    out[0] = static_cast<char>('0' + value);
    out[1] = ',';
    return out + 2;
  }
  if (static_cast<uint32_t>(value) < 100) {
    out[0] = static_cast<char>('0' + value / 10);
    out[1] = static_cast<char>('0' + value % 10);
    out[2] = ',';
    return out + 3;
  }
  if (static_cast<uint32_t>(value) < 1000) {  // azimuths
    out[0] = static_cast<char>('0' + value / 100);
    out[1] = static_cast<char>('0' + value / 10 % 10);
    out[2] = static_cast<char>('0' + value % 10);
    out[3] = ',';
    return out + 4;
  }
  return AppendChar(std::to_chars(out, out + 12, value).ptr, ',');
}

inline char* AppendFixed(char* out, double value, int decimals) {
  return AppendChar(WriteFixed(out, value, decimals), ',');
}

// "%02d": at least two characters, zero-padded.
inline char* AppendTwoDigits(char* out, int32_t value) {
  if (value >= 0 && value < 10) out = AppendChar(out, '0');
  return std::to_chars(out, out + 12, value).ptr;
}

// "%d:%02d:%02d.%02d%c,"
char* AppendDms(char* out, double value, char positiveLetter, char negativeLetter) {
  const DmsParts parts = SplitDms(value);
  out = std::to_chars(out, out + 12, parts.degrees).ptr;
  out = AppendTwoDigits(AppendChar(out, ':'), parts.minutes);
  out = AppendTwoDigits(AppendChar(out, ':'), parts.seconds);
  out = AppendTwoDigits(AppendChar(out, '.'), parts.hundredths);
  return AppendChar(AppendChar(out, parts.negative ? negativeLetter : positiveLetter), ',');
}

// What a row reads: the record, the counter, and the values it works out.
struct RowValues {
  const EpochRecord& record;
  int32_t epochCounter;
  double speed;  // metres per second
  double east;
  double north;
};

RowValues ValuesOf(const EpochRecord& r, int32_t epochCounter) {
  const double speed = r.speedKnots * kMetresPerNauticalMile / kSecondsPerHour;
  const double course = r.heading * kPi / 180;
  return RowValues{r, epochCounter, speed, std::sin(course) * speed, std::cos(course) * speed};
}

// Each column's value, chosen while the writer is compiled.
template <ColumnSource>
constexpr bool kNotThatKindOfValue = false;

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

// One column of the epoch, as its entry of the table says. The table is
// read while the writer is compiled, so each column costs what a call
// written out for it would.
template <size_t column>
char* AppendEpochColumn(char* out, const RowValues& v) {
  constexpr CsvColumn c = kEpochColumns[column];
  if constexpr (c.format == ColumnFormat::kInteger) {
    return AppendInteger(out, IntegerValue<c.source>(v));
  } else if constexpr (c.format == ColumnFormat::kFixed) {
    return AppendFixed(out, RealValue<c.source>(v), c.decimals);
  } else if constexpr (c.format == ColumnFormat::kDmsEastWest) {
    return AppendDms(out, RealValue<c.source>(v), 'E', 'W');
  } else {
    return AppendDms(out, RealValue<c.source>(v), 'N', 'S');
  }
}

template <size_t... columns>
char* AppendEpochColumns(char* out, const RowValues& v, std::index_sequence<columns...>) {
  ((out = AppendEpochColumn<columns>(out, v)), ...);
  return out;
}

template <size_t... columns>
char* AppendSlotColumns(char* out, const SatelliteEntry& s, std::index_sequence<columns...>) {
  static_assert(((kSatelliteColumns[columns].format == ColumnFormat::kInteger) && ...));
  ((out = AppendInteger(out, SlotValue<kSatelliteColumns[columns].source>(s))), ...);
  return out;
}

}  // namespace

const char* CsvHeaderText() {
  static const std::string header = BuildHeader();
  return header.c_str();
}

void WriteCsvHeader(FILE* output) {
  GatherCsvHeader(output);
  FlushCsvText();
}

void GatherCsvHeader(FILE* output) {
  static const size_t length = std::strlen(CsvHeaderText());
  char* out = RoomFor(output);
  std::memcpy(out, CsvHeaderText(), length);
  Gathered(out + length);
}

void FlushCsvText() {
  if (gathered.length > 0) WriteNotingFailure(gathered.text, gathered.length, gathered.stream);
  gathered.length = 0;
}

int TakeCsvWriteError() {
  const int reason = firstWriteError;
  firstWriteError = 0;
  return reason;
}

void MarkUsedSatellites() {
  const UsedSvList& used = epochRecord.usedSvs;
  for (int slot = 0; slot < kPrintedSatellites; ++slot) {
    SatelliteEntry& satellite = epochRecord.satellites[slot];
    if (satellite.svid == 0) continue;
    for (int16_t id : used.ids) {
      if (id == satellite.svid) {
        satellite.used = 1;
        break;
      }
    }
  }
}

char* FormatCsvRow(char* out) {
  const EpochRecord& r = epochRecord;
  const RowValues values = ValuesOf(r, EpochCounter);
  out = AppendEpochColumns(out, values, std::make_index_sequence<kEpochColumnCount>());
  for (int slot = 0; slot < kPrintedSatellites; ++slot) {
    out = AppendSlotColumns(out, r.satellites[slot], std::make_index_sequence<kSatelliteColumnCount>());
  }
  std::memcpy(out, kLineEnd, 2);
  return out + 2;
}

int CsvColumnIndex(const char* name) {
  for (int i = 0; i < kEpochColumnCount; ++i) {
    if (std::strcmp(name, kEpochColumns[i].name) == 0) return i;
  }
  for (int field = 0; field < kSatelliteColumnCount; ++field) {
    const size_t length = std::strlen(kSatelliteColumns[field].name);
    if (std::strncmp(name, kSatelliteColumns[field].name, length) != 0) continue;
    const char* number = name + length;
    if (number[0] < '0' || number[0] > '9' || number[1] < '0' || number[1] > '9' || number[2] != '\0') {
      return -1;
    }
    const int slot = (number[0] - '0') * 10 + (number[1] - '0');
    if (slot >= kPrintedSatellites) return -1;
    return kEpochColumnCount + slot * kSatelliteColumnCount + field;
  }
  return -1;
}

void WriteCsvRow(FILE* output) {
  GatherCsvRow(output);
  FlushCsvText();
}

void GatherCsvRow(FILE* output) {
  MarkUsedSatellites();
  Gathered(FormatCsvRow(RoomFor(output)));
}

}  // namespace quorval
