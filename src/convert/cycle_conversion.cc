#include "convert/cycle_conversion.h"

#include <cmath>
#include <cstring>

#include "convert/receiver_cycle.h"
#include "convert/satellite_numbering.h"
#include "convert/sentence_counts.h"
#include "output/csv_writer.h"

namespace quorval {

namespace {

struct CycleState {
  bool open;      // sentences have been gathered into the cycle
  bool timed;     // its time of day is known (to the second at least)
  bool exact;     // the time came from GGA or RMC, not only from ZDA
  bool timeless;  // a sentence without a time opened it: never written
  double time;    // seconds of the day
  double second;  // the whole second of it
  int64_t rows;
  ReceiverCycle cycle;
};

CycleState state;

void WriteCycle(FILE* output) {
  CycleState& s = state;
  if (!s.open || s.timeless || !s.exact || !HasFix(s.cycle)) return;
  static EpochRecord row;
  int filled = 0;
  const SatelliteEntry* slots = FillRow(s.cycle, s.time, row, filled);
  if (state.rows == 0) GatherCsvHeader(output);
  ++state.rows;
  GatherCsvRowOf(output, row, static_cast<int32_t>(state.rows), slots, filled);
}

void BeginCycle(FILE* output) {
  WriteCycle(output);
  state.open = true;
  state.timed = state.exact = state.timeless = false;
  ClearCycle(state.cycle);
}

// Before an untimed sentence: at the start of the log it opens the first
// cycle, otherwise it joins the one in progress.
void UntimedSentence(FILE* output) {
  if (!state.open) BeginCycle(output);
}

// Before a GGA or RMC (exact) or ZDA (to the second) with its time.
void TimedSentence(double time, bool exact, FILE* output) {
  CycleState& s = state;
  // Two exact times are compared as they are; the second only otherwise.
  const bool same = s.open && !s.timeless && s.timed &&
                    (exact && s.exact ? time == s.time : std::floor(time) == s.second);
  if (!same) {
    // The untimed sentences a log opens with wait for the first time.
    if (!(s.open && !s.timed && !s.timeless)) BeginCycle(output);
    s.timed = true;
    s.time = time;
    s.second = std::floor(time);
  }
  if (exact && !s.exact) {
    s.exact = true;
    s.time = time;
  }
}

void TimelessSentence(FILE* output) {
  BeginCycle(output);
  state.timeless = true;
}

// GGA, RMC and ZDA: the cycle they belong to by their time.
template <typename Fields>
bool JoinByTime(const Fields& fields, bool exact, FILE* output) {
  if (!fields.Has(1)) {
    TimelessSentence(output);
    return false;
  }
  TimedSentence(NmeaTimeToSeconds(fields.Real(1)), exact, output);
  return true;
}

// A sentence's fields read in one pass when they are plain, by the general
// rules otherwise.
template <typename Plain, typename Use>
void WithFields(const char* sentence, Use use) {
  Plain fields;
  if (fields.Read(sentence)) {
    use(fields);
  } else {
    use(DataFields(sentence));
  }
}

}  // namespace

void StartCycles() { state = CycleState{}; }

void ReadCycleSentence(const char* sentence, FILE* output) {
  SatelliteSystem system;
  if (sentence[0] != '$' || !TalkerSystem(sentence + 1, system)) return;
  // A line that a receiver's restart or a serial fault has cut or spliced
  // fails its checksum: read, it could make a fix of another line's fields.
  // A sentence without a checksum is read as it stands.
  // The three letters after the talker, as the classic tags are compared:
  // what follows them is not examined.
  const char* type = sentence + 3;
  ReceiverCycle& cycle = state.cycle;
  // Beside an RMC a VTG changes nothing: the row takes speed and course from
  // RMC, and the cycle is open already. Its checksum need not be known.
  if (cycle.hasRmc && std::memcmp(type, "VTG", 3) == 0) return;
  if (SentenceChecksum(sentence) == Checksum::kMismatches) return;
  if (std::memcmp(type, "GSV", 3) == 0) {
    UntimedSentence(output);
    if (!AddPlainGsv(cycle, sentence, system)) AddGsv(cycle, DataFields(sentence), system);
  } else if (std::memcmp(type, "GGA", 3) == 0) {
    WithFields<PlainGga>(sentence, [&](const auto& fields) {
      if (JoinByTime(fields, true, output)) AddGga(cycle, fields);
    });
  } else if (std::memcmp(type, "GSA", 3) == 0) {
    UntimedSentence(output);
    WithFields<PlainGsa>(sentence, [&](const auto& fields) { AddGsa(cycle, fields, system); });
  } else if (std::memcmp(type, "RMC", 3) == 0) {
    WithFields<PlainRmc>(sentence, [&](const auto& fields) {
      if (JoinByTime(fields, true, output)) AddRmc(cycle, fields);
    });
  } else if (std::memcmp(type, "VTG", 3) == 0) {
    UntimedSentence(output);
    WithFields<PlainVtg>(sentence, [&](const auto& fields) { AddVtg(cycle, fields); });
  } else if (std::memcmp(type, "ZDA", 3) == 0) {
    WithFields<PlainZda>(sentence, [&](const auto& fields) {
      if (JoinByTime(fields, false, output)) AddZda(cycle, fields);
    });
  }
}

int64_t EndCycles(FILE* output) {
  WriteCycle(output);
  state.open = false;
  return state.rows;
}

int64_t CycleRows() { return state.rows; }

}  // namespace quorval
