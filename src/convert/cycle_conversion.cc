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

namespace quorval {

namespace {

void WriteCycle(CycleConversion& s, FILE* output) {
  if (!s.open || s.timeless || !s.exact || !HasFix(s.cycle)) return;
  int filled = 0;
  const SatelliteEntry* slots = FillRow(s.cycle, s.time, s.row, filled);
  if (s.rows == 0) GatherCsvHeader(output);
  ++s.rows;
  GatherCsvRowOf(output, s.row, static_cast<int32_t>(s.rows), slots, filled);
}

void BeginCycle(CycleConversion& state, FILE* output) {
  WriteCycle(state, output);
  state.open = true;
  state.timed = state.exact = state.timeless = false;
  ClearCycle(state.cycle);
}

// Before an untimed sentence: at the start of the log it opens the first
// cycle, otherwise it joins the one in progress.
void UntimedSentence(CycleConversion& state, FILE* output) {
  if (!state.open) BeginCycle(state, output);
}

// Before a GGA or RMC (exact) or ZDA (to the second) with its time.
void TimedSentence(CycleConversion& s, double time, bool exact, FILE* output) {
  // Two exact times are compared as they are; the second only otherwise.
  const bool same = s.open && !s.timeless && s.timed &&
                    (exact && s.exact ? time == s.time : std::floor(time) == s.second);
  if (!same) {
    // The untimed sentences a log opens with wait for the first time.
    if (!(s.open && !s.timed && !s.timeless)) BeginCycle(s, output);
    s.timed = true;
    s.time = time;
    s.second = std::floor(time);
  }
  if (exact && !s.exact) {
    s.exact = true;
    s.time = time;
  }
}

void TimelessSentence(CycleConversion& state, FILE* output) {
  BeginCycle(state, output);
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
bool JoinByTime(CycleConversion& s, const Field& time, bool exact, FILE* output) {
  if (!time.wellFormed) {
    TimelessSentence(s, output);
    return false;
  }
  TimedSentence(s, NmeaTimeToSeconds(time.real), exact, output);
  return true;
}

bool IsCycleTime(const CycleConversion& s, const Field& time) {
  return time.wellFormed && s.open && s.exact && !s.timeless && NmeaTimeToSeconds(time.real) == s.time;
}

// A sentence of the cycles: its first read fields decoded (those the
// cycle's rules take), joined to its cycle, added to it.
template <const auto& layout, size_t read, Joins joins, auto add>
void ReadSentence(CycleConversion& state, const char* sentence, SatelliteSystem, FILE* output) {
  decltype(FieldsOf(layout)) fields;
  Decode<layout, read>(sentence, fields);
  bool joined = true;
  if constexpr (joins == Joins::kInProgress) {
    UntimedSentence(state, output);
  } else {
    if constexpr (joins == Joins::kByTime) state.fixTimes = true;
    if (joins == Joins::kByTime || joins == Joins::kBySecond || (joins == Joins::kByTimeAlone && !state.fixTimes)) {
      joined = JoinByTime(state, fields.time, joins != Joins::kBySecond, output);
    } else {
      UntimedSentence(state, output);
      joined = IsCycleTime(state, fields.time);
    }
  }
  if (joined) add(state.cycle, fields);
}

// GSA and GSV: their ids are numbered by their talker's system.
template <const auto& layout, size_t read, auto add>
void ReadSatellites(CycleConversion& state, const char* sentence, SatelliteSystem system, FILE* output) {
  decltype(FieldsOf(layout)) fields;
  Decode<layout, read>(sentence, fields);
  UntimedSentence(state, output);
  add(state.cycle, fields, system);
}

// The sentences of a cycle, by the three letters after the talker.
struct CycleSentence {
  char type[4];
  void (*read)(CycleConversion& state, const char* sentence, SatelliteSystem system, FILE* output);
  bool besideRmcIdle = false;  // adds nothing to a cycle that has an RMC
};
constexpr CycleSentence kCycleSentences[] = {
    // GSV up to the fourth SNR (the signal id tells nothing a row shows),
    // GGA up to the separation, GNS up to the separation, VTG up to the
    // speed in knots, ZDA up to the year; the others whole.
    {"GSV", ReadSatellites<kGsvLayout, 19, AddGsv>},
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

void StartCycles(CycleConversion& cycles) { cycles = CycleConversion{}; }

void ReadCycleSentence(Conversion& conversion, const char* sentence, bool broken, FILE* output) {
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
  entry->read(state, sentence, system, output);
}

int64_t EndCycles(CycleConversion& cycles, FILE* output) {
  WriteCycle(cycles, output);
  cycles.open = false;
  return cycles.rows;
}

int64_t CycleRows(const CycleConversion& cycles) { return cycles.rows; }

}  // namespace quorval
