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

std::string PlanOutput(const char* log, TableFormat format, const CommandLine& line) {
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
  if (line.outputDir != nullptr) {
    // The same names, in the folder given instead of the log's.
    std::string inFolder = line.outputDir;
    if (!inFolder.empty() && inFolder.back() != '/' && inFolder.back() != '\\') inFolder += '/';
    inFolder += FileNamePart(base);
    if (!FitsBuffer(inFolder.size(), kPathSize)) return "";
    std::strcpy(base, inFolder.c_str());
  }
  // A name that does not fit is refused when its log's turn comes.
  if (format != TableFormat::kClassic) {
    const std::string name = std::string(base) + TableSuffix(format);
    return FitsBuffer(name.size(), kPathSize) ? name : "";
  }
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

bool SameOutput(const PlannedTable& a, const PlannedTable& b) {
  if (IsStandardStream(a.output.c_str()) && IsStandardStream(b.output.c_str())) return true;
  if (a.written.exists || b.written.exists) return IsSameFile(a.written, b.written);
  return SameNewFile(a.output.c_str(), b.output.c_str());
}

// Writing the output would empty or extend the log: one regular file, or
// one name for a log that an earlier conversion of the command would make.
bool WritesOver(const PlannedTable& writer, const PlannedLog& reader) {
  if (writer.written.exists) return writer.written.regular && IsSameFile(writer.written, reader.read);
  return !reader.read.exists && !IsStandardStream(reader.log) &&
         SameNewFile(writer.output.c_str(), reader.log);
}

// Every table of the command with the log that writes it.
struct TableOfLog {
  const PlannedLog* log;
  const PlannedTable* table;
};

std::vector<TableOfLog> NamedTables(const std::vector<PlannedLog>& plan) {
  std::vector<TableOfLog> tables;
  for (const PlannedLog& log : plan) {
    for (const PlannedTable& table : log.tables) {
      if (!table.output.empty()) tables.push_back({&log, &table});
    }
  }
  return tables;
}

}  // namespace

bool IsStandardStream(const char* name) { return std::strcmp(name, kStandardStream) == 0; }

std::string Named(const char* name, bool output) {
  if (IsStandardStream(name)) return output ? "standard output" : "standard input";
  return QuoteName(name);
}

std::vector<PlannedLog> PlanCommand(const CommandLine& line) {
  std::vector<PlannedLog> plan;
  const TableFormat primary = PrimaryFormatOf(line);
  for (const char* log : line.logs) {
    PlannedLog planned{log, IdentifyNamed(log, false), {}};
    for (int f = 0; f < kTableFormats; ++f) {
      const auto format = static_cast<TableFormat>(f);
      if (!line.formats[f]) continue;
      const std::string output = PlanOutput(log, format, line);
      const PlannedTable table{format, output,
                               output.empty() ? FileIdentity{} : IdentifyNamed(output.c_str(), true)};
      if (format == primary) {
        planned.tables.insert(planned.tables.begin(), table);
      } else {
        planned.tables.push_back(table);
      }
    }
    plan.push_back(planned);
  }
  return plan;
}

int RefuseClashes(const std::vector<PlannedLog>& plan) {
  const std::vector<TableOfLog> tables = NamedTables(plan);
  for (const TableOfLog& table : tables) {
    if (IsStandardStream(table.table->output.c_str()) && table.log->tables.size() > 1) {
      std::fprintf(stderr,
                   "%s: %s would write %zu tables to standard output, which takes one; give one "
                   "--format, or a log in a file; nothing was converted\n",
                   kProgram, Named(table.log->log, false).c_str(), table.log->tables.size());
      return kExitUsage;
    }
  }
  for (size_t i = 0; i < tables.size(); ++i) {
    for (size_t j = i + 1; j < tables.size(); ++j) {
      if (SameOutput(*tables[i].table, *tables[j].table)) {
        std::fprintf(stderr, "%s: %s and %s would both write %s; nothing was converted\n",
                     kProgram, Named(tables[i].log->log, false).c_str(), Named(tables[j].log->log, false).c_str(),
                     Named(tables[i].table->output.c_str(), true).c_str());
        return kExitUsage;
      }
    }
  }
  for (const TableOfLog& written : tables) {
    for (const PlannedLog& read : plan) {
      if (WritesOver(*written.table, read)) {
        std::fprintf(stderr,
                     "%s: cannot write %s: it is the same file as %s, a log it reads; nothing "
                     "was converted\n",
                     kProgram, Named(written.table->output.c_str(), true).c_str(),
                     Named(read.log, false).c_str());
        return kExitOutputFailed;
      }
    }
  }
  return kExitSuccess;
}

int RefuseForeignFiles(const std::vector<PlannedLog>& plan) {
  for (const TableOfLog& planned : NamedTables(plan)) {
    const PlannedTable& table = *planned.table;
    // Standard output, a device or a FIFO holds no file to lose.
    if (IsStandardStream(table.output.c_str()) || !table.written.regular ||
        HoldsOnlyATable(table.output.c_str())) {
      continue;
    }
    std::fprintf(stderr,
                 "%s: refusing to write over %s: it is neither empty nor a table of this "
                 "program (--force writes over it); nothing was converted\n",
                 kProgram, Named(table.output.c_str(), true).c_str());
    return kExitOutputFailed;
  }
  return kExitSuccess;
}

}  // namespace quorval
