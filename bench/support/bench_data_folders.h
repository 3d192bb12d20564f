// A private data folder for one benchmark: the component's machine-wide and
// user data folders (XDG_DATA_DIRS, XDG_DATA_HOME) point into a fresh
// temporary folder, removed with everything in it at the end. Declared
// before whatever loads the component, so it outlives it.
#pragma once

#include <stdlib.h>

#include <filesystem>
#include <stdexcept>
#include <string>
#include <system_error>

namespace qarvex::bench {

class BenchDataFolders {
 public:
  BenchDataFolders() {
    std::string pattern = (std::filesystem::temp_directory_path() / "qarvex-bench-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("cannot make a temporary folder");
    root_ = pattern;
    std::filesystem::create_directories(root_ / "machine");
    ::setenv("XDG_DATA_DIRS", (root_ / "machine").c_str(), 1);
    ::setenv("XDG_DATA_HOME", (root_ / "user").c_str(), 1);
  }
  ~BenchDataFolders() {
    std::error_code ignored;
    std::filesystem::remove_all(root_, ignored);
  }
  BenchDataFolders(const BenchDataFolders&) = delete;
  BenchDataFolders& operator=(const BenchDataFolders&) = delete;

  const std::filesystem::path& Root() const { return root_; }

 private:
  std::filesystem::path root_;
};

}  // namespace qarvex::bench
