#include "convert/cycle_conversion.h"

#include <cmath>
#include <cstring>
#include <iterator>

#include "convert/conversion.h"
#include "convert/receiver_cycle.h"
#include "convert/satellite_numbering.h"
#include "convert/sentence_decoder.h"
#include "convert/sentence_counts.h"
#include "output/csv_writer.h"
#include "output/fixes_table.h"
#include "output/satellites_table.h"
#include "text/sent_values.h"

namespace quorval {

namespace {

void WriteFixes(CycleConversion& s) {
  ReceiverCycle& cycle = s.cycle;
  if (s.fixes.stream != nullptr) {
    char* out = SinkRoom(s.fixes);
    SinkWritten(s.fixes, FormatFixRow(out, cycle.sent, cycle.gsvSeen ? cycle.inViewCount : -1));
    ++s.fixRows;
  }
  if (s.satellites.stream != nullptr && cycle.signalCount > 0) {
    MarkUsedSignals(cycle);
    char time[2 * kMaxSentValueText + 1];
    const int timeLength = static_cast<int>(FormatCycleTime(time, cycle.sent) - time);
    for (int i = 0; i < cycle.signalCount; ++i) {
      char* out = SinkRoom(s.satellites);
      SinkWritten(s.satellites, FormatSignalRow(out, time, timeLength, cycle.perSignal[i]));
    }
    s.signalRows += cycle.signalCount;
  }
}

bool HasFixSentence(const ReceiverCycle& cycle) {
  return cycle.hasGga || cycle.hasGns || cycle.hasRmc || cycle.hasGll;
}

void WriteTracks(CycleConversion& s) {
  const bool fix = s.exact && HasFix(s.cycle);
  if (!fix && !HasFixSentence(s.cycle)) return;  // a cycle of satellites alone says nothing of the fix
  for (TrackWriter& track : s.tracks) {
    if (track.out == nullptr) continue;
    if (fix) {
      AddTrackFix(track, s.cycle.sent, s.time, s.cycle.gsvSeen ? s.cycle.inViewCount : -1);
    } else {
      LoseTrackFix(track);
    }
  }
}

void WriteCycle(CycleConversion& s) {
  if (!s.open || s.timeless) return;
  if (s.timed) WriteFixes(s);
  if (s.timed && s.anyTrack) WriteTracks(s);
  if (s.table == nullptr || !s.exact || !HasFix(s.cycle)) return;
  int filled = 0;
  const SatelliteEntry* slots = FillRow(s.cycle, s.time, s.row, filled);
  if (s.rows == 0) GatherCsvHeader(s.table);
  ++s.rows;
  GatherCsvRowOf(s.table, s.row, static_cast<int32_t>(s.rows), slots, filled);
}

void BeginCycle(CycleConversion& state) {
  WriteCycle(state);
  state.open = true;
  state.timed = state.exact = state.timeless = false;
  ClearCycle(state.cycle);
}

// Before an untimed sentence: at the start of the log it opens the first
// cycle, otherwise it joins the one in progress.
void UntimedSentence(CycleConversion& state) {
  if (!state.open) BeginCycle(state);
}

// Before a GGA or RMC (exact) or ZDA (to the second) with its time, whose
// text the tables show.
void TimedSentence(CycleConversion& s, double time, bool exact, const Field& text) {
  // Two exact times are compared as they are; the second only otherwise.
  const bool same = s.open && !s.timeless && s.timed &&
                    (exact && s.exact ? time == s.time : std::floor(time) == s.second);
  if (!same) {
    // The untimed sentences a log opens with wait for the first time.
    if (!(s.open && !s.timed && !s.timeless)) BeginCycle(s);
    s.timed = true;
    s.time = time;
    s.second = std::floor(time);
    KeepSent(s.cycle.sent.time, text.text, text.length);
  }
  if (exact && !s.exact) {
    s.exact = true;
    s.time = time;
    KeepSent(s.cycle.sent.time, text.text, text.length);
  }
}

void TimelessSentence(CycleConversion& state) {
  BeginCycle(state);
  state.timeless = true;
}

// How a sentence joins the cycles: by its time of day, exact (a fix's) or
// to the second (ZDA's); by its time when it is the cycle's own (GST, which
// a receiver may send for the fix before); or with the cycle in progress.
// GLL joins by its time in a log without GGA, GNS and RMC, and otherwise
// only at the cycle's own time: some receivers send it with the time of
// the next fix, beside the GGA of this one.
enum class Joins { kByTime, kBySecond, kByOwnTime, kInProgress, kByTimeAlone };

// A time field of another form than hhmmss[.ss] (a spliced line) says no
// more than an empty one.
bool JoinByTime(CycleConversion& s, const Field& time, bool exact) {
  if (!time.wellFormed) {
    TimelessSentence(s);
    return false;
  }
  TimedSentence(s, NmeaTimeToSeconds(time.real), exact, time);
  return true;
}

bool IsCycleTime(const CycleConversion& s, const Field& time) {
  return time.wellFormed && s.open && s.exact && !s.timeless && NmeaTimeToSeconds(time.real) == s.time;
}

// A sentence of the cycles: its first read fields decoded (those the
// cycle's rules take), joined to its cycle, added to it.
template <const auto& layout, size_t read, Joins joins, auto add>
void ReadSentence(CycleConversion& state, const char* sentence, SatelliteSystem) {
  decltype(FieldsOf(layout)) fields;
  Decode<layout, read>(sentence, fields);
  bool joined = true;
  if constexpr (joins == Joins::kInProgress) {
    UntimedSentence(state);
  } else {
    if constexpr (joins == Joins::kByTime) state.fixTimes = true;
    if (joins == Joins::kByTime || joins == Joins::kBySecond || (joins == Joins::kByTimeAlone && !state.fixTimes)) {
      joined = JoinByTime(state, fields.time, joins != Joins::kBySecond);
    } else {
      UntimedSentence(state);
      joined = IsCycleTime(state, fields.time);
    }
  }
  if (joined) add(state.cycle, fields);
}

// GSA and GSV: their ids are numbered by their talker's system.
template <const auto& layout, size_t read, auto add>
void ReadSatellites(CycleConversion& state, const char* sentence, SatelliteSystem system) {
  decltype(FieldsOf(layout)) fields;
  Decode<layout, read>(sentence, fields);
  UntimedSentence(state);
  add(state.cycle, fields, system);
}

// The sentences of a cycle, by the three letters after the talker.
struct CycleSentence {
  char type[4];
  void (*read)(CycleConversion& state, const char* sentence, SatelliteSystem system);
  bool besideRmcIdle = false;  // adds nothing to a cycle that has an RMC
};
constexpr CycleSentence kCycleSentences[] = {
    // GGA up to the separation, GNS up to the separation, VTG up to the
    // speed in knots, ZDA up to the year; the others whole.
    {"GSV", ReadSatellites<kGsvLayout, std::size(kGsvLayout), AddGsv>},
    {"GGA", ReadSentence<kGgaLayout, 11, Joins::kByTime, AddGga>},
    {"GSA", ReadSatellites<kGsaLayout, std::size(kGsaLayout), AddGsa>},
    {"RMC", ReadSentence<kRmcLayout, std::size(kRmcLayout), Joins::kByTime, AddRmc>},
    {"VTG", ReadSentence<kVtgLayout, 5, Joins::kInProgress, AddVtg>, true},
    {"ZDA", ReadSentence<kZdaLayout, 4, Joins::kBySecond, AddZda>},
    {"GNS", ReadSentence<kGnsLayout, 10, Joins::kByTime, AddGns>},
    {"GLL", ReadSentence<kGllLayout, std::size(kGllLayout), Joins::kByTimeAlone, AddGll>},
    {"GST", ReadSentence<kGstLayout, std::size(kGstLayout), Joins::kByOwnTime, AddGst>},
};

const CycleSentence* CycleSentenceOf(const char* letters) {
  for (const CycleSentence& entry : kCycleSentences) {
    if (std::memcmp(letters, entry.type, 3) == 0) return &entry;
  }
  return nullptr;
}

}  // namespace

void StartCycles(CycleConversion& cycles, bool allSystems, const ConversionOutputs& outputs) {
  FILE* const table = allSystems ? outputs.table : nullptr;
  FILE* const fixes = outputs.fixes;
  FILE* const satellites = outputs.satellites;
  // Field by field: the cycle's tables and text blocks are too large for a
  // fresh copy on the stack, and their marks need only a new cycle number.
  cycles.checksums = cycles.fixTimes = cycles.open = cycles.timed = cycles.exact = cycles.timeless = false;
  cycles.time = cycles.second = 0;
  cycles.rows = cycles.fixRows = cycles.signalRows = 0;
  cycles.table = table;
  cycles.row = EpochRecord{};
  ClearCycle(cycles.cycle);
  cycles.cycle.keepsSignals = satellites != nullptr;
  cycles.anyTrack = false;
  for (int i = 0; i < kTrackFormats; ++i) {
    TrackWriter& track = cycles.tracks[i];
    track.out = nullptr;
    if (outputs.tracks[i] == nullptr) continue;
    cycles.anyTrack = true;
    StartSink(cycles.trackText[i], outputs.tracks[i]);
    StartSink(cycles.trackSpill[i], outputs.scratch[i]);
    const char* name = outputs.trackName != nullptr ? outputs.trackName : "";
    BeginTrack(track, static_cast<TrackFormat>(i), outputs.trackPoints, &cycles.trackText[i],
               &cycles.trackSpill[i], outputs.scratch[i], name, std::strlen(name));
  }
  cycles.cycle.keepsText = fixes != nullptr || satellites != nullptr || cycles.anyTrack;
  StartSink(cycles.fixes, fixes);
  StartSink(cycles.satellites, satellites);
  if (fixes != nullptr) SinkText(cycles.fixes, FixesHeader(), std::strlen(FixesHeader()));
  if (satellites != nullptr) SinkText(cycles.satellites, SatellitesHeader(), std::strlen(SatellitesHeader()));
}

void ReadCycleSentence(Conversion& conversion, const char* sentence, bool broken) {
  SatelliteSystem system;
  if (sentence[0] != '$' || !TalkerSystem(sentence + 1, system)) return;
  // The three letters after the talker, as the classic tags are compared:
  // what follows them is not examined.
  const CycleSentence* entry = CycleSentenceOf(sentence + 3);
  if (entry == nullptr) return;
  CycleConversion& state = conversion.cycles;
  // Beside an RMC a VTG changes nothing: the row takes speed and course from
  // RMC, and the cycle is open already. Its checksum need not be known,
  // but for --stats, which counts those cut short.
  if (entry->besideRmcIdle && state.cycle.hasRmc && !conversion.counts.detailed) return;
  // A line that a receiver's restart or a serial fault has cut or spliced
  // fails its checksum, or has lost it with its tail: read, it could make a
  // fix of the wrong fields. Receivers send a checksum with every sentence
  // or with none, so once the log has shown one, a sentence without it was
  // cut short; so was one that a control byte broke off. A log that never
  // carries checksums is read as it stands.
  switch (SentenceChecksum(sentence)) {
    case Checksum::kMismatches:
      return;
    case Checksum::kMatches:
      state.checksums = true;
      break;
    case Checksum::kMissing:
      if (broken || state.checksums) {
        ++conversion.counts.cutShort;
        return;
      }
      break;
  }
  entry->read(state, sentence, system);
}

int64_t EndCycles(CycleConversion& cycles) {
  WriteCycle(cycles);
  cycles.open = false;
  EndCyclesCutShort(cycles);
  return cycles.rows;
}

void EndCyclesCutShort(CycleConversion& cycles) {
  FlushCycleTables(cycles);
  for (TrackWriter& track : cycles.tracks) {
    if (track.out != nullptr) EndTrack(track);
  }
}

void FlushCycleTables(CycleConversion& cycles) {
  if (cycles.fixes.stream != nullptr) FlushSink(cycles.fixes);
  if (cycles.satellites.stream != nullptr) FlushSink(cycles.satellites);
  for (int i = 0; i < kTrackFormats; ++i) {
    if (cycles.tracks[i].out != nullptr) FlushSink(cycles.trackText[i]);
  }
}

int64_t CycleRows(const CycleConversion& cycles) { return cycles.rows; }

}  // namespace quorval
