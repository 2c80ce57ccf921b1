#include "files/extra_tables.h"

#include <cerrno>
#include <cstring>
#include <initializer_list>

#include "output/fixes_table.h"
#include "output/satellites_table.h"

namespace quorval {

namespace {

TableFormat primary = TableFormat::kClassic;
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

const char* TableFormatName(TableFormat format) {
  switch (format) {
    case TableFormat::kClassic:
      return "classic";
    case TableFormat::kFixes:
      return "fixes";
    case TableFormat::kSatellites:
      return "satellites";
  }
  return "";
}

const char* TableSuffix(TableFormat format) {
  return format == TableFormat::kFixes        ? "-fixes.csv"
         : format == TableFormat::kSatellites ? "-satellites.csv"
                                              : ".csv";
}

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

bool BeginsWithNewTableHeader(const char* start, size_t length) {
  for (const char* header : {FixesHeader(), SatellitesHeader()}) {
    const size_t size = std::strlen(header);
    if (length >= size && std::memcmp(start, header, size) == 0) return true;
  }
  return false;
}

}  // namespace quorval
