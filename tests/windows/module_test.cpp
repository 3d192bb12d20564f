// What the component reads from its own module: file name, version block,
// string table and raw-data resource (this program carries known ones), and
// the current directory pointed at the module's folder.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "platform/current_directory.h"
#include "platform/folders.h"
#include "platform/module_info.h"
#include "platform/module_resource.h"
#include "platform/file_io.h"
#include "resources/resource_strings.h"
#include "windows_test_support.h"

#ifndef QARVEX_TEST_SOURCE_DIR
#define QARVEX_TEST_SOURCE_DIR ""
#endif

namespace qarvex::testing {
namespace {

using namespace platform;

bool EqualIgnoringCase(const WString& a, const WString& b) {
  return ::CompareStringOrdinal(reinterpret_cast<const wchar_t*>(a.c_str()), static_cast<int>(a.size()),
                                reinterpret_cast<const wchar_t*>(b.c_str()), static_cast<int>(b.size()),
                                TRUE) == CSTR_EQUAL;
}

TEST(Module, FileNameIsTheFullPathOfThisProgram) {
  const WString name = ModuleFileName();
  ASSERT_GT(name.size(), 3u);
  EXPECT_EQ(name[1], u':') << ToUtf8(name);
  EXPECT_TRUE(EqualIgnoringCase(ExtractFileName(name), u"qarvex_windows_tests.exe")) << ToUtf8(name);
  wchar_t own[MAX_PATH] = {};
  ::GetModuleFileNameW(nullptr, own, MAX_PATH);
  wchar_t longOwn[MAX_PATH] = {};
  ::GetLongPathNameW(own, longOwn, MAX_PATH);
  EXPECT_TRUE(EqualIgnoringCase(name, U(longOwn)));
}

TEST(Module, VersionComesFromTheModulesVersionBlock) {
  const FileVersion own = ReadFileVersion();
  EXPECT_EQ(FileVersionText(own), u"9.8.7.6");
  const FileVersion byName = ReadFileVersion(ModuleFileName());
  EXPECT_EQ(FileVersionText(byName), u"9.8.7.6");
}

TEST(Module, FilesWithoutVersionInformationGiveZeros) {
  WindowsTempFolder temp;
  const WString plain = temp / u"plain.txt";
  WriteWholeFile(plain, "no version here");
  EXPECT_EQ(FileVersionText(ReadFileVersion(plain)), u"0.0.0.0");
  EXPECT_EQ(FileVersionText(ReadFileVersion(temp / u"missing.dll")), u"0.0.0.0");
}

TEST(Module, StringTableEntriesWinAndMissingOnesFallBackToTheCompiledTexts) {
  EXPECT_EQ(ResString(StringId::OperPay), u"ТЕСТ 200");
  EXPECT_EQ(ResString(StringId::OperReturn), u"ВОЗВРАТ ОПЛАТЫ");
  EXPECT_EQ(ResString(StringId::ApproveOperation), u"Одобрить операцию?");
}

TEST(Module, RawDataResourceIsReadByName) {
  const auto parameters = ModuleRawResource(u"Parameters");
  ASSERT_TRUE(parameters.has_value());
  EXPECT_EQ(*parameters,
            "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<Settings><Page Caption=\"test\"/></Settings>\r\n");
  EXPECT_FALSE(ModuleRawResource(u"NoSuchResource").has_value());
}

TEST(Module, CurrentDirectoryMovesToTheModulesFolder) {
  WindowsTempFolder temp;
  ASSERT_TRUE(::SetCurrentDirectoryW(W(temp.Path()).c_str()));
  ASSERT_NO_THROW(SetCurrentDirectoryToModuleFolder());
  wchar_t current[MAX_PATH] = {};
  ::GetCurrentDirectoryW(MAX_PATH, current);
  EXPECT_TRUE(EqualIgnoringCase(IncludeTrailingDelimiter(U(current)), ExtractFilePath(ModuleFileName())))
      << ToUtf8(U(current));
}

}  // namespace
}  // namespace qarvex::testing
