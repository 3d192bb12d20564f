#include <gtest/gtest.h>

#include <dlfcn.h>
#include <stdlib.h>

#include <cstdlib>
#include <filesystem>

#include "platform/module_info.h"
#include "qarvex_version.h"
#include "temp_folders.h"

namespace qarvex::platform {
namespace {

using testing::ReadFile;
using testing::TempFolders;
using testing::WriteFile;

const FileVersion kBuilt{QARVEX_VERSION_MAJOR, QARVEX_VERSION_MINOR, QARVEX_VERSION_RELEASE, QARVEX_VERSION_BUILD};

std::string Text(const FileVersion& v) { return ToUtf8(FileVersionText(v)); }

std::string Resolved(const char* path) {
  char* r = ::realpath(path, nullptr);
  std::string s = r ? r : "";
  ::free(r);
  return s;
}

TEST(ModuleInfo, TheProgramIsItsOwnModuleAndCarriesTheBuiltVersion) {
  EXPECT_EQ(ToUtf8(ModuleFileName()), Resolved("/proc/self/exe"));
  EXPECT_EQ(Text(ReadFileVersion()), "1.0.6.15");
  EXPECT_EQ(Text(ReadFileVersion(ModuleFileName())), Text(kBuilt));
}

TEST(ModuleInfo, ALibraryNamesItselfNotTheProgramAndCarriesTheVersion) {
  void* library = ::dlopen(QARVEX_PROBE_LIBRARY, RTLD_NOW | RTLD_LOCAL);
  ASSERT_NE(library, nullptr) << ::dlerror();
  auto probe = reinterpret_cast<void (*)(char*, unsigned)>(::dlsym(library, "ProbeModuleFileName"));
  ASSERT_NE(probe, nullptr);
  char path[4096];
  probe(path, sizeof path);
  EXPECT_EQ(std::string(path), Resolved(QARVEX_PROBE_LIBRARY));
  EXPECT_EQ(Text(ReadFileVersion(FromUtf8(path))), "1.0.6.15");
  ::dlclose(library);
}

TEST(ModuleInfo, TheComponentLibraryCarriesTheVersion) {
  if (!std::filesystem::exists(QARVEX_COMPONENT_LIBRARY)) GTEST_SKIP() << "component library not built";
  EXPECT_EQ(Text(ReadFileVersion(FromUtf8(QARVEX_COMPONENT_LIBRARY))), "1.0.6.15");
}

TEST(ModuleInfo, FilesWithoutAWellFormedStampGiveZeros) {
  TempFolders t;
  EXPECT_EQ(Text(ReadFileVersion(u"/proc/self/status")), "0.0.0.0");
  EXPECT_EQ(Text(ReadFileVersion(FromUtf8(t.root() + "/missing.so"))), "0.0.0.0");

  // The stamp cut out of a built module is found anywhere in a file; cut
  // short, or with its check word damaged, it is ignored. The stamp is the
  // 16-byte key, the four numbers and the check word.
  const std::string module = ReadFile(QARVEX_PROBE_LIBRARY);
  const std::string numbers(reinterpret_cast<const char*>(&kBuilt), sizeof kBuilt);
  std::string stamp;
  for (size_t at = module.find(numbers, 16); at != std::string::npos && stamp.empty();
       at = module.find(numbers, at + 1)) {
    const std::string candidate = module.substr(at - 16, 26);
    WriteFile(t.root() + "/candidate", "junk before" + candidate + "junk after");
    if (Text(ReadFileVersion(FromUtf8(t.root() + "/candidate"))) == "1.0.6.15") stamp = candidate;
  }
  ASSERT_EQ(stamp.size(), 26u) << "no stamp in the built library";

  WriteFile(t.root() + "/short", "junk" + stamp.substr(0, 25));
  EXPECT_EQ(Text(ReadFileVersion(FromUtf8(t.root() + "/short"))), "0.0.0.0");
  std::string damaged = stamp;
  damaged[24] = static_cast<char>(damaged[24] ^ 0x40);
  WriteFile(t.root() + "/damaged", damaged);
  EXPECT_EQ(Text(ReadFileVersion(FromUtf8(t.root() + "/damaged"))), "0.0.0.0");
}

// A module is asked for its stamp section alone: stripping keeps it, a
// damaged stamp there gives zeros, and the same bytes outside that section
// do not count.
TEST(ModuleInfo, AnElfModuleIsReadFromItsStampSection) {
  TempFolders t;
  const std::string stripped = t.root() + "/stripped.so", renamed = t.root() + "/renamed.so";
  std::filesystem::create_directories(t.root());
  ASSERT_EQ(std::system(("strip -o " + stripped + " " + QARVEX_PROBE_LIBRARY).c_str()), 0);
  EXPECT_EQ(Text(ReadFileVersion(FromUtf8(stripped))), "1.0.6.15");
  ASSERT_EQ(std::system(("objcopy --rename-section qarvex_version_stamp=elsewhere " + std::string(QARVEX_PROBE_LIBRARY) +
                         " " + renamed).c_str()),
            0);
  EXPECT_NE(ReadFile(renamed).find(std::string(reinterpret_cast<const char*>(&kBuilt), sizeof kBuilt)),
            std::string::npos) << "the stamp's bytes are still in the file";
  EXPECT_EQ(Text(ReadFileVersion(FromUtf8(renamed))), "0.0.0.0");

  std::string module = ReadFile(stripped);
  const size_t at = module.find(std::string(reinterpret_cast<const char*>(&kBuilt), sizeof kBuilt));
  ASSERT_NE(at, std::string::npos);
  module[at + 8] = static_cast<char>(module[at + 8] ^ 0x40);  // the check word
  WriteFile(t.root() + "/damaged.so", module);
  EXPECT_EQ(Text(ReadFileVersion(FromUtf8(t.root() + "/damaged.so"))), "0.0.0.0");

  // A header promising more sections than any module has is not believed.
  std::string huge = ReadFile(stripped);
  const size_t sectionCount = huge[4] == 2 ? 60 : 48;  // e_shnum of a 64-bit or a 32-bit file
  huge[sectionCount] = huge[sectionCount + 1] = '\xFF';
  WriteFile(t.root() + "/huge.so", huge);
  EXPECT_EQ(Text(ReadFileVersion(FromUtf8(t.root() + "/huge.so"))), "1.0.6.15") << "searched through instead";
}

}  // namespace
}  // namespace qarvex::platform
