#include "files/file_identity.h"

#include <sys/stat.h>

#include <cstring>
#include <string>

#include "files/path_names.h"

namespace quorval {

namespace {

FileIdentity FromStatus(const struct stat& status) {
  return FileIdentity{true, S_ISREG(status.st_mode), S_ISDIR(status.st_mode),
                      static_cast<uint64_t>(status.st_dev), static_cast<uint64_t>(status.st_ino)};
}

}  // namespace

FileIdentity IdentifyPath(const char* path) {
  struct stat status;
  return stat(path, &status) == 0 ? FromStatus(status) : FileIdentity{};
}

FileIdentity IdentifyStream(FILE* stream) {
  struct stat status;
  const int descriptor = fileno(stream);
  return descriptor >= 0 && fstat(descriptor, &status) == 0 ? FromStatus(status) : FileIdentity{};
}

bool IsSameFile(const FileIdentity& a, const FileIdentity& b) {
  return a.exists && b.exists && a.device == b.device && a.file == b.file;
}

bool InDeviceFolder(const char* path) {
  const std::string folder(path, static_cast<size_t>(FileNamePart(path) - path));
  const FileIdentity holder = IdentifyPath(folder.empty() ? "." : folder.c_str());
  return IsSameFile(holder, IdentifyPath("/dev")) || IsSameFile(holder, IdentifyPath("/dev/fd"));
}

}  // namespace quorval
