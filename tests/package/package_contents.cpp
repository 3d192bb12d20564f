#include "package_contents.h"

#include <stdlib.h>

#include <memory>

namespace qarvex::testing {

namespace {

std::filesystem::path FindArchive() {
  const char* dist = std::getenv("QARVEX_DIST");
  const std::filesystem::path folder = dist && *dist ? dist : QARVEX_SOURCE_DIR "/dist";
  std::vector<std::filesystem::path> found;
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
    const std::string name = entry.path().filename().string();
    if (name.rfind("qarvex_termemu-", 0) == 0 && entry.path().extension() == ".zip") found.push_back(entry.path());
  }
  if (found.size() != 1) {
    ADD_FAILURE() << "expected one qarvex_termemu-<version>.zip in " << folder << " (scripts/package.sh makes it), found "
                  << found.size();
    return {};
  }
  return found.front();
}

struct Unpacked : UnpackedPackage {
  ~Unpacked() {
    std::error_code ignored;
    if (!folder.empty()) std::filesystem::remove_all(folder, ignored);
  }
};

std::unique_ptr<Unpacked> Unpack() {
  auto package = std::make_unique<Unpacked>();
  package->archive = FindArchive();
  if (package->archive.empty()) return package;
  std::string pattern = (std::filesystem::temp_directory_path() / "qarvex-unpacked-XXXXXX").string();
  if (!::mkdtemp(pattern.data())) {
    ADD_FAILURE() << "no temporary folder";
    return package;
  }
  package->folder = pattern;
  int status = 0;
  RunCommand("unzip -q " + ShellQuoted(package->archive) + " -d " + ShellQuoted(pattern), &status);
  EXPECT_EQ(status, 0) << "unzip failed on " << package->archive;
  const std::string list = RunCommand("unzip -Z1 " + ShellQuoted(package->archive), &status);
  for (size_t from = 0; from < list.size();) {
    const size_t end = list.find('\n', from);
    package->entries.push_back(list.substr(from, end - from));
    from = end == std::string::npos ? list.size() : end + 1;
  }
  package->manifestParse = package->manifest.load_file((package->folder / "MANIFEST.XML").c_str());
  package->infoParse = package->info.load_file((package->folder / "INFO.XML").c_str());
  return package;
}

}  // namespace

const UnpackedPackage& Package() {
  static const std::unique_ptr<Unpacked> package = Unpack();
  return *package;
}

}  // namespace qarvex::testing
