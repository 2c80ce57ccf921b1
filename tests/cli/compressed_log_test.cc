// Logs compressed with gzip, xz, bzip2 or zstd, whatever their names: read
// as their text from a file or a pipe, and named with the reason when their
// compressed data is damaged.
#include "support/program_process.h"

namespace {

using namespace test_support;

// data/samples/day1.txt sixty times over (more than one block of text), as
// 'gzip -9n', 'xz', 'bzip2' and 'zstd -19' write it, each with the check of
// its text: tests/cli/compressed/day1-60-times.txt.gz and so on.
std::string SixtyDays() {
  std::string text;
  for (int i = 0; i < 60; ++i) text += ReadBytes(std::string(QUORVAL_SAMPLES_DIR) + "/day1.txt");
  return text;
}
std::string Packed(const std::string& extension) {
  return ReadBytes(std::string(QUORVAL_SOURCE_DIR) + "/tests/cli/compressed/day1-60-times.txt." + extension);
}
// The compressors a build reads: gzip alone on Windows.
#ifdef _WIN32
const std::pair<const char*, const char*> kCompressors[] = {{"gzip", "gz"}};
#else
const std::pair<const char*, const char*> kCompressors[] = {
    {"gzip", "gz"}, {"xz", "xz"}, {"bzip2", "bz2"}, {"zstd", "zst"}};
#endif

class CompressedLog : public CommandRunner {
 protected:
  // The table of the text written plain, on standard output.
  std::string Table(std::vector<std::string> args, const std::string& text) {
    args.insert(args.end(), {"-o", "-", folder.Write("plain.txt", text)});
    return Run(args).out;
  }
};

TEST_F(CompressedLog, GivesThePlainLogsTablesByteForByte) {
  using Args = std::vector<std::string>;
  for (const Args& mode : {Args{}, Args{"--format", "fixes"}, Args{"--gnss"}}) {
    const std::string once = Table(mode, SixtyDays());
    // Streams one after the other ('gzip -c day2.txt >> days.gz') are read whole, as zcat does.
    const std::string twice = Table(mode, SixtyDays() + SixtyDays());
    for (const auto& [compressor, extension] : kCompressors) {
      const std::string packed = Packed(extension);
      const struct {
        std::string bytes;
        bool piped;
        const std::string& table;
      } cases[] = {{packed, false, once}, {packed + packed, false, twice}, {packed, true, once}};
      for (const auto& c : cases) {
        Args args = mode;
        args.insert(args.end(), {"-o", "-", c.piped ? "-" : "day1.log"});
        Spawn spawn{args, folder.Write("day1.log", c.bytes)};
        // Through a pipe, the rows but the last cycle's come while it is open.
        if (c.piped) spawn.Feed(c.bytes, "", CsvLineCount(c.table) - 1);
        const Result run = Run(spawn);
        EXPECT_EQ(run.status, 0) << compressor << ": " << run.err;
        EXPECT_EQ(run.out, c.table) << compressor << (c.piped ? ", piped, " : ", ") << c.bytes.size();
      }
    }
  }
}

TEST_F(CompressedLog, DamagedDataExitsTwoNamingTheLogAndKeepsTheRowsBeforeIt) {
  const std::string once = Table({}, SixtyDays());
  const std::string twice = Table({}, SixtyDays() + SixtyDays());
  for (const auto& [compressor, extension] : kCompressors) {
    // The second of two streams cut short, or with its check changed.
    const std::string packed = Packed(extension);
    std::string changed = packed;
    changed.back() ^= 0xFF;
    const struct {
      const char* damage;
      std::string bytes;
    } cases[] = {{"truncated", packed + packed.substr(0, packed.size() - 40)}, {"corrupt", packed + changed}};
    for (const auto& c : cases) {
      std::filesystem::remove(folder / "out.csv");
      folder.Write("long.log", c.bytes);
      const Result run = Run({"-o", "out.csv", "long.log"});
      const std::string table = Read("out.csv");
      EXPECT_EQ(run.status, 2) << compressor << ", " << c.damage;
      EXPECT_EQ(run.err, "quorval-convert: cannot read 'long.log': the " + std::string(compressor) +
                             " data is damaged (" + c.damage + "); 'out.csv' holds " +
                             std::to_string(CsvLineCount(table) - 1) + " complete rows\n");
      // The rows of the text before the damaged block or stream, and no other.
      EXPECT_TRUE(table.starts_with(once)) << compressor << ", " << c.damage;
      EXPECT_EQ(table, twice.substr(0, table.size())) << compressor << ", " << c.damage;
    }
  }
}

}  // namespace
