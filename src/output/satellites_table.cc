#include "output/satellites_table.h"

#include <cstdint>
#include <cstring>

#include "text/decimal_digits.h"
#include "text/sent_values.h"

namespace quorval {

namespace {

char* Number(char* out, const SignalCell& cell) { return WriteSentDecimal(out, cell.text, cell.length); }

// The signal id is one hexadecimal digit (NMEA 4.10 and 4.11).
bool IsSignalId(const SignalCell& cell) {
  const char c = cell.text[0];
  return cell.length == 1 && ((c >= '0' && c <= '9') || (c >= 'A' && c <= 'F'));
}

}  // namespace

const char* SatellitesHeader() {
  return "utc,time_of_day,system,svid,prn,signal,elevation,azimuth,snr,used\r\n";
}

char* FormatSignalRow(char* out, const char* timeCells, int timeLength, const SignalRecord& s) {
  std::memcpy(out, timeCells, static_cast<size_t>(timeLength));
  out += timeLength;
  *out++ = ',';
  const size_t system = std::strlen(s.system);
  std::memcpy(out, s.system, system);
  out += system;
  *out++ = ',';
  out = Number(out, s.svid);
  *out++ = ',';
  if (s.prn > 0) out = AppendUnsigned(out, static_cast<uint64_t>(s.prn));
  *out++ = ',';
  if (IsSignalId(s.signal)) *out++ = s.signal.text[0];
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
