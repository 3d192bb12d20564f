// The built DLL as the platform loads it on Windows, through the replacement
// host's explicit platform-layout tables: a cashier's payment and day
// settlement with their slips, the data folder under the machine-wide
// application-data folder, and the log banner read from the DLL itself.
#include "windows_test_support.h"

#include "e2e_terminal/terminal_fixture.h"

namespace qarvex::testing {
namespace {

// The component's data folder: qarvex_termemu under CSIDL_COMMON_APPDATA.
std::wstring DataFolder() {
  wchar_t common[MAX_PATH] = {};
  EXPECT_TRUE(::SHGetSpecialFolderPathW(nullptr, common, CSIDL_COMMON_APPDATA, TRUE));
  return std::wstring(common) + L"\\qarvex_termemu\\";
}

bool Exists(const std::wstring& path) { return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

using WindowsDll = TerminalTest;

TEST_F(WindowsDll, HandshakeBlockAndBothNamesOfEveryMethod) {
  EXPECT_EQ(host->ClassNamesText(), u"qarvex_termemu");
  EXPECT_EQ(driver->GetInfo(), 2000);
  EXPECT_EQ(driver->ExtensionName(), std::optional<std::u16string>(u"qarvex_termemu"));
  // The object's address four words past each interface pointer.
  EXPECT_EQ(driver->BlockWord(3), 0u);
  EXPECT_NE(driver->BlockWord(4), 0u);
  EXPECT_EQ(driver->BlockWord(5), driver->BlockWord(4));
  EXPECT_EQ(driver->BlockWord(6), driver->BlockWord(4));

  ASSERT_EQ(driver->GetNMethods(), 19);
  for (long i = 0; i < driver->GetNMethods(); ++i) {
    const auto english = driver->GetMethodName(i, 0);
    const auto russian = driver->GetMethodName(i, 1);
    ASSERT_TRUE(english && russian) << i;
    EXPECT_EQ(driver->FindMethod(*english), i) << Utf8(*english);
    EXPECT_EQ(driver->FindMethod(*russian), i) << Utf8(*russian);
  }
  EXPECT_EQ(driver->FindMethod(u"getversion"), -1) << "names are case-sensitive";
}

TEST_F(WindowsDll, VersionAndDescriptionComeFromTheDllsResources) {
  std::vector<HostValue> none;
  EXPECT_EQ(driver->CallFunc(u"GetVersion", none).value, HostValue(u"1.0.6.15"));
  std::vector<HostValue> d(7);
  ASSERT_TRUE(Call(*driver, u"ПолучитьОписание", d));
  EXPECT_EQ(d[0], HostValue(u"Драйвер эмулятора эквайринг-терминала"));
  EXPECT_EQ(d[1], HostValue(u"Драйвер эмулятора эквайринг-терминала 1С:Совместимо для 1С:БПО NativeAPI"));
}

TEST_F(WindowsDll, PaymentAndSettlementWithTheirSlips) {
  Dialogs(true);
  host->ScriptAnswers({MsgBoxAnswer::Yes});
  const CardResult paid = Pay(kCard, 1500);
  ASSERT_TRUE(paid.returned) << Utf8(LastError());
  ASSERT_EQ(host->Questions().size(), 1u);
  EXPECT_NE(host->Questions()[0].find(u"Одобрить операцию?"), std::u16string::npos);
  EXPECT_EQ(paid.Text(1), kMasked);
  EXPECT_EQ(paid.Receipt(), u"000001");
  EXPECT_TRUE(paid.SlipIs({u"ОПЛАТА", u"", u"1500 Руб", u"000001", kMasked}));
  EXPECT_TRUE(Exists(DataFolder() + L"OperJournal\\journal.db3"));

  std::vector<HostValue> params{HostValue(u"dev"), HostValue(u"")};
  ASSERT_TRUE(Call(*driver, u"ИтогиДняПоКартам", params)) << Utf8(LastError());
  const std::u16string report = params[1].AsText();
  const std::u16string rule(32, u'=');
  EXPECT_EQ(report.rfind(L(rule) + L(Center(u"СВЕРКА")), 0), 0u) << Utf8(report);
  EXPECT_NE(report.find(L(Center(u"ОПЛАТА"))), std::u16string::npos) << Utf8(report);
  EXPECT_NE(report.find(L(Label(u"Сумма:", u"1500 Руб"))), std::u16string::npos) << Utf8(report);
  EXPECT_NE(report.find(L(Label(u"Номер чека:", u"000001"))), std::u16string::npos) << Utf8(report);
  EXPECT_NE(report.find(L(Label(u"ИТОГ:", u"1500 Руб")) + L(rule)), std::u16string::npos) << Utf8(report);

  // Settlement emptied the journal: numbering starts again.
  Dialogs(false);
  EXPECT_EQ(Pay(kCard, 1).Receipt(), u"000001");
}

// A host short of memory once, in the middle of the answer: the payment is
// not done and the settlement empties nothing.
TEST_F(WindowsDll, AnswersTheHostRefusesMemoryForAreNotReportedDone) {
  ASSERT_TRUE(Pay(kCard, 10).returned);
  host->RefuseAllocationNumber(5);  // the payment's slip
  EXPECT_FALSE(Pay(kCard, 20).returned);
  host->RefuseAllocationNumber(0);
  EXPECT_EQ(LastError(), u"Платформа отказала в выделении памяти для возвращаемых значений");

  std::vector<HostValue> params{HostValue(u"dev"), HostValue(u"")};
  host->RefuseAllocationNumber(1);  // the report
  EXPECT_FALSE(Call(*driver, u"ИтогиДняПоКартам", params));
  host->RefuseAllocationNumber(0);
  ASSERT_TRUE(Call(*driver, u"ИтогиДняПоКартам", params)) << Utf8(LastError());
  const std::u16string report = params[1].AsText();
  EXPECT_NE(report.find(L(Label(u"Номер чека:", u"000001"))), std::u16string::npos) << Utf8(report);
  EXPECT_NE(report.find(L(Label(u"ИТОГ:", u"10 Руб"))), std::u16string::npos) << Utf8(report);
}

TEST_F(WindowsDll, LogBannerNamesWindowsAndTheDllWithItsFileVersion) {
  ASSERT_TRUE(driver->SetProp(u"ЛогВключен", HostValue(true)));
  std::vector<HostValue> none;
  driver->CallFunc(u"GetVersion", none);
  ASSERT_TRUE(driver->SetProp(u"ЛогВключен", HostValue(false)));

  SYSTEMTIME now{};
  ::GetLocalTime(&now);
  wchar_t name[64];
  ::swprintf(name, 64, L"qarvex_termemu_%04u.%02u.%02u.log", now.wYear, now.wMonth, now.wDay);
  const std::string log = ReadSharedFile(DataFolder() + name);
  EXPECT_NE(log.find("============Start log=============\r\n"), std::string::npos) << log;
  EXPECT_NE(log.find("OS version:\tWindows"), std::string::npos) << log;
  EXPECT_NE(log.find("Application:\tqarvex_termemu.dll\r\n"), std::string::npos) << log;
  EXPECT_NE(log.find("App. version:\t1.0.6.15\r\n"), std::string::npos) << log;
  EXPECT_NE(log.find("\tDEBUG\t> GetVersion: \tParams: {]\r\n"), std::string::npos) << log;
}

}  // namespace
}  // namespace qarvex::testing
