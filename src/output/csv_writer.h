// The CSV table: a header line and one row per epoch, 84 values each
// followed by a comma (24 and five per satellite slot when the table has
// other than twelve slots), every line ended by CR LF.
#pragma once

#include <cstdint>
#include <cstdio>

#include "state/epoch_record.h"

namespace quorval {

// The header line, CR LF included, for the run state's satelliteSlots.
const char* CsvHeaderText();

// Writes the header line. Reads nothing from the record.
void WriteCsvHeader(FILE* output);

// Marks used satellites in the record, then writes one row of it.
void WriteCsvRow(FILE* output);

// The same two for a whole conversion: the text is gathered in one large
// block and reaches the stream in large writes, when the block is full, when
// the text of another stream comes, and at FlushCsvText. A conversion
// flushes before it returns and before it waits for more of its log, so no
// text is left behind for a stream that a run then closes.
void GatherCsvHeader(FILE* output);
void GatherCsvRow(FILE* output);
void FlushCsvText();

// Sets `used` in every printed slot of the record whose id the latest GSA
// sentences list.
void MarkUsedSatellites();

// The row text of the record as it stands (no marking), CR LF included, at
// out; returns its end. kMaxCsvRowText bytes suffice for any record.
char* FormatCsvRow(char* out);
constexpr int kMaxCsvRowText = 16 * 1024;

// The same for any record's values and any satellites: the table's slots
// show satellites[0] to satellites[filled - 1], and empty slots after them.
char* FormatCsvRowOf(char* out, const EpochRecord& record, int32_t index,
                     const SatelliteEntry* satellites, int filled);

// Gathers that row, as it stands (no marking), like GatherCsvRow.
void GatherCsvRowOf(FILE* output, const EpochRecord& record, int32_t index,
                    const SatelliteEntry* satellites, int filled);

// The place of the column of that header name in a row of the table for the
// run state's satelliteSlots (from 0), -1 when the table has none; "elev07"
// is slot 7's elevation.
int CsvColumnIndex(const char* name);

// The system's reason (an errno value) for the first write of the table that
// failed since the last call, or 0; taking it clears it. A full disk shows
// up in the middle of a long table, long before the stream is closed.
int TakeCsvWriteError();

}  // namespace quorval
