#include "files/output_files.h"

#include <strings.h>

#include <cerrno>
#include <cstring>

#include "files/extra_tables.h"
#include "files/file_choosers.h"
#include "files/file_identity.h"
#include "files/name_limits.h"
#include "files/path_names.h"
#include "files/staged_output.h"
#include "text/csv_columns.h"
#include "output/csv_writer.h"
#include "state/end_requests.h"
#include "layer/windowing.h"
#include "resources/version.h"
#include "state/run_state.h"

namespace quorval {

namespace {

constexpr size_t kOutputStreamBuffer = 16000;

// Long enough for the fixed text around any path that fits kPathSize.
constexpr size_t kMessageSize = kPathSize + 200;
constexpr size_t kOutputFilterSize = 96;

// A tagged name and a numbered one: any base that fits plus the suffixes.
constexpr size_t kNameWorkSize = kPathSize + 32;

// Where the table open in outputFile is written and where it goes.
StagedOutput writing{};

bool IsEmptyFile(const char* path) {
  FILE* stream = std::fopen(path, "rb");
  if (stream == nullptr) return false;
  const bool empty = std::fgetc(stream) == EOF;
  std::fclose(stream);
  return empty;
}

}  // namespace

bool DeriveOutputName(const char* inputBase, const char* extension, char* outputBase,
                      char* outputPath) {
  char tagged[kNameWorkSize];
  const int taggedLength = std::snprintf(tagged, sizeof tagged, "%s-%s", inputBase, kVersionLabel);
  char base[kNameWorkSize];
  const int baseLength = std::snprintf(base, sizeof base, "%s+%03d", tagged, 0);
  if (taggedLength < 0 || static_cast<size_t>(taggedLength) >= kNameWorkSize || baseLength < 0 ||
      !FitsBuffer(static_cast<size_t>(baseLength) + std::strlen(extension), kPathSize)) {
    return false;
  }
  std::memcpy(outputBase, base, static_cast<size_t>(baseLength) + 1);
  std::memcpy(outputPath, base, static_cast<size_t>(baseLength));
  std::strcpy(outputPath + baseLength, extension);
  return true;
}

int FormOutputName(char* outputPath, const char* extension) {
  RunState& s = runState;
  s.outputFileNumber = 0;
  if (!DeriveOutputName(s.inputBase, extension, s.outputBase, outputPath)) {
    return RefuseLongName(s.inputPath, kPathSize - 1);
  }
  return 0;
}

bool HoldsOnlyATable(const char* path) {
  // The columns before the satellite block are those of every table,
  // whatever its number of slots.
  const char* header = CsvHeaderText();
  size_t length = 0;
  for (const CsvColumn& column : kEpochColumns) length += std::strlen(column.name) + 1;
  FILE* file = std::fopen(path, "rb");
  if (file == nullptr) return false;
  char start[512];
  const size_t read = std::fread(start, 1, sizeof start, file);
  const bool empty = read == 0 && std::feof(file) != 0;
  std::fclose(file);
  return empty || (length <= sizeof start && read >= length && std::memcmp(start, header, length) == 0) ||
         BeginsWithNewTableHeader(start, read);
}

FILE* OpenTableWithRetry(const char* outputPath, StagedOutput& staged) {
  FILE* stream;
  // Binary mode: the writer ends every line in CR LF itself.
  while ((stream = OpenStagedOutput(outputPath, staged)) == nullptr) {
    // Windows refuses a folder in the table's way for want of access. The
    // reason is taken before the look at the folder, which sets errno anew.
    const int failure = errno;
    const int reason = failure == EACCES && IdentifyPath(outputPath).folder ? EISDIR : failure;
    char text[kMessageSize];
    std::snprintf(text, sizeof text,
                  "Output File %s may be open.\nTo continue, close file and press Retry.\n"
                  "To abort, press Cancel",
                  outputPath);
    SetMessageReason(reason, outputPath);
    if (MessageBox(kNoWindow, text, "Failure to open output file",
                   MB_TASKMODAL | MB_ICONWARNING | MB_RETRYCANCEL) != IDRETRY) {
      return nullptr;
    }
  }
  std::setvbuf(stream, nullptr, _IOFBF, kOutputStreamBuffer);
  return stream;
}

int OpenOutputWithRetry(const char* outputPath) {
  RunState& s = runState;
  s.outputWriteFailed = 0;
  TakeCsvWriteError();  // a failure of an earlier table is no concern of this one
  s.outputFile = OpenTableWithRetry(outputPath, writing);
  if (s.outputFile == nullptr) return 1;
  tableBeingWritten = 1;
  return 0;
}

TableFate PlaceTable(const char* outputPath, StagedOutput& staged, int closeFailure, TableEnd end) {
  int reason = closeFailure;
  if (reason != 0) {
    DiscardStagedOutput(staged);
  } else if (staged.staged[0] == '\0') {
    return TableFate::kInPlace;  // a device, or nothing open
  } else if (end == TableEnd::kNotALog ||
             (end == TableEnd::kReadFailed && (staged.existed || IsEmptyFile(staged.staged)))) {
    const bool existed = staged.existed;
    DiscardStagedOutput(staged);
    return existed ? TableFate::kPreviousKept : TableFate::kNotWritten;
  } else if ((reason = PlaceStagedOutput(staged)) == 0) {
    return TableFate::kInPlace;
  }
  SetMessageReason(reason, outputPath);
  MessageBox(kNoWindow, outputPath, "Failure writing output file", MB_TASKMODAL | MB_ICONWARNING);
  return TableFate::kLost;
}

TableFate FinishOutput(const char* outputPath, TableEnd end) {
  const int writeError = TakeCsvWriteError();
  errno = 0;
  const int closeFailure =
      CloseOutputStream() == 0 ? 0 : writeError != 0 ? writeError : errno != 0 ? errno : EIO;
  return PlaceTable(outputPath, writing, closeFailure, end);
}

void AbandonOutput() {
  CloseOutputStream();
  DiscardStagedOutput(writing);
}

namespace {

// Whether the table would be written over the log it is made from (the
// same file by identity: its own name, a link, the log named as output).
bool WouldOverwriteInput(const char* outputPath) {
  return runState.inputFile != nullptr &&
         IsSameFile(IdentifyPath(outputPath), IdentifyStream(runState.inputFile));
}

void RefuseInputAsOutput(const char* outputPath) {
  char text[kMessageSize];
  std::snprintf(text, sizeof text,
                "%s is the log being converted.\nChoose another name for the table.", outputPath);
  SetMessageReason(0, outputPath);
  MessageBox(kNoWindow, text, "Output would overwrite input", MB_TASKMODAL | MB_ICONWARNING);
}

// The run's table and the extra tables chosen for the run beside it. The
// extras' names are checked first, so that a refusal leaves every file as
// it was; a Cancel at any retry prompt leaves none of them open.
int OpenRunTables(const char* outputPath) {
  const char* outputBase = runState.outputBase;
  if (CheckExtraTablesInRun(outputBase) != 0 || OpenOutputWithRetry(outputPath) != 0) return 1;
  if (OpenExtraTablesInRun(outputBase) == 0) return 0;
  AbandonOutput();
  return 1;
}

}  // namespace

int OpenCsvOutput(WindowHandle owner, char* outputPath) {
  RunState& s = runState;
  for (;;) {
    if (FormOutputName(outputPath, kCsvExtension) != 0) return 1;
    char filter[kOutputFilterSize];
    std::snprintf(filter, sizeof filter, "Output Files, (*%s)|*%s|%s", kCsvExtension,
                  kCsvExtension, kAllFilesFilter);
    if (ChooseFile(owner, outputPath, filter, kChooseOutput) != IDYES) return 1;
    // The user's own name counts only when it differs from the proposed one
    // by more than letter case; either way the output gets ".csv".
    char chosenBase[kPathSize];
    char chosenExtension[kPathSize];
    SplitExtension(chosenBase, outputPath, chosenExtension);
    if (strcasecmp(chosenBase, s.outputBase) != 0) {
      if (!FitsBuffer(std::strlen(chosenBase) + std::strlen(kCsvExtension), kPathSize)) {
        return RefuseLongName(outputPath, kPathSize - 1);
      }
      std::strcpy(s.outputBase, chosenBase);
    }
    std::strcpy(outputPath, s.outputBase);
    std::strcat(outputPath, kCsvExtension);
    if (!WouldOverwriteInput(outputPath)) return OpenRunTables(outputPath);
    RefuseInputAsOutput(outputPath);
  }
}

int OpenBatchOutput(char* outputPath) {
  // Outputs left open by an earlier item; a failure to close them is not reported.
  AbandonExtraTables();
  AbandonOutput();
  if (FormOutputName(outputPath, kBatchExtension) != 0) return 1;
  return OpenRunTables(outputPath);
}

int CloseRunFiles() {
  RunState& s = runState;
  if (s.inputFile != nullptr) {
    // A stream whose close failed is gone all the same: it is never closed twice.
    const int closed = std::fclose(s.inputFile);
    s.inputFile = nullptr;
    if (closed != 0) return -1;
  }
  return FinishOutput(s.batchOutputPath) == TableFate::kLost ? -1 : 0;
}

}  // namespace quorval
