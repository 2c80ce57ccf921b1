#include "output/satellites_table.h"

#include <cstdio>
#include <cstring>

#include "text/sent_values.h"

namespace quorval {

namespace {

char* Cell(char* out, const char* text) {
  const size_t length = std::strlen(text);
  std::memcpy(out, text, length);
  return out + length;
}

char* Number(char* out, const char* text) {
  return WriteSentDecimal(out, text, static_cast<int>(std::strlen(text)));
}

}  // namespace

const char* SatellitesHeader() {
  return "utc,time_of_day,system,svid,prn,signal,elevation,azimuth,snr,used\r\n";
}

char* FormatSignalRow(char* out, const char* timeCells, int timeLength, const SignalRecord& s) {
  std::memcpy(out, timeCells, static_cast<size_t>(timeLength));
  out += timeLength;
  *out++ = ',';
  out = Cell(out, s.system);
  *out++ = ',';
  out = Number(out, s.svid);
  *out++ = ',';
  char prn[8];
  const int length = std::snprintf(prn, sizeof prn, "%d", s.prn);
  out = Cell(out, s.prn != 0 && length > 0 ? prn : "");
  *out++ = ',';
  // The signal id is one hexadecimal digit (NMEA 4.10 and 4.11).
  if (std::strlen(s.signal) == 1 && std::strchr("0123456789ABCDEF", s.signal[0]) != nullptr) {
    out = Cell(out, s.signal);
  }
  *out++ = ',';
  out = Number(out, s.elevation);
  *out++ = ',';
  out = Number(out, s.azimuth);
  *out++ = ',';
  out = Number(out, s.snr);
  *out++ = ',';
  *out++ = s.used ? '1' : '0';
  std::memcpy(out, "\r\n", 2);
  return out + 2;
}

}  // namespace quorval
