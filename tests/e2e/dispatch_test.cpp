// Property and method calls through the replacement host, on the probe
// library's test class: lookups, names, calls, traces and failure reports.
#include <fstream>
#include <limits>
#include <sstream>

#include "e2e_support.h"

namespace qarvex::testing {
namespace {

using nativehost::MsgBoxAnswer;

constexpr std::int64_t kEFail = 0x80004005LL;

class Dispatch : public HostFixture {
 protected:
  Dispatch() : HostFixture(QARVEX_PROBE_PATH) {}
  void SetUp() override {
    HostFixture::SetUp();
    probe = Ready(u"probe");
    ASSERT_TRUE(probe);
  }
  void TearDown() override {
    probe.reset();
    HostFixture::TearDown();
  }
  // Switches the log on and answers the daily file's contents after `body`.
  template <typename Body>
  std::string LoggedDuring(Body body) {
    std::vector<HostValue> on{true};
    auto path = probe->CallFunc(u"EnableLog", on);
    EXPECT_TRUE(path.ok);
    body();
    std::vector<HostValue> off{false};
    probe->CallFunc(u"EnableLog", off);
    std::string utf8;
    for (char16_t c : path.value.AsText()) utf8 += static_cast<char>(c);  // ASCII test folders
    std::ifstream in(utf8, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
  }
  std::unique_ptr<Component> probe;
};

TEST_F(Dispatch, MethodsAndPropertiesAreFoundByEitherNameWithCaseMattering) {
  EXPECT_EQ(probe->FindMethod(u"Add"), 0);
  EXPECT_EQ(probe->FindMethod(u"Сложить"), 0);
  EXPECT_EQ(probe->FindMethod(u"СЛОЖИТЬ"), -1);
  EXPECT_EQ(probe->FindMethod(u"add"), -1);
  EXPECT_EQ(probe->FindMethod(u"Nothing"), -1);
  EXPECT_EQ(probe->FindProp(u"Значение"), probe->FindProp(u"Value"));
  EXPECT_EQ(probe->FindProp(u"value"), -1);
  EXPECT_EQ(probe->GetNMethods(), 9);
  EXPECT_EQ(probe->GetNProps(), 3);
}

TEST_F(Dispatch, NamesComeByAliasInFreshHostMemory) {
  EXPECT_EQ(probe->GetMethodName(0, 0), u"Add");
  EXPECT_EQ(probe->GetMethodName(0, 1), u"Сложить");
  EXPECT_EQ(probe->GetMethodName(0, 7), u"Сложить");
  EXPECT_EQ(probe->GetPropName(1, 0), u"Fixed");
  EXPECT_EQ(probe->GetPropName(1, 1), u"Постоянное");
  EXPECT_EQ(host->Memory().allocations, 5u);  // one block per name, all freed by the host
  host->RefuseAllocations(true);
  EXPECT_EQ(probe->GetMethodName(0, 0), std::nullopt);
  host->RefuseAllocations(false);
}

TEST_F(Dispatch, OutOfRangeIndicesAnswerSafely) {
  std::vector<HostValue> params{1, 2};
  for (long index : {-1L, 9L, 1000000L, 0x7fffffffL}) {
    EXPECT_EQ(probe->GetMethodName(index, 0), std::nullopt);
    EXPECT_EQ(probe->GetPropName(index, 1), std::nullopt);
    EXPECT_EQ(probe->GetNParams(index), 0);
    EXPECT_FALSE(probe->HasRetVal(index));
    EXPECT_FALSE(probe->IsPropReadable(index));
    EXPECT_FALSE(probe->IsPropWritable(index));
    EXPECT_FALSE(probe->GetPropVal(index).ok);
    EXPECT_FALSE(probe->SetPropVal(index, 5));
    EXPECT_FALSE(probe->GetParamDefValue(index, 0).ok);
    EXPECT_FALSE(probe->CallAsFunc(index, params).ok);
    EXPECT_FALSE(probe->CallAsProc(index, params).ok);
  }
  EXPECT_FALSE(probe->GetParamDefValue(8, -1).ok);
  EXPECT_FALSE(probe->GetParamDefValue(8, std::numeric_limits<long>::max()).ok);  // far past any parameter, on every target
  EXPECT_TRUE(host->Errors().empty());
}

TEST_F(Dispatch, RegisteredCountIsToldButTheCallsOwnCountIsPassed) {
  long index = probe->FindMethod(u"CountParams");
  EXPECT_EQ(probe->GetNParams(index), 3);
  std::vector<HostValue> one{1}, five{1, 2, 3, 4, 5};
  EXPECT_EQ(probe->CallAsFunc(index, one).value, HostValue(1));
  EXPECT_EQ(probe->CallAsFunc(index, five).value, HostValue(5));
}

TEST_F(Dispatch, FunctionsReturnValuesAndWriteOutParameters) {
  std::vector<HostValue> params{2, 40};
  auto sum = probe->CallFunc(u"Сложить", params);
  EXPECT_TRUE(sum.ok);
  EXPECT_EQ(sum.value, HostValue(42));
  std::vector<HostValue> outs{u"вход", 0};
  auto written = probe->CallFunc(u"WriteOut", outs);
  EXPECT_TRUE(written.ok);
  EXPECT_EQ(written.value, HostValue(u"готово"));
  EXPECT_EQ(outs[0], HostValue(u"выход"));  // the host text it replaced was freed
  EXPECT_EQ(outs[1], HostValue(42));
}

TEST_F(Dispatch, ProceduresRunOnceAndAnswerTheirOwnResult) {
  std::vector<HostValue> none;
  EXPECT_TRUE(probe->CallProc(u"Touch", none).ok);
  EXPECT_FALSE(probe->CallProc(u"Touch", none).ok);
  EXPECT_EQ(probe->CallFunc(u"Touched", none).value, HostValue(2));
  EXPECT_FALSE(probe->HasRetVal(probe->FindMethod(u"Touch")));
  EXPECT_TRUE(probe->HasRetVal(probe->FindMethod(u"Touched")));
}

// A host may call a function as a procedure; its result then goes into a
// scratch value whose host memory is given back (balanced at TearDown).
TEST_F(Dispatch, FunctionCalledAsProcedureDoesNotWriteThroughNull) {
  std::vector<HostValue> outs{u"a", 0};
  EXPECT_TRUE(probe->CallProc(u"WriteOut", outs).ok);
  EXPECT_EQ(outs[0], HostValue(u"выход"));
}

TEST_F(Dispatch, FailingMethodIsReportedToTheHostAndAnswersFalse) {
  std::vector<HostValue> params{u"сбой операции"};
  auto result = probe->CallFunc(u"Fail", params);
  EXPECT_FALSE(result.ok);
  ASSERT_EQ(host->Errors().size(), 1u);
  const auto& error = host->Errors()[0];
  EXPECT_EQ(error.code, 1006);
  EXPECT_EQ(error.source, u"Внешняя компонента");
  EXPECT_EQ(error.description, u"сбой операции");
  EXPECT_EQ(error.scode, kEFail);  // E_FAIL as a positive `long`
}

TEST_F(Dispatch, UnsupportedParameterTypeFailsTheCallBeforeTheMethodRuns) {
  std::vector<HostValue> params{HostValue::Ansi("abc"), 1};
  EXPECT_FALSE(probe->CallFunc(u"WriteOut", params).ok);
  EXPECT_EQ(params[0], HostValue::Ansi("abc"));  // the method did not run
  ASSERT_EQ(host->Errors().size(), 1u);
  EXPECT_EQ(host->Errors()[0].description, u"Unsupported data type");
  std::vector<HostValue> flagged{HostValue::Raw(0x4016)};
  EXPECT_FALSE(probe->CallProc(u"Touch", flagged).ok);
  std::vector<HostValue> none;
  EXPECT_EQ(probe->CallFunc(u"Touched", none).value, HostValue(0));
}

TEST_F(Dispatch, PropertiesGoThroughTheirAccessorWhateverTheirFlags) {
  EXPECT_TRUE(probe->SetProp(u"Value", 17));
  auto value = probe->GetProp(u"Значение");
  EXPECT_TRUE(value.ok);
  EXPECT_EQ(value.value, HostValue(17));
  long fixed = probe->FindProp(u"Fixed");
  EXPECT_TRUE(probe->IsPropReadable(fixed));
  EXPECT_FALSE(probe->IsPropWritable(fixed));
  EXPECT_EQ(probe->GetPropVal(fixed).value, HostValue(u"неизменно"));
  EXPECT_FALSE(probe->SetPropVal(fixed, u"x"));  // the accessor refuses
  ASSERT_EQ(host->Errors().size(), 1u);
  EXPECT_EQ(host->Errors()[0].description, u"Свойство Fixed только для чтения");
  EXPECT_FALSE(probe->GetProp(u"NoAccessor").ok);
}

TEST_F(Dispatch, DefaultValuesAreHandedOverByZeroBasedIndex) {
  long index = probe->FindMethod(u"WithDefault");
  auto found = probe->GetParamDefValue(index, 1);
  EXPECT_TRUE(found.ok);
  EXPECT_EQ(found.value, HostValue(7));
  EXPECT_FALSE(probe->GetParamDefValue(index, 0).ok);
  EXPECT_FALSE(probe->GetParamDefValue(0, 0).ok);
}

TEST_F(Dispatch, MessageBoxQuestionsFollowTheScript) {
  host->ScriptAnswers({MsgBoxAnswer::Yes, MsgBoxAnswer::No, MsgBoxAnswer::CannotShow});
  std::vector<HostValue> q{u"Одобрить операцию?"};
  EXPECT_EQ(probe->CallFunc(u"Ask", q).value, HostValue(true));
  EXPECT_EQ(probe->CallFunc(u"Ask", q).value, HostValue(false));
  EXPECT_FALSE(probe->CallFunc(u"Ask", q).ok);
  EXPECT_EQ(host->Errors().back().description, u"Could not display dialog box");
  EXPECT_EQ(host->Questions(), std::vector<std::u16string>(3, u"Одобрить операцию?"));
}

TEST_F(Dispatch, ConstructorFailureGivesNoComponentAndNoReport) {
  EXPECT_EQ(host->Create(u"broken"), nullptr);
  EXPECT_EQ(host->LastCreateAnswer(), 0);
  EXPECT_TRUE(host->LastCreateLeftPointer());
  EXPECT_TRUE(host->Errors().empty());
}

// The first log line holding `caption` (as "<caption>: " before the TAB of
// the message), or empty text.
std::string LineWith(const std::string& log, const std::string& caption) {
  auto at = log.find("\t" + caption + ": \t");
  if (at == std::string::npos) return {};
  auto end = log.find("\r\n", at);
  return log.substr(at + 1, end == std::string::npos ? std::string::npos : end - at - 1);
}

TEST_F(Dispatch, CallsLeaveEntryAndExitTracesWithOutParametersAsWritten) {
  std::string log = LoggedDuring([&] {
    std::vector<HostValue> outs{u"in", 1};
    probe->CallFunc(u"WriteOut", outs);
    std::vector<HostValue> none;
    probe->CallProc(u"Touch", none);
  });
  EXPECT_EQ(LineWith(log, "> WriteOut"), "> WriteOut: \tParams: {in; 1]") << log;
  EXPECT_EQ(LineWith(log, "< WriteOut"), "< WriteOut: \tResult=готово; Params: {выход; 42]") << log;
  EXPECT_EQ(LineWith(log, "> Touch"), "> Touch: \tParams: {]") << log;
  EXPECT_EQ(LineWith(log, "< Touch"), "< Touch: \t; Params: {]") << log;
  EXPECT_NE(log.find("\tDEBUG\t> WriteOut"), std::string::npos) << log;
}

TEST_F(Dispatch, FailuresLeaveAnExceptionRecordAndRefusedParametersNoTrace) {
  std::string log = LoggedDuring([&] {
    std::vector<HostValue> params{u"boom"};
    probe->CallFunc(u"Fail", params);
    std::vector<HostValue> ansi{HostValue::Ansi("x"), 0};
    probe->CallFunc(u"WriteOut", ansi);
  });
  auto entry = log.find("> Fail: \tParams: {boom]");
  auto boom = log.find("\tERROR\tEXCEPTION: \tboom");
  ASSERT_NE(entry, std::string::npos) << log;
  ASSERT_NE(boom, std::string::npos) << log;
  EXPECT_LT(entry, boom);
  EXPECT_EQ(log.find("< Fail"), std::string::npos);
  EXPECT_EQ(log.find("WriteOut"), std::string::npos) << log;
  EXPECT_NE(log.find("EXCEPTION: \tUnsupported data type"), std::string::npos) << log;
}

}  // namespace
}  // namespace qarvex::testing
