// Throughput of a whole-log conversion as the command-line converter runs it,
// beside two upper bounds: reading the log in blocks, and counting its lines.
//
// The log (a synthetic 200 MB 1 Hz log, see log_generator.h) is made once and
// kept beside this program; it is made again when missing or of another size.
// QUORVAL_BENCH_LOG and QUORVAL_BENCH_SIZE name another log and size.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "cli/command_line.h"
#include "convert/conversion_loop.h"
#include "files/input_opening.h"
#include "files/output_files.h"
#include "log_generator.h"
#include "state/epoch_record.h"
#include "backends/console/console_backend.h"
#include "state/run_state.h"

using namespace quorval;

namespace {

constexpr int64_t kDefaultLogSize = 200'000'000;
constexpr size_t kReadBlockSize = 256 * 1024;
constexpr int kIterations = 3;

struct BenchLog {
  std::string log;   // the input
  std::string csv;   // the output of the conversions, beside it
  int64_t size = 0;
};

BenchLog benchLog;

int64_t FileSize(const char* path) {
  struct stat info;
  return stat(path, &info) == 0 && S_ISREG(info.st_mode) ? static_cast<int64_t>(info.st_size) : -1;
}

// Makes the log unless one of the right size is already there.
bool PrepareLog() {
  const char* sizeText = std::getenv("QUORVAL_BENCH_SIZE");
  benchLog.size = sizeText != nullptr ? std::strtoll(sizeText, nullptr, 10) : kDefaultLogSize;
  if (benchLog.size <= 0) {
    std::fprintf(stderr, "QUORVAL_BENCH_SIZE must be a positive number of bytes\n");
    return false;
  }
  if (const char* named = std::getenv("QUORVAL_BENCH_LOG"); named != nullptr) {
    benchLog.log = named;
  } else {
    const int64_t megabytes = benchLog.size / 1'000'000;
    benchLog.log = std::string(QUORVAL_BENCH_DIR) + "/bench-" +
                   (benchLog.size % 1'000'000 == 0 ? std::to_string(megabytes) + "MB"
                                                   : std::to_string(benchLog.size)) +
                   ".log";
  }
  const size_t dot = benchLog.log.rfind('.');
  benchLog.csv = (dot == std::string::npos ? benchLog.log : benchLog.log.substr(0, dot)) + ".csv";

  if (FileSize(benchLog.log.c_str()) == benchLog.size) return true;
  std::fprintf(stderr, "writing %s (%lld bytes)\n", benchLog.log.c_str(),
               static_cast<long long>(benchLog.size));
  // Written under another name first, so that an interrupted run never
  // leaves a log of the right size with the wrong content.
  const std::string part = benchLog.log + ".part";
  FILE* out = std::fopen(part.c_str(), "wb");
  if (out == nullptr) {
    std::perror(part.c_str());
    return false;
  }
  const int written = WriteSyntheticLog(out, benchLog.size);
  if (std::fclose(out) != 0 || written != 0 || std::rename(part.c_str(), benchLog.log.c_str()) != 0) {
    std::perror(benchLog.log.c_str());
    std::remove(part.c_str());
    return false;
  }
  return true;
}

double PeakRssMegabytes() {
  struct rusage usage;
  getrusage(RUSAGE_SELF, &usage);
  return static_cast<double>(usage.ru_maxrss) * 1024 / 1e6;  // ru_maxrss is in KiB
}

void ReportCounters(benchmark::State& state) {
  state.SetBytesProcessed(state.iterations() * benchLog.size);
  state.counters["peak_rss_MB"] = PeakRssMegabytes();
}

// The progress line draws on standard error; during the run it goes to
// /dev/null so that the benchmark's own report stays readable and the cost
// measured is that of the notifications and the formatting, not a terminal's.
class StderrToNull {
 public:
  StderrToNull() {
    std::fflush(stderr);
    saved_ = dup(STDERR_FILENO);
    const int null = open("/dev/null", O_WRONLY);
    if (null >= 0) {
      dup2(null, STDERR_FILENO);
      close(null);
    }
  }
  ~StderrToNull() {
    std::fflush(stderr);
    if (saved_ >= 0) {
      dup2(saved_, STDERR_FILENO);
      close(saved_);
    }
  }
  StderrToNull(const StderrToNull&) = delete;
  StderrToNull& operator=(const StderrToNull&) = delete;

 private:
  int saved_;
};

// One log converted by quorval-convert's own procedure, as for
// `quorval-convert -o CSV LOG`; with progress, its line is drawn as on a
// terminal.
bool ConvertAsTheConverterDoes(const char* log, const char* csv, bool progress,
                               bool allSystems = false, bool stats = false) {
  CommandLine line;
  line.logs.push_back(log);
  line.outputName = csv;
  line.quiet = !progress;
  line.progressWithoutTerminal = progress;
  line.allSystems = allSystems;
  line.stats = stats;
  return ConvertLogs(line) == kExitSuccess;
}

// The rows of a table: its lines but the header.
int64_t RowsOf(const char* csv) {
  FILE* table = std::fopen(csv, "rb");
  if (table == nullptr) return 0;
  static char block[kReadBlockSize];
  int64_t lines = 0;
  for (size_t got; (got = std::fread(block, 1, sizeof block, table)) > 0;) {
    lines += std::count(block, block + got, '\n');
  }
  std::fclose(table);
  return lines > 0 ? lines - 1 : 0;
}

// Each conversion writes a new table: emptying the one of the run before
// would make the file system wait for its write-back, which a user
// converting a log once never sees.
void RunConversions(benchmark::State& state, const char* csv, bool progress,
                    bool allSystems = false, bool stats = false) {
  const bool regularFile = std::strcmp(csv, "/dev/null") != 0;
  for (auto _ : state) {
    if (regularFile) {
      state.PauseTiming();
      std::remove(csv);
      state.ResumeTiming();
    }
    if (!ConvertAsTheConverterDoes(benchLog.log.c_str(), csv, progress, allSystems, stats)) {
      state.SkipWithError("the conversion failed");
      return;
    }
  }
  ReportCounters(state);
  if (regularFile) state.counters["rows"] = static_cast<double>(RowsOf(csv));
}

void BM_Convert(benchmark::State& state) { RunConversions(state, benchLog.csv.c_str(), false); }

void BM_ConvertWithProgressLine(benchmark::State& state) {
  StderrToNull quiet;
  RunConversions(state, benchLog.csv.c_str(), true);
}

// The multi-system mode on the same log: one row per receiver cycle.
void BM_ConvertAllSystems(benchmark::State& state) {
  RunConversions(state, benchLog.csv.c_str(), false, true);
}

// --stats: every sentence counted by its address and checksum as well; the
// listing after the log goes to /dev/null.
void BM_ConvertWithStats(benchmark::State& state) {
  StderrToNull quiet;
  RunConversions(state, benchLog.csv.c_str(), false, false, true);
}

// The same with nothing written to disk: the difference to BM_Convert is the
// cost of storing the table.
void BM_ConvertToDevNull(benchmark::State& state) { RunConversions(state, "/dev/null", false); }

// Reads the whole log in blocks, calling inspect on each.
template <typename Inspect>
bool ReadInBlocks(const char* path, Inspect inspect) {
  static unsigned char block[kReadBlockSize];
  FILE* in = std::fopen(path, "rb");
  if (in == nullptr) return false;
  size_t got;
  while ((got = std::fread(block, 1, sizeof block, in)) > 0) inspect(block, got);
  std::fclose(in);
  return true;
}

void BM_ReadOnly(benchmark::State& state) {
  for (auto _ : state) {
    size_t total = 0;
    if (!ReadInBlocks(benchLog.log.c_str(), [&](const unsigned char*, size_t got) { total += got; })) {
      state.SkipWithError("cannot open the log");
      return;
    }
    benchmark::DoNotOptimize(total);
  }
  ReportCounters(state);
}

// What wc -l does: count the line feeds.
void BM_CountLines(benchmark::State& state) {
  int64_t lines = 0;
  for (auto _ : state) {
    lines = 0;
    const bool read = ReadInBlocks(benchLog.log.c_str(), [&](const unsigned char* block, size_t got) {
      const auto* p = block;
      const auto* end = block + got;
      while ((p = static_cast<const unsigned char*>(std::memchr(p, '\n', static_cast<size_t>(end - p)))) != nullptr) {
        ++lines;
        ++p;
      }
    });
    if (!read) {
      state.SkipWithError("cannot open the log");
      return;
    }
    benchmark::DoNotOptimize(lines);
  }
  ReportCounters(state);
  state.counters["lines"] = static_cast<double>(lines);
}

// Few iterations of a whole log each: a run takes seconds, not minutes.
// Wall time, since a user waits for the whole conversion, reads included.
BENCHMARK(BM_ReadOnly)->Iterations(kIterations)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CountLines)->Iterations(kIterations)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Convert)->Iterations(kIterations)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ConvertAllSystems)->Iterations(kIterations)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ConvertWithStats)->Iterations(kIterations)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ConvertWithProgressLine)->Iterations(kIterations)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ConvertToDevNull)->Iterations(kIterations)->UseRealTime()->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  if (!PrepareLog()) return 1;
  StartConverter();
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
