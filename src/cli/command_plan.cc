#include "cli/command_plan.h"

#include <cstdio>
#include <cstring>

#include "files/file_identity.h"
#include "files/name_limits.h"
#include "files/output_files.h"
#include "files/path_names.h"
#include "backends/console/terminal_text.h"
#include "state/run_state.h"

namespace quorval {

namespace {

std::string PlanOutput(const char* log, const CommandLine& line) {
  if (line.outputName != nullptr) return line.outputName;
  if (IsStandardStream(log)) return kStandardStream;
  if (!FitsBuffer(std::strlen(log), kPathSize)) return "";
  const FileIdentity input = IdentifyPath(log);
  if (!input.exists || input.folder) return "";
  // A pipe, a FIFO or a device has no folder of its own for the table, and
  // nothing is created among the devices ('/dev/stdin').
  if (!input.regular || InDeviceFolder(log)) return kStandardStream;
  char base[kPathSize];
  char extension[kPathSize];
  char outputBase[kPathSize];
  char output[kPathSize];
  SplitExtension(base, log, extension);
  // A name that does not fit is refused when its log's turn comes.
  return DeriveOutputName(base, kCsvExtension, outputBase, output) ? output : "";
}

FileIdentity IdentifyNamed(const char* name, bool output) {
  if (!IsStandardStream(name)) return IdentifyPath(name);
  return IdentifyStream(output ? stdout : stdin);
}

// Two names of files yet to be created that would be one: the same text,
// or the same name in the same folder ('./a.csv' and 'a.csv').
bool SameNewFile(const char* a, const char* b) {
  if (std::strcmp(a, b) == 0) return true;
  if (std::strcmp(FileNamePart(a), FileNamePart(b)) != 0) return false;
  const std::string folderA(a, static_cast<size_t>(FileNamePart(a) - a));
  const std::string folderB(b, static_cast<size_t>(FileNamePart(b) - b));
  return IsSameFile(IdentifyPath(folderA.empty() ? "." : folderA.c_str()),
                    IdentifyPath(folderB.empty() ? "." : folderB.c_str()));
}

bool SameOutput(const PlannedLog& a, const PlannedLog& b) {
  if (IsStandardStream(a.output.c_str()) && IsStandardStream(b.output.c_str())) return true;
  if (a.written.exists || b.written.exists) return IsSameFile(a.written, b.written);
  return SameNewFile(a.output.c_str(), b.output.c_str());
}

// Writing the output would empty or extend the log: one regular file, or
// one name for a log that an earlier conversion of the command would make.
bool WritesOver(const PlannedLog& writer, const PlannedLog& reader) {
  if (writer.written.exists) return writer.written.regular && IsSameFile(writer.written, reader.read);
  return !reader.read.exists && !IsStandardStream(reader.log) &&
         SameNewFile(writer.output.c_str(), reader.log);
}

}  // namespace

bool IsStandardStream(const char* name) { return std::strcmp(name, kStandardStream) == 0; }

std::string Named(const char* name, bool output) {
  if (IsStandardStream(name)) return output ? "standard output" : "standard input";
  return QuoteName(name);
}

std::vector<PlannedLog> PlanCommand(const CommandLine& line) {
  std::vector<PlannedLog> plan;
  for (const char* log : line.logs) {
    const std::string output = PlanOutput(log, line);
    plan.push_back({log, output, IdentifyNamed(log, false),
                    output.empty() ? FileIdentity{} : IdentifyNamed(output.c_str(), true)});
  }
  return plan;
}

int RefuseClashes(const std::vector<PlannedLog>& plan) {
  for (size_t i = 0; i < plan.size(); ++i) {
    for (size_t j = i + 1; j < plan.size(); ++j) {
      if (plan[i].output.empty() || plan[j].output.empty()) continue;
      if (SameOutput(plan[i], plan[j])) {
        std::fprintf(stderr, "%s: %s and %s would both write %s; nothing was converted\n",
                     kProgram, Named(plan[i].log, false).c_str(), Named(plan[j].log, false).c_str(),
                     Named(plan[i].output.c_str(), true).c_str());
        return kExitUsage;
      }
    }
  }
  for (const PlannedLog& written : plan) {
    if (written.output.empty()) continue;
    for (const PlannedLog& read : plan) {
      if (WritesOver(written, read)) {
        std::fprintf(stderr,
                     "%s: cannot write %s: it is the same file as %s, a log it reads; nothing "
                     "was converted\n",
                     kProgram, Named(written.output.c_str(), true).c_str(),
                     Named(read.log, false).c_str());
        return kExitOutputFailed;
      }
    }
  }
  return kExitSuccess;
}

int RefuseForeignFiles(const std::vector<PlannedLog>& plan) {
  for (const PlannedLog& planned : plan) {
    // Standard output, a device or a FIFO holds no file to lose.
    if (planned.output.empty() || IsStandardStream(planned.output.c_str()) ||
        !planned.written.regular || HoldsOnlyATable(planned.output.c_str())) {
      continue;
    }
    std::fprintf(stderr,
                 "%s: refusing to write over %s: it is neither empty nor a table of this "
                 "program (--force writes over it); nothing was converted\n",
                 kProgram, Named(planned.output.c_str(), true).c_str());
    return kExitOutputFailed;
  }
  return kExitSuccess;
}

}  // namespace quorval
