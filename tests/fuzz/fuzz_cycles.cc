// Arbitrary bytes through the multi-system mode (--gnss), under the
// sanitizers: the table must be empty, or a header and rows that count up
// from 1, every line the header's number of values each followed by a
// comma, and CR LF. The first byte chooses the number of satellite slots.
// The fixes and satellites tables of the same pass: every line the
// header's number of cells, with no quote or control byte in them.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "convert/conversion_loop.h"
#include "state/run_state.h"

using namespace quorval;

namespace {

[[noreturn]] void Fail(const char* what, const std::string& table, size_t at) {
  std::fprintf(stderr, "%s at byte %zu of the table:\n%.600s\n", what, at, table.c_str() + at);
  std::abort();
}

void Check(const std::string& table, int slots) {
  const size_t values = 24 + 5 * static_cast<size_t>(slots);
  long row = 0;
  for (size_t start = 0; start < table.size();) {
    const size_t end = table.find("\r\n", start);
    if (end == std::string::npos || end == start || table[end - 1] != ',') Fail("a line that does not end in \",\\r\\n\"", table, start);
    size_t commas = 0;
    for (size_t i = start; i < end; ++i) commas += table[i] == ',';
    if (commas != values) Fail("a line of another number of values", table, start);
    if (row > 0 && std::strtol(table.c_str() + start, nullptr, 10) != row) Fail("a row out of order", table, start);
    ++row;
    start = end + 2;
  }
}

void CheckCells(const std::string& table) {
  const size_t header = table.find("\r\n");
  if (header == std::string::npos) Fail("a table without its header", table, 0);
  const size_t cells = static_cast<size_t>(std::count(table.begin(), table.begin() + header, ','));
  for (size_t start = header + 2; start < table.size();) {
    const size_t end = table.find("\r\n", start);
    if (end == std::string::npos) Fail("a line without CR LF", table, start);
    for (size_t i = start; i < end; ++i) {
      if (table[i] < 32 || table[i] > 126 || table[i] == '"') Fail("a byte no cell may hold", table, i);
    }
    if (static_cast<size_t>(std::count(table.begin() + start, table.begin() + end, ',')) != cells) {
      Fail("a line of another number of cells", table, start);
    }
    start = end + 2;
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 2) return 0;
  const int slots = 1 + data[0] % kMaxSatelliteSlots;
  ResetRunState();
  runState.satelliteSlots = slots;
  runState.allSystemsInRun = 1;
  char* text[3] = {};
  size_t length[3] = {};
  FILE* input = fmemopen(const_cast<uint8_t*>(data + 1), size - 1, "rb");
  FILE* outputs[3];
  for (int i = 0; i < 3; ++i) outputs[i] = open_memstream(&text[i], &length[i]);
  runState.inputFile = input;
  runState.inputSize = static_cast<int64_t>(size - 1);
  static Conversion conversion;
  ConvertLog(input, ConversionOutputs{.table = outputs[0], .fixes = outputs[1], .satellites = outputs[2]}, conversion);
  runState.inputFile = nullptr;
  std::fclose(input);
  std::string tables[3];
  for (int i = 0; i < 3; ++i) {
    std::fclose(outputs[i]);
    tables[i].assign(text[i], length[i]);
    std::free(text[i]);
  }
  Check(tables[0], slots);
  CheckCells(tables[1]);
  CheckCells(tables[2]);
  return 0;
}
