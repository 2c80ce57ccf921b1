#include "output/csv_writer.h"

#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>

#include "output/dms.h"
#include "state/epoch_record.h"
#include "output/fixed_point.h"

namespace {

constexpr const char* kNamedColumns[] = {
    "index,",    "TimeOfDay(s),", "Longitude,",   "Latitude,", "lon(deg),",   "lat(deg),",
    "alt(m),",   "msl(m),",       "spd(m/s),",    "heading(deg),", "ve(m/s),", "vn(m/s),",
    "GGAhdop,",  "pdop,",         "hdop,",        "vdop,",     "sGSAMode,",   "year,",
    "month,",    "day,",          "numsvsinfix,", "numused,",  "numsvsview,", "gpsqual,"};
constexpr const char* kSatelliteColumns[] = {"svid", "azim", "elev", "sgnl", "used"};

// Output lines end in CR LF on every platform.
constexpr char kLineEnd[] = "\r\n";

// One knot is 1852 metres per hour.
constexpr double kMetresPerNauticalMile = 1852;
constexpr double kSecondsPerHour = 3600;
// The 14-digit value the table has always used, slightly above pi: a course
// of exactly 180 degrees therefore gives an east velocity of -0.000.
constexpr double kPi = 3.1415926535898;

int firstWriteError = 0;

void Write(const char* text, size_t length, FILE* output) {
  if (std::fwrite(text, 1, length, output) != length && firstWriteError == 0) {
    firstWriteError = errno;
  }
}

std::string BuildHeader() {
  std::string header;
  for (const char* column : kNamedColumns) header += column;
  char number[8];
  for (int n = 0; n < kPrintedSatellites; ++n) {
    std::snprintf(number, sizeof number, "%02d,", n);
    for (const char* column : kSatelliteColumns) (header += column) += number;
  }
  return header + kLineEnd;
}

inline char* Put(char* out, char c) {
  *out = c;
  return out + 1;
}

// Most integer columns (satellite ids, angles, counts, flags) are below 100.
inline char* PutInt(char* out, int32_t value) {
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
  return Put(std::to_chars(out, out + 12, value).ptr, ',');
}

inline char* PutFixed(char* out, double value, int decimals) {
  return Put(WriteFixed(out, value, decimals), ',');
}

// "%02d": at least two characters, zero-padded.
inline char* PutTwoDigits(char* out, int32_t value) {
  if (value >= 0 && value < 10) out = Put(out, '0');
  return std::to_chars(out, out + 12, value).ptr;
}

// "%d:%02d:%02d.%02d%c,"
char* PutDms(char* out, double value, char positiveLetter, char negativeLetter) {
  const DmsParts parts = SplitDms(value);
  out = std::to_chars(out, out + 12, parts.degrees).ptr;
  out = PutTwoDigits(Put(out, ':'), parts.minutes);
  out = PutTwoDigits(Put(out, ':'), parts.seconds);
  out = PutTwoDigits(Put(out, '.'), parts.hundredths);
  return Put(Put(out, parts.negative ? negativeLetter : positiveLetter), ',');
}

}  // namespace

const char* CsvHeaderText() {
  static const std::string header = BuildHeader();
  return header.c_str();
}

void WriteCsvHeader(FILE* output) {
  static const size_t length = std::strlen(CsvHeaderText());
  Write(CsvHeaderText(), length, output);
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
  const double speed = r.speedKnots * kMetresPerNauticalMile / kSecondsPerHour;
  const double course = r.heading * kPi / 180;

  out = PutInt(out, EpochCounter);
  out = PutFixed(out, r.timeOfDay, 1);
  out = PutDms(out, r.longitude, 'E', 'W');
  out = PutDms(out, r.latitude, 'N', 'S');
  out = PutFixed(out, r.longitude, 6);
  out = PutFixed(out, r.latitude, 6);
  out = PutFixed(out, r.alt, 1);
  out = PutFixed(out, r.msl, 1);
  out = PutFixed(out, speed, 3);
  out = PutFixed(out, r.heading, 3);
  out = PutFixed(out, std::sin(course) * speed, 3);
  out = PutFixed(out, std::cos(course) * speed, 3);
  out = PutFixed(out, r.GGAhdop, 1);
  out = PutFixed(out, r.pdop, 1);
  out = PutFixed(out, r.hdop, 1);
  out = PutFixed(out, r.vdop, 1);
  for (int16_t value : {r.sGSAMode, r.year, r.month, r.day, r.numsvsinfix, r.usedSvs.numused,
                        r.numsvsview, r.gpsqual}) {
    out = PutInt(out, value);
  }
  for (int slot = 0; slot < kPrintedSatellites; ++slot) {
    const SatelliteEntry& s = r.satellites[slot];
    for (int16_t value : {s.svid, s.azim, s.elev, s.sgnl, s.used}) out = PutInt(out, value);
  }
  std::memcpy(out, kLineEnd, 2);
  return out + 2;
}

void WriteCsvRow(FILE* output) {
  static char row[kMaxCsvRowText];
  MarkUsedSatellites();
  const char* end = FormatCsvRow(row);
  Write(row, static_cast<size_t>(end - row), output);
}
