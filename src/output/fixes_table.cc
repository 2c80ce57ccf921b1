#include "output/fixes_table.h"

#include <cstring>
#include <iterator>
#include <string>

#include "text/sent_values.h"

namespace quorval {

namespace {

constexpr char kLineEnd[] = "\r\n";

struct FixRow {
  const FixRecord& fix;
  int satellitesInView;
};

char* Sent(char* out, const SentText& value) { return WriteSentDecimal(out, value.text, value.length); }

// Letters as sent (a status, modes of each system): a cell of letters only,
// so that nothing a receiver sends can break the row.
char* Letters(char* out, const char* text, int length) {
  for (int i = 0; i < length; ++i) {
    if (!(text[i] >= 'A' && text[i] <= 'Z')) return out;
  }
  std::memcpy(out, text, static_cast<size_t>(length));
  return out + length;
}

char* Count(char* out, int count) {
  if (count < 0) return out;
  char digits[12];
  int n = 0;
  do {
    digits[n++] = static_cast<char>('0' + count % 10);
    count /= 10;
  } while (count > 0);
  while (n > 0) *out++ = digits[--n];
  return out;
}

// The columns in their order: name, whether the value is text rather than
// a number, and how a row writes its cell.
struct FixColumn {
  const char* name;
  char* (*write)(char* out, const FixRow& row);
  bool text = false;
};

char* Utc(char* out, const FixRecord& fix) {
  return fix.year != 0 ? WriteUtc(out, fix.year, fix.month, fix.day, fix.time.text, fix.time.length) : out;
}

constexpr FixColumn kFixColumns[] = {
    {"utc", [](char* out, const FixRow& r) { return Utc(out, r.fix); }, true},
    {"time_of_day", [](char* out, const FixRow& r) { return WriteTimeOfDay(out, r.fix.time.text, r.fix.time.length); }},
    {"lat", [](char* out, const FixRow& r) {
       return WriteDegrees(out, r.fix.latitude.text, r.fix.latitude.length, 4, r.fix.south);
     }},
    {"lon", [](char* out, const FixRow& r) {
       return WriteDegrees(out, r.fix.longitude.text, r.fix.longitude.length, 5, r.fix.west);
     }},
    {"height_msl", [](char* out, const FixRow& r) { return Sent(out, r.fix.heightMsl); }},
    {"geoid_separation", [](char* out, const FixRow& r) { return Sent(out, r.fix.geoidSeparation); }},
    {"height_ellipsoid", [](char* out, const FixRow& r) {
       return WriteDecimalSum(out, r.fix.heightMsl.text, r.fix.heightMsl.length,
                              r.fix.geoidSeparation.text, r.fix.geoidSeparation.length);
     }},
    {"speed_mps", [](char* out, const FixRow& r) {
       return WriteKnotsAsMetresPerSecond(out, r.fix.speedKnots.text, r.fix.speedKnots.length);
     }},
    {"course_deg", [](char* out, const FixRow& r) { return Sent(out, r.fix.course); }},
    {"quality", [](char* out, const FixRow& r) { return Sent(out, r.fix.quality); }},
    {"status", [](char* out, const FixRow& r) {
       return r.fix.status != '\0' ? Letters(out, &r.fix.status, 1) : out;
     }, true},
    {"mode", [](char* out, const FixRow& r) { return Letters(out, r.fix.mode.text, r.fix.mode.length); }, true},
    {"fix_type", [](char* out, const FixRow& r) { return Sent(out, r.fix.fixType); }},
    {"sats_used", [](char* out, const FixRow& r) { return Sent(out, r.fix.satsUsed); }},
    {"sats_in_view", [](char* out, const FixRow& r) { return Count(out, r.satellitesInView); }},
    {"hdop", [](char* out, const FixRow& r) { return Sent(out, r.fix.hdop); }},
    {"pdop", [](char* out, const FixRow& r) { return Sent(out, r.fix.pdop); }},
    {"vdop", [](char* out, const FixRow& r) { return Sent(out, r.fix.vdop); }},
    {"lat_sd", [](char* out, const FixRow& r) { return Sent(out, r.fix.latitudeSd); }},
    {"lon_sd", [](char* out, const FixRow& r) { return Sent(out, r.fix.longitudeSd); }},
    {"height_sd", [](char* out, const FixRow& r) { return Sent(out, r.fix.heightSd); }},
};

}  // namespace

static_assert(std::size(kFixColumns) == kFixColumnCount);

const char* FixesHeader() {
  static const std::string header = [] {
    std::string text;
    for (const FixColumn& column : kFixColumns) (text += text.empty() ? "" : ",") += column.name;
    return text + kLineEnd;
  }();
  return header.c_str();
}

char* FormatCycleTime(char* out, const FixRecord& fix) {
  out = Utc(out, fix);
  *out++ = ',';
  return WriteTimeOfDay(out, fix.time.text, fix.time.length);
}

char* FormatFixRow(char* out, const FixRecord& fix, int satellitesInView) {
  const FixRow row{fix, satellitesInView};
  for (const FixColumn& column : kFixColumns) {
    if (&column != kFixColumns) *out++ = ',';
    out = column.write(out, row);
  }
  std::memcpy(out, kLineEnd, 2);
  return out + 2;
}

const char* FixColumnName(int column) { return kFixColumns[column].name; }
bool FixColumnIsText(int column) { return kFixColumns[column].text; }
char* FormatFixCell(char* out, int column, const FixRecord& fix, int satellitesInView) {
  return kFixColumns[column].write(out, FixRow{fix, satellitesInView});
}

}  // namespace quorval
