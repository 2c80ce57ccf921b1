// The names of the table's header read back into its columns.
#include "text/csv_columns.h"

#include <gtest/gtest.h>

using namespace quorval;

TEST(CsvColumns, NamesAreReadAsTheHeaderWritesThem) {
  CsvColumnName column;
  ASSERT_TRUE(ReadCsvColumnName("used100", column));
  EXPECT_EQ(kSatelliteColumns[column.satelliteColumn].source, ColumnSource::kUsedInFix);
  EXPECT_EQ(column.slot, 100);
  EXPECT_FALSE(ReadCsvColumnName("used007", column));
  ASSERT_TRUE(ReadCsvColumnName("lat(deg)", column));
  EXPECT_EQ(column.epochColumn, EpochColumnOf(ColumnSource::kLatitude, ColumnFormat::kFixed));
}
