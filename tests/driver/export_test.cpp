// Attribute-driven export: registration from the member tables, property
// access by value kind, the two endings and the confirmation question.
#include <gtest/gtest.h>

#include "driver/uCustomDriver.h"
#include "host/registry.h"
#include "tests/driver/driver_test_support.h"
#include "tests/driver/probe_driver.h"

namespace qarvex::testing {
namespace {

using driver::TCustomDriver;
using host::V8Variant;

class ExportTest : public DriverTest {
 protected:
  ExportTest() { fakeHost.Attach(probe); }

  // Writes `value` to the property and answers the failure text ("" on success).
  std::string Write(const WString& name, V8Variant value) {
    try {
      probe.PropertySet(name, &value);
      return "";
    } catch (const std::exception& e) {
      return e.what();
    }
  }
  V8Variant Int(int v) {
    V8Variant x{};
    probe.V8SetInt(&x, v);
    return x;
  }
  V8Variant Text(WStringView v) {
    V8Variant x{};
    probe.V8SetWString(&x, v);
    held.push_back(x);  // freed at the end of the test
    return x;
  }
  ~ExportTest() override {
    for (V8Variant& v : held) probe.V8ClearVar(&v);
  }

  TProbeDriver probe;
  std::vector<V8Variant> held;
};

TEST_F(ExportTest, RegistrationListsOwnMembersFirstAndOnlyExportMarkedMethods) {
  host::ClassRegistry().Clear();
  TCustomDriver::RegisterDriver(TProbeDriver::ClassInfo(), u"probe_ext");
  ASSERT_EQ(host::ClassRegistry().ClassCount(), 1);
  host::TClassReg& reg = *host::ClassRegistry().ClassList[0];
  EXPECT_EQ(reg.NatApiClassName, u"probe_ext");
  EXPECT_EQ(reg.RegisterExtensionAs, u"probe_ext");
  EXPECT_EQ(driver::ExtensionName(), u"probe_ext");

  // Ping (own) before the ten common methods; actions are not host methods.
  ASSERT_EQ(reg.MethCount(), 11);
  EXPECT_EQ(reg.MethList[0]->MethName, u"Ping");
  EXPECT_EQ(reg.MethList[0]->MethNameLoc, u"Пинг");
  EXPECT_EQ(reg.MethList[0]->ParamCount, 3);
  EXPECT_EQ(reg.MethList[1]->MethName, u"GetVersion");
  EXPECT_EQ(reg.MethList[10]->MethName, u"DoAdditionalAction");
  EXPECT_EQ(reg.FindMethod(u"Refresh"), -1);
  for (const auto& m : reg.MethList) EXPECT_TRUE(m->IsFunction) << ToUtf8(m->MethName);

  ASSERT_EQ(reg.PropCount(), 8);
  EXPECT_EQ(reg.PropList[0]->PropName, u"Title");
  EXPECT_FALSE(reg.PropList[0]->IsWritable);
  EXPECT_TRUE(reg.PropList[0]->IsReadable);
  EXPECT_EQ(reg.PropList[7]->PropName, u"LogEnabled");
  EXPECT_EQ(reg.PropList[7]->PropNameLoc, u"ЛогВключен");
  EXPECT_TRUE(reg.PropList[7]->IsWritable);

  // The registered entries reach this object's members.
  Args ret(probe, 1);
  EXPECT_TRUE(reg.MethList[0]->Execute(probe, ret.at(0), nullptr, 0, unusedV8));
  EXPECT_TRUE(host::V8AsBool(ret.at(0)));
  V8Variant value{};
  EXPECT_TRUE(reg.PropList[1]->PropGetSet(probe, u"Count", &value, true, unusedV8));
  EXPECT_EQ(host::V8AsInt(&value), 7);
  host::ClassRegistry().Clear();
}

TEST_F(ExportTest, ReadingGivesHostValuesOfTheMatchingType) {
  V8Variant v{};
  probe.PropertyGetSet(u"Count", &v, true, nullptr);
  EXPECT_EQ(host::V8TypeCode(&v), host::VTYPE_I4);
  EXPECT_EQ(v.lVal, 7);

  probe.total = 0x1'0000'0005;  // the host gets a 32-bit integer
  probe.PropertyGetSet(u"Total", &v, true, nullptr);
  EXPECT_EQ(host::V8TypeCode(&v), host::VTYPE_I4);
  EXPECT_EQ(v.lVal, 5);

  probe.PropertyGetSet(u"Ratio", &v, true, nullptr);
  EXPECT_EQ(host::V8TypeCode(&v), host::VTYPE_R8);
  EXPECT_EQ(v.dblVal, 0.5);

  probe.PropertyGetSet(u"LogEnabled", &v, true, nullptr);
  EXPECT_EQ(host::V8TypeCode(&v), host::VTYPE_BOOL);
  EXPECT_FALSE(v.bVal);

  probe.PropertyGetSet(u"Title", &v, true, nullptr);
  EXPECT_EQ(host::V8TypeCode(&v), host::VTYPE_PWSTR);
  EXPECT_EQ(host::V8AsWString(&v), u"probe");
  probe.V8ClearVar(&v);
  EXPECT_EQ(fakeHost.liveBlocks, 0);
}

TEST_F(ExportTest, WritingConvertsHostValuesByThePropertyType) {
  EXPECT_EQ(Write(u"Count", Text(u"40")), "");
  EXPECT_EQ(probe.count, 40);
  EXPECT_EQ(Write(u"Count", Text(u"forty")), "");
  EXPECT_EQ(probe.count, 0);
  EXPECT_EQ(Write(u"Total", Int(-2)), "");
  EXPECT_EQ(probe.total, -2);
  EXPECT_EQ(Write(u"Ratio", Int(3)), "");
  EXPECT_EQ(probe.ratio, 3.0);

  EXPECT_EQ(Write(u"LogEnabled", Int(1)), "");
  EXPECT_EQ(TLog::LogLevel.load(), 3);
  EXPECT_EQ(Write(u"LogEnabled", Text(u"True")), "");  // text reads as an integer: 0
  EXPECT_EQ(TLog::LogLevel.load(), 0);
  EXPECT_EQ(Write(u"LogEnabled", Text(u"1")), "");
  EXPECT_EQ(TLog::LogLevel.load(), 3);

  // A string property takes text unchanged, through its setter.
  EXPECT_EQ(Write(u"Note", Text(u" 643 ")), "");
  EXPECT_EQ(probe.note, u" 643 ");
  EXPECT_EQ(probe.noteWrites, 1);
}

TEST_F(ExportTest, RefusedWritesLeaveThePropertyAlone) {
  EXPECT_EQ(Write(u"Note", Int(643)), "Value type unacceptable");
  EXPECT_EQ(probe.note, u"<a & \"b\">");
  EXPECT_EQ(probe.noteWrites, 0);

  EXPECT_EQ(Write(u"Mode", Int(0)), "Property type unacceptable");
  EXPECT_EQ(probe.mode, TProbeMode::pmOn);
  EXPECT_EQ(Write(u"Letter", Text(u"y")), "Property type unacceptable");
  EXPECT_EQ(probe.letter, u'x');

  EXPECT_EQ(Write(u"Title", Text(u"other")), "Property is read-only: Title");
  EXPECT_EQ(probe.title, u"probe");

  EXPECT_EQ(Write(u"count", Int(1)), "Property not found: count");
  EXPECT_EQ(Write(u"Количество", Int(1)), "Property not found: Количество");
  EXPECT_EQ(probe.count, 7);
}

TEST_F(ExportTest, RefusedReadsLeaveTheHostValueAlone) {
  V8Variant v = Int(99);
  EXPECT_THROW(
      {
        try {
          probe.PropertyGetSet(u"Mode", &v, true, nullptr);
        } catch (const Failure& e) {
          EXPECT_STREQ(e.what(), "Property type unacceptable");
          throw;
        }
      },
      Failure);
  EXPECT_THROW(probe.PropertyGetSet(u"Letter", &v, true, nullptr), Failure);
  EXPECT_THROW(probe.PropertyGetSet(u"Nothing", &v, true, nullptr), Failure);
  EXPECT_EQ(host::V8TypeCode(&v), host::VTYPE_I4);
  EXPECT_EQ(v.lVal, 99);
}

TEST_F(ExportTest, ParamTypesOfTheValueKinds) {
  using driver::TValueKind;
  EXPECT_EQ(driver::GetParamType(TValueKind::Int64), driver::ptNumber);
  EXPECT_EQ(driver::GetParamType(TValueKind::Float), driver::ptNumber);
  EXPECT_EQ(driver::GetParamType(TValueKind::Boolean), driver::ptBoolean);
  EXPECT_EQ(driver::GetParamType(TValueKind::Char), driver::ptString);
  EXPECT_EQ(driver::GetParamType(TValueKind::Enumeration), driver::ptUnknown);
  EXPECT_EQ(driver::ParamTypeName(driver::ptUnknown), u"Unknown");
  EXPECT_THROW(driver::ParamTypeName(static_cast<driver::TParamType>(4)), Failure);
}

TEST_F(ExportTest, EndingsKeepTheLastResultAndSetTheReturnValue) {
  TLog::SetLogName(u"probe_ext");
  TLog::LogLevel = 3;
  Args ret(probe, 1);
  probe.EndWithException(u"Транзакция не найдена", ret.at(0));
  EXPECT_FALSE(probe.LastResult().BoolResult);
  EXPECT_EQ(probe.LastResult().ErrorDescription, u"Транзакция не найдена");
  EXPECT_EQ(host::V8TypeCode(ret.at(0)), host::VTYPE_BOOL);
  EXPECT_FALSE(host::V8AsBool(ret.at(0)));

  // A failure without a message still leaves a readable error.
  probe.EndWithException(u"", nullptr);
  EXPECT_EQ(probe.LastResult().ErrorDescription, kNoMessageText);

  probe.EndWithSuccess(ret.at(0));
  EXPECT_TRUE(probe.LastResult().BoolResult);
  EXPECT_EQ(probe.LastResult().ErrorDescription, u"");
  EXPECT_TRUE(host::V8AsBool(ret.at(0)));

  // Only the failures reached the log.
  const std::string log = ReadFile(ToUtf8(TLog::GetAbsolutePath(false)));
  EXPECT_NE(log.find("\tERROR\tException: \tТранзакция не найдена\r\n"), std::string::npos) << log;
  EXPECT_NE(log.find("\tERROR\tException: \tUnknown error\r\n"), std::string::npos) << log;
  std::size_t lines = 0;
  for (std::size_t at = log.find("\tERROR\t"); at != std::string::npos;
       at = log.find("\tERROR\t", at + 1))
    ++lines;
  EXPECT_EQ(lines, 2u);
}

TEST_F(ExportTest, AskConfirmationPutsTheQuestionToTheHost) {
  fakeHost.answer = true;
  EXPECT_TRUE(probe.AskConfirmation(u"Одобрить операцию?"));
  fakeHost.answer = false;
  EXPECT_FALSE(probe.AskConfirmation(u"again"));
  fakeHost.answer.reset();
  try {
    probe.AskConfirmation(u"third");
    ADD_FAILURE() << "no failure when the box cannot be shown";
  } catch (const Failure& e) {
    EXPECT_STREQ(e.what(), "Could not display dialog box");
  }
  EXPECT_EQ(fakeHost.questions, (std::vector<std::u16string>{u"Одобрить операцию?", u"again", u"third"}));
}

}  // namespace
}  // namespace qarvex::testing
