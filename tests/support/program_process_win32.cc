// A program of the project started the Windows way: CreateProcess with its
// standard streams handed over as handles, in a folder of its own.
#include <windows.h>

#include "support/program_process.h"

namespace test_support {

namespace {

// One argument as the C runtime's command-line reader gives it back:
// quoted, with backslashes doubled only before a quote.
std::string Quoted(const std::string& argument) {
  std::string quoted = "\"";
  size_t backslashes = 0;
  for (char c : argument) {
    if (c == '\\') {
      ++backslashes;
      continue;
    }
    quoted.append(c == '"' ? 2 * backslashes + 1 : backslashes, '\\');
    backslashes = 0;
    quoted += c;
  }
  quoted.append(2 * backslashes, '\\');
  return quoted + "\"";
}

HANDLE Inheritable(const std::string& path, DWORD access, DWORD creation) {
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  const HANDLE handle =
      CreateFileA(path.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                  &inherit, creation, FILE_ATTRIBUTE_NORMAL, nullptr);
  EXPECT_NE(handle, INVALID_HANDLE_VALUE) << path;
  return handle;
}

// The inherited environment with the spawn's variables replaced or taken out.
std::string Environment(const Spawn& spawn) {
  std::vector<std::string> variables = spawn.environment;
  char* inherited = GetEnvironmentStringsA();
  for (const char* e = inherited; *e != '\0'; e += std::strlen(e) + 1) {
    const std::string variable = e;
    const std::string name = variable.substr(0, variable.find('=', 1) + 1);
    const auto named = [&](const std::string& v) {
      return _strnicmp(v.c_str(), name.c_str(), name.size()) == 0;  // names know no case
    };
    const bool replaced = std::any_of(variables.begin(), variables.end(), named);
    const bool unset = std::any_of(spawn.unset.begin(), spawn.unset.end(),
                                   [&](const std::string& v) { return named(v + "="); });
    if (!replaced && !unset) variables.push_back(variable);
  }
  FreeEnvironmentStringsA(inherited);
  std::string block;
  for (const std::string& v : variables) block += v + '\0';
  return block + '\0';
}

// Standard error is a text stream: every line ends in CR LF, given back as LF.
std::string TextLines(const std::string& text) {
  std::string lines;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
    if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r')) {
      ADD_FAILURE() << "a line feed without its carriage return: " << text;
    }
    lines += text[i];
  }
  return lines;
}

}  // namespace

Result RunProgram(const Spawn& spawn, const TempFolder& folder, const TempFolder& captures) {
  EXPECT_EQ(spawn.signal, 0) << "Windows has no signals to send";
  EXPECT_FALSE(spawn.stderrIsTerminal) << "Windows has no terminal to give";
  const std::string outPath = spawn.stdoutPath.empty() ? captures / "stdout" : spawn.stdoutPath;
  const std::string errPath = captures / "stderr";
  HANDLE input = INVALID_HANDLE_VALUE;
  HANDLE feed = INVALID_HANDLE_VALUE;
  if (!spawn.feed.empty()) {
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    EXPECT_TRUE(CreatePipe(&input, &feed, &inherit, 0));
    SetHandleInformation(feed, HANDLE_FLAG_INHERIT, 0);
  } else {
    input = Inheritable(spawn.stdinPath, GENERIC_READ, OPEN_EXISTING);
    LARGE_INTEGER skip;
    skip.QuadPart = spawn.stdinSkip;
    SetFilePointerEx(input, skip, nullptr, FILE_BEGIN);
  }
  const HANDLE output =
      Inheritable(outPath, GENERIC_WRITE, spawn.appendStdout ? OPEN_ALWAYS : CREATE_ALWAYS);
  if (spawn.appendStdout) SetFilePointerEx(output, LARGE_INTEGER{}, nullptr, FILE_END);
  const HANDLE error = Inheritable(errPath, GENERIC_WRITE, CREATE_ALWAYS);

  std::string command = Quoted(spawn.program);
  for (const std::string& argument : spawn.args) command += " " + Quoted(argument);
  std::string environment = Environment(spawn);
  const std::string workFolder = folder.path().string();
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = input;
  startup.hStdOutput = output;
  startup.hStdError = error;
  PROCESS_INFORMATION process{};
  const bool started =
      CreateProcessA(spawn.program.c_str(), command.data(), nullptr, nullptr, TRUE, 0,
                     environment.data(), workFolder.c_str(), &startup, &process) != 0;
  EXPECT_TRUE(started) << command << ": error " << GetLastError();
  for (HANDLE handle : {input, output, error}) CloseHandle(handle);
  Result result{-1, "", ""};
  if (feed != INVALID_HANDLE_VALUE) {
    DWORD written = 0;
    EXPECT_TRUE(WriteFile(feed, spawn.feed.data(), static_cast<DWORD>(spawn.feed.size()), &written,
                          nullptr));
    if (started) ExpectRowsWhileFed(spawn, folder, outPath);
    CloseHandle(feed);
  }
  if (!started) return result;
  EXPECT_EQ(WaitForSingleObject(process.hProcess, 120000), WAIT_OBJECT_0) << command;
  DWORD status = 0;
  GetExitCodeProcess(process.hProcess, &status);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  result.status = static_cast<int>(status);
  if (spawn.stdoutPath.empty()) result.out = ReadBytes(outPath);
  result.err = TextLines(ReadBytes(errPath));
  return result;
}

}  // namespace test_support
