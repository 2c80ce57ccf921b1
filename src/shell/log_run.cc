#include "shell/log_run.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "convert/conversion.h"
#include "convert/conversion_loop.h"
#include "files/extra_tables.h"
#include "files/path_names.h"
#include "files/scratch_file.h"
#include "files/output_files.h"
#include "resources/version.h"
#include "shell/progress_dialog.h"
#include "state/run_state.h"

namespace quorval {

namespace {

LogRunReporter reporter = nullptr;

FILE*& TableStream(ConversionOutputs& outputs, TableFormat format) {
  if (IsTrack(format)) return outputs.tracks[static_cast<int>(format) - static_cast<int>(TableFormat::kGpx)];
  return format == TableFormat::kFixes        ? outputs.fixes
         : format == TableFormat::kSatellites ? outputs.satellites
                                              : outputs.table;
}

// GeoJSON's points wait for the end of the track in a scratch file; without
// one, the track is written alone, and a box says so.
FILE* OpenPointsScratch(const ConversionOutputs& outputs, const char* outputPath) {
  const int geoJson = static_cast<int>(TrackFormat::kGeoJson);
  if (outputs.tracks[geoJson] == nullptr || !outputs.trackPoints) return nullptr;
  FILE* scratch = OpenScratchFile();
  if (scratch == nullptr) {
    char text[kPathSize + 200];
    std::snprintf(text, sizeof text,
                  "No temporary file could be made for the points of the GeoJSON track of %s.\n"
                  "The track is written without them.",
                  outputPath);
    SetMessageReason(errno, outputPath);
    MessageBox(kNoWindow, text, "Track without points", MB_TASKMODAL | MB_ICONWARNING);
  }
  return scratch;
}

// The conversion of the log being run (one at a time: the run guard sees to
// it), in static storage for the size of its cycle tables.
Conversion runConversion{};

}  // namespace

const char* ReadFailureReason(const LogRunEnd& end) {
  static char reason[96];
  if (end.unreadCompression != nullptr) {
    std::snprintf(reason, sizeof reason, "%s %s-compressed file, not a text log",
                  end.unreadCompression[0] == 'x' ? "an" : "a", end.unreadCompression);
    return reason;
  }
  if (end.damage != nullptr) return end.damage;
  return end.readError != 0 ? std::strerror(end.readError) : "";
}

void ShowReadFailure(const LogRunEnd& end, const char* logPath, const char* outputPath) {
  const long long rows = end.counts->rows;
  char text[3 * kPathSize + 200];
  const int length = std::snprintf(text, sizeof text, "Cannot read %s:\n%s.\n\n", logPath,
                                   ReadFailureReason(end));
  char* rest = text + length;
  const size_t room = sizeof text - static_cast<size_t>(length);
  switch (end.table) {
    case TableFate::kInPlace:
      std::snprintf(rest, room, "%s holds its %lld complete rows.", outputPath, rows);
      break;
    case TableFate::kPreviousKept:
      std::snprintf(rest, room, "%s was left as it was.", outputPath);
      break;
    default:
      std::snprintf(rest, room, "No table was written.");
      break;
  }
  char caption[32];
  std::snprintf(caption, sizeof caption, "Quorval-%s", kVersionLabel);
  SetMessageReason(0, logPath, outputPath);
  MessageBox(kNoWindow, text, caption, MB_TASKMODAL | MB_ICONWARNING);
}

void SetLogRunReporter(LogRunReporter told) { reporter = told; }

void SetDetailedCounts(bool detailed) { runConversion.counts.detailed = detailed; }

LogRunEnd RunLog(const char* outputPath, DialogAfterRun dialog, OutputFinisher finishOutput) {
  RunState& s = runState;
  ShowProgressDialog();
  ConversionOutputs outputs{};
  TableStream(outputs, PrimaryFormat()) = s.outputFile;
  int extraCount = 0;
  const ExtraTable* extras = ExtraTables(extraCount);
  for (int i = 0; i < extraCount; ++i) TableStream(outputs, extras[i].format) = extras[i].stream;
  outputs.trackName = std::strcmp(s.inputPath, "-") == 0 ? "standard input" : FileNamePart(s.inputPath);
  outputs.trackPoints = TrackPoints();
  FILE* const scratch = OpenPointsScratch(outputs, outputPath);
  outputs.scratch[static_cast<int>(TrackFormat::kGeoJson)] = scratch;
  outputs.trackPoints = outputs.trackPoints && scratch != nullptr;
  const ConversionEnd conversion = ConvertLog(s.inputFile, outputs, runConversion);
  if (scratch != nullptr) std::fclose(scratch);
  LogRunEnd end{s.cancelRequested != 0, conversion.readError, conversion.damage,
                conversion.unreadCompression, TableFate::kInPlace, false, &runConversion.counts};
  if (dialog == DialogAfterRun::kDestroyed) {
    DestroyWindow(s.progressDialog);
    s.progressDialog = kNoWindow;
  }
  // A cancel ends only this log: the next one, or the next run, starts clear.
  s.cancelRequested = 0;
  // A damaged compressed log keeps its rows as a failed read does.
  const TableEnd tableEnd = end.unreadCompression != nullptr ? TableEnd::kNotALog
                            : end.readError != 0            ? TableEnd::kReadFailed
                                                            : TableEnd::kWhole;
  end.table = finishOutput(outputPath, tableEnd);
  end.extraTablesLost = !FinishExtraTables(tableEnd);
  // A failed run leaves what stood under the name; the last table is still the one before.
  if (end.table == TableFate::kInPlace) {
    std::snprintf(s.lastTablePath, sizeof s.lastTablePath, "%s", outputPath);
  }
  if (reporter != nullptr) reporter(end);
  return end;
}

}  // namespace quorval
