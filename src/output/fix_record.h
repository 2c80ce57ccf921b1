// What the sentences of one receiver cycle said, kept as they said it: the
// text of each field the analysis tables show, never a binary value, so the
// receiver's last digit reaches the table. The cycle rules fill it; the
// writers of the fixes and satellites tables read it.
#pragma once

#include <cstdint>
#include <cstring>

namespace quorval {

// A field's text as sent. A field longer than any number a receiver sends
// is kept as none: its cell stays empty rather than cut.
constexpr int kSentTextCapacity = 23;
struct SentText {
  uint8_t length;  // 0: not sent, empty, or too long
  char text[kSentTextCapacity];
};

inline void KeepSent(SentText& kept, const char* text, int length) {
  kept.length = length > 0 && length <= kSentTextCapacity ? static_cast<uint8_t>(length) : 0;
  std::memcpy(kept.text, text, kept.length);
}

// One cycle's fix, as its sentences gave it. Which sentence gives each value
// when several carry it is the cycle rules' choice (GGA before GNS before
// RMC before GLL for the position, and so on).
struct FixRecord {
  SentText time;           // hhmmss[.ss] of the cycle's time
  int16_t year, month, day;  // the full year; all 0 without a date
  SentText latitude, longitude;  // ddmm.mmmm and dddmm.mmmm
  bool south, west;
  SentText heightMsl, geoidSeparation;
  SentText speedKnots, course;
  SentText quality;  // GGA's, or the number a GNS's modes stand for
  char status;       // RMC's A or V ('\0' unsent)
  SentText mode;     // RMC's mode letter, or GNS's letters of each system
  SentText fixType;  // GSA's 1, 2, 3
  SentText satsUsed, hdop, pdop, vdop;
  SentText latitudeSd, longitudeSd, heightSd;  // GST, 1 sigma in metres
};

// A short field as sent: a satellite's numbers. One longer than a
// receiver's numbers is kept as none.
constexpr int kSignalCellCapacity = 7;
struct SignalCell {
  uint8_t length;
  char text[kSignalCellCapacity];
};

inline void KeepCell(SignalCell& cell, const char* text, int length) {
  cell.length = length > 0 && length <= kSignalCellCapacity ? static_cast<uint8_t>(length) : 0;
  std::memcpy(cell.text, text, cell.length);
}

// One satellite on one signal, as a GSV gave it.
struct SignalRecord {
  const char* system;  // "GPS", "GLONASS", ... "SBAS"; "" when no range or talker names it
  int16_t prn;         // in the one number space of all systems
  bool used;           // a GSA of the cycle lists the satellite
  SignalCell svid, signal, elevation, azimuth, snr;
};

}  // namespace quorval
