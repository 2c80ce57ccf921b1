#include "files/extra_tables.h"

#include <strings.h>

#include <cerrno>
#include <cstring>
#include <initializer_list>
#include <utility>

#include "files/file_identity.h"
#include "files/name_limits.h"
#include "layer/windowing.h"
#include "output/fixes_table.h"
#include "output/satellites_table.h"
#include "output/track_writer.h"
#include "state/run_state.h"

namespace quorval {

namespace {

TableFormat primary = TableFormat::kClassic;
bool trackPoints = true;
ExtraTable extras[kMaxExtraTables];
int extraCount = 0;

int CloseExtra(ExtraTable& table) {
  errno = 0;
  const bool lostEarlier = std::ferror(table.stream) != 0;
  const bool lostAtClose = std::fclose(table.stream) != 0;
  table.stream = nullptr;
  return lostEarlier || lostAtClose ? (errno != 0 ? errno : EIO) : 0;
}

}  // namespace

// Each format's name and the end of its derived name, in TableFormat's order.
constexpr struct {
  const char* name;
  const char* suffix;
} kFormats[kTableFormats] = {{"classic", ".csv"}, {"fixes", "-fixes.csv"}, {"satellites", "-satellites.csv"},
                             {"gpx", ".gpx"},     {"geojson", ".geojson"},  {"kml", ".kml"}};

const char* TableFormatName(TableFormat format) { return kFormats[static_cast<int>(format)].name; }

const char* TableSuffix(TableFormat format) { return kFormats[static_cast<int>(format)].suffix; }

bool TrackFormatOfName(const char* name, TableFormat& format) {
  const char* dot = std::strrchr(name, '.');
  if (dot == nullptr) return false;
  for (const auto& [extension, track] : {std::pair{".gpx", TableFormat::kGpx}, {".geojson", TableFormat::kGeoJson},
                                         {".json", TableFormat::kGeoJson}, {".kml", TableFormat::kKml}}) {
    if (strcasecmp(dot, extension) == 0) {
      format = track;
      return true;
    }
  }
  return false;
}

bool IsTrack(TableFormat format) { return format >= TableFormat::kGpx; }

bool TrackPoints() { return trackPoints; }
void SetTrackPoints(bool points) { trackPoints = points; }

TableFormat PrimaryFormat() { return primary; }
void SetPrimaryFormat(TableFormat format) { primary = format; }

int OpenExtraTable(TableFormat format, const char* path) {
  if (extraCount == kMaxExtraTables || std::strlen(path) >= kPathSize) return 1;
  ExtraTable& table = extras[extraCount];
  table.stream = OpenTableWithRetry(path, table.staged);
  if (table.stream == nullptr) return 1;
  table.format = format;
  std::strcpy(table.path, path);
  ++extraCount;
  return 0;
}

const ExtraTable* ExtraTables(int& count) {
  count = extraCount;
  return extras;
}

bool FinishExtraTables(TableEnd end) {
  bool whole = true;
  for (int i = 0; i < extraCount; ++i) {
    ExtraTable& table = extras[i];
    whole = PlaceTable(table.path, table.staged, CloseExtra(table), end) != TableFate::kLost && whole;
  }
  extraCount = 0;
  return whole;
}

void AbandonExtraTables() {
  for (int i = 0; i < extraCount; ++i) {
    CloseExtra(extras[i]);
    DiscardStagedOutput(extras[i].staged);
  }
  extraCount = 0;
}

bool ExtraTableInRun(TableFormat format) {
  const RunState& s = runState;
  return format == TableFormat::kFixes        ? s.fixesTableInRun != 0
         : format == TableFormat::kSatellites ? s.satellitesTableInRun != 0
                                              : false;
}

bool FormExtraTableName(const char* outputBase, TableFormat format, char* path) {
  const size_t baseLength = std::strlen(outputBase);
  if (!FitsBuffer(baseLength + std::strlen(TableSuffix(format)), kPathSize)) return false;
  std::memcpy(path, outputBase, baseLength);
  std::strcpy(path + baseLength, TableSuffix(format));
  return true;
}

int RefuseForeignFile(const char* path, TableFormat format) {
  // A folder or a device in the way is met by the retry prompt instead.
  if (!IdentifyPath(path).regular || HoldsOnlyATable(path)) return 0;
  char text[kPathSize + 200];
  std::snprintf(text, sizeof text,
                "The %s table would replace %s,\nwhich is neither empty nor a table of Quorval.\n"
                "Move or rename the file and start the run again.",
                TableFormatName(format), path);
  SetMessageReason(0, path);
  MessageBox(kNoWindow, text, "Output would overwrite another file", MB_TASKMODAL | MB_ICONWARNING);
  return 1;
}

int CheckExtraTablesInRun(const char* outputBase) {
  const RunState& s = runState;
  for (const TableFormat format : {TableFormat::kFixes, TableFormat::kSatellites}) {
    if (!ExtraTableInRun(format)) continue;
    char path[kPathSize];
    if (!FormExtraTableName(outputBase, format, path)) return RefuseLongName(outputBase, kPathSize - 1);
    if (s.inputFile != nullptr && IsSameFile(IdentifyPath(path), IdentifyStream(s.inputFile))) {
      char text[kPathSize + 200];
      std::snprintf(text, sizeof text, "The %s table would replace %s,\nthe log being converted.",
                    TableFormatName(format), path);
      SetMessageReason(0, path);
      MessageBox(kNoWindow, text, "Output would overwrite input", MB_TASKMODAL | MB_ICONWARNING);
      return 1;
    }
    if (RefuseForeignFile(path, format) != 0) return 1;
  }
  return 0;
}

int OpenExtraTablesInRun(const char* outputBase) {
  for (const TableFormat format : {TableFormat::kFixes, TableFormat::kSatellites}) {
    if (!ExtraTableInRun(format)) continue;
    char path[kPathSize];
    if (!FormExtraTableName(outputBase, format, path) || OpenExtraTable(format, path) != 0) {
      AbandonExtraTables();
      return 1;
    }
  }
  return 0;
}

bool BeginsWithNewTableHeader(const char* start, size_t length) {
  for (const char* header : {FixesHeader(), SatellitesHeader(), TrackHead(TrackFormat::kGpx),
                             TrackHead(TrackFormat::kGeoJson), TrackHead(TrackFormat::kKml)}) {
    const size_t size = std::strlen(header);
    if (length >= size && std::memcmp(start, header, size) == 0) return true;
  }
  return false;
}

}  // namespace quorval
