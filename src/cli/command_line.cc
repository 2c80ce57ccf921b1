#include "cli/command_line.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "cli/command_plan.h"
#include "convert/sentence_counts.h"
#include "files/binary_streams.h"
#include "files/file_identity.h"
#include "files/input_opening.h"
#include "files/name_limits.h"
#include "files/output_files.h"
#include "files/path_names.h"
#include "output/csv_writer.h"
#include "state/epoch_record.h"
#include "backends/console/console_backend.h"
#include "backends/console/terminal_text.h"
#include "state/end_requests.h"
#include "resources/resources.h"
#include "resources/version.h"
#include "shell/batch_run.h"
#include "shell/log_run.h"
#include "state/run_state.h"

namespace quorval {

namespace {

int UsageError(const char* what, const char* argument) {
  std::fprintf(stderr, "%s: %s%s%s\nTry '%s --help' for more information.\n", kProgram, what,
               argument != nullptr ? " " : "", argument != nullptr ? argument : "", kProgram);
  return kExitUsage;
}

void RefuseLongPath(const char* path) {
  std::fprintf(stderr, "%s: %s...: path longer than %d characters\n", kProgram,
               QuoteName(std::string(path, 60).c_str()).c_str(), kPathSize - 1);
}

// A whole number from low to high, nothing else.
bool ReadCount(const char* text, int low, int high, int& count) {
  if (*text == '\0' || std::strlen(text) > 3) return false;
  int value = 0;
  for (const char* p = text; *p != '\0'; ++p) {
    if (*p < '0' || *p > '9') return false;
    value = value * 10 + (*p - '0');
  }
  if (value < low || value > high) return false;
  count = value;
  return true;
}

// A comma-separated list of formats, each named once at most.
bool ReadFormats(const char* list, CommandLine& line) {
  bool chosen[kTableFormats] = {};
  const char* p = list;
  for (;;) {
    const char* end = std::strchr(p, ',');
    const size_t length = end != nullptr ? static_cast<size_t>(end - p) : std::strlen(p);
    bool known = false;
    for (int f = 0; f < kTableFormats; ++f) {
      const char* name = TableFormatName(static_cast<TableFormat>(f));
      if (std::strlen(name) == length && std::strncmp(p, name, length) == 0) {
        known = !chosen[f];
        chosen[f] = true;
      }
    }
    if (!known) return false;
    if (end == nullptr) break;
    p = end + 1;
  }
  std::copy(chosen, chosen + kTableFormats, line.formats);
  return true;
}

// The noun after a count: singular for one.
const char* NounFor(long long count, const char* one, const char* many) { return count == 1 ? one : many; }

bool wordOnUnread = true;

// The rows of the log converted last, as the reporter was told them: what
// the table of a batch interrupted in that log holds.
int64_t lastLogRows = 0;

// After each log: the word on sentences the table leaves unread, and with
// --stats what the log held. Neither after an interrupted conversion, whose
// counts stop short.
void ReportLog(const LogRunEnd& end) {
  lastLogRows = end.counts->rows;
  if (end.cancelled || end.Failed()) return;
  const char* log = runState.inputPath;
  const std::string name = IsStandardStream(log) ? "standard input" : ShowName(log);
  const SentenceCounts& c = *end.counts;
  char word[1024];
  if (wordOnUnread && DescribeUnreadSentences(c, word, sizeof word)) {
    std::fprintf(stderr, "%s: %s\n", name.c_str(), word);
  }
  if (!c.detailed) return;
  // --gnss passes over the sentences it finds cut short; they are counted
  // apart from the rest of those without a checksum.
  char cutShort[64] = "";
  if (c.allSystems) std::snprintf(cutShort, sizeof cutShort, ", %lld cut short", static_cast<long long>(c.cutShort));
  std::fprintf(stderr,
               "%s: %lld %s, %lld %s (%lld whose checksum does not match, %lld without "
               "a checksum%s), %lld %s\n",
               name.c_str(), static_cast<long long>(c.lines), NounFor(c.lines, "line", "lines"),
               static_cast<long long>(c.sentences), NounFor(c.sentences, "sentence", "sentences"),
               static_cast<long long>(c.checksumMismatch),
               static_cast<long long>(c.checksumMissing - c.cutShort), cutShort,
               static_cast<long long>(c.rows), NounFor(c.rows, "row", "rows"));
  AddressCount sorted[kCountedAddresses];
  std::copy(c.addresses, c.addresses + c.addressCount, sorted);
  std::sort(sorted, sorted + c.addressCount, [](const AddressCount& a, const AddressCount& b) {
    return std::strcmp(a.address, b.address) < 0;
  });
  for (int i = 0; i < c.addressCount; ++i) {
    // Captured text is printable ASCII, so the addresses show as they stand.
    std::fprintf(stderr, "  %-8s %lld\n", sorted[i].address, static_cast<long long>(sorted[i].count));
  }
  if (c.otherAddresses > 0) {
    std::fprintf(stderr, "  %lld more of other addresses\n", static_cast<long long>(c.otherAddresses));
  }
  if (c.otherBytes > 0) {
    std::fprintf(stderr, "  %lld sentences of other bytes\n", static_cast<long long>(c.otherBytes));
  }
}

// What the options ask of every log and table the command converts.
void ApplyTableOptions(const CommandLine& line) {
  SetPrimaryFormat(PrimaryFormatOf(line));
  SetTrackPoints(line.points);
  runState.satelliteSlots = line.satellites;
  runState.allSystemsChecked = runState.allSystemsInRun = line.allSystems ? 1 : 0;
  wordOnUnread = !line.quiet;
  SetDetailedCounts(line.stats);
  SetLogRunReporter(ReportLog);
}

bool ShowsProgress(const CommandLine& line) {
  return !line.quiet && (line.progressWithoutTerminal || isatty(STDERR_FILENO) == 1);
}

// What the progress line calls the output: its path without the extension,
// as for a derived name.
void NameShownOutput(const char* outputPath) {
  char extension[kPathSize];
  SplitExtension(runState.outputBase, outputPath, extension);
}

int OpenLog(const char* log) {
  RunState& s = runState;
  if (IsStandardStream(log)) {
    std::strcpy(s.inputPath, kStandardStream);
    s.inputFile = stdin;
    UseBinaryMode(stdin);
    PrepareInput();
    return kExitSuccess;
  }
  if (!FitsBuffer(std::strlen(log), kPathSize)) {
    RefuseLongPath(log);
    return kExitInputUnreadable;
  }
  std::strcpy(s.inputPath, log);
  return OpenInputDirect(s.inputPath) == 0 ? kExitSuccess : kExitInputUnreadable;
}

// Names and opens the outputs of the log just opened, as planned: the
// primary table in the run state's output, the others beside it.
int OpenOutput(const PlannedLog& planned, const CommandLine& line) {
  RunState& s = runState;
  const PlannedTable& primary = planned.tables.front();
  if (IsStandardStream(primary.output.c_str())) {
    std::strcpy(s.outputPath, kStandardStream);
    std::strcpy(s.outputBase, "standard output");
    s.outputFile = stdout;
    UseBinaryMode(stdout);
    s.outputWriteFailed = 0;
    TakeCsvWriteError();
    tableBeingWritten = 1;
    return kExitSuccess;
  }
  if (line.outputName != nullptr) {
    if (!FitsBuffer(std::strlen(line.outputName), kPathSize)) {
      RefuseLongPath(line.outputName);
      return kExitOutputFailed;
    }
    std::strcpy(s.outputPath, line.outputName);
    NameShownOutput(s.outputPath);
  } else if (FormOutputName(s.outputPath, kCsvExtension) != 0) {
    return kExitOutputFailed;
  }
  for (const PlannedTable& table : planned.tables) {
    if (table.output.empty()) {
      std::fprintf(stderr, "%s: the %s table of %s: name longer than %d characters\n", kProgram,
                   TableFormatName(table.format), Named(planned.log, false).c_str(), kPathSize - 1);
      return kExitOutputFailed;
    }
  }
  if (line.outputName == nullptr) {  // the name planned: another format's, or in --output-dir
    std::strcpy(s.outputPath, primary.output.c_str());
    NameShownOutput(s.outputPath);
  }
  if (OpenOutputWithRetry(s.outputPath) != 0) return kExitOutputFailed;
  for (size_t i = 1; i < planned.tables.size(); ++i) {
    if (OpenExtraTable(planned.tables[i].format, planned.tables[i].output.c_str()) != 0) {
      AbandonExtraTables();
      AbandonOutput();
      return kExitOutputFailed;
    }
  }
  return kExitSuccess;
}

// Closes the table, as its run ended; a line says when not all of it was written.
TableFate FinishTable(const char* outputPath, TableEnd end) {
  if (!IsStandardStream(outputPath)) return FinishOutput(outputPath, end);
  const int writeError = TakeCsvWriteError();
  errno = 0;
  if (CloseOutputStream() == 0) return TableFate::kInPlace;
  std::fprintf(stderr, "%s: cannot write standard output completely: %s\n", kProgram,
               std::strerror(writeError != 0 ? writeError : errno != 0 ? errno : EIO));
  return TableFate::kLost;
}

void ReportInterruptedRun(const char* log, const char* output, long long rows) {
  std::fprintf(stderr, "%s: conversion of %s interrupted; %s holds %lld complete %s\n", kProgram,
               Named(log, false).c_str(), Named(output, true).c_str(), rows, NounFor(rows, "row", "rows"));
}

int InterruptedStatus() { return kExitInterrupted + endRequestSignal; }

// A log that could not be read to its end: what failed, and what the table
// under its name now is.
void ReportReadFailure(const char* log, const LogRunEnd& end, const char* output) {
  const std::string table = Named(output, true);
  if (end.unreadCompression != nullptr) {
    static const struct { const char* format; const char* reader; } kReaders[] = {
        {"gzip", "zcat"}, {"xz", "xzcat"}, {"bzip2", "bzcat"}, {"zstd", "zstdcat"}};
    const char* reader = "zcat";
    for (const auto& known : kReaders) {
      if (std::strcmp(known.format, end.unreadCompression) == 0) reader = known.reader;
    }
    const bool standard = IsStandardStream(log);
    std::fprintf(stderr, "%s: %s; '%s%s%s | %s -' reads it\n",
                 standard ? "standard input" : ShowName(log).c_str(), ReadFailureReason(end), reader,
                 standard ? "" : " ", standard ? "" : ShowName(log).c_str(), kProgram);
    return;
  }
  std::fprintf(stderr, "%s: cannot read %s: %s; ", kProgram, Named(log, false).c_str(),
               ReadFailureReason(end));
  if (end.table == TableFate::kInPlace) {
    std::fprintf(stderr, "%s holds %lld complete rows\n", table.c_str(),
                 static_cast<long long>(end.counts->rows));
  } else if (end.table == TableFate::kPreviousKept) {
    std::fprintf(stderr, "%s was left as it was\n", table.c_str());
  } else {
    std::fprintf(stderr, "no table was written\n");
  }
}

int ConvertOne(const PlannedLog& planned, const CommandLine& line) {
  RunState& s = runState;
  int status = OpenLog(planned.log);
  if (status != kExitSuccess) return status;
  status = OpenOutput(planned, line);
  if (status != kExitSuccess) {
    CloseAllStreams();
    return status;
  }
  // The desktop program's progress dialog is drawn as a line on a terminal.
  const LogRunEnd end = RunLog(s.outputPath, DialogAfterRun::kDestroyed, FinishTable);
  CloseAllStreams();  // the log
  if (ConsoleRunInterrupted()) {
    ReportInterruptedRun(planned.log, s.outputPath, end.counts->rows);
    return InterruptedStatus();
  }
  if (end.OutputLost()) return kExitOutputFailed;
  if (end.Failed()) {
    ReportReadFailure(planned.log, end, s.outputPath);
    return kExitInputUnreadable;
  }
  if (ShowsProgress(line)) {
    const long long rows = end.counts->rows;
    std::fprintf(stderr, "%s -> %s (%lld %s)\n", ShowName(planned.log).c_str(),
                 IsStandardStream(s.outputPath) ? "standard output"
                                                : ShowName(s.outputPath).c_str(),
                 rows, NounFor(rows, "row", "rows"));
  }
  return kExitSuccess;
}

void ReportFile(const char* what, const char* name) {
  if (errno != 0) {
    std::fprintf(stderr, "%s: cannot %s %s: %s\n", kProgram, what, QuoteName(name).c_str(),
                 std::strerror(errno));
  } else {
    std::fprintf(stderr, "%s: cannot %s %s\n", kProgram, what, QuoteName(name).c_str());
  }
}

}  // namespace

TableFormat PrimaryFormatOf(const CommandLine& line) {
  for (int f = 0; f < kTableFormats; ++f) {
    if (line.formats[f]) return static_cast<TableFormat>(f);
  }
  return TableFormat::kClassic;
}

int FormatCount(const CommandLine& line) {
  return static_cast<int>(std::count(line.formats, line.formats + kTableFormats, true));
}

void StartConverter() {
  SetConsoleProgramName(kProgram);
  InstallBackend(&ConsoleBackend());
  RegisterResourceModule(kProgramInstance, &kProgramResources);
  runState.instance = kProgramInstance;
}

void PrintUsage() {
  std::printf(
      "Usage: %s [OPTION]... LOG...\n"
      "   or: %s [--quiet] [--gnss] [--satellites N] [--format LIST]\n"
      "           --batch LIST\n"
      "Convert NMEA 0183 receiver logs into CSV tables, one row per position epoch.\n"
      "\n"
      "Each LOG is converted, in order, into <base>-%s+000.csv beside it (the name\n"
      "the desktop program proposes). Values that a log does not set carry over\n"
      "from the logs before it, as in one session of the desktop program.\n"
      "\n"
      "  -o FILE     write the output of a single LOG to FILE ('-': standard output);\n"
      "              with one --format only; without --format, a FILE ending in\n"
      "              .gpx, .geojson or .kml names its format\n"
      "  -           as LOG: read standard input from where it stands, once (output\n"
      "              to standard output unless -o); any LOG that is not a regular\n"
      "              file is read as it arrives and also writes to standard output\n"
      "  --batch LIST  convert every log named in LIST, one per line, as the\n"
      "              desktop program's Batch PostProc does: each entry's extension\n"
      "              becomes .log, each output <base>-%s+000.xlx, and the logs whose\n"
      "              conversion started are listed in <LIST base>-diag.txt;\n"
      "              entries are found from the current folder, not LIST's; the\n"
      "              batch stops at a log that cannot be opened or a table that\n"
      "              cannot be written; --format must include classic (the .xlx),\n"
      "              and fixes and satellites write <base>-%s+000-fixes.csv and\n"
      "              <base>-%s+000-satellites.csv beside it\n"
      "  --gnss      every satellite system (talkers GP, GL, GA, GB, BD, GQ, QZ, GI\n"
      "              and GN): one row per fix, from the sentences of one receiver\n"
      "              cycle, with the satellites of all systems (see the README)\n"
      "  --format LIST  the outputs to write, in one pass over each log: classic\n"
      "              (the default), fixes (<base>-fixes.csv: one row per receiver\n"
      "              cycle with a time, every value as sent), satellites\n"
      "              (<base>-satellites.csv: one row per satellite and signal), and\n"
      "              the track of the fixes as gpx (<base>.gpx), geojson\n"
      "              (<base>.geojson) and kml (<base>.kml); or a comma-separated list\n"
      "              of them; all but classic read every satellite system's talkers,\n"
      "              with or without --gnss\n"
      "  --no-points  a GeoJSON track without a Point feature per fix\n"
      "  --output-dir DIR  write every output into DIR (made if missing) instead of\n"
      "              beside its log\n"
      "  --satellites N  N satellite slots per row, 1 to 64 (default 12): the\n"
      "              header names them svid00 to svid(N-1) and so on\n"
      "  --stats     after each log, on standard error: its lines, its sentences by\n"
      "              address, those whose checksum does not match, and the rows\n"
      "              written\n"
      "  --quiet     no progress line, and no word on a log whose table comes out\n"
      "              empty or leaves sentences of other satellite systems unread\n"
      "  --force     write an output over an existing file that is neither empty\n"
      "              nor a table of this program (refused without it)\n"
      "  --help      show this help and exit\n"
      "  --version   show the program's name and version label and exit\n"
      "\n"
      "Progress (percent, megabytes read of the total, rate) is shown on standard\n"
      "error when it is a terminal.\n"
      "\n"
      "No output is ever written over an input, and two LOGs never share a table:\n"
      "such a command converts nothing. Ctrl-C ends the conversion after the\n"
      "current line; the table keeps its complete rows.\n"
      "\n"
      "Exit status: 0 success (for --batch: the list was done), 1 usage error or\n"
      "two LOGs with one table, 2 an input (or the list) could not be read, 3 an\n"
      "output could not be created or written completely, or would be an input,\n"
      "128 + n ended by signal n.\n"
      "\n"
      "Example:\n"
      "  %s day1.txt day2.txt  writes day1-%s+000.csv, day2-%s+000.csv\n",
      kProgram, kProgram, kVersionLabel, kVersionLabel, kVersionLabel, kVersionLabel, kProgram,
      kVersionLabel, kVersionLabel);
}

int ParseCommandLine(int argc, char** argv, CommandLine& line) {
  bool optionsEnded = false;
  for (int i = 1; i < argc; ++i) {
    const char* arg = argv[i];
    if (IsStandardStream(arg)) {
      // Standard input is read once, from where it stands.
      if (std::find_if(line.logs.begin(), line.logs.end(), IsStandardStream) != line.logs.end()) {
        return UsageError("'-' (standard input) may be given only once", nullptr);
      }
      line.logs.push_back(arg);
    } else if (optionsEnded || arg[0] != '-') {
      line.logs.push_back(arg);
    } else if (std::strcmp(arg, "--") == 0) {
      optionsEnded = true;
    } else if (std::strcmp(arg, "--help") == 0 || std::strcmp(arg, "-h") == 0) {
      line.help = true;
    } else if (std::strcmp(arg, "--version") == 0) {
      line.version = true;
    } else if (std::strcmp(arg, "--quiet") == 0 || std::strcmp(arg, "-q") == 0) {
      line.quiet = true;
    } else if (std::strcmp(arg, "-o") == 0) {
      if (++i == argc) return UsageError("option -o needs a file name", nullptr);
      if (line.outputName != nullptr) return UsageError("option -o may be given only once", nullptr);
      line.outputName = argv[i];
    } else if (std::strcmp(arg, "--force") == 0) {
      line.force = true;
    } else if (std::strcmp(arg, "--gnss") == 0) {
      line.allSystems = true;
    } else if (std::strcmp(arg, "--stats") == 0) {
      line.stats = true;
    } else if (std::strcmp(arg, "--satellites") == 0) {
      if (++i == argc) return UsageError("option --satellites needs a number of slots", nullptr);
      if (!ReadCount(argv[i], 1, kMaxSatelliteSlots, line.satellites)) {
        return UsageError("--satellites takes 1 to 64 slots, not", argv[i]);
      }
    } else if (std::strcmp(arg, "--format") == 0) {
      if (++i == argc) return UsageError("option --format needs a list of formats", nullptr);
      if (!ReadFormats(argv[i], line)) {
        return UsageError("--format takes classic, fixes, satellites, gpx, geojson, kml or a comma-separated list of them, not", argv[i]);
      }
      line.formatGiven = true;
    } else if (std::strcmp(arg, "--no-points") == 0) {
      line.points = false;
    } else if (std::strcmp(arg, "--output-dir") == 0) {
      if (++i == argc) return UsageError("option --output-dir needs a folder", nullptr);
      line.outputDir = argv[i];
    } else if (std::strcmp(arg, "--batch") == 0) {
      if (++i == argc) return UsageError("option --batch needs a list file", nullptr);
      line.batchList = argv[i];
    } else {
      return UsageError("unknown option", arg);
    }
  }
  if (line.help || line.version) return 0;
  if (line.batchList != nullptr) {
    if (!line.logs.empty() || line.outputName != nullptr) {
      return UsageError("--batch takes no LOG and no -o", nullptr);
    }
    // Each log's .xlx is the classic table; the other formats go beside it.
    if (!line.formats[static_cast<int>(TableFormat::kClassic)]) {
      return UsageError("--batch writes the classic table: its --format must include classic", nullptr);
    }
    for (int f = static_cast<int>(TableFormat::kGpx); f < kTableFormats; ++f) {
      if (line.formats[f]) return UsageError("--batch writes tables, not the track format", TableFormatName(static_cast<TableFormat>(f)));
    }
    if (line.outputDir != nullptr) return UsageError("--batch writes beside each log; --output-dir is for LOGs", nullptr);
    return 0;
  }
  if (line.logs.empty()) return UsageError("no LOG given", nullptr);
  if (line.outputName != nullptr && line.logs.size() > 1) {
    return UsageError("-o names the output of a single LOG", nullptr);
  }
  // "-o track.gpx" alone names its format.
  TableFormat named;
  if (line.outputName != nullptr && !line.formatGiven && TrackFormatOfName(line.outputName, named)) {
    std::fill(line.formats, line.formats + kTableFormats, false);
    line.formats[static_cast<int>(named)] = true;
  }
  if (line.outputName != nullptr && line.outputDir != nullptr) {
    return UsageError("-o and --output-dir name outputs two ways; give one", nullptr);
  }
  if (line.outputName != nullptr && FormatCount(line) > 1) {
    return UsageError("-o names one table; --format asks for", std::to_string(FormatCount(line)).c_str());
  }
  return 0;
}

namespace {

// --output-dir: the folder, made when it is not there yet (its parent must be).
int MakeOutputFolder(const char* folder) {
  const FileIdentity identity = IdentifyPath(folder);
  if (identity.folder) return kExitSuccess;
  errno = 0;
  if (!identity.exists && MakeFolder(folder) == 0) return kExitSuccess;
  std::fprintf(stderr, "%s: cannot write into %s: %s\n", kProgram, QuoteName(folder).c_str(),
               identity.exists ? "it is not a folder" : std::strerror(errno));
  return kExitOutputFailed;
}

}  // namespace

int ConvertLogs(const CommandLine& line) {
  SetConsoleProgramName(kProgram);
  ShowConsoleProgressDialogs(ShowsProgress(line));
  ApplyTableOptions(line);
  if (line.outputDir != nullptr) {
    if (const int status = MakeOutputFolder(line.outputDir); status != kExitSuccess) return status;
  }
  const std::vector<PlannedLog> plan = PlanCommand(line);
  if (const int refused = RefuseClashes(plan); refused != kExitSuccess) return refused;
  if (!line.force) {
    if (const int refused = RefuseForeignFiles(plan); refused != kExitSuccess) return refused;
  }
  // Every log is tried; the status is the most serious failure met.
  int status = kExitSuccess;
  for (const PlannedLog& planned : plan) {
    if (endRequestSignal != 0) {
      std::fprintf(stderr, "%s: interrupted before %s\n", kProgram,
                   Named(planned.log, false).c_str());
      return InterruptedStatus();
    }
    const int result = ConvertOne(planned, line);
    if (result >= kExitInterrupted) return result;
    if (result > status) status = result;
  }
  return status;
}

int RunListedBatch(const CommandLine& line) {
  SetConsoleProgramName(kProgram);
  ShowConsoleProgressDialogs(ShowsProgress(line));
  ApplyTableOptions(line);
  // The desktop program's Options items, as --format sets them.
  RunState& s = runState;
  s.fixesTableChecked = s.fixesTableInRun = line.formats[static_cast<int>(TableFormat::kFixes)] ? 1 : 0;
  s.satellitesTableChecked = s.satellitesTableInRun =
      line.formats[static_cast<int>(TableFormat::kSatellites)] ? 1 : 0;
  if (!FitsBuffer(std::strlen(line.batchList), kPathSize)) {
    RefuseLongPath(line.batchList);
    return kExitInputUnreadable;
  }
  char listName[kPathSize] = {};
  std::strcpy(listName, line.batchList);
  errno = 0;
  const BatchOutcome outcome = RunBatchList(listName, 0, 0);
  if (ConsoleRunInterrupted()) {
    ReportInterruptedRun(runState.inputPath, runState.batchOutputPath, lastLogRows);
    return InterruptedStatus();
  }
  switch (outcome) {
    case kBatchListDone:
    case kBatchListEmpty:
      return kExitSuccess;
    case kBatchClosed:
      std::fprintf(stderr, "%s: interrupted after %s\n", kProgram,
                   QuoteName(runState.inputPath).c_str());
      return InterruptedStatus();
    case kBatchListUnreadable:
      ReportFile("open the list", line.batchList);
      return kExitInputUnreadable;
    case kBatchListNotAFile:
      std::fprintf(stderr,
                   "%s: cannot use %s as the list: a list is a regular file outside /dev, "
                   "for its diagnostics file is written beside it\n",
                   kProgram, QuoteName(line.batchList).c_str());
      return kExitInputUnreadable;
    case kBatchDiagnosticsFailed:
      ReportFile("create the diagnostics file", listName);
      return kExitOutputFailed;
    case kBatchInputMissing:
    case kBatchInputFailed:
      return kExitInputUnreadable;
    case kBatchWouldOverwrite:
    case kBatchOutputFailed:
    case kBatchCloseFailed:
    case kBatchDiagnosticsIncomplete:
      return kExitOutputFailed;
  }
  return kExitOutputFailed;
}

}  // namespace quorval
