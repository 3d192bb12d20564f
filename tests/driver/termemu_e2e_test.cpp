// The emulator component as the host sees it, loaded through the replacement
// host: its method and property tables, property value conversions and
// refusals, the description, version, last error and the XML tables.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "e2e/e2e_support.h"

namespace qarvex::testing {
namespace {

class TermemuTest : public HostFixture {
 protected:
  TermemuTest() : HostFixture(ComponentUnderTest()) {}
  void SetUp() override {
    HostFixture::SetUp();
    driver = Ready(u"qarvex_termemu");
    ASSERT_NE(driver, nullptr);
  }
  void TearDown() override {
    if (driver) driver->SetProp(u"LogEnabled", HostValue(false));
    driver.reset();
    HostFixture::TearDown();
  }

  HostValue Get(std::u16string_view name) {
    auto r = driver->GetProp(name);
    EXPECT_TRUE(r.ok) << "reading " << std::string(name.begin(), name.end());
    return r.value;
  }
  // The return value of a method and its parameters afterwards.
  HostValue Call(std::u16string_view name, std::vector<HostValue>& params) {
    auto r = driver->CallFunc(name, params);
    EXPECT_TRUE(r.ok);
    return r.value;
  }
  // The XML document a table method hands back; the call must return True.
  HostValue Document(std::u16string_view name) {
    std::vector<HostValue> p(1);
    EXPECT_EQ(Call(name, p), HostValue(true));
    return p[0];
  }
  std::u16string LastError() {
    std::vector<HostValue> p(1);
    Call(u"ПолучитьОшибку", p);
    return p[0].AsText();
  }

  std::unique_ptr<Component> driver;
};

TEST_F(TermemuTest, HostSeesNineteenMethodsAndFourPropertiesInOrder) {
  struct Method {
    const char16_t* name;
    const char16_t* host;
    long params;
  };
  const std::vector<Method> methods = {
      {u"PayByPaymentCard", u"ОплатитьПлатежнойКартой", 7},
      {u"ReturnPaymantByPaymantCard", u"ВернутьПлатежПоПлатежнойКарте", 7},
      {u"CancelPaymentByPaymentCard", u"ОтменитьПлатежПоПлатежнойКарте", 7},
      {u"AuthorisationByPaymentCard", u"ПреавторизацияПоПлатежнойКарте", 7},
      {u"AuthConfirmationByPaymentCard", u"ЗавершитьПреавторизациюПоПлатежнойКарте", 7},
      {u"CancelAuthorisationByPaymentCard", u"ОтменитьПреавторизациюПоПлатежнойКарте", 7},
      {u"EmergencyReversal", u"АварийнаяОтменаОперации", 1},
      {u"Settelment", u"ИтогиДняПоКартам", 2},
      {u"PrintSlipOnTerminal", u"ПечатьКвитанцийНаТерминале", 0},
      {u"GetVersion", u"ПолучитьНомерВерсии", 0},
      {u"GetDescription", u"ПолучитьОписание", 7},
      {u"GetLastError", u"ПолучитьОшибку", 1},
      {u"Open", u"Подключить", 1},
      {u"Close", u"Отключить", 1},
      {u"GetParameters", u"ПолучитьПараметры", 1},
      {u"SetParameter", u"УстановитьПараметр", 2},
      {u"DeviceTest", u"ТестУстройства", 2},
      {u"GetAdditionalActions", u"ПолучитьДополнительныеДействия", 1},
      {u"DoAdditionalAction", u"ВыполнитьДополнительноеДействие", 1},
  };
  ASSERT_EQ(driver->GetNMethods(), 19);
  for (long i = 0; i < 19; ++i) {
    EXPECT_EQ(driver->GetMethodName(i, 0), methods[i].name) << i;
    EXPECT_EQ(driver->GetMethodName(i, 1), methods[i].host) << i;
    EXPECT_EQ(driver->GetNParams(i), methods[i].params) << i;
    EXPECT_TRUE(driver->HasRetVal(i)) << i;
    EXPECT_EQ(driver->FindMethod(methods[i].host), i);
    EXPECT_EQ(driver->FindMethod(methods[i].name), i);
  }
  EXPECT_EQ(driver->FindMethod(u"getversion"), -1);
  EXPECT_EQ(driver->FindMethod(u"ViewLog"), -1);

  const std::vector<std::pair<const char16_t*, const char16_t*>> props = {
      {u"LineLength", u"ДлинаСтроки"},
      {u"UseDialogs", u"ИспользоватьДиалоги"},
      {u"CurrencyCode", u"КодВалюты"},
      {u"LogEnabled", u"ЛогВключен"},
  };
  ASSERT_EQ(driver->GetNProps(), 4);
  for (long i = 0; i < 4; ++i) {
    EXPECT_EQ(driver->GetPropName(i, 0), props[i].first) << i;
    EXPECT_EQ(driver->GetPropName(i, 1), props[i].second) << i;
    EXPECT_TRUE(driver->IsPropReadable(i));
    EXPECT_TRUE(driver->IsPropWritable(i));
  }
}

TEST_F(TermemuTest, DefaultsAndValueConversionsOfPropertyWrites) {
  EXPECT_EQ(Get(u"LineLength"), HostValue(32));
  EXPECT_EQ(Get(u"UseDialogs"), HostValue(false));
  EXPECT_EQ(Get(u"CurrencyCode"), HostValue(u"643"));
  EXPECT_EQ(Get(u"LogEnabled"), HostValue(false));

  EXPECT_TRUE(driver->SetProp(u"ДлинаСтроки", HostValue(u"40")));
  EXPECT_EQ(Get(u"LineLength"), HostValue(40));
  EXPECT_TRUE(driver->SetProp(u"LineLength", HostValue(u"forty")));
  EXPECT_EQ(Get(u"LineLength"), HostValue(0));
  EXPECT_TRUE(driver->SetProp(u"LineLength", HostValue(48.0)));
  EXPECT_EQ(Get(u"LineLength"), HostValue(48));

  const std::vector<std::pair<HostValue, bool>> dialogs = {
      {HostValue(true), true}, {HostValue(0), false},      {HostValue(1), true},
      {HostValue(u"0"), false}, {HostValue(u"1"), true}, {HostValue(u"True"), false},
  };
  for (const auto& [value, stored] : dialogs) {
    EXPECT_TRUE(driver->SetProp(u"UseDialogs", value)) << value;
    EXPECT_EQ(Get(u"UseDialogs"), HostValue(stored)) << value;
  }

  EXPECT_TRUE(driver->SetProp(u"CurrencyCode", HostValue(u"978")));
  EXPECT_EQ(Get(u"CurrencyCode"), HostValue(u"978"));
  EXPECT_TRUE(host->Errors().empty());
}

TEST_F(TermemuTest, RefusedPropertyWriteIsReportedToTheHostAndKeepsTheValue) {
  EXPECT_FALSE(driver->SetProp(u"CurrencyCode", HostValue(643)));
  ASSERT_EQ(host->Errors().size(), 1u);
  EXPECT_EQ(host->Errors()[0].code, 1006);
  EXPECT_EQ(host->Errors()[0].source, u"Внешняя компонента");
  EXPECT_EQ(host->Errors()[0].description, u"Value type unacceptable");
  EXPECT_EQ(Get(u"CurrencyCode"), HostValue(u"643"));
  // A property access does not touch the last result.
  EXPECT_EQ(LastError(), u"");
}

TEST_F(TermemuTest, VersionDescriptionAndLastError) {
  std::vector<HostValue> none;
  EXPECT_EQ(Call(u"ПолучитьНомерВерсии", none), HostValue(u"1.0.6.15"));

  std::vector<HostValue> d(7);
  EXPECT_EQ(Call(u"GetDescription", d), HostValue(true));
  EXPECT_EQ(d[0], HostValue(u"Драйвер эмулятора эквайринг-терминала"));
  EXPECT_EQ(d[1], HostValue(u"Драйвер эмулятора эквайринг-терминала 1С:Совместимо для 1С:БПО NativeAPI"));
  EXPECT_EQ(d[2], HostValue(u"ЭквайринговыйТерминал"));
  EXPECT_EQ(d[3], HostValue(2004));
  EXPECT_EQ(d[4], HostValue(false));
  EXPECT_EQ(d[5], HostValue(false));
  EXPECT_EQ(d[6], HostValue(u"https://qarvex.example/termemu"));

  // A failed call, then GetVersion: the error is still the failed call's.
  std::vector<HostValue> p{HostValue(u"Длина"), HostValue(1)};
  EXPECT_EQ(Call(u"SetParameter", p), HostValue(false));
  Call(u"GetVersion", none);
  std::vector<HostValue> e(1);
  EXPECT_EQ(Call(u"GetLastError", e), HostValue(false));
  EXPECT_EQ(e[0], HostValue(u"Property not found: Длина"));

  std::vector<HostValue> t(2);
  EXPECT_EQ(Call(u"ТестУстройства", t), HostValue(true));
  EXPECT_EQ(t[1], HostValue(u""));
  EXPECT_EQ(LastError(), u"");
}

TEST_F(TermemuTest, ParameterAndActionTablesByteForByte) {
  EXPECT_EQ(Document(u"ПолучитьПараметры"), HostValue(
      u"<?xml version=\"1.0\"?>\r\n"
      u"<Settings><Page Caption=\"Параметры\">"
      u"<Parameter Name=\"LineLength\" Caption=\"Длина строки\" TypeValue=\"Number\" DefaultValue=\"32\" ReadOnly=\"false\"/>"
      u"<Parameter Name=\"UseDialogs\" Caption=\"Отображать диалоговые окна\" TypeValue=\"Boolean\" DefaultValue=\"False\" ReadOnly=\"false\"/>"
      u"<Parameter Name=\"CurrencyCode\" Caption=\"Код валюты\" TypeValue=\"String\" DefaultValue=\"643\" ReadOnly=\"false\"/>"
      u"<Parameter Name=\"LogEnabled\" Caption=\"Вести лог\" TypeValue=\"Boolean\" DefaultValue=\"False\" ReadOnly=\"false\"/>"
      u"</Page></Settings>\r\n"));

  EXPECT_EQ(Document(u"ПолучитьДополнительныеДействия"), HostValue(
      u"<?xml version=\"1.0\"?>\r\n"
      u"<Actions>"
      u"<Action Name=\"ShowAdditionalOperationPanel\" Caption=\"Панель дополнительных операций\"/>"
      u"<Action Name=\"ViewLog\" Caption=\"Просмотр лога\"/>"
      u"</Actions>\r\n"));
}

TEST_F(TermemuTest, SettingsAndActionsByTheirExactNames) {
  std::vector<HostValue> p{HostValue(u"linelength"), HostValue(40)};
  EXPECT_EQ(Call(u"УстановитьПараметр", p), HostValue(false));
  EXPECT_EQ(LastError(), u"Property not found: linelength");
  p = {HostValue(u"ДлинаСтроки"), HostValue(40)};
  EXPECT_EQ(Call(u"УстановитьПараметр", p), HostValue(false));
  EXPECT_EQ(LastError(), u"Property not found: ДлинаСтроки");
  p = {HostValue(u"LineLength"), HostValue(40)};
  EXPECT_EQ(Call(u"УстановитьПараметр", p), HostValue(true));
  EXPECT_EQ(Get(u"LineLength"), HostValue(40));

  std::vector<HostValue> action{HostValue(u"Просмотр лога")};
  EXPECT_EQ(Call(u"ВыполнитьДополнительноеДействие", action), HostValue(false));
  EXPECT_EQ(LastError(), u"Action not found");
}

TEST_F(TermemuTest, LogEnabledWrittenOnOneComponentHoldsForAll) {
  auto second = Ready(u"qarvex_termemu");
  ASSERT_NE(second, nullptr);
  std::vector<HostValue> p{HostValue(u"LogEnabled"), HostValue(true)};
  EXPECT_EQ(Call(u"SetParameter", p), HostValue(true));
  EXPECT_EQ(second->GetProp(u"ЛогВключен").value, HostValue(true));
  EXPECT_TRUE(second->SetProp(u"LogEnabled", HostValue(false)));
  EXPECT_EQ(Get(u"LogEnabled"), HostValue(false));
}

}  // namespace
}  // namespace qarvex::testing
