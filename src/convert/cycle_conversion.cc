#include "convert/cycle_conversion.h"

#include <cmath>
#include <cstring>

#include "convert/conversion.h"
#include "convert/receiver_cycle.h"
#include "convert/satellite_numbering.h"
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

// GGA, RMC and ZDA: the cycle they belong to by their time.
template <typename Fields>
bool JoinByTime(CycleConversion& state, const Fields& fields, bool exact, FILE* output) {
  // A time field of another form than hhmmss[.ss] (a spliced line) says no
  // more than an empty one.
  if (!fields.IsTime(1)) {
    TimelessSentence(state, output);
    return false;
  }
  TimedSentence(state, NmeaTimeToSeconds(fields.Real(1)), exact, output);
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

// The six sentences of a cycle, by the three letters after the talker.
enum class Type { kOther, kGsv, kGga, kGsa, kRmc, kVtg, kZda };

Type TypeOf(const char* letters) {
  if (std::memcmp(letters, "GSV", 3) == 0) return Type::kGsv;
  if (std::memcmp(letters, "GGA", 3) == 0) return Type::kGga;
  if (std::memcmp(letters, "GSA", 3) == 0) return Type::kGsa;
  if (std::memcmp(letters, "RMC", 3) == 0) return Type::kRmc;
  if (std::memcmp(letters, "VTG", 3) == 0) return Type::kVtg;
  if (std::memcmp(letters, "ZDA", 3) == 0) return Type::kZda;
  return Type::kOther;
}

}  // namespace

void StartCycles(CycleConversion& cycles) { cycles = CycleConversion{}; }

void ReadCycleSentence(Conversion& conversion, const char* sentence, bool broken, FILE* output) {
  SatelliteSystem system;
  if (sentence[0] != '$' || !TalkerSystem(sentence + 1, system)) return;
  // The three letters after the talker, as the classic tags are compared:
  // what follows them is not examined.
  const Type type = TypeOf(sentence + 3);
  if (type == Type::kOther) return;
  CycleConversion& state = conversion.cycles;
  ReceiverCycle& cycle = state.cycle;
  // Beside an RMC a VTG changes nothing: the row takes speed and course from
  // RMC, and the cycle is open already. Its checksum need not be known,
  // but for --stats, which counts those cut short.
  if (type == Type::kVtg && cycle.hasRmc && !conversion.counts.detailed) return;
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
  switch (type) {
    case Type::kGsv:
      UntimedSentence(state, output);
      if (!AddPlainGsv(cycle, sentence, system)) AddGsv(cycle, DataFields(sentence), system);
      break;
    case Type::kGga:
      WithFields<PlainGga>(sentence, [&](const auto& fields) {
        if (JoinByTime(state, fields, true, output)) AddGga(cycle, fields);
      });
      break;
    case Type::kGsa:
      UntimedSentence(state, output);
      WithFields<PlainGsa>(sentence, [&](const auto& fields) { AddGsa(cycle, fields, system); });
      break;
    case Type::kRmc:
      WithFields<PlainRmc>(sentence, [&](const auto& fields) {
        if (JoinByTime(state, fields, true, output)) AddRmc(cycle, fields);
      });
      break;
    case Type::kVtg:
      UntimedSentence(state, output);
      WithFields<PlainVtg>(sentence, [&](const auto& fields) { AddVtg(cycle, fields); });
      break;
    case Type::kZda:
      WithFields<PlainZda>(sentence, [&](const auto& fields) {
        if (JoinByTime(state, fields, false, output)) AddZda(cycle, fields);
      });
      break;
    case Type::kOther:
      break;
  }
}

int64_t EndCycles(CycleConversion& cycles, FILE* output) {
  WriteCycle(cycles, output);
  cycles.open = false;
  return cycles.rows;
}

int64_t CycleRows(const CycleConversion& cycles) { return cycles.rows; }

}  // namespace quorval
