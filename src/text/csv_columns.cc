#include "text/csv_columns.h"

namespace quorval {

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The number of a slot as "%02d" writes it, below a thousand; -1 for other
// text ("7", "007", "1000").
int SlotNumber(std::string_view digits) {
  if (digits.size() < 2 || digits.size() > 3) return -1;
  if (digits.size() == 3 && digits[0] == '0') return -1;
  int slot = 0;
  for (const char c : digits) {
    if (!IsDigit(c)) return -1;
    slot = slot * 10 + (c - '0');
  }
  return slot;
}

}  // namespace

bool ReadCsvColumnName(std::string_view name, CsvColumnName& column) {
  column = CsvColumnName();
  for (int i = 0; i < kEpochColumnCount; ++i) {
    if (name == kEpochColumns[i].name) {
      column.epochColumn = i;
      return true;
    }
  }
  for (int i = 0; i < kSatelliteColumnCount; ++i) {
    const std::string_view prefix = kSatelliteColumns[i].name;
    if (!name.starts_with(prefix)) continue;
    const int slot = SlotNumber(name.substr(prefix.size()));
    if (slot < 0) return false;
    column.satelliteColumn = i;
    column.slot = slot;
    return true;
  }
  return false;
}

}  // namespace quorval
