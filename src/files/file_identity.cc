#include "files/file_identity.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstring>
#include <string>

#include "files/path_names.h"

#ifdef _WIN32
#include <direct.h>
#include <io.h>
#include <windows.h>
#endif

namespace quorval {

namespace {

#ifdef _WIN32
// Windows numbers no file in stat (st_ino is 0 there): a file is its volume's
// serial number and its index on that volume, read from an open handle. A
// device or a pipe has neither and is told apart from files only.
FileIdentity FromHandle(HANDLE handle) {
  if (handle == INVALID_HANDLE_VALUE || handle == nullptr) return FileIdentity{};
  const DWORD type = GetFileType(handle);
  BY_HANDLE_FILE_INFORMATION information;
  if (type != FILE_TYPE_DISK || !GetFileInformationByHandle(handle, &information)) {
    return FileIdentity{true, false, false, 0, type};
  }
  const bool folder = (information.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
  return FileIdentity{
      true, !folder, folder, information.dwVolumeSerialNumber,
      (static_cast<uint64_t>(information.nFileIndexHigh) << 32) | information.nFileIndexLow};
}
#else
FileIdentity FromStatus(const struct stat& status) {
  return FileIdentity{true, S_ISREG(status.st_mode), S_ISDIR(status.st_mode),
                      static_cast<uint64_t>(status.st_dev), static_cast<uint64_t>(status.st_ino)};
}
#endif

}  // namespace

#ifdef _WIN32
FileIdentity IdentifyPath(const char* path) {
  // Opened for no access at all, which any sharing allows; the backup flag
  // opens a folder too.
  const HANDLE handle =
      CreateFileA(path, 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                  OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return FileIdentity{};
  const FileIdentity identity = FromHandle(handle);
  CloseHandle(handle);
  return identity;
}

FileIdentity IdentifyStream(FILE* stream) {
  const int descriptor = _fileno(stream);
  return descriptor >= 0 ? FromHandle(reinterpret_cast<HANDLE>(_get_osfhandle(descriptor)))
                         : FileIdentity{};
}
#else
FileIdentity IdentifyPath(const char* path) {
  struct stat status;
  return stat(path, &status) == 0 ? FromStatus(status) : FileIdentity{};
}

FileIdentity IdentifyStream(FILE* stream) {
  struct stat status;
  const int descriptor = fileno(stream);
  return descriptor >= 0 && fstat(descriptor, &status) == 0 ? FromStatus(status) : FileIdentity{};
}
#endif

bool IsSameFile(const FileIdentity& a, const FileIdentity& b) {
  return a.exists && b.exists && a.device == b.device && a.file == b.file;
}

bool InDeviceFolder(const char* path) {
  const std::string folder(path, static_cast<size_t>(FileNamePart(path) - path));
  const FileIdentity holder = IdentifyPath(folder.empty() ? "." : folder.c_str());
  return IsSameFile(holder, IdentifyPath("/dev")) || IsSameFile(holder, IdentifyPath("/dev/fd"));
}

int MakeFolder(const char* path) {
#ifdef _WIN32
  return _mkdir(path);
#else
  return mkdir(path, 0777);
#endif
}

}  // namespace quorval
