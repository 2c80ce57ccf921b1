// The outputs a run writes: the classic table, and the fixes and satellites
// tables and the GPX, GeoJSON and KML tracks of the receiver cycles, beside
// it or instead of it. The desktop program's Options menu and the command
// line's --format choose them.
#pragma once

#include <cstdint>
#include <cstdio>

#include "files/output_files.h"
#include "files/staged_output.h"

namespace quorval {

enum class TableFormat : uint8_t { kClassic, kFixes, kSatellites, kGpx, kGeoJson, kKml };
constexpr int kTableFormats = 6;

// "classic", "fixes", "satellites", "gpx", "geojson", "kml"
const char* TableFormatName(TableFormat format);

// What a derived name of the format ends in after its base: "-fixes.csv",
// "-satellites.csv", ".gpx", ".geojson", ".kml" (the classic table's is
// made by DeriveOutputName).
const char* TableSuffix(TableFormat format);

// The track format that an output name's extension names (".gpx",
// ".geojson" or ".json", ".kml", in any letter case); false for another.
bool TrackFormatOfName(const char* name, TableFormat& format);

bool IsTrack(TableFormat format);

// The format the run state's output is written in: the classic table at
// program start.
TableFormat PrimaryFormat();
void SetPrimaryFormat(TableFormat format);

// Whether a GeoJSON track also has a Point feature per fix (--no-points
// turns it off); on at program start.
bool TrackPoints();
void SetTrackPoints(bool points);

// A table written beside the run state's output.
struct ExtraTable {
  TableFormat format;
  char path[kPathSize];
  FILE* stream;
  StagedOutput staged;
};
constexpr int kMaxExtraTables = kTableFormats - 1;

// Opens the run's extra table of the format at path (staged, like every
// table; the retry prompt while it fails). Returns 0, or 1 when the user
// chose Cancel or no more fit: the extra tables opened before stay open.
int OpenExtraTable(TableFormat format, const char* path);

// The open extra tables, count of them at count.
const ExtraTable* ExtraTables(int& count);

// Closes each extra table and puts it in place as the run's end decides;
// the failure box names any that was not written completely. False when
// one was not.
bool FinishExtraTables(TableEnd end);

// Closes the extra tables of a run that never converted and removes what
// they wrote.
void AbandonExtraTables();

// Whether the run in progress writes the format's table beside its own: the
// Options menu's choice as the run began (--batch --format on the command
// line).
bool ExtraTableInRun(TableFormat format);

// The name of the format's table beside the table named outputBase and its
// extension: outputBase + TableSuffix(format), in path (a kPathSize buffer).
// False, with path untouched, when it would not fit.
bool FormExtraTableName(const char* outputBase, TableFormat format, char* path);

// Returns 1 after a box naming the file when the format's table would
// replace a file that is neither empty nor a table of this program, else 0:
// nothing the user keeps under a table's name is lost unasked.
int RefuseForeignFile(const char* path, TableFormat format);

// Before the run's table is opened: whether each extra table of the run may
// be written beside the table named outputBase. A name that would not fit,
// that is the log being converted or that holds another file is refused in
// a box naming it. Returns 0, or 1 after the box.
int CheckExtraTablesInRun(const char* outputBase);

// Opens each extra table of the run beside the table named outputBase.
// Returns 0, or 1 when the user chose Cancel at a retry prompt, with none of
// them left open.
int OpenExtraTablesInRun(const char* outputBase);

// Whether a file begins with the header of one of the new tables, or as a
// track of this program does.
bool BeginsWithNewTableHeader(const char* start, size_t length);

}  // namespace quorval
