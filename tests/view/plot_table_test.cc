// Reading a table back for its pictures: columns found by their names, and
// every kind of damage reported instead of drawn.
#include <gtest/gtest.h>

#include <string>

#include "output/csv_writer.h"
#include "state/epoch_record.h"
#include "table_text.h"

using namespace quorval;

namespace {

using view::PlotTable;
using view::TableState;
using view_test::Epoch;
using view_test::Header;
using view_test::Row;
using view_test::TableOf;

TEST(PlotTable, ReadsWhatTheConverterWrites) {
  ResetEpochRecord();
  epochRecord.timeOfDay = 45310;
  epochRecord.longitude = -0.0123;
  epochRecord.latitude = 51.4772;
  epochRecord.pdop = 2.5;
  epochRecord.numsvsinfix = 8;
  epochRecord.numsvsview = 11;
  epochRecord.gpsqual = 2;
  epochRecord.satellites[11] = {27, 359, 90, 47, 1};
  EpochCounter = 1;
  char row[kMaxCsvRowText];
  const std::string text = std::string(CsvHeaderText()) + std::string(row, FormatCsvRow(row));
  const PlotTable table = TableOf(text, "/logs/day1-103+000.csv");
  ResetEpochRecord();

  ASSERT_EQ(table.state, TableState::kRead) << table.problem;
  EXPECT_EQ(table.name, "day1-103+000.csv");
  ASSERT_EQ(table.Rows(), 1u);
  EXPECT_EQ(table.slotCount, 12);
  EXPECT_EQ(table.time[0], 45310);
  EXPECT_EQ(table.lon[0], -0.0123);
  EXPECT_EQ(table.lat[0], 51.4772);
  EXPECT_EQ(table.pdop[0], 2.5f);
  EXPECT_EQ(table.numsvsinfix[0], 8);
  EXPECT_EQ(table.numsvsview[0], 11);
  EXPECT_EQ(table.gpsqual[0], 2);
  const view::SatelliteSlot last = table.SlotsOf(0)[11];
  EXPECT_EQ(last.svid, 27);
  EXPECT_EQ(last.azim, 359);
  EXPECT_EQ(last.elev, 90);
  EXPECT_EQ(last.sgnl, 47);
  EXPECT_EQ(last.used, 1);
  EXPECT_EQ(table.damagedRows, 0);
}

TEST(PlotTable, FindsColumnsByNameInAnyOrderAndAnyNumberOfSlots) {
  // Three slots, the columns of slot 2 first and lat(deg) before lon(deg).
  std::string header = Header(3);
  const std::string slot2 = "svid02,azim02,elev02,sgnl02,used02,";
  header.erase(header.find(slot2), slot2.size());
  header.replace(header.find("lon(deg),lat(deg)"), 17, "lat(deg),lon(deg)");
  Epoch e;
  e.satellites = {{5, 10, 20, 30, 1}, {6, 11, 21, 31, 0}, {7, 12, 22, 32, 1}};
  std::string row = Row(e, 3);
  const std::string values2 = "7,12,22,32,1,";
  row.erase(row.find(values2), values2.size());
  row.replace(row.find("11.500000,48.100000"), 19, "48.100000,11.500000");
  const PlotTable table = TableOf(slot2 + header + values2 + row);

  ASSERT_EQ(table.state, TableState::kRead) << table.problem;
  ASSERT_EQ(table.Rows(), 1u);
  EXPECT_EQ(table.slotCount, 3);
  EXPECT_EQ(table.lon[0], 11.5);
  EXPECT_EQ(table.lat[0], 48.1);
  EXPECT_EQ(table.SlotsOf(0)[1].svid, 6);
  EXPECT_EQ(table.SlotsOf(0)[2].svid, 7);
  EXPECT_EQ(table.SlotsOf(0)[2].sgnl, 32);
}

TEST(PlotTable, PassesOverColumnsOfOtherNames) {
  // Near-names of a slot's column are another program's columns, not slots.
  const std::string text = "svid-1,svid007,elev7," + Header(1) + "5,6,7," + Row(Epoch{}, 1);
  const PlotTable table = TableOf(text);
  ASSERT_EQ(table.state, TableState::kRead) << table.problem;
  EXPECT_EQ(table.Rows(), 1u);
  EXPECT_EQ(table.slotCount, 1);
  EXPECT_EQ(table.damagedRows, 0);
}

struct DamageCase {
  const char* scenario;
  std::string text;
  TableState state;
  size_t rows;
  int64_t damagedRows;
  int64_t firstDamagedLine;
  const char* said;  // in the whole-table problem or in the damage note
};

std::string Whole(int rows) {
  std::string text = Header(2);
  for (int i = 0; i < rows; ++i) text += Row(Epoch{}, 2);
  return text;
}
std::string Replaced(std::string text, const std::string& from, const std::string& to) {
  return text.replace(text.find(from), from.size(), to);
}

class PlotTableDamage : public ::testing::TestWithParam<DamageCase> {};

TEST_P(PlotTableDamage, IsReportedAndNotRead) {
  const DamageCase& c = GetParam();
  const PlotTable table = TableOf(c.text);
  EXPECT_EQ(table.state, c.state);
  EXPECT_EQ(table.Rows(), c.rows);
  EXPECT_EQ(table.damagedRows, c.damagedRows);
  EXPECT_EQ(table.firstDamagedLine, c.firstDamagedLine);
  const std::string said = view::DescribeTableProblem(table) + "|" + view::DescribeDamage(table);
  EXPECT_NE(said.find(c.said), std::string::npos) << said;
}

const std::string kRow = Row(Epoch{}, 2);

INSTANTIATE_TEST_SUITE_P(
    Cases, PlotTableDamage,
    ::testing::Values(
        DamageCase{"Empty", "", TableState::kEmpty, 0, 0, 0, "the table is empty"},
        DamageCase{"HeaderOnly", Header(2), TableState::kRead, 0, 0, 0, "a header but no rows"},
        DamageCase{"NotATable", "$GPGGA,123519,4807.038,N\r\n" + kRow, TableState::kBadHeader, 0, 0, 0,
                   "not a Quorval table: its header has no column 'TimeOfDay(s)'"},
        DamageCase{"SlotWithoutElevation", Replaced(Whole(1), "elev01,", ""), TableState::kBadHeader, 0, 0, 0,
                   "no column 'elev01'"},
        DamageCase{"ColumnTwice", Replaced(Whole(1), "hdop,vdop", "pdop,vdop"), TableState::kBadHeader, 0, 0, 0,
                   "names the column 'pdop' twice"},
        DamageCase{"HeaderCutShort", Header(2).substr(0, 100), TableState::kBadHeader, 0, 0, 0,
                   "ends inside its header line"},
        DamageCase{"RowCutShort", Whole(2) + kRow.substr(0, 90), TableState::kRead, 2, 1, 4,
                   "1 damaged row left out (line 4: the table ends in the middle of this row)"},
        DamageCase{"TooFewValues", Header(2) + kRow + "1,2,3,\r\n" + kRow, TableState::kRead, 2, 1, 3,
                   "it has 3 of the header's 34 values"},
        DamageCase{"TooManyValues", Header(2) + Replaced(kRow, "\r\n", "0,\r\n"), TableState::kRead, 0, 1, 2,
                   "more values than the header's 34"},
        DamageCase{"TextForANumber", Header(2) + Replaced(kRow, ",1.8,", ",1.8x,") + kRow, TableState::kRead, 1, 1,
                   2, "it has '1.8x' where the column 'pdop' holds a number"},
        DamageCase{"CountOutOfRange", Whole(1) + Replaced(kRow, ",8,7,", ",8,40000,"), TableState::kRead, 1, 1, 3,
                   "'40000' where the column 'numused' holds a whole number"},
        DamageCase{"TwoDamagedRows", Whole(1) + "x\r\n" + kRow + "y\r\n", TableState::kRead, 2, 2, 3,
                   "2 damaged rows left out (line 3:"}),
    [](const ::testing::TestParamInfo<DamageCase>& info) { return std::string(info.param.scenario); });

TEST(PlotTable, TakesLineFeedsAloneAndPassesOverBlankLines) {
  std::string text = Whole(2) + "\r\n";
  text = Replaced(text, "\r\n", "\n");
  const PlotTable table = TableOf(text);
  EXPECT_EQ(table.state, TableState::kRead);
  EXPECT_EQ(table.Rows(), 2u);
  EXPECT_EQ(table.damagedRows, 0);
}

TEST(PlotTable, AFileThatCannotBeOpenedSaysWhy) {
  PlotTable table;
  EXPECT_FALSE(view::ReadPlotTable("/nonexistent/day1.csv", table));
  EXPECT_EQ(table.state, TableState::kUnreadable);
  EXPECT_EQ(table.problem, "cannot open '/nonexistent/day1.csv': No such file or directory");
}

}  // namespace
