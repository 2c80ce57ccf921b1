// A scratch folder for one test, removed with everything in it afterwards.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <stdexcept>
#include <string>
#ifdef _WIN32
#include <process.h>
#endif

class TempFolder {
 public:
  TempFolder() {
    // A new name each try, as mkdtemp makes one, on every platform.
    std::random_device seed;
    for (int attempt = 0; attempt < 100; ++attempt) {
      char name[32];
      std::snprintf(name, sizeof name, "quorval-test-%08x", static_cast<unsigned>(seed()));
      path_ = std::filesystem::temp_directory_path() / name;
      if (std::filesystem::create_directory(path_)) return;
    }
    throw std::runtime_error("cannot create a scratch folder");
  }
  ~TempFolder() {
    std::error_code ignored;
    std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ignored);
    std::filesystem::remove_all(path_, ignored);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::filesystem::path& path() const { return path_; }
  std::string operator/(const std::string& name) const { return (path_ / name).string(); }

  // Writes the bytes as they stand and returns the file's path.
  std::string Write(const std::string& name, const std::string& bytes) const {
    const std::string file = *this / name;
    std::ofstream(file, std::ios::binary) << bytes;
    return file;
  }

 private:
  std::filesystem::path path_;
};

// An anonymous scratch stream, gone when closed. Windows' tmpfile() makes
// its file in the root of the drive, where a user may not write, under
// names that other processes use too: there it is a file of the temporary
// folder opened to be deleted on close.
inline FILE* TempStream() {
#ifdef _WIN32
  static unsigned made = 0;
  char name[64];
  std::snprintf(name, sizeof name, "quorval-stream-%d-%u", _getpid(), made++);
  const std::string path = (std::filesystem::temp_directory_path() / name).string();
  return std::fopen(path.c_str(), "w+bD");
#else
  return std::tmpfile();
#endif
}

// How a text file of the platform (the batch's diagnostics, the help) ends
// its lines.
#ifdef _WIN32
inline const std::string kTextLineEnd = "\r\n";
#else
inline const std::string kTextLineEnd = "\n";
#endif

inline std::string ReadBytes(const std::string& file) {
  std::ifstream in(file, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}
