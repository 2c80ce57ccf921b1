#include "convert/conversion_loop.h"

#include <array>
#include <bit>
#include <cassert>
#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <limits>

#include "convert/conversion.h"
#include "convert/cycle_conversion.h"
#include "convert/progress_pump.h"
#include "convert/sentence_capture.h"
#include "convert/sentence_counts.h"
#include "convert/sentence_handlers.h"
#include "output/csv_writer.h"
#include "state/epoch_record.h"
#include "state/run_state.h"

namespace quorval {

namespace {

// A GGA sentence opens a new epoch: the epoch before it is written first,
// then the counter rises, then the sentence is parsed.
void StartEpoch(const char* sentence, FILE* output) {
  if (EpochCounter == 0) {
    GatherCsvHeader(output);
  } else {
    GatherCsvRow(output);
  }
  EpochCounter = static_cast<int32_t>(static_cast<uint32_t>(EpochCounter) + 1);
  HandleGga(sentence);
}

template <void (*Handle)(const char*)>
void HandleOnly(const char* sentence, FILE*) {
  Handle(sentence);
}

// The four characters after "$G" as one number, in the machine's own order.
constexpr uint32_t TagKey(const char (&tag)[7]) {
  return std::bit_cast<uint32_t>(std::array<char, 4>{tag[2], tag[3], tag[4], tag[5]});
}

struct TagAction {
  char tag[7];
  void (*action)(const char* sentence, FILE* output);
  uint32_t key = TagKey(tag);
};

// Exact, case-sensitive comparison of the first six characters, in this
// order; what follows the tag is not examined ('$GPGGAX,' is a GGA).
constexpr TagAction kTagActions[] = {
    {"$GPGGA", StartEpoch},
    {"$GPGSA", HandleOnly<HandleGsa>},
    {"$GPGSV", HandleOnly<HandleGsv>},
    {"$GPRMC", HandleOnly<HandleRmc>},
    {"$GPVTG", HandleOnly<HandleVtg>},
    {"$GPZDA", HandleOnly<HandleZda>},
};

void Dispatch(const char* sentence, FILE* output, SentenceCounts& counts) {
  // A capture shorter than six characters differs from every tag at its
  // terminator, so comparing six bytes never matches what lies behind it
  // (a capture can be read well past its terminator).
  if (sentence[0] != '$') return;
  if (sentence[1] == 'G') {
    uint32_t key;
    std::memcpy(&key, sentence + 2, sizeof key);
    for (const TagAction& entry : kTagActions) {
      if (entry.key == key) {
        entry.action(sentence, output);
        return;
      }
    }
  }
  CountOtherTalker(counts, sentence);  // what --gnss would read instead
}

// One read of the log per some four thousand lines of about 64 characters:
// the cost of a read spread thin, the block still small beside a cache.
constexpr size_t kReadBlockSize = 256 * 1024;

// Before a wait for more of a log that arrives while it is read: every
// table's rows so far go out, so that a receiver's sentences become rows as
// they come.
struct TablesOfRun {
  const ConversionOutputs& outputs;
  CycleConversion& cycles;
};

void FlushTables(void* context) {
  const auto& tables = *static_cast<TablesOfRun*>(context);
  FlushCsvText();
  FlushCycleTables(tables.cycles);
  for (FILE* stream : {tables.outputs.table, tables.outputs.fixes, tables.outputs.satellites,
                       tables.outputs.tracks[0], tables.outputs.tracks[1], tables.outputs.tracks[2]}) {
    if (stream != nullptr) std::fflush(stream);
  }
}

// A line of a run that reads the receiver cycles or counts for --stats.
// Out of line, so that the classic loop stays as it was.
[[gnu::noinline]] void ReadSpecialLine(Conversion& conversion, const char* sentence, bool broken,
                                       bool cycles, bool detailed) {
  if (detailed) CountSentenceDetails(conversion.counts, sentence);
  if (cycles) ReadCycleSentence(conversion, sentence, broken);
}

// After a call of the pump: the position in the text up to which a line
// needs none.
int64_t QuietLinesUpTo(const LogReader& reader) {
  if (reader.inflation.inflater == nullptr) return QuietUpTo(ReaderEnd(reader));
  return LastTextPositionAt(reader, QuietUpTo(reader.inflation.packedPosition));
}

}  // namespace

ConversionEnd ConvertLog(FILE* input, FILE* output, Conversion& conversion) {
  return ConvertLog(input, ConversionOutputs{.table = output}, conversion);
}

ConversionEnd ConvertLog(FILE* input, const ConversionOutputs& outputs, Conversion& conversion) {
  assert(input != nullptr);
  // The handlers and the checksum read ahead of a capture what its reader
  // guarantees after it.
  static_assert(kReadBlockPadding >= kSentenceReadAhead);
  static char spill[kSentenceCapacity + 1 + kReadBlockPadding];
  static unsigned char block[kReadBlockSize + kReadBlockPadding];
  LogReader reader;
  // The reader flushes the table's gathered text before it waits for more
  // of the log; the new tables flush their own at the end.
  TablesOfRun tables{outputs, conversion.cycles};
  StartReading(reader, input, block, kReadBlockSize, RowsFlush{FlushTables, &tables});
  EpochCounter = 0;
  // The mode is the run's: a change of the menu item during the run waits
  // for the next one.
  const bool allSystems = runState.allSystemsInRun != 0;
  StartConversion(conversion, allSystems, outputs);
  SentenceCounts& counts = conversion.counts;
  const bool detailed = counts.detailed;
  const bool classic = !allSystems && outputs.table != nullptr;
  bool tracks = false;
  for (FILE* track : outputs.tracks) tracks = tracks || track != nullptr;
  const bool cycles = !classic || outputs.fixes != nullptr || outputs.satellites != nullptr || tracks;
  const bool special = cycles || detailed;
  const char* sentence;
  bool cancelled = false;
  // The pump after every line, except where it would change nothing: the
  // lines before the next notification that the backend lets pass until
  // the next block of the log.
  int64_t quietUpTo = std::numeric_limits<int64_t>::min();
  while (ReadSentence(reader, spill, kSentenceCapacity, sentence) == kLineComplete) {
    if (special) ReadSpecialLine(conversion, sentence, reader.broken, cycles, detailed);
    if (classic) Dispatch(sentence, outputs.table, counts);
    const int64_t position = ReaderPosition(reader);
    if (position > quietUpTo) {
      // The progress of a compressed log counts its compressed bytes.
      const bool plain = reader.inflation.inflater == nullptr;
      if (UpdateProgress(plain ? position : PackedPosition(reader)) != 0) {
        cancelled = true;
        break;
      }
      quietUpTo = QuietLinesUpTo(reader);
    }
  }
  CycleConversion& c = conversion.cycles;
  if (cycles) {
    // A cancelled or failed log keeps what was written: the cycle in
    // progress may lack its last sentences.
    if (cancelled || reader.readError != 0) {
      EndCyclesCutShort(c);
    } else {
      EndCycles(c);
    }
  }
  // The rows of the first output named; a track's fixes.
  int64_t trackFixes = 0;
  for (int i = kTrackFormats - 1; i >= 0; --i) {
    if (outputs.tracks[i] != nullptr) trackFixes = c.tracks[i].fixes;
  }
  counts.rows = classic                         ? (EpochCounter > 1 ? EpochCounter - 1 : 0)
                : outputs.table != nullptr      ? c.rows
                : outputs.fixes != nullptr      ? c.fixRows
                : outputs.satellites != nullptr ? c.signalRows
                                                : trackFixes;
  FlushCsvText();
  FinishReading(reader);
  return {reader.readError, reader.unreadCompression, reader.damage};
}

}  // namespace quorval
