#include "reference/reference_converter.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>

#include <locale.h>

namespace reference {

char FieldBuffer[kFieldBufferSize + 1];

namespace {

struct Satellite {
  int16_t svid, azim, elev, sgnl, used;
};

struct Record {
  int32_t epochCounter;
  double timeOfDay, longitude, latitude, alt, msl, speedKnots, heading;
  double GGAhdop, pdop, hdop, vdop;
  int16_t sGSAMode, year, month, day, numsvsinfix, numsvsview, gpsqual;
  int16_t ids[12];
  int16_t numused;
  Satellite satellites[32];
} record;

#ifdef _WIN32
_locale_t CLocale() {
  static const _locale_t c = _create_locale(LC_NUMERIC, "C");
  return c;
}
#define strtod_l _strtod_l
#else
locale_t CLocale() {
  static const locale_t c = newlocale(LC_ALL_MASK, "C", nullptr);
  return c;
}
#endif

bool IsDelimiter(char c) { return c == ',' || c == '*'; }
bool IsEndOfLine(char c) { return c == '\0' || c == '\r' || c == '\n'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// A double outside the 32-bit range saturates at its ends and NaN gives 0,
// where a plain cast would be undefined; the fast converter does the same.
int32_t Trunc(double v) {
  if (std::isnan(v)) return 0;
  if (v >= 2147483647.0) return std::numeric_limits<int32_t>::max();
  if (v <= -2147483648.0) return std::numeric_limits<int32_t>::min();
  return static_cast<int32_t>(v);
}

// atof's decimal reading: white space, sign, digits with one '.', exponent.
// The hexadecimal and "inf"/"nan" forms that strtod also knows are no part
// of it, so only the decimal prefix reaches strtod.
double Atof(const char* text) {
  const char* p = text;
  while (*p == ' ' || (*p >= '\t' && *p <= '\r')) ++p;
  const char* start = p;
  if (*p == '+' || *p == '-') ++p;
  int digits = 0;
  for (; IsDigit(*p); ++p) ++digits;
  if (*p == '.') {
    for (++p; IsDigit(*p); ++p) ++digits;
  }
  if (digits == 0) return 0.0;
  if (*p == 'e' || *p == 'E') {
    const char* q = p + 1;
    if (*q == '+' || *q == '-') ++q;
    if (IsDigit(*q)) {
      while (IsDigit(*q)) ++q;
      p = q;
    }
  }
  return strtod_l(std::string(start, p).c_str(), nullptr, CLocale());
}

// atoi's reading, which saturates at the ends of the 32-bit range (after the
// field's own leading '-') instead of overflowing, as the fast converter does.
int32_t Atoi(const char* text, bool negate) {
  long long v = std::strtoll(text, nullptr, 10);
  v = std::max(-(1LL << 40), std::min(v, 1LL << 40));
  if (negate) v = -v;
  v = std::max<long long>(std::numeric_limits<int32_t>::min(),
                          std::min<long long>(v, std::numeric_limits<int32_t>::max()));
  return static_cast<int32_t>(v);
}

double NmeaTimeToSeconds(double t) {
  const int32_t n = Trunc(t);
  const int16_t hh = static_cast<int16_t>(n / 10000);
  const int16_t mm = static_cast<int16_t>(n / 100 - hh * 100);
  const double s = (t - hh * 10000) - mm * 100;
  return (hh * 3600 + mm * 60) + s;
}

double NmeaToDegrees(double v) {
  const int32_t n = Trunc(v);
  const int16_t d = static_cast<int16_t>(n / 100);
  const double m = v - d * 100;
  return d + m / 60.0;
}

// The text of the next field, whether or not a delimiter closed it.
const char* Next(const char*& cursor) {
  NextField(cursor);
  return FieldBuffer;
}
double Real(const char* text) { return ParseReal(text); }
int16_t Int16(const char* text) { return static_cast<int16_t>(ParseInt(text)); }

// Each handler walks every field of its sentence in order from just after the
// six-character tag. "if (NextField(c))" stores only a present field; the
// others store whatever the walk left in FieldBuffer.
void HandleGga(const char* sentence) {
  Record& r = record;
  const char* c = sentence + 6;
  if (NextField(c)) r.timeOfDay = NmeaTimeToSeconds(Real(FieldBuffer));  // 1 UTC time
  if (NextField(c)) r.latitude = NmeaToDegrees(Real(FieldBuffer));       // 2 latitude
  if (NextField(c) && FieldBuffer[0] == 'S') r.latitude = -r.latitude;
  if (NextField(c)) r.longitude = NmeaToDegrees(Real(FieldBuffer));      // 4 longitude
  if (NextField(c) && FieldBuffer[0] == 'W') r.longitude = -r.longitude;
  r.gpsqual = Int16(Next(c));                  // 6 fix quality
  r.numsvsinfix = Int16(Next(c));              // 7 satellites in use
  r.GGAhdop = Real(Next(c));                   // 8 HDOP
  const double altitude = Real(Next(c));       // 9 altitude above mean sea level
  r.msl = r.alt = altitude;
  Next(c);                                     // 10 unit
  r.alt = altitude - Real(Next(c));            // 11 geoid separation
  for (int field = 12; field <= 14; ++field) NextField(c);
}

void HandleRmc(const char* sentence) {
  Record& r = record;
  const char* c = sentence + 6;
  if (NextField(c)) r.timeOfDay = NmeaTimeToSeconds(Real(FieldBuffer));  // 1 UTC time
  NextField(c);                                                          // 2 status
  if (NextField(c)) r.latitude = NmeaToDegrees(Real(FieldBuffer));       // 3 latitude
  if (NextField(c) && FieldBuffer[0] == 'S') r.latitude = -r.latitude;
  if (NextField(c)) r.longitude = NmeaToDegrees(Real(FieldBuffer));      // 5 longitude
  if (NextField(c) && FieldBuffer[0] == 'W') r.longitude = -r.longitude;
  if (NextField(c)) r.speedKnots = Real(FieldBuffer);                    // 7 knots
  if (NextField(c)) r.heading = Real(FieldBuffer);                       // 8 course
  if (NextField(c)) {                                                    // 9 ddmmyy
    const int32_t d = ParseInt(FieldBuffer);
    r.day = static_cast<int16_t>((d / 10000) % 100);
    r.month = static_cast<int16_t>((d / 100) % 100);
    r.year = static_cast<int16_t>(d % 100);
  }
  for (int field = 10; field <= 12; ++field) NextField(c);
}

void HandleVtg(const char* sentence) {
  const char* c = sentence + 6;
  if (NextField(c)) record.heading = Real(FieldBuffer);  // 1 course, degrees true
  for (int field = 2; field <= 4; ++field) NextField(c);
  if (NextField(c)) record.speedKnots = Real(FieldBuffer);  // 5 knots
  for (int field = 6; field <= 9; ++field) NextField(c);
}

void HandleZda(const char* sentence) {
  const char* c = sentence + 6;
  for (int field = 1; field <= 6; ++field) NextField(c);
}

void HandleGsa(const char* sentence) {
  Record& r = record;
  const char* c = sentence + 6;
  Next(c);                     // 1 mode
  r.sGSAMode = Int16(Next(c));  // 2 fix mode
  r.numused = 0;
  for (int field = 3; field <= 14; ++field) {
    const int32_t v = ParseInt(Next(c));
    r.ids[r.numused] = static_cast<int16_t>(v);
    if (v != 0) ++r.numused;
  }
  r.pdop = Real(Next(c));
  r.hdop = Real(Next(c));
  r.vdop = Real(Next(c));
}

void HandleGsv(const char* sentence) {
  Record& r = record;
  const char* c = sentence + 6;
  Next(c);                             // 1 number of messages
  const int32_t m = ParseInt(Next(c));  // 2 this message's number
  if (m == 1) std::memset(r.satellites, 0, sizeof r.satellites);
  r.numsvsview = Int16(Next(c));  // 3 satellites in view
  // A message number of 0 or below would place its satellites before the
  // table: such a message stores none.
  if (m < 1) return;
  for (int g = 0; g < 4; ++g) {
    if (*c != ',') return;
    const long long slot = 4 * (static_cast<long long>(m) - 1) + g;
    if (slot > 12) return;
    Satellite& s = r.satellites[slot];
    s.svid = Int16(Next(c));
    s.elev = Int16(Next(c));
    s.azim = Int16(Next(c));
    s.sgnl = Int16(Next(c));
  }
}

void WriteHeader(FILE* out) {
  const char* named[] = {"index,", "TimeOfDay(s),", "Longitude,", "Latitude,", "lon(deg),",
                         "lat(deg),", "alt(m),", "msl(m),", "spd(m/s),", "heading(deg),",
                         "ve(m/s),", "vn(m/s),", "GGAhdop,", "pdop,", "hdop,", "vdop,",
                         "sGSAMode,", "year,", "month,", "day,", "numsvsinfix,", "numused,",
                         "numsvsview,", "gpsqual,"};
  for (const char* column : named) std::fputs(column, out);
  for (int n = 0; n < 12; ++n) {
    std::fprintf(out, "svid%02d,azim%02d,elev%02d,sgnl%02d,used%02d,", n, n, n, n, n);
  }
  std::fputs("\r\n", out);
}

void WriteFixed(FILE* out, double value, int decimals) {
  std::fprintf(out, "%s,", FixedText(value, decimals).c_str());
}

// Degrees, minutes, seconds and hundredths, each truncated, never rounded.
void WriteDms(FILE* out, double value, char positive, char negative) {
  int32_t isNegative = 0;
  if (value < 0.0) {
    isNegative = 1;
    value = -value;
  }
  const int32_t degrees = Trunc(value);
  double r = (value - degrees) * 60;
  const int32_t minutes = Trunc(r);
  r = (r - minutes) * 60;
  const int32_t seconds = Trunc(r);
  r = (r - seconds) * 100;
  const int32_t hundredths = Trunc(r);
  std::fprintf(out, "%d:%02d:%02d.%02d%c,", degrees, minutes, seconds, hundredths,
               isNegative ? negative : positive);
}

void WriteRow(FILE* out) {
  Record& r = record;
  for (int slot = 0; slot < 12; ++slot) {
    if (r.satellites[slot].svid == 0) continue;
    for (int i = 0; i < 12; ++i) {
      if (r.ids[i] == r.satellites[slot].svid) r.satellites[slot].used = 1;
    }
  }
  const double speed = r.speedKnots * 1852 / 3600;
  const double course = r.heading * 3.1415926535898 / 180;
  std::fprintf(out, "%d,", r.epochCounter);
  WriteFixed(out, r.timeOfDay, 1);
  WriteDms(out, r.longitude, 'E', 'W');
  WriteDms(out, r.latitude, 'N', 'S');
  const struct {
    double value;
    int decimals;
  } fixed[] = {{r.longitude, 6}, {r.latitude, 6},  {r.alt, 1},  {r.msl, 1},
               {speed, 3},       {r.heading, 3},   {std::sin(course) * speed, 3},
               {std::cos(course) * speed, 3},      {r.GGAhdop, 1}, {r.pdop, 1},
               {r.hdop, 1},      {r.vdop, 1}};
  for (const auto& f : fixed) WriteFixed(out, f.value, f.decimals);
  std::fprintf(out, "%d,%d,%d,%d,%d,%d,%d,%d,", r.sGSAMode, r.year, r.month, r.day,
               r.numsvsinfix, r.numused, r.numsvsview, r.gpsqual);
  for (int slot = 0; slot < 12; ++slot) {
    const Satellite& s = r.satellites[slot];
    std::fprintf(out, "%d,%d,%d,%d,%d,", s.svid, s.azim, s.elev, s.sgnl, s.used);
  }
  std::fputs("\r\n", out);
}

// Captures one line: returns 0 at its line feed, 1 at the end of the input.
int ReadSentence(char* buffer, FILE* input, int capacity) {
  bool capturing = false;
  int position = 0;
  for (;;) {
    const int c = std::fgetc(input);
    if (c == '$') {
      capturing = true;
      position = 0;
      std::memset(buffer, 0, static_cast<size_t>(capacity) + 1);
    }
    if (c < 32 || c > 126 || position == capacity) {  // EOF is below 32 too
      if (c == EOF) return 1;
      capturing = false;
      position = 0;
    }
    if (capturing) buffer[position++] = static_cast<char>(c);
    if (c == '\n') return 0;
  }
}

void Dispatch(const char* s, FILE* output) {
  if (std::strncmp(s, "$GPGGA", 6) == 0) {
    if (record.epochCounter == 0) {
      WriteHeader(output);
    } else {
      WriteRow(output);
    }
    ++record.epochCounter;
    HandleGga(s);
  } else if (std::strncmp(s, "$GPGSA", 6) == 0) {
    HandleGsa(s);
  } else if (std::strncmp(s, "$GPGSV", 6) == 0) {
    HandleGsv(s);
  } else if (std::strncmp(s, "$GPRMC", 6) == 0) {
    HandleRmc(s);
  } else if (std::strncmp(s, "$GPVTG", 6) == 0) {
    HandleVtg(s);
  } else if (std::strncmp(s, "$GPZDA", 6) == 0) {
    HandleZda(s);
  }
}

}  // namespace

int NextField(const char*& cursor) {
  std::memset(FieldBuffer, 0, sizeof FieldBuffer);
  const char* p = cursor;
  for (int n = 0; n < 200 && !IsDelimiter(*p) && !IsEndOfLine(*p); ++n) ++p;
  if (!IsDelimiter(*p)) return 0;
  ++p;
  int copied = 0;
  while (copied < 200 && !IsDelimiter(p[copied]) && !IsEndOfLine(p[copied])) {
    FieldBuffer[copied] = p[copied];
    ++copied;
  }
  if (!IsDelimiter(p[copied])) return 0;
  cursor = p + copied;
  return copied + 1;
}

double ParseReal(const char* text) {
  const char* p = text;
  const bool negative = *p == '-';
  if (negative) ++p;
  while (*p == '0') ++p;
  if (IsEndOfLine(*p)) return 0.0;
  const double v = Atof(p);
  return negative ? -v : v;
}

int32_t ParseInt(const char* text) {
  const char* p = text;
  const bool negative = *p == '-';
  if (negative) ++p;
  while (*p == '0') ++p;
  if (IsEndOfLine(*p)) return 0;
  return Atoi(p, negative);
}

std::string FixedText(double value, int decimals) {
  // A double is a binary fraction of at most 1074 binary places, so 1074
  // decimals show it exactly: rounding by hand from them is exact.
  char exact[1500];
#ifdef _WIN32
  // The Windows C library prints no more than 17 digits of a double; the
  // standard library's text is exact, and knows no locale.
  *std::to_chars(exact, exact + sizeof exact - 1, value, std::chars_format::fixed, 1074).ptr = '\0';
#else
  const locale_t previous = uselocale(CLocale());
  std::snprintf(exact, sizeof exact, "%.1074f", value);
  uselocale(previous);
#endif
  if (!std::isfinite(value)) return exact;  // inf, -inf, nan, -nan
  std::string text = exact;
  const size_t sign = text[0] == '-' ? 1 : 0;
  const size_t point = text.find('.');
  std::string digits = text.substr(sign, point - sign) + text.substr(point + 1, decimals);
  // The first dropped digit is 5 or more exactly when the dropped part is
  // at least half a unit; halfway goes away from zero.
  if (text[point + 1 + decimals] >= '5') {
    size_t i = digits.size();
    while (i > 0 && digits[i - 1] == '9') digits[--i] = '0';
    if (i == 0) {
      digits.insert(0, "1");
    } else {
      ++digits[i - 1];
    }
  }
  const size_t whole = digits.size() - decimals;
  std::string result = text.substr(0, sign) + digits.substr(0, whole);
  if (decimals > 0) result += "." + digits.substr(whole);
  return result;
}

void ConvertLog(FILE* input, FILE* output) {
  char sentence[201] = {};
  record.epochCounter = 0;
  for (;;) {
    if (ReadSentence(sentence, input, 200) == 0) {
      Dispatch(sentence, output);
      std::memset(sentence, 0, sizeof sentence);
    }
    if (std::feof(input) || std::ferror(input)) return;
  }
}

void ResetRecord() { record = Record{}; }

}  // namespace reference
