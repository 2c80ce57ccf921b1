#include "view/plot_table.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstring>
#include <memory>

#include "text/csv_columns.h"
#include "text/decimal_reading.h"

namespace quorval::view {

namespace {

// What a column of the table feeds; every other column is passed over.
enum class Role : uint8_t {
  kSkip,
  kTime, kLon, kLat, kGgaHdop, kPdop, kHdop, kVdop,  // real values, in this order
  kNumsvsinfix, kNumused, kNumsvsview, kGpsqual,     // 16-bit counts and quality
  kSvid, kAzim, kElev, kSgnl, kUsed,                 // a satellite slot's five values
};
constexpr int kRealRoles = 7;
constexpr int kCountRoles = 4;

// The epoch columns the views draw, found in the table's layout by what
// they show.
struct DrawnColumn {
  int column;  // its place among kEpochColumns
  Role role;
};
constexpr DrawnColumn kDrawnColumns[] = {
    {EpochColumnOf(ColumnSource::kTimeOfDay, ColumnFormat::kFixed), Role::kTime},
    {EpochColumnOf(ColumnSource::kLongitude, ColumnFormat::kFixed), Role::kLon},
    {EpochColumnOf(ColumnSource::kLatitude, ColumnFormat::kFixed), Role::kLat},
    {EpochColumnOf(ColumnSource::kGgaHdop, ColumnFormat::kFixed), Role::kGgaHdop},
    {EpochColumnOf(ColumnSource::kPdop, ColumnFormat::kFixed), Role::kPdop},
    {EpochColumnOf(ColumnSource::kHdop, ColumnFormat::kFixed), Role::kHdop},
    {EpochColumnOf(ColumnSource::kVdop, ColumnFormat::kFixed), Role::kVdop},
    {EpochColumnOf(ColumnSource::kSatellitesInFix, ColumnFormat::kInteger), Role::kNumsvsinfix},
    {EpochColumnOf(ColumnSource::kSatellitesUsed, ColumnFormat::kInteger), Role::kNumused},
    {EpochColumnOf(ColumnSource::kSatellitesInView, ColumnFormat::kInteger), Role::kNumsvsview},
    {EpochColumnOf(ColumnSource::kFixQuality, ColumnFormat::kInteger), Role::kGpsqual},
};
constexpr int kDrawnColumnCount = sizeof kDrawnColumns / sizeof kDrawnColumns[0];
constexpr bool AllInTheTable() {
  for (const DrawnColumn& drawn : kDrawnColumns) {
    if (drawn.column < 0) return false;
  }
  return true;
}
static_assert(AllInTheTable(), "every column the views draw is a column of the table");
// A slot's columns feed SatelliteSlot's five values in the table's order.
static_assert(kSatelliteColumnCount == 5 && kSatelliteColumns[0].source == ColumnSource::kSatelliteId &&
              kSatelliteColumns[1].source == ColumnSource::kAzimuth &&
              kSatelliteColumns[2].source == ColumnSource::kElevation &&
              kSatelliteColumns[3].source == ColumnSource::kSignal &&
              kSatelliteColumns[4].source == ColumnSource::kUsedInFix);
constexpr int kMaxSlots = 1000;

// Large enough for many rows per read; a line that does not fit is no row
// of a table.
constexpr size_t kChunkSize = size_t{4} << 20;

struct Column {
  Role role = Role::kSkip;
  int slot = 0;
};

struct Layout {
  std::vector<Column> columns;
  std::vector<std::string> names;
};

int RealIndex(Role role) { return static_cast<int>(role) - static_cast<int>(Role::kTime); }
int CountIndex(Role role) { return static_cast<int>(role) - static_cast<int>(Role::kNumsvsinfix); }
int SlotField(Role role) { return static_cast<int>(role) - static_cast<int>(Role::kSvid); }

std::string Quoted(const char* begin, const char* end) {
  constexpr ptrdiff_t kShown = 24;
  std::string text = "'";
  for (const char* p = begin; p < end && p < begin + kShown; ++p) {
    const auto c = static_cast<unsigned char>(*p);
    text += c >= 0x20 && c < 0x7F ? static_cast<char>(c) : '?';
  }
  if (end - begin > kShown) text += "...";
  return text + "'";
}

// The header's names, in order; a name that repeats or a slot without all
// five of its columns makes the header unusable.
bool ReadHeader(const char* p, const char* end, Layout& layout, std::string& why) {
  bool seen[kDrawnColumnCount] = {};
  std::vector<uint8_t> slotFields;  // per slot, a bit for each of its five columns
  while (p < end) {
    const char* comma = static_cast<const char*>(std::memchr(p, ',', static_cast<size_t>(end - p)));
    const char* stop = comma != nullptr ? comma : end;
    const std::string name(p, stop);
    Column column;
    CsvColumnName named;
    if (!ReadCsvColumnName(name, named)) {
      // a column of some other program's, passed over
    } else if (named.epochColumn >= 0) {
      for (int i = 0; i < kDrawnColumnCount; ++i) {
        if (kDrawnColumns[i].column != named.epochColumn) continue;
        if (seen[i]) {
          why = "its header names the column '" + name + "' twice";
          return false;
        }
        seen[i] = true;
        column.role = kDrawnColumns[i].role;
      }
    } else if (named.slot < kMaxSlots) {
      const auto slot = static_cast<size_t>(named.slot);
      const int field = named.satelliteColumn;
      if (slotFields.size() <= slot) slotFields.resize(slot + 1);
      if (slotFields[slot] & (1u << field)) {
        why = "its header names the column '" + name + "' twice";
        return false;
      }
      slotFields[slot] |= static_cast<uint8_t>(1u << field);
      column.role = static_cast<Role>(static_cast<int>(Role::kSvid) + field);
      column.slot = named.slot;
    }
    layout.columns.push_back(column);
    layout.names.push_back(name);
    if (comma == nullptr) break;
    p = comma + 1;
  }
  for (int i = 0; i < kDrawnColumnCount; ++i) {
    if (!seen[i]) {
      why = std::string("its header has no column '") + kEpochColumns[kDrawnColumns[i].column].name + "'";
      return false;
    }
  }
  if (slotFields.empty()) {
    why = std::string("its header has no column '") + kSatelliteColumns[0].name + "00'";
    return false;
  }
  for (size_t slot = 0; slot < slotFields.size(); ++slot) {
    for (int field = 0; field < kSatelliteColumnCount; ++field) {
      if (slotFields[slot] & (1u << field)) continue;
      char missing[16];
      std::snprintf(missing, sizeof missing, "%s%02d", kSatelliteColumns[field].name, static_cast<int>(slot));
      why = std::string("its header has no column '") + missing + "'";
      return false;
    }
  }
  return true;
}

// A 16-bit count or satellite value as the table prints it.
const char* ReadInt16(const char* p, const char* end, int16_t& value) {
  int64_t whole = 0;
  const char* stop = ReadPlainWholeNumber(p, end, whole);
  if (stop == nullptr || whole < INT16_MIN || whole > INT16_MAX) return nullptr;
  value = static_cast<int16_t>(whole);
  return stop;
}

class Reader {
 public:
  Reader(PlotTable& table) : table_(table) {}

  void Line(const char* p, const char* end, bool cutShort) {
    ++lineNumber_;
    if (end > p && end[-1] == '\r') --end;
    if (!headerRead_) {
      Header(p, end, cutShort);
      return;
    }
    if (table_.state != TableState::kRead) return;
    if (p == end && !cutShort) return;  // a blank line holds no epoch
    std::string why;
    if (cutShort) {
      Damaged("the table ends in the middle of this row");
    } else if (!Row(p, end, why)) {
      Damaged(why);
    }
  }

  void Damaged(const std::string& why) {
    if (table_.damagedRows++ == 0) {
      table_.firstDamagedLine = lineNumber_;
      table_.firstDamage = why;
    }
  }
  // A line longer than the whole buffer: no row of a table is that long.
  void LongLine() {
    ++lineNumber_;
    if (!headerRead_) {
      headerRead_ = true;
      table_.state = TableState::kBadHeader;
      table_.problem = "not a Quorval table: its first line is longer than any header";
    } else if (table_.state == TableState::kRead) {
      Damaged("it is longer than any row of a table");
    }
  }
  void ReserveFor(int64_t bytes) { reserveBytes_ = bytes; }
  bool HeaderRead() const { return headerRead_; }

 private:
  void Header(const char* p, const char* end, bool cutShort) {
    headerRead_ = true;
    // A spreadsheet that saved the table may have put a byte-order mark first.
    if (end - p >= 3 && std::memcmp(p, "\xEF\xBB\xBF", 3) == 0) p += 3;
    std::string why;
    if (cutShort) {
      why = "it ends inside its header line";
    } else if (!ReadHeader(p, end, layout_, why)) {
      // why is set
    } else {
      table_.state = TableState::kRead;
      int slotTotal = 0;
      for (const Column& c : layout_.columns) {
        if (c.role >= Role::kSvid && c.slot + 1 > slotTotal) slotTotal = c.slot + 1;
      }
      table_.slotCount = slotTotal;
      rowSlots_.resize(static_cast<size_t>(slotTotal));
      Reserve(end - p);
      return;
    }
    table_.state = TableState::kBadHeader;
    table_.problem = "not a Quorval table: " + why;
  }

  // Room for the rows a file of this size holds, so that the columns are not
  // copied as they grow: a row is at least a third as long as the header
  // (and room that is never written costs no memory).
  void Reserve(ptrdiff_t headerLength) {
    if (reserveBytes_ <= 0 || headerLength <= 0) return;
    const auto rows = static_cast<size_t>(reserveBytes_ / (headerLength / 3 + 1) + 16);
    for (auto* v : {&table_.time, &table_.lon, &table_.lat}) v->reserve(rows);
    for (auto* v : {&table_.ggaHdop, &table_.pdop, &table_.hdop, &table_.vdop}) v->reserve(rows);
    for (auto* v : {&table_.numsvsinfix, &table_.numused, &table_.numsvsview, &table_.gpsqual}) {
      v->reserve(rows);
    }
    table_.satelliteSlots.reserve(rows * static_cast<size_t>(table_.slotCount));
  }

  bool Row(const char* p, const char* end, std::string& why) {
    const auto columns = static_cast<int>(layout_.columns.size());
    for (int c = 0; c < columns; ++c) {
      if (p == end && c > 0) {
        why = "it has " + std::to_string(c) + " of the header's " + std::to_string(columns) + " values";
        return false;
      }
      const Column column = layout_.columns[static_cast<size_t>(c)];
      const char* stop = nullptr;
      if (column.role == Role::kSkip) {
        stop = static_cast<const char*>(std::memchr(p, ',', static_cast<size_t>(end - p)));
        if (stop == nullptr) stop = end;
      } else if (column.role <= Role::kVdop) {
        stop = ReadPlainDecimal(p, end, reals_[RealIndex(column.role)]);
      } else {
        int16_t value = 0;
        stop = ReadInt16(p, end, value);
        if (column.role <= Role::kGpsqual) {
          counts_[CountIndex(column.role)] = value;
        } else {
          int16_t* slot = &rowSlots_[static_cast<size_t>(column.slot)].svid;
          slot[SlotField(column.role)] = value;
        }
      }
      if (stop == nullptr || (stop < end && *stop != ',')) {
        const char* fieldEnd = static_cast<const char*>(std::memchr(p, ',', static_cast<size_t>(end - p)));
        why = "it has " + Quoted(p, fieldEnd != nullptr ? fieldEnd : end) + " where the column '" +
              layout_.names[static_cast<size_t>(c)] + "' holds a " +
              (column.role <= Role::kVdop ? "number" : "whole number from -32768 to 32767");
        return false;
      }
      p = stop < end ? stop + 1 : stop;
    }
    if (p != end) {
      why = "it has more values than the header's " + std::to_string(columns);
      return false;
    }
    table_.time.push_back(reals_[0]);
    table_.lon.push_back(reals_[1]);
    table_.lat.push_back(reals_[2]);
    table_.ggaHdop.push_back(static_cast<float>(reals_[3]));
    table_.pdop.push_back(static_cast<float>(reals_[4]));
    table_.hdop.push_back(static_cast<float>(reals_[5]));
    table_.vdop.push_back(static_cast<float>(reals_[6]));
    table_.numsvsinfix.push_back(counts_[0]);
    table_.numused.push_back(counts_[1]);
    table_.numsvsview.push_back(counts_[2]);
    table_.gpsqual.push_back(counts_[3]);
    table_.satelliteSlots.insert(table_.satelliteSlots.end(), rowSlots_.begin(), rowSlots_.end());
    return true;
  }

  PlotTable& table_;
  Layout layout_;
  bool headerRead_ = false;
  int64_t lineNumber_ = 0;
  int64_t reserveBytes_ = 0;
  double reals_[kRealRoles] = {};
  int16_t counts_[kCountRoles] = {};
  std::vector<SatelliteSlot> rowSlots_;
};

const char* BaseName(const char* path) {
#ifdef _WIN32
  // Windows names folders with '\' as well, and a drive with ':'.
  for (const char* p = path; *p != '\0'; ++p) {
    if (*p == '\\' || *p == ':') path = p + 1;
  }
#endif
  const char* slash = std::strrchr(path, '/');
  return slash != nullptr ? slash + 1 : path;
}

}  // namespace

bool ReadPlotTableStream(FILE* in, const char* name, PlotTable& table) {
  table = PlotTable();
  table.name = BaseName(name);
  Reader reader(table);
  struct stat info;
  if (fstat(fileno(in), &info) == 0 && S_ISREG(info.st_mode)) reader.ReserveFor(info.st_size);

  std::unique_ptr<char[]> buffer(new char[kChunkSize]);
  size_t held = 0;
  bool skippingLongLine = false;
  for (;;) {
    const size_t wanted = kChunkSize - held;
    const size_t got = std::fread(buffer.get() + held, 1, wanted, in);
    if (got < wanted && std::ferror(in)) {
      table.state = TableState::kUnreadable;
      table.problem = std::string("cannot read '") + name + "': " + std::strerror(errno);
      return false;
    }
    const bool atEnd = got < wanted;
    held += got;
    const char* p = buffer.get();
    const char* end = p + held;
    for (;;) {
      const char* newline = static_cast<const char*>(std::memchr(p, '\n', static_cast<size_t>(end - p)));
      if (newline == nullptr) break;
      if (skippingLongLine) {
        skippingLongLine = false;
      } else {
        reader.Line(p, newline, false);
      }
      p = newline + 1;
    }
    const auto left = static_cast<size_t>(end - p);
    if (atEnd) {
      if (left > 0 && !skippingLongLine) reader.Line(p, end, true);
      break;
    }
    if (left == kChunkSize) {
      if (!skippingLongLine) reader.LongLine();
      skippingLongLine = true;
      held = 0;
      continue;
    }
    std::memmove(buffer.get(), p, left);
    held = left;
  }
  if (!reader.HeaderRead()) {
    table.state = TableState::kEmpty;
    table.problem = "the table is empty (a log without GGA sentences gives an empty table)";
  }
  return true;
}

bool ReadPlotTable(const char* path, PlotTable& table) {
  FILE* in = std::fopen(path, "rb");
  if (in == nullptr) {
    const int error = errno;
    table = PlotTable();
    table.name = BaseName(path);
    table.state = TableState::kUnreadable;
    table.problem = std::string("cannot open '") + path + "': " + std::strerror(error);
    return false;
  }
  const bool read = ReadPlotTableStream(in, path, table);
  std::fclose(in);
  return read;
}

std::string DescribeTableProblem(const PlotTable& table) {
  if (table.state != TableState::kRead) return table.problem;
  if (table.Rows() == 0 && table.damagedRows == 0) return "the table has a header but no rows";
  if (table.Rows() == 0) return "the table has no whole row";
  return "";
}

std::string DescribeDamage(const PlotTable& table) {
  if (table.damagedRows == 0) return "";
  const std::string rows = table.damagedRows == 1 ? "1 damaged row" : std::to_string(table.damagedRows) + " damaged rows";
  return rows + " left out (line " + std::to_string(table.firstDamagedLine) + ": " + table.firstDamage + ")";
}

}  // namespace quorval::view
