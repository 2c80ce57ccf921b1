// The layout of the CSV table, in one place: every column with the name the
// header gives it, the way its value is written and where the value comes
// from. The header is written from this table, the row writer follows it
// column by column, the views find the columns they draw by it, and tests
// find a column's place in a row by its name.
#pragma once

#include <cstdint>
#include <string_view>

namespace quorval {

enum class ColumnFormat : uint8_t {
  kInteger,         // decimal digits
  kFixed,           // fixed-point with `decimals` decimals, halfway away from zero
  kDmsEastWest,     // degrees:minutes:seconds.hundredths and E or W
  kDmsNorthSouth,   // the same with N or S
};

// Where a value comes from: a field of the epoch record, the epoch counter,
// or a value the row works out from the record (the speed in metres per
// second, the east and north velocity). The last five are the fields of a
// satellite slot.
enum class ColumnSource : uint8_t {
  kEpochCounter,
  kTimeOfDay,
  kLongitude,
  kLatitude,
  kAlt,
  kMsl,
  kSpeed,
  kHeading,
  kEastVelocity,
  kNorthVelocity,
  kGgaHdop,
  kPdop,
  kHdop,
  kVdop,
  kFixMode,
  kYear,
  kMonth,
  kDay,
  kSatellitesInFix,
  kSatellitesUsed,
  kSatellitesInView,
  kFixQuality,
  kSatelliteId,
  kAzimuth,
  kElevation,
  kSignal,
  kUsedInFix,
};

struct CsvColumn {
  const char* name;  // a slot's columns add the slot number: "svid00"
  ColumnFormat format;
  int decimals;
  ColumnSource source;
};

// The columns of the epoch, in the order of the table.
inline constexpr CsvColumn kEpochColumns[] = {
    {"index", ColumnFormat::kInteger, 0, ColumnSource::kEpochCounter},
    {"TimeOfDay(s)", ColumnFormat::kFixed, 1, ColumnSource::kTimeOfDay},
    {"Longitude", ColumnFormat::kDmsEastWest, 0, ColumnSource::kLongitude},
    {"Latitude", ColumnFormat::kDmsNorthSouth, 0, ColumnSource::kLatitude},
    {"lon(deg)", ColumnFormat::kFixed, 6, ColumnSource::kLongitude},
    {"lat(deg)", ColumnFormat::kFixed, 6, ColumnSource::kLatitude},
    {"alt(m)", ColumnFormat::kFixed, 1, ColumnSource::kAlt},
    {"msl(m)", ColumnFormat::kFixed, 1, ColumnSource::kMsl},
    {"spd(m/s)", ColumnFormat::kFixed, 3, ColumnSource::kSpeed},
    {"heading(deg)", ColumnFormat::kFixed, 3, ColumnSource::kHeading},
    {"ve(m/s)", ColumnFormat::kFixed, 3, ColumnSource::kEastVelocity},
    {"vn(m/s)", ColumnFormat::kFixed, 3, ColumnSource::kNorthVelocity},
    {"GGAhdop", ColumnFormat::kFixed, 1, ColumnSource::kGgaHdop},
    {"pdop", ColumnFormat::kFixed, 1, ColumnSource::kPdop},
    {"hdop", ColumnFormat::kFixed, 1, ColumnSource::kHdop},
    {"vdop", ColumnFormat::kFixed, 1, ColumnSource::kVdop},
    {"sGSAMode", ColumnFormat::kInteger, 0, ColumnSource::kFixMode},
    {"year", ColumnFormat::kInteger, 0, ColumnSource::kYear},
    {"month", ColumnFormat::kInteger, 0, ColumnSource::kMonth},
    {"day", ColumnFormat::kInteger, 0, ColumnSource::kDay},
    {"numsvsinfix", ColumnFormat::kInteger, 0, ColumnSource::kSatellitesInFix},
    {"numused", ColumnFormat::kInteger, 0, ColumnSource::kSatellitesUsed},
    {"numsvsview", ColumnFormat::kInteger, 0, ColumnSource::kSatellitesInView},
    {"gpsqual", ColumnFormat::kInteger, 0, ColumnSource::kFixQuality},
};

// The columns of each printed satellite slot, after the epoch's; the slots
// follow one another from 00.
inline constexpr CsvColumn kSatelliteColumns[] = {
    {"svid", ColumnFormat::kInteger, 0, ColumnSource::kSatelliteId},
    {"azim", ColumnFormat::kInteger, 0, ColumnSource::kAzimuth},
    {"elev", ColumnFormat::kInteger, 0, ColumnSource::kElevation},
    {"sgnl", ColumnFormat::kInteger, 0, ColumnSource::kSignal},
    {"used", ColumnFormat::kInteger, 0, ColumnSource::kUsedInFix},
};

constexpr int kEpochColumnCount = sizeof kEpochColumns / sizeof kEpochColumns[0];
constexpr int kSatelliteColumnCount = sizeof kSatelliteColumns / sizeof kSatelliteColumns[0];

// The epoch column that shows the source's value in that format: its place
// among kEpochColumns, -1 when no column does.
constexpr int EpochColumnOf(ColumnSource source, ColumnFormat format) {
  for (int i = 0; i < kEpochColumnCount; ++i) {
    if (kEpochColumns[i].source == source && kEpochColumns[i].format == format) return i;
  }
  return -1;
}

// The header's name of that epoch column, which must be one of the table's.
constexpr const char* EpochColumnName(ColumnSource source, ColumnFormat format) {
  return kEpochColumns[EpochColumnOf(source, format)].name;
}

// What a name of the header names: an epoch column, or a column of a
// satellite slot and the slot's number ("elev07": slot 7's elevation). The
// field of the other kind is -1.
struct CsvColumnName {
  int epochColumn = -1;      // its place among kEpochColumns
  int satelliteColumn = -1;  // its place among kSatelliteColumns
  int slot = -1;
};

// Reads a name as the header writes it: a slot's number has two digits, or
// three without a leading zero ("used07", "used100"). False for a name that
// the table gives no column.
bool ReadCsvColumnName(std::string_view name, CsvColumnName& column);

}  // namespace quorval
