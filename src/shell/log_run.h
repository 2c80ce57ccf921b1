// One log converted from its open streams to its finished table, as every
// run converts it: the single run, each log of a batch and each log of the
// command line.
#pragma once

#include "convert/sentence_counts.h"
#include "files/output_files.h"

namespace quorval {

// The single run keeps the dialog on screen, showing how far the log got,
// until its closing question has been answered.
enum class DialogAfterRun { kDestroyed, kKept };

struct LogRunEnd {
  bool cancelled;           // the user (or a request to end the program) cut the conversion short
  int readError;            // the log could not be read to its end: why (an errno value), else 0
  const char* damage;       // why a compressed log's text ended early (readError is EIO), else nullptr
  const char* unreadCompression;  // the compressor of a log this build does not read ("xz"), else nullptr
  TableFate table;          // what became of the table
  bool extraTablesLost;     // a table written beside it did not reach its file completely
  // What the conversion met in the log and the rows it wrote: the run's own
  // counts, kept until the next log is run.
  const SentenceCounts* counts;

  bool Failed() const { return readError != 0 || unreadCompression != nullptr; }
  bool OutputLost() const { return table == TableFate::kLost || extraTablesLost; }
};

// Finishes the table as the run ended and names a failure to write it. The
// finisher of every run but a table written to standard output is
// FinishOutput.
using OutputFinisher = TableFate (*)(const char* outputPath, TableEnd end);

// The word on a log that could not be read to its end, for a box or a line:
// its reason ("Input/output error", "the gzip data is damaged (truncated)",
// "an xz-compressed file, not a text log").
const char* ReadFailureReason(const LogRunEnd& end);

// The desktop's box on a log that could not be read to its end: it names
// the log, the reason and what the table holds, under the program's title.
void ShowReadFailure(const LogRunEnd& end, const char* logPath, const char* outputPath);

// The log open in inputFile into the table open in outputFile (of the
// primary format) and the extra tables open beside it: the progress
// dialog is shown, ConvertLog runs, the dialog is destroyed (or kept), the
// cancel request is cleared, the outputs are finished and the reporter (if
// one is set) is told, in this order. The input stays open.
LogRunEnd RunLog(const char* outputPath, DialogAfterRun dialog,
                 OutputFinisher finishOutput = FinishOutput);

// Told after every log that a run converted, with the log in the run
// state's inputPath and what its conversion met in end.counts: the command
// line's word on each log. None by default.
using LogRunReporter = void (*)(const LogRunEnd& end);
void SetLogRunReporter(LogRunReporter reporter);

// Whether the conversions of the runs to come also count every sentence by
// its address and checksum (--stats); off at program start.
void SetDetailedCounts(bool detailed);

}  // namespace quorval
