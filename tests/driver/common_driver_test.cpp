// The methods every driver offers: description, last error, connect and
// disconnect, device test, LogEnabled, the parameter and action tables.
#include <gtest/gtest.h>

#include "driver/uCommonDriver.h"
#include "driver/xml_tables.h"
#include "tests/driver/driver_test_support.h"
#include "tests/driver/probe_driver.h"

namespace qarvex::testing {
namespace {

using host::V8Variant;

class CommonDriverTest : public DriverTest {
 protected:
  CommonDriverTest() { fakeHost.Attach(probe); }

  // Calls an exported member with `args`; answers the return value.
  bool Call(driver::TExportedMember<driver::TCommonDriver> method, Args& args) {
    Args ret(probe, 1);
    EXPECT_TRUE((probe.*method)(ret.at(0), args.data(), args.count(), unusedV8));
    return host::V8AsBool(ret.at(0));
  }
  // The one text parameter `method` hands back (the error, a table); the
  // call must return True unless it is GetLastError.
  WString TextOf(driver::TExportedMember<driver::TCommonDriver> method) {
    Args out(probe, 1);
    const bool returned = Call(method, out);
    if (method != &driver::TCommonDriver::GetLastError) {
      EXPECT_TRUE(returned);
    }
    return out.Text(0);
  }
  WString LastError() { return TextOf(&driver::TCommonDriver::GetLastError); }

  TProbeDriver probe;
};

TEST_F(CommonDriverTest, GetDescriptionWritesTheSevenValuesAndKeepsTheLastResult) {
  driver::TCommonDriver::UpdateDriverInfo(&driver::DriverInfo());
  driver::DriverInfo().Name = u"Имя";
  driver::DriverInfo().Description = u"Описание";
  probe.EndWithException(u"before", nullptr);
  Args out(probe, 7);
  EXPECT_TRUE(Call(&driver::TCommonDriver::GetDescription, out));
  EXPECT_EQ(out.Text(0), u"Имя");
  EXPECT_EQ(out.Text(1), u"Описание");
  EXPECT_EQ(out.Text(2), u"НеизвестныйТипОборудования");
  EXPECT_EQ(host::V8TypeCode(out.at(3)), host::VTYPE_I4);
  EXPECT_EQ(host::V8AsInt(out.at(3)), 2004);
  EXPECT_EQ(host::V8TypeCode(out.at(4)), host::VTYPE_BOOL);
  EXPECT_FALSE(host::V8AsBool(out.at(4)));
  EXPECT_FALSE(host::V8AsBool(out.at(5)));
  EXPECT_EQ(out.Text(6), u"https://qarvex.example/termemu");
  EXPECT_EQ(probe.LastResult().ErrorDescription, u"before");
}

TEST_F(CommonDriverTest, ShortParameterBlocksAreNotWrittenPastTheirEnd) {
  // Two parameters where seven are expected; the guard slot must stay empty.
  std::vector<V8Variant> block(3);
  Args ret(probe, 1);
  EXPECT_TRUE(probe.driver::TCommonDriver::GetDescription(ret.at(0), block.data(), 2, unusedV8));
  EXPECT_EQ(host::V8TypeCode(&block[2]), host::VTYPE_EMPTY);
  probe.V8ClearVar(&block[0]);
  probe.V8ClearVar(&block[1]);
  EXPECT_TRUE(probe.GetLastError(ret.at(0), nullptr, 0, unusedV8));
}

TEST_F(CommonDriverTest, GetLastErrorReportsThePreviousEndingNotGetVersion) {
  Args none(probe, 1);
  EXPECT_EQ(LastError(), u"");
  probe.failOpen = true;
  EXPECT_FALSE(Call(&driver::TCommonDriver::Open, none));
  Args version(probe, 0);
  Args ret(probe, 1);
  probe.GetVersion(ret.at(0), version.data(), 0, unusedV8);
  // The stamp the build puts into every module holding the driver code.
  EXPECT_EQ(host::V8AsWString(ret.at(0)), u"1.0.6.15");
  Args out(probe, 1);
  EXPECT_FALSE(Call(&driver::TCommonDriver::GetLastError, out));
  EXPECT_EQ(out.Text(0), u"journal cannot be opened");

  probe.failOpen = false;
  EXPECT_TRUE(Call(&driver::TCommonDriver::Open, none));
  EXPECT_EQ(LastError(), u"");
  EXPECT_TRUE(probe.Enabled());
  EXPECT_TRUE(Call(&driver::TCommonDriver::Close, none));
  EXPECT_FALSE(probe.Enabled());
}

TEST_F(CommonDriverTest, OpenLeavesItsParameterAsPassed) {
  Args args(probe, 1);
  probe.V8SetWString(args.at(0), u"device-7");
  EXPECT_TRUE(Call(&driver::TCommonDriver::Open, args));
  EXPECT_EQ(args.Text(0), u"device-7");
}

TEST_F(CommonDriverTest, DeviceTestReportsAFailedOpenAsTextAndStillDisconnects) {
  probe.EndWithException(u"older", nullptr);
  probe.failOpen = true;
  Args out(probe, 2);
  EXPECT_TRUE(Call(&driver::TCommonDriver::DeviceTest, out));
  EXPECT_EQ(out.Text(0), u"journal cannot be opened");
  EXPECT_EQ(host::V8TypeCode(out.at(1)), host::VTYPE_PWSTR);
  EXPECT_EQ(out.Text(1), u"");
  EXPECT_EQ(probe.closes, 1);
  EXPECT_EQ(LastError(), u"");
  EXPECT_TRUE(probe.LastResult().BoolResult);
}

TEST_F(CommonDriverTest, DeviceTestOnAConnectedObjectLeavesItDisconnected) {
  driver::DriverInfo().Description = u"Описание";
  probe.Open();
  Args out(probe, 2);
  EXPECT_TRUE(Call(&driver::TCommonDriver::DeviceTest, out));
  EXPECT_EQ(out.Text(0), u"Описание");
  EXPECT_FALSE(probe.Enabled());
}

// That every object sees the value is checked through the host
// (TermemuTest.LogEnabledWrittenOnOneComponentHoldsForAll); here, that the
// value is the log's level.
TEST_F(CommonDriverTest, LogEnabledIsTheLogsLevel) {
  probe.SetLogEnabled(true);
  EXPECT_EQ(TLog::LogLevel.load(), 3);
  probe.SetLogEnabled(false);
  EXPECT_EQ(TLog::LogLevel.load(), 0);
}

TEST_F(CommonDriverTest, RegistrationRecordsNameAndDescriptionThatLaterObjectsKeep) {
  host::ClassRegistry().Clear();
  driver::DriverInfo().EquipmentType = driver::TEquipmentType::etScale;  // an earlier registration's
  driver::TCommonDriver::RegisterDriver(TProbeDriver::ClassInfo(), u"probe_ext", u"Имя",
                                        u"Описание");
  TProbeDriver second;
  EXPECT_EQ(driver::DriverInfo().Name, u"Имя");
  EXPECT_EQ(driver::DriverInfo().Description, u"Описание");
  EXPECT_EQ(driver::DriverInfo().EquipmentType, driver::TEquipmentType::etUnknown);
  host::ClassRegistry().Clear();
}

TEST_F(CommonDriverTest, EquipmentTypeNamesAndRefusal) {
  EXPECT_EQ(driver::EquipmentTypeName(driver::TEquipmentType::etScanner), u"СканерШтрихкода");
  EXPECT_EQ(driver::EquipmentTypeName(driver::TEquipmentType::etAcquiringTerminal),
            u"ЭквайринговыйТерминал");
  EXPECT_EQ(driver::EquipmentTypeName(driver::TEquipmentType::etUnknown),
            u"НеизвестныйТипОборудования");
  EXPECT_THROW(driver::EquipmentTypeName(static_cast<driver::TEquipmentType::TValue>(13)), Failure);
}

TEST_F(CommonDriverTest, ParameterTableListsOwnPropertiesFirstWithEscapedValues) {
  EXPECT_EQ(TextOf(&driver::TCommonDriver::GetParameters),
            u"<?xml version=\"1.0\"?>\r\n"
            u"<Settings><Page Caption=\"Параметры\">"
            u"<Parameter Name=\"Title\" Caption=\"Заголовок\" TypeValue=\"String\" DefaultValue=\"probe\" ReadOnly=\"true\"/>"
            u"<Parameter Name=\"Count\" Caption=\"Количество\" TypeValue=\"Number\" DefaultValue=\"7\" ReadOnly=\"false\"/>"
            u"<Parameter Name=\"Total\" Caption=\"Итого\" TypeValue=\"Number\" DefaultValue=\"5\" ReadOnly=\"false\"/>"
            u"<Parameter Name=\"Ratio\" Caption=\"Доля\" TypeValue=\"Number\" DefaultValue=\"0.5\" ReadOnly=\"false\"/>"
            u"<Parameter Name=\"Mode\" Caption=\"Режим\" TypeValue=\"Unknown\" DefaultValue=\"pmOn\" ReadOnly=\"false\"/>"
            u"<Parameter Name=\"Letter\" Caption=\"Буква\" TypeValue=\"String\" DefaultValue=\"x\" ReadOnly=\"false\"/>"
            u"<Parameter Name=\"Note\" Caption=\"&lt;a &amp; &quot;b&quot;>\" TypeValue=\"String\" DefaultValue=\"\" ReadOnly=\"false\"/>"
            u"<Parameter Name=\"LogEnabled\" Caption=\"Вести лог\" TypeValue=\"Boolean\" DefaultValue=\"False\" ReadOnly=\"false\"/>"
            u"</Page></Settings>\r\n");
}

TEST_F(CommonDriverTest, ActionTableAndRunningActionsByExactName) {
  EXPECT_EQ(TextOf(&driver::TCommonDriver::GetAdditionalActions),
            u"<?xml version=\"1.0\"?>\r\n"
            u"<Actions><Action Name=\"Refresh\" Caption=\"Обновить\"/>"
            u"<Action Name=\"Explode\" Caption=\"Взорвать\"/>"
            u"<Action Name=\"ViewLog\" Caption=\"Просмотр лога\"/></Actions>\r\n");

  Args name(probe, 1);
  probe.V8SetWString(name.at(0), u"Refresh");
  EXPECT_TRUE(Call(&driver::TCommonDriver::DoAdditionalAction, name));
  EXPECT_EQ(probe.refreshes, 1);

  for (WStringView wrong : {u"Обновить", u"refresh", u"Ping"}) {
    probe.V8SetWString(name.at(0), wrong);
    EXPECT_FALSE(Call(&driver::TCommonDriver::DoAdditionalAction, name));
    EXPECT_EQ(LastError(), u"Action not found");
  }
  EXPECT_EQ(probe.refreshes, 1);

  probe.V8SetWString(name.at(0), u"Explode");  // raises with no message
  EXPECT_FALSE(Call(&driver::TCommonDriver::DoAdditionalAction, name));
  EXPECT_EQ(LastError(), kNoMessageText);

  // Without a display the log viewer is refused with its reason (the
  // Windows build always has windows; there the viewer opens).
#ifndef _WIN32
  ::unsetenv("DISPLAY");
  ::unsetenv("WAYLAND_DISPLAY");
  probe.V8SetWString(name.at(0), u"ViewLog");
  EXPECT_FALSE(Call(&driver::TCommonDriver::DoAdditionalAction, name));
  EXPECT_NE(LastError().find(u"cannot be shown"), WString::npos);
#endif
}

TEST_F(CommonDriverTest, SetParameterByNameWithTheFailureTexts) {
  Args args(probe, 2);
  probe.V8SetWString(args.at(0), u"Count");
  probe.V8SetWString(args.at(1), u"12");
  EXPECT_TRUE(Call(&driver::TCommonDriver::SetParameter, args));
  EXPECT_EQ(probe.count, 12);

  probe.V8SetWString(args.at(0), u"COUNT");
  EXPECT_FALSE(Call(&driver::TCommonDriver::SetParameter, args));
  EXPECT_EQ(LastError(), u"Property not found: COUNT");

  probe.V8SetInt(args.at(0), 5);  // a name that is not text reads as empty
  EXPECT_FALSE(Call(&driver::TCommonDriver::SetParameter, args));
  EXPECT_EQ(LastError(), u"Property not found: ");

  probe.V8SetWString(args.at(0), u"Title");
  EXPECT_FALSE(Call(&driver::TCommonDriver::SetParameter, args));
  EXPECT_EQ(LastError(), u"Property is read-only: Title");

  probe.V8SetWString(args.at(0), u"LogEnabled");
  probe.V8SetBool(args.at(1), true);
  EXPECT_TRUE(Call(&driver::TCommonDriver::SetParameter, args));
  EXPECT_TRUE(probe.GetLogEnabled());
  // The table shows the marks, not the current values.
  Args out(probe, 1);
  Call(&driver::TCommonDriver::GetParameters, out);
  EXPECT_NE(out.Text(0).find(u"Name=\"LogEnabled\" Caption=\"Вести лог\" TypeValue=\"Boolean\" DefaultValue=\"False\""),
            WString::npos);
}

TEST(ParametersDocumentTest, SuppliedDocumentIsRewrittenWithoutEncodingOrWhitespace) {
  const std::string utf8 =
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Settings>\n  <Page Caption=\"Стр\"/>\n</Settings>\n";
  const WString expected = u"<?xml version=\"1.0\"?>\r\n<Settings><Page Caption=\"Стр\"/></Settings>\r\n";
  EXPECT_EQ(driver::LoadParametersDocument(utf8), expected);

  // UTF-16 with a byte-order mark, detected from the content.
  const std::u16string wide = u"\uFEFF<Settings><Page Caption=\"Стр\"/></Settings>";
  EXPECT_EQ(driver::LoadParametersDocument(std::string(reinterpret_cast<const char*>(wide.data()),
                                                       wide.size() * 2)),
            expected);

  EXPECT_THROW(driver::LoadParametersDocument("<Settings><Page>"), Failure);
}

}  // namespace
}  // namespace qarvex::testing
