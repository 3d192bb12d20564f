// scripts/package.sh on the binaries already built: the same sources give
// the same bytes, and a binary that cannot go into the package stops it
// with a message saying which, leaving nothing in the dist folder.
#include <algorithm>
#include <fstream>
#include <iterator>

#include "package_contents.h"

namespace qarvex::testing {
namespace {

namespace fs = std::filesystem;

std::string ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

class Packaging : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "qarvex-packaging-XXXXXX").string();
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    scratch_ = pattern;
  }
  void TearDown() override {
    std::error_code ignored;
    fs::remove_all(scratch_, ignored);
  }

  // package.sh --no-build into a fresh dist folder; its output and status.
  std::string Run(const std::string& dist, const std::string& environment, int* status) {
    return RunCommand(environment + " " QARVEX_SOURCE_DIR "/scripts/package.sh --no-build --dist " +
                          ShellQuoted(dist) + " 2>&1",
                      status);
  }
  std::vector<std::string> Listing(const fs::path& folder) {
    std::vector<std::string> names;
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(folder, error)) names.push_back(entry.path().filename().string());
    return names;
  }
  // The failing run's message, checked to leave the dist folder empty.
  std::string Refusal(const std::string& environment) {
    const fs::path dist = scratch_ / "refused";
    int status = 0;
    const std::string output = Run(dist, environment, &status);
    EXPECT_NE(status, 0) << output;
    EXPECT_EQ(Listing(dist), std::vector<std::string>{}) << "left behind in dist";
    return output;
  }
  fs::path scratch_;
};

TEST_F(Packaging, TheSameBinariesGiveAByteIdenticalArchiveWhateverTheUmaskAndTheClock) {
  int status = 0;
  const std::string first = Run(scratch_ / "a", "umask 077;", &status);
  ASSERT_EQ(status, 0) << first;
  ::sleep(1);  // a later clock must not show in the archive
  const std::string second = Run(scratch_ / "b", "umask 002; TZ=Asia/Vladivostok", &status);
  ASSERT_EQ(status, 0) << second;
  auto a = Listing(scratch_ / "a"), b = Listing(scratch_ / "b");
  std::sort(a.begin(), a.end());
  std::sort(b.begin(), b.end());
  // The add-in package and the command-line tool's three downloads.
  ASSERT_EQ(a.size(), 4u);
  ASSERT_EQ(a, b);
  const fs::path dist = Package().archive.parent_path();
  for (const auto& name : a) {
    EXPECT_TRUE(ReadFile(scratch_ / "a" / name) == ReadFile(scratch_ / "b" / name)) << "the two " << name << " differ";
    EXPECT_TRUE(ReadFile(scratch_ / "a" / name) == ReadFile(dist / name))
        << "the dist " << name << " is not what these binaries give";
  }
  for (const auto& name : a) {
    const std::string unpack = name.ends_with(".tar.gz") ? "tar -xOzf " : "unzip -p ";
    const std::string contents = RunCommand(unpack + ShellQuoted((scratch_ / "a" / name).string()));
    EXPECT_FALSE(contents.empty()) << name;
    EXPECT_EQ(contents.find(QARVEX_SOURCE_DIR), std::string::npos) << "a build path inside " << name;
  }
}

TEST_F(Packaging, AMissingBinaryIsNamed) {
  const std::string output = Refusal("QARVEX_PACKAGE_WIN32=/nonexistent/qarvex_termemu.dll");
  EXPECT_NE(output.find("missing binary for --windows-i386: /nonexistent/qarvex_termemu.dll"), std::string::npos)
      << output;
}

TEST_F(Packaging, ABinaryOfTheWrongArchitectureIsNamed) {
  const std::string output =
      Refusal("QARVEX_PACKAGE_WIN32=" QARVEX_SOURCE_DIR "/build/win64/qarvex_termemu.dll");
  EXPECT_NE(output.find("wrong binary for --windows-i386"), std::string::npos) << output;
  EXPECT_NE(output.find("is PE32+ x86-64 DLL, the package needs a PE32 i386 DLL"), std::string::npos) << output;

  const std::string program = Refusal("QARVEX_PACKAGE_LINUX=/bin/true");
  EXPECT_NE(program.find("wrong binary for --linux-x86_64"), std::string::npos) << program;

  // Each Linux library is checked for its word size and processor too.
  const std::string swapped = Refusal("QARVEX_PACKAGE_LINUX_ARM64=" QARVEX_SOURCE_DIR "/build/linux-portable/qarvex_termemu.so");
  EXPECT_NE(swapped.find("wrong binary for --linux-arm64"), std::string::npos) << swapped;
  EXPECT_NE(swapped.find("is ELF x86-64 shared object, the package needs a ELF AArch64 shared object"),
            std::string::npos) << swapped;
  const std::string wide = Refusal("QARVEX_PACKAGE_LINUX_I386=" QARVEX_SOURCE_DIR "/build/linux-arm64/qarvex_termemu.so");
  EXPECT_NE(wide.find("is ELF AArch64 shared object, the package needs a ELF i386 shared object"), std::string::npos)
      << wide;
}

// A copy of the x86 DLL whose version block says 1 more in its build number.
TEST_F(Packaging, ModulesWhoseVersionsDifferAreNamedWithTheirVersions) {
  std::string dll = ReadFile(QARVEX_SOURCE_DIR "/build/win32/qarvex_termemu.dll");
  const size_t block = dll.find(std::string("\xBD\x04\xEF\xFE", 4));
  ASSERT_NE(block, std::string::npos) << "no version block in the x86 DLL";
  ++dll[block + 12];  // the low word of the file version's second half: the build number
  const fs::path other = scratch_ / "other.dll";
  std::ofstream(other, std::ios::binary) << dll;

  const std::string version = Package().info.child("drivers").child("component").attribute("version").value();
  const size_t lastDot = version.rfind('.');
  ASSERT_NE(lastDot, std::string::npos) << version;
  const std::string bumped = version.substr(0, lastDot + 1) + std::to_string(std::stoi(version.substr(lastDot + 1)) + 1);

  const std::string output = Refusal("QARVEX_PACKAGE_WIN32=" + ShellQuoted(other.string()));
  EXPECT_NE(output.find("the modules' versions differ"), std::string::npos) << output;
  EXPECT_NE(output.find(other.string() + " " + bumped), std::string::npos) << output;
  EXPECT_NE(output.find(" " + version), std::string::npos) << output;
}

}  // namespace
}  // namespace qarvex::testing
