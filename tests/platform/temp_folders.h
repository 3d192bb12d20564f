// A temporary folder for one test, with the XDG data folders pointed inside
// it so no test touches the machine's real folders. Removed with everything
// in it when the test ends.
#pragma once

#include <stdlib.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace qarvex::testing {

class TempFolders {
 public:
  TempFolders() {
    char pattern[] = "/tmp/qarvex-test-XXXXXX";
    root_ = ::mkdtemp(pattern);
    machine_ = root_ + "/machine";
    user_ = root_ + "/user";
    ::setenv("XDG_DATA_DIRS", (machine_ + ":/usr/share").c_str(), 1);
    ::setenv("XDG_DATA_HOME", user_.c_str(), 1);
  }
  ~TempFolders() {
    std::error_code ignored;
    std::filesystem::remove_all(root_, ignored);
  }
  TempFolders(const TempFolders&) = delete;
  TempFolders& operator=(const TempFolders&) = delete;

  const std::string& root() const { return root_; }
  // $XDG_DATA_DIRS's first entry and $XDG_DATA_HOME (not created).
  const std::string& machine() const { return machine_; }
  const std::string& user() const { return user_; }

 private:
  std::string root_, machine_, user_;
};

inline std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void WriteFile(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

inline unsigned ModeOf(const std::string& path) {
  struct stat info {};
  ::stat(path.c_str(), &info);
  return info.st_mode & 07777;
}

}  // namespace qarvex::testing
