// The add-in package read the way its hosts read it: the platform takes
// MANIFEST.XML to pick a binary, the equipment library takes INFO.XML to list
// the driver, and each binary named there must be what the manifest says and
// must load, connect, pay and settle.
#include <fstream>
#include <set>
#include <string>

#include "e2e_terminal/terminal_fixture.h"
#include "package_contents.h"

namespace qarvex::testing {
namespace {

constexpr char kBundleNamespace[] = "http://v8.1c.ru/8.2/addin/bundle";

std::string Lower(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

bool Contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

pugi::xml_node InfoComponent() { return Package().info.child("drivers").child("component"); }

std::filesystem::path Binary(const std::string& os, const std::string& arch) {
  for (auto c : Package().manifest.child("bundle").children("component"))
    if (Lower(c.attribute("os").value()) == Lower(os) && Lower(c.attribute("arch").value()) == Lower(arch))
      return Package().folder / c.attribute("path").value();
  return {};
}

TEST(Package, HoldsTheManifestTheDriverInfoAndFiveBinariesUnderDistinctNames) {
  const auto& entries = Package().entries;
  ASSERT_EQ(entries.size(), 7u);
  EXPECT_EQ(entries[0], "MANIFEST.XML");
  EXPECT_EQ(entries[1], "INFO.XML");
  EXPECT_EQ(std::set<std::string>(entries.begin(), entries.end()).size(), 7u);
  for (const auto& name : entries) EXPECT_EQ(name.find('/'), std::string::npos) << name << " is not at the root";
}

TEST(Package, ManifestIsABundleInThePlatformsNamespaceWithOneNativeComponentPerTarget) {
  ASSERT_TRUE(Package().manifestParse) << Package().manifestParse.description();
  const auto bundle = Package().manifest.document_element();
  EXPECT_STREQ(bundle.name(), "bundle");
  EXPECT_STREQ(bundle.attribute("xmlns").value(), kBundleNamespace);
  std::set<std::string> targets;
  for (auto c : bundle.children()) {
    EXPECT_STREQ(c.name(), "component");
    for (const char* required : {"os", "arch", "type", "path"})
      EXPECT_FALSE(c.attribute(required).empty()) << "component without " << required;
    EXPECT_EQ(Lower(c.attribute("type").value()), "native");
    const std::string path = c.attribute("path").value();
    EXPECT_TRUE(std::filesystem::is_regular_file(Package().folder / path)) << path << " is not in the archive";
    targets.insert(Lower(c.attribute("os").value()) + "/" + Lower(c.attribute("arch").value()));
  }
  EXPECT_EQ(targets, (std::set<std::string>{"windows/i386", "windows/x86_64", "linux/x86_64", "linux/i386",
                                            "linux/arm64"}));
}

// What objdump makes of each binary: format, processor, DLL or shared
// object, and the three plain export names.
TEST(Package, EachBinaryIsOfItsTargetsFormatAndExportsTheThreeEntryPoints) {
  struct Expected {
    const char *os, *arch, *objdump, *format, *magic;
  };
  for (const Expected& e : {Expected{"Windows", "i386", "i686-w64-mingw32-objdump", "pei-i386", "(PE32)"},
                            Expected{"Windows", "x86_64", "x86_64-w64-mingw32-objdump", "pei-x86-64", "(PE32+)"}}) {
    const auto dll = Binary(e.os, e.arch);
    ASSERT_FALSE(dll.empty()) << e.os << "/" << e.arch;
    const std::string header = RunCommand(std::string(e.objdump) + " -p " + ShellQuoted(dll));
    EXPECT_TRUE(Contains(header, std::string("file format ") + e.format + "\n")) << dll << ":\n" << header.substr(0, 300);
    EXPECT_TRUE(Contains(header, e.magic)) << dll;
    EXPECT_TRUE(Contains(header, "\n\tDLL\n")) << dll << " is not marked as a DLL";
    const size_t table = header.find("[Ordinal/Name Pointer] Table");
    ASSERT_NE(table, std::string::npos) << dll << " exports nothing";
    for (const char* name : {"] GetClassNames\n", "] GetClassObject\n", "] DestroyObject\n"})
      EXPECT_TRUE(Contains(header.substr(table), name)) << dll << " lacks" << name;
  }

  struct ExpectedElf {
    const char *arch, *objdump, *format;
  };
  for (const ExpectedElf& e : {ExpectedElf{"x86_64", "objdump", "elf64-x86-64"},
                               ExpectedElf{"i386", "i686-linux-gnu-objdump", "elf32-i386"},
                               ExpectedElf{"ARM64", "aarch64-linux-gnu-objdump", "elf64-littleaarch64"}}) {
    const auto so = Binary("Linux", e.arch);
    ASSERT_FALSE(so.empty()) << "Linux/" << e.arch;
    const std::string header = RunCommand(std::string(e.objdump) + " -f " + ShellQuoted(so));
    EXPECT_TRUE(Contains(header, std::string("file format ") + e.format)) << header;
    EXPECT_TRUE(Contains(header, "DYNAMIC")) << so << " is not a shared object";
    const std::string symbols = RunCommand("nm -D --defined-only " + ShellQuoted(so));
    for (const char* name : {" T GetClassNames\n", " T GetClassObject\n", " T DestroyObject\n"})
      EXPECT_TRUE(Contains(symbols, name)) << so << " lacks" << name;
    EXPECT_FALSE(Contains(RunCommand(std::string(e.objdump) + " -h " + ShellQuoted(so)), ".debug_info"))
        << "debug information shipped in " << so;
  }
}

TEST(Package, DriverInfoNamesAnAcquiringTerminalWithAFourPartVersion) {
  ASSERT_TRUE(Package().infoParse) << Package().infoParse.description();
  EXPECT_STREQ(Package().info.document_element().name(), "drivers");
  const auto c = InfoComponent();
  EXPECT_STREQ(c.attribute("progid").value(), "AddIn.qarvex_termemu");
  EXPECT_STREQ(c.attribute("type").value(), "ЭквайринговыйТерминал");
  EXPECT_STRNE(c.attribute("name").value(), "");
  int parts[4] = {-1, -1, -1, -1};
  char rest = 0;
  EXPECT_EQ(std::sscanf(c.attribute("version").value(), "%d.%d.%d.%d%c", &parts[0], &parts[1], &parts[2], &parts[3],
                        &rest),
            4)
      << c.attribute("version").value();
}

// The Linux library taken out of the archive, through the replacement host.
class LinuxLibraryFromThePackage : public TerminalTest {
 protected:
  static void SetUpTestSuite() {
    ::setenv("QARVEX_COMPONENT_UNDER_TEST", Binary("Linux", "x86_64").c_str(), 1);
  }
};

TEST_F(LinuxLibraryFromThePackage, ListsTheProgidsClassAndAnswersWithInfosNameAndVersion) {
  const std::string progid = InfoComponent().attribute("progid").value();
  const std::u16string className = U16(progid.substr(progid.find('.') + 1));
  const auto classes = host->ClassNames();
  EXPECT_NE(std::find(classes.begin(), classes.end(), className), classes.end()) << Utf8(host->ClassNamesText());

  std::vector<HostValue> none;
  EXPECT_EQ(driver->CallFunc(u"ПолучитьНомерВерсии", none).value, HostValue(U16(InfoComponent().attribute("version").value())));
  std::vector<HostValue> description(7);
  driver->CallFunc(u"ПолучитьОписание", description);
  EXPECT_EQ(description[0], HostValue(U16(InfoComponent().attribute("name").value())));
  EXPECT_EQ(description[2], HostValue(U16(InfoComponent().attribute("type").value())));
}

TEST_F(LinuxLibraryFromThePackage, ConnectsPaysAndSettles) {
  Dialogs(false);
  const CardResult paid = Pay(u"4276380012345678", 1500);
  ASSERT_TRUE(paid.returned) << Utf8(LastError());
  EXPECT_EQ(paid.Receipt(), u"000001");
  EXPECT_TRUE(paid.SlipIs({u"ОПЛАТА", u"", u"1500 Руб", u"000001", u"************5678"}));

  std::vector<HostValue> settle{HostValue(u"dev"), HostValue(u"")};
  ASSERT_TRUE(Call(*driver, u"ИтогиДняПоКартам", settle)) << Utf8(LastError());
  EXPECT_NE(settle[1].AsText().find(L(Label(u"ИТОГ:", u"1500 Руб"))), std::u16string::npos) << Utf8(settle[1].AsText());
  EXPECT_TRUE(Rows().empty()) << "settlement empties the journal";
  EXPECT_TRUE(Disconnect(*driver));
}

// A Windows DLL taken out of the archive, through the Windows replacement
// host under wine: that build's payment-and-settlement test pointed at it.
// The x86 DLL runs under a 32-bit wine, which may live in an i386 root that
// sees only the folders bound into it: the unpacked package is one of them.
void PaysAndSettlesUnderWine(const std::string& preset, const std::string& arch) {
  const std::string tests = QARVEX_SOURCE_DIR "/build/" + preset + "/tests/windows/qarvex_windows_dll_tests.exe";
  ASSERT_TRUE(std::filesystem::exists(tests)) << tests << " is not built (the " << preset << " preset builds it)";
  const std::filesystem::path dll = Binary("Windows", arch);
  ASSERT_FALSE(dll.empty()) << "no Windows " << arch << " binary in the manifest";
  std::string windowsPath = "Z:" + dll.string();
  for (char& c : windowsPath) c = c == '/' ? '\\' : c;
  int status = -1;
  const std::string output = RunCommand(
      "LC_ALL=C QARVEX_COMPONENT_UNDER_TEST=" + ShellQuoted(windowsPath) +
      " QARVEX_WINE_BINDS=" + ShellQuoted(Package().folder.string()) + " " QARVEX_SOURCE_DIR "/scripts/wine-run.sh " +
      preset + " " + ShellQuoted(tests) +
      " --gtest_filter=WindowsDll.PaymentAndSettlementWithTheirSlips:WindowsDll.VersionAndDescriptionComeFromTheDllsResources"
      " </dev/null 2>&1", &status);
  EXPECT_EQ(status, 0) << output;
  EXPECT_TRUE(Contains(output, "[  PASSED  ] 2 tests.")) << output;
}

TEST(WindowsX64DllFromThePackage, PaysAndSettlesUnderWine) { PaysAndSettlesUnderWine("win64", "x86_64"); }

TEST(WindowsX86DllFromThePackage, PaysAndSettlesUnderWine32) {
  // scripts/setup-windows.sh says so when no 32-bit wine could be had.
  std::ifstream unavailable(QARVEX_SOURCE_DIR "/build/wine32-unavailable");
  std::string why;
  if (unavailable && std::getline(unavailable, why)) GTEST_SKIP() << "no 32-bit wine: " << why;
  PaysAndSettlesUnderWine("win32", "i386");
}

}  // namespace
}  // namespace qarvex::testing
