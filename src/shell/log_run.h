// One log converted from its open streams to its finished table, as every
// run converts it: the single run, each log of a batch and each log of the
// command line.
#pragma once

namespace quorval {

// The single run keeps the dialog on screen, showing how far the log got,
// until its closing question has been answered.
enum class DialogAfterRun { kDestroyed, kKept };

struct LogRunEnd {
  bool cancelled;   // the user (or a request to end the program) cut the conversion short
  bool readFailed;  // the log could not be read to its end
  bool outputLost;  // not all of the table reached its file (the finisher said so)
};

// Names the failure when not all of the table reached its file; returns
// whether all of it did. The finisher of every run but a table written to
// standard output is FinishOutput's.
using OutputFinisher = bool (*)(const char* outputPath);
bool FinishOutputFile(const char* outputPath);

// The log open in inputFile into the table open in outputFile: the progress
// dialog is shown, ConvertLog runs, the dialog is destroyed (or kept), the
// cancel request is cleared, the output is finished and the reporter (if
// one is set) is told, in this order. The input stays open.
LogRunEnd RunLog(const char* outputPath, DialogAfterRun dialog,
                 OutputFinisher finishOutput = FinishOutputFile);

// Told after every log that a run converted, with the log in the run
// state's inputPath and what its conversion met in sentenceCounts: the
// command line's word on each log. None by default.
using LogRunReporter = void (*)(const LogRunEnd& end);
void SetLogRunReporter(LogRunReporter reporter);

}  // namespace quorval
