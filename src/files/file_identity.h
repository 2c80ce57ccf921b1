// Whether two names, or a name and an open stream, are one file. The one
// place that knows how the system tells files apart (device and file number
// here; a volume serial and file index on Windows).
#pragma once

#include <cstdint>
#include <cstdio>

namespace quorval {

struct FileIdentity {
  bool exists;
  bool regular;  // a plain file, which writing would empty or extend
  bool folder;
  uint64_t device;
  uint64_t file;
};

// What the name leads to, links followed; exists is false when nothing does.
FileIdentity IdentifyPath(const char* path);
// What an open stream reads or writes (standard input or output too).
FileIdentity IdentifyStream(FILE* stream);

// Makes a folder (its parent must exist); 0, or -1 with errno set.
int MakeFolder(const char* path);

// Both exist and are one file.
bool IsSameFile(const FileIdentity& a, const FileIdentity& b);

// Whether the name stands in the system's folder of devices ('/dev/stdin',
// '/dev/fd/3', '/proc/self/fd/0'), where no table or diagnostics file may
// be created beside it.
bool InDeviceFolder(const char* path);

}  // namespace quorval
