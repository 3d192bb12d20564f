// qarvex_package: checks the five component binaries and lays out the
// add-in package's contents in a staging folder; scripts/package.sh then
// zips that folder into dist/.
//
//   qarvex_package --stage DIR --windows-i386 DLL --windows-x86_64 DLL
//                  --linux-x86_64 SO --linux-i386 SO --linux-arm64 SO
//
// Every binary must exist, be of the kind its target needs (format, word
// size and processor) and carry a version block, and all five versions must
// agree: that version is the package's. The Linux x86_64 library, the one
// this machine can load, is then asked for its class, driver name,
// equipment type and version (see component_facts.h). On success the staging
// folder holds the binaries, stripped, under their archive names, MANIFEST.XML and
// INFO.XML, and the version is printed on standard output. On failure the
// message says which binary is wrong and why, and the exit status is 1
// (2 for a usage error); the staging folder is then the caller's to remove.
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <exception>
#include <filesystem>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

#include "tools/package/component_facts.h"
#include "tools/package/module_file.h"
#include "tools/package/package_description.h"

namespace fs = std::filesystem;
using namespace qarvex::package;

namespace {

// One target of the package, in archive order.
struct Target {
  const char* option;       // command-line option naming its binary
  ModuleKind kind;          // what the binary must be
  ManifestEntry manifest;   // how MANIFEST.XML lists it
  const char* strip;        // binutils' strip for its format
};

const std::vector<Target>& Targets() {
  static const std::vector<Target> targets = {
      {"--windows-i386", ModuleKind::Pe32I386Dll, {"Windows", "i386", "qarvex_termemu_windows_i386.dll"},
       "i686-w64-mingw32-strip"},
      {"--windows-x86_64", ModuleKind::Pe32PlusX86_64Dll, {"Windows", "x86_64", "qarvex_termemu_windows_x86_64.dll"},
       "x86_64-w64-mingw32-strip"},
      {"--linux-x86_64", ModuleKind::ElfX86_64SharedObject, {"Linux", "x86_64", "qarvex_termemu_linux_x86_64.so"},
       "strip"},
      {"--linux-i386", ModuleKind::ElfI386SharedObject, {"Linux", "i386", "qarvex_termemu_linux_i386.so"},
       "i686-linux-gnu-strip"},
      {"--linux-arm64", ModuleKind::ElfAarch64SharedObject, {"Linux", "ARM64", "qarvex_termemu_linux_arm64.so"},
       "aarch64-linux-gnu-strip"},
  };
  return targets;
}

struct UsageError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

std::map<std::string, fs::path> ParseArguments(int argc, char** argv) {
  std::map<std::string, fs::path> given;
  for (int i = 1; i < argc; ++i) {
    const std::string option = argv[i];
    bool known = option == "--stage";
    for (const auto& target : Targets()) known = known || option == target.option;
    if (!known) throw UsageError("unknown option " + option);
    if (i + 1 == argc) throw UsageError(option + " needs a path");
    given[option] = argv[++i];
  }
  if (!given.count("--stage")) throw UsageError("--stage DIR is missing");
  for (const auto& target : Targets())
    if (!given.count(target.option)) throw UsageError(std::string(target.option) + " is missing");
  return given;
}

// The binary's version; throws with the reason when the binary cannot go in.
ModuleVersion CheckBinary(const Target& target, const fs::path& path) {
  if (!fs::is_regular_file(path))
    throw std::runtime_error(std::string("missing binary for ") + target.option + ": " + path.string());
  const ModuleFile module = ReadModuleFile(path);
  if (module.kind != target.kind)
    throw std::runtime_error(std::string("wrong binary for ") + target.option + ": " + path.string() + " is " +
                             (module.kindDetail.empty() ? KindName(module.kind) : module.kindDetail) +
                             ", the package needs a " + KindName(target.kind));
  if (!module.version)
    throw std::runtime_error(std::string("no version block in ") + path.string());
  return *module.version;
}

// Removes the symbol tables and debug information from a staged copy: they
// carry the build's paths and are of no use to the platform.
void Strip(const Target& target, const fs::path& file) {
  const std::string path = file.string();
  char* const argv[] = {const_cast<char*>(target.strip), const_cast<char*>("--strip-all"), const_cast<char*>(path.c_str()),
                        nullptr};
  pid_t child = 0;
  int status = 0;
  if (::posix_spawnp(&child, target.strip, nullptr, nullptr, argv, environ) != 0 ||
      ::waitpid(child, &status, 0) != child || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
    throw std::runtime_error(std::string(target.strip) + " failed on " + path);
}

void Stage(const std::map<std::string, fs::path>& given) {
  std::vector<ModuleVersion> versions;
  for (const auto& target : Targets()) versions.push_back(CheckBinary(target, given.at(target.option)));
  for (size_t i = 1; i < versions.size(); ++i) {
    if (versions[i] == versions[0]) continue;
    std::string list;
    for (size_t j = 0; j < versions.size(); ++j)
      list += std::string(j ? ", " : "") + given.at(Targets()[j].option).string() + " " + VersionText(versions[j]);
    throw std::runtime_error("the modules' versions differ: " + list);
  }
  const std::string version = VersionText(versions[0]);

  const fs::path stage = given.at("--stage");
  fs::create_directories(stage);
  std::vector<ManifestEntry> manifest;
  for (const auto& target : Targets()) {
    const fs::path copy = stage / target.manifest.path;
    fs::copy_file(given.at(target.option), copy, fs::copy_options::overwrite_existing);
    ::chmod(copy.c_str(), 0644);  // the archive records modes: the same whatever the umask
    Strip(target, copy);
    if (CheckBinary(target, copy) != versions[0])
      throw std::runtime_error("stripping changed the version block of " + copy.string());
    manifest.push_back(target.manifest);
  }

  // What goes into the archive is what is asked.
  const ComponentFacts facts = AskComponent(stage / "qarvex_termemu_linux_x86_64.so");
  if (facts.version != version)
    throw std::runtime_error("the Linux library answers version " + facts.version + " but its file carries " + version);
  WriteManifest(stage / "MANIFEST.XML", manifest);
  WriteDriverInfo(stage / "INFO.XML",
                  {"AddIn." + facts.classNames.front(), facts.equipmentType, facts.driverName, version});
  std::printf("%s\n", version.c_str());
}

}  // namespace

int main(int argc, char** argv) {
  try {
    Stage(ParseArguments(argc, argv));
    return 0;
  } catch (const UsageError& e) {
    std::fprintf(stderr, "qarvex_package: %s\nusage: qarvex_package --stage DIR --windows-i386 DLL "
                         "--windows-x86_64 DLL --linux-x86_64 SO --linux-i386 SO --linux-arm64 SO\n", e.what());
    return 2;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "qarvex_package: %s\n", e.what());
    return 1;
  }
}
