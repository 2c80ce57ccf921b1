// A Quorval table read back for drawing: the columns the views use, found by
// their header names, one row per epoch. Rows that are not whole (too few or
// too many values, text where a number belongs, a number out of its range,
// a last line cut short) are left out and counted, so that a damaged table
// is reported and not drawn as nonsense.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace quorval::view {

enum class TableState {
  kRead,        // header and rows read (some rows may be damaged: see damagedRows)
  kUnreadable,  // the file could not be opened or read
  kEmpty,       // not even a header line
  kBadHeader,   // the first line is not the header of a Quorval table
};

// One satellite slot of a row, as the table prints it (16-bit values).
struct SatelliteSlot {
  int16_t svid, azim, elev, sgnl, used;
};

struct PlotTable {
  std::string name;  // the file's name without its folders, for titles and messages
  TableState state = TableState::kEmpty;
  std::string problem;  // why the table is unreadable, empty or not a table, in words

  int slotCount = 0;  // satellite slots per row: svid00 .. svid(slotCount-1)
  std::vector<double> time;  // TimeOfDay(s)
  std::vector<double> lon, lat;  // lon(deg), lat(deg)
  std::vector<float> ggaHdop, pdop, hdop, vdop;
  std::vector<int16_t> numsvsinfix, numused, numsvsview, gpsqual;
  std::vector<SatelliteSlot> satelliteSlots;  // slotCount per row, row after row

  int64_t damagedRows = 0;
  int64_t firstDamagedLine = 0;  // line number in the file, the header being line 1
  std::string firstDamage;  // what is wrong with that line

  size_t Rows() const { return time.size(); }
  const SatelliteSlot* SlotsOf(size_t row) const { return satelliteSlots.data() + row * slotCount; }
};

// Reads the table at path. False when it could not be opened or read
// (state kUnreadable, problem says why); true otherwise, whatever the state.
bool ReadPlotTable(const char* path, PlotTable& table);

// The same from an open stream; name is what messages call it.
bool ReadPlotTableStream(FILE* in, const char* name, PlotTable& table);

// The whole-table problem or the damaged rows in one line, for the picture
// and for standard error; empty for a whole table.
std::string DescribeTableProblem(const PlotTable& table);
std::string DescribeDamage(const PlotTable& table);

}  // namespace quorval::view
