#include "output/csv_writer.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

#include "text/csv_columns.h"
#include "state/epoch_record.h"
#include "state/run_state.h"

namespace quorval {

namespace {

// Output lines end in CR LF on every platform.
constexpr char kLineEnd[] = "\r\n";

// The record's slots that a row shows: as many as the table has, up to the
// record's 32; the table's slots beyond those are always empty.
int RecordSlotsPrinted() { return std::min<int>(runState.satelliteSlots, kSatelliteSlots); }

int firstWriteError = 0;

void WriteNotingFailure(const char* text, size_t length, FILE* output) {
  if (std::fwrite(text, 1, length, output) != length && firstWriteError == 0) {
    firstWriteError = errno;
  }
}

// The text of a conversion on its way to its stream. A write this large goes
// past the stream's own buffer straight to the file: a 4 KiB write per 4 KiB
// of table cost a fifth of the conversion in the kernel.
constexpr size_t kGatheredTextSize = 256 * 1024;
struct GatheredText {
  FILE* stream;
  size_t length;
  char text[kGatheredTextSize];
};
GatheredText gathered{};

// Where the next line goes: after the text gathered for the same stream,
// with room for any row.
char* RoomFor(FILE* output) {
  if (gathered.stream != output || kGatheredTextSize - gathered.length < kMaxCsvRowText) {
    FlushCsvText();
    gathered.stream = output;
  }
  return gathered.text + gathered.length;
}

void Gathered(const char* end) { gathered.length = static_cast<size_t>(end - gathered.text); }

std::string BuildHeader(int slots) {
  std::string header;
  for (const CsvColumn& column : kEpochColumns) (header += column.name) += ',';
  char number[8];
  for (int slot = 0; slot < slots; ++slot) {
    std::snprintf(number, sizeof number, "%02d,", slot);
    for (const CsvColumn& column : kSatelliteColumns) (header += column.name) += number;
  }
  return header + kLineEnd;
}

}  // namespace

const char* CsvHeaderText() {
  static std::string header;
  static int slots = 0;
  if (slots != runState.satelliteSlots) {
    slots = runState.satelliteSlots;
    header = BuildHeader(slots);
  }
  return header.c_str();
}

void WriteCsvHeader(FILE* output) {
  GatherCsvHeader(output);
  FlushCsvText();
}

void GatherCsvHeader(FILE* output) {
  const char* header = CsvHeaderText();
  const size_t length = std::strlen(header);
  char* out = RoomFor(output);
  std::memcpy(out, header, length);
  Gathered(out + length);
}

void FlushCsvText() {
  if (gathered.length > 0) WriteNotingFailure(gathered.text, gathered.length, gathered.stream);
  gathered.length = 0;
}

int TakeCsvWriteError() {
  const int reason = firstWriteError;
  firstWriteError = 0;
  return reason;
}

void MarkUsedSatellites() {
  // The twelve ids as a set: a bit for each id below 256, where receivers'
  // numbers lie, and a search of all twelve for any other.
  constexpr unsigned kSetSize = 256;
  uint64_t listed[kSetSize / 64] = {};
  bool anyBeyond = false;
  for (const int16_t id : epochRecord.usedSvs.ids) {
    const auto u = static_cast<uint16_t>(id);
    if (u < kSetSize) {
      listed[u / 64] |= uint64_t{1} << (u % 64);
    } else {
      anyBeyond = true;
    }
  }
  for (int slot = 0; slot < RecordSlotsPrinted(); ++slot) {
    SatelliteEntry& satellite = epochRecord.satellites[slot];
    if (satellite.svid == 0 || satellite.used == 1) continue;
    const auto u = static_cast<uint16_t>(satellite.svid);
    bool found = false;
    if (u < kSetSize) {
      found = (listed[u / 64] >> (u % 64) & 1) != 0;
    } else if (anyBeyond) {
      for (const int16_t id : epochRecord.usedSvs.ids) found = found || id == satellite.svid;
    }
    if (found) satellite.used = 1;
  }
}

int CsvColumnIndex(const char* name) {
  CsvColumnName column;
  if (!ReadCsvColumnName(name, column)) return -1;
  if (column.epochColumn >= 0) return column.epochColumn;
  if (column.slot >= runState.satelliteSlots) return -1;
  return kEpochColumnCount + column.slot * kSatelliteColumnCount + column.satelliteColumn;
}

void GatherCsvRowOf(FILE* output, const EpochRecord& record, int32_t index,
                    const SatelliteEntry* satellites, int filled) {
  Gathered(FormatCsvRowOf(RoomFor(output), record, index, satellites, filled));
}

void WriteCsvRow(FILE* output) {
  GatherCsvRow(output);
  FlushCsvText();
}

void GatherCsvRow(FILE* output) {
  MarkUsedSatellites();
  Gathered(FormatCsvRow(RoomFor(output)));
}

}  // namespace quorval
