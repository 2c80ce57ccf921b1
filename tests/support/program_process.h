// A program of the project run as a user runs it: a separate process in a
// scratch folder, its exit status, standard output and standard error
// captured. The one way the tests start a program.
#pragma once

#ifndef _WIN32
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "support/temp_folder.h"

#ifndef _WIN32
extern char** environ;
#endif

namespace test_support {

// Where a program reads nothing from.
#ifdef _WIN32
inline const std::string kNullDevice = "NUL";
#else
inline const std::string kNullDevice = "/dev/null";
#endif

// The lines of a CSV table (each ends in CR LF).
inline int CsvLineCount(const std::string& table) {
  int lines = 0;
  for (size_t at = table.find("\r\n"); at != std::string::npos; at = table.find("\r\n", at + 2)) {
    ++lines;
  }
  return lines;
}

inline bool WaitUntil(const std::function<bool()>& condition) {
  for (int i = 0; i < 1000; ++i) {
    if (condition()) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return false;
}

struct Result {
  int status;  // exit status, or 128 + signal
  std::string out;
  std::string err;
};

#ifdef QUORVAL_CONVERT_PATH
inline constexpr const char kConverter[] = QUORVAL_CONVERT_PATH;
#else
inline constexpr const char kConverter[] = "";
#endif

struct Spawn {
  Spawn(std::vector<std::string> arguments, std::string input = kNullDevice,
        std::string output = "")
      : args(std::move(arguments)), stdinPath(std::move(input)), stdoutPath(std::move(output)) {}
  std::string program = kConverter;  // quorval-convert unless another is named
  std::vector<std::string> args;
  std::string stdinPath;
  std::string stdoutPath;                // empty: captured
  std::vector<std::string> environment;  // NAME=value, replacing the inherited one
  std::vector<std::string> unset;        // NAME: not inherited
  bool stderrIsTerminal = false;
  off_t stdinSkip = 0;        // bytes of stdinPath that someone read before
  bool appendStdout = false;  // stdoutPath opened for appending, as '>>' does
  // Standard input as a pipe the test feeds, kept open until the watched
  // table (a file of the folder, standard output when empty) holds
  // watchedLines lines; then the signal goes (as soon as the program
  // handles it when nothing is fed), or without one the pipe is closed.
  int signal = 0;
  std::string feed;
  std::string watched;
  int watchedLines = 0;

  Spawn& Skip(off_t bytes) { stdinSkip = bytes; return *this; }
  Spawn& Append() { appendStdout = true; return *this; }
  Spawn& Feed(std::string fed, std::string table, int lines) {
    feed = std::move(fed);
    watched = std::move(table);
    watchedLines = lines;
    return *this;
  }
  Spawn& Interrupt(int number, std::string fed = "", std::string table = "", int lines = 0) {
    signal = number;
    return Feed(std::move(fed), std::move(table), lines);
  }
};

// The file the watched table is written into until its run ends: the one
// whose name begins with it ("out.csv.part-1234" for "out.csv").
inline std::string FileBeingWritten(const TempFolder& folder, const std::string& watched) {
  for (const auto& entry : std::filesystem::directory_iterator(folder / "")) {
    const std::string name = entry.path().filename().string();
    if (name.starts_with(watched)) return entry.path().string();
  }
  return folder / watched;
}

// Whether the fed rows reached the watched table while its pipe was open.
inline void ExpectRowsWhileFed(const Spawn& spawn, const TempFolder& folder,
                               const std::string& outPath) {
  std::string table = outPath;
  EXPECT_TRUE(WaitUntil([&] {
    if (!spawn.watched.empty()) table = FileBeingWritten(folder, spawn.watched);
    return CsvLineCount(ReadBytes(table)) >= spawn.watchedLines;
  })) << "the rows did not reach " << table << " while the pipe was open";
}

#ifdef _WIN32
// Runs the program in `folder` as CreateProcess starts it, its standard
// streams files (or the fed pipe); standard error, a text stream there, is
// given back with its lines ended by '\n' alone. No signals, no terminal.
Result RunProgram(const Spawn& spawn, const TempFolder& folder, const TempFolder& captures);
#else
// Whether the process has its own handler for the signal (/proc's SigCgt).
inline bool Handles(pid_t pid, int signal) {
  std::ifstream status("/proc/" + std::to_string(pid) + "/status");
  for (std::string line; std::getline(status, line);) {
    if (line.starts_with("SigCgt:")) return (std::stoull(line.substr(7), nullptr, 16) >> (signal - 1)) & 1;
  }
  return false;
}

// Drains a terminal's master side until the other side is gone.
inline std::string ReadTerminal(int master) {
  std::string text;
  char chunk[4096];
  pollfd wait{master, POLLIN, 0};
  while (poll(&wait, 1, 2000) > 0) {
    const ssize_t n = read(master, chunk, sizeof chunk);
    if (n <= 0) break;
    text.append(chunk, static_cast<size_t>(n));
  }
  return text;
}

// Runs the program in `folder`; what it writes to a captured stream goes
// through files of `captures`.
inline Result RunProgram(const Spawn& spawn, const TempFolder& folder, const TempFolder& captures) {
  const std::string outPath = spawn.stdoutPath.empty() ? captures / "stdout" : spawn.stdoutPath;
  const std::string errPath = captures / "stderr";
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addchdir_np(&actions, folder.path().c_str());
  int feed[2] = {-1, -1};
  int input = -1;
  if (!spawn.feed.empty()) {
    EXPECT_EQ(pipe(feed), 0);
    posix_spawn_file_actions_adddup2(&actions, feed[0], 0);
    posix_spawn_file_actions_addclose(&actions, feed[1]);
  } else {
    input = open(spawn.stdinPath.c_str(), O_RDONLY);
    EXPECT_GE(input, 0) << spawn.stdinPath;
    lseek(input, spawn.stdinSkip, SEEK_SET);
    posix_spawn_file_actions_adddup2(&actions, input, 0);
  }
  posix_spawn_file_actions_addopen(&actions, 1, outPath.c_str(),
                                   O_WRONLY | O_CREAT | (spawn.appendStdout ? O_APPEND : O_TRUNC),
                                   0644);
  int master = -1;
  if (spawn.stderrIsTerminal) {
    master = posix_openpt(O_RDWR | O_NOCTTY);
    EXPECT_GE(master, 0);
    grantpt(master);
    unlockpt(master);
    posix_spawn_file_actions_addopen(&actions, 2, ptsname(master), O_RDWR | O_NOCTTY, 0);
  } else {
    posix_spawn_file_actions_addopen(&actions, 2, errPath.c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0644);
  }

  std::vector<std::string> arguments = {spawn.program};
  arguments.insert(arguments.end(), spawn.args.begin(), spawn.args.end());
  std::vector<char*> argv;
  for (std::string& a : arguments) argv.push_back(a.data());
  argv.push_back(nullptr);

  std::vector<std::string> variables = spawn.environment;
  for (char** e = environ; *e != nullptr; ++e) {
    const std::string inherited = *e;
    const std::string name = inherited.substr(0, inherited.find('=') + 1);
    const bool replaced = std::any_of(variables.begin(), variables.end(),
                                      [&](const std::string& v) { return v.starts_with(name); });
    const bool unset = std::any_of(spawn.unset.begin(), spawn.unset.end(),
                                   [&](const std::string& v) { return v + "=" == name; });
    if (!replaced && !unset) variables.push_back(inherited);
  }
  std::vector<char*> envp;
  for (std::string& v : variables) envp.push_back(v.data());
  envp.push_back(nullptr);

  // The signals a test sends take their default course unless the program handles them.
  posix_spawnattr_t attributes;
  posix_spawnattr_init(&attributes);
  sigset_t defaults;
  sigemptyset(&defaults);
  for (int s : {SIGINT, SIGTERM, SIGHUP}) sigaddset(&defaults, s);
  posix_spawnattr_setsigdefault(&attributes, &defaults);
  posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGDEF);
  pid_t pid = 0;
  const int spawned =
      posix_spawn(&pid, argv[0], &actions, &attributes, argv.data(), envp.data());
  posix_spawn_file_actions_destroy(&actions);
  posix_spawnattr_destroy(&attributes);
  if (input >= 0) close(input);
  if (feed[0] >= 0) close(feed[0]);
  EXPECT_EQ(spawned, 0) << std::strerror(spawned);
  Result result{-1, "", ""};
  if (spawned != 0) return result;
  if (spawn.signal != 0) {
    EXPECT_TRUE(WaitUntil([&] { return Handles(pid, spawn.signal); }));
  }
  if (feed[1] >= 0) {
    EXPECT_EQ(write(feed[1], spawn.feed.data(), spawn.feed.size()),
              static_cast<ssize_t>(spawn.feed.size()));
    ExpectRowsWhileFed(spawn, folder, outPath);
    if (spawn.signal == 0) close(feed[1]);
  }
  if (spawn.signal != 0) kill(pid, spawn.signal);
  if (master >= 0) {
    result.err = ReadTerminal(master);
    close(master);
  }
  int status = 0;
  waitpid(pid, &status, 0);
  if (feed[1] >= 0 && spawn.signal != 0) close(feed[1]);
  result.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  if (spawn.stdoutPath.empty()) result.out = ReadBytes(outPath);
  if (!spawn.stderrIsTerminal) result.err = ReadBytes(errPath);
  return result;
}
#endif

// A scratch folder to run quorval-convert in, and what it left there.
class CommandRunner : public ::testing::Test {
 protected:
  Result Run(const Spawn& spawn) { return RunProgram(spawn, folder, captures); }
  Result Run(std::vector<std::string> args) { return Run(Spawn{std::move(args)}); }

  std::string Read(const std::string& name) const { return ReadBytes(folder / name); }
  bool Exists(const std::string& name) const { return std::filesystem::exists(folder / name); }

  TempFolder folder;
  TempFolder captures;
};

}  // namespace test_support
