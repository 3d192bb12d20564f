// The acquiring method set with a test double in place of the terminal: the
// host parameters' mapping onto the transaction record and back, amount
// rounding, card masking and write-back after a failure.
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "acquiring/uAcquiringTerminalDriver.h"
#include "tests/driver/driver_test_support.h"

namespace qarvex::testing {
namespace {

using acquiring::TAcquiringTerminalDriver;
using acquiring::TTransactParams;

// Records what each operation received and answers with a scripted record;
// fails with `failure` after filling the record when one is set.
class TTerminalDouble : public TAcquiringTerminalDriver {
 public:
  void Run(const char* name, TTransactParams& p) {
    calls += name;
    seen = p;
    if (reply) {
      p.ReceiptNum = reply->ReceiptNum;
      p.RRN = reply->RRN;
      p.AuthCode = reply->AuthCode;
      p.ReceiptText = reply->ReceiptText;
    }
    if (failure) throw Failure(*failure);
  }
  void PayOperation(TTransactParams& p) override { Run("pay;", p); }
  void ReturnPaymentOperation(TTransactParams& p) override { Run("return;", p); }
  void CancelPaymentOperation(TTransactParams& p) override { Run("cancel;", p); }
  void AuthorisationOperation(TTransactParams& p) override { Run("auth;", p); }
  void AuthConfirmationOperation(TTransactParams& p) override { Run("confirm;", p); }
  void CancelAuthorisationOperation(TTransactParams& p) override { Run("cancelauth;", p); }
  void EmergencyReversalOperation() override {
    calls += "reversal;";
    if (failure) throw Failure(*failure);
  }
  void SettlementOperation(WString& text) override {
    calls += "settlement;";
    if (failure) throw Failure(*failure);
    text = u"ИТОГИ";
  }
  bool PrintSlipOnTerminalOperation() override { return false; }

  std::string calls;
  TTransactParams seen;
  std::optional<TTransactParams> reply;
  std::optional<std::string> failure;
};

using TCardMethod = driver::TExportedMember<TAcquiringTerminalDriver>;

class AcquiringTest : public DriverTest {
 protected:
  AcquiringTest() { fakeHost.Attach(terminal); }

  // The seven parameters of a card method.
  void Fill(Args& a, WStringView card, double amount, WStringView receipt = u"",
            WStringView rrn = u"", WStringView auth = u"") {
    terminal.V8SetWString(a.at(0), u"device");
    terminal.V8SetWString(a.at(1), card);
    terminal.V8SetDouble(a.at(2), amount);
    terminal.V8SetWString(a.at(3), receipt);
    terminal.V8SetWString(a.at(4), rrn);
    terminal.V8SetWString(a.at(5), auth);
    terminal.V8SetWString(a.at(6), u"old slip");
  }
  bool Call(TCardMethod method, Args& a) {
    Args ret(terminal, 1);
    EXPECT_TRUE((terminal.*method)(ret.at(0), a.data(), a.count(), unusedV8));
    return host::V8AsBool(ret.at(0));
  }

  TTerminalDouble terminal;
};

TEST(MaskCardNumberTest, KeepsOnlyTheLastFourCharacters) {
  EXPECT_EQ(acquiring::MaskCardNumber(u"4276123456781234"), u"************1234");
  EXPECT_EQ(acquiring::MaskCardNumber(u"12345"), u"*2345");
  EXPECT_EQ(acquiring::MaskCardNumber(u"1234"), u"");
  EXPECT_EQ(acquiring::MaskCardNumber(u""), u"");
}

TEST_F(AcquiringTest, EachCardMethodRunsItsOwnOperation) {
  const std::pair<TCardMethod, const char*> methods[] = {
      {&TAcquiringTerminalDriver::PayByPaymentCard, "pay;"},
      {&TAcquiringTerminalDriver::ReturnPaymantByPaymantCard, "return;"},
      {&TAcquiringTerminalDriver::CancelPaymentByPaymentCard, "cancel;"},
      {&TAcquiringTerminalDriver::AuthorisationByPaymentCard, "auth;"},
      {&TAcquiringTerminalDriver::AuthConfirmationByPaymentCard, "confirm;"},
      {&TAcquiringTerminalDriver::CancelAuthorisationByPaymentCard, "cancelauth;"},
  };
  for (const auto& [method, name] : methods) {
    terminal.calls.clear();
    Args a(terminal, 7);
    Fill(a, u"4276123456781234", 10);
    EXPECT_TRUE(Call(method, a));
    EXPECT_EQ(terminal.calls, name);
  }
}

TEST_F(AcquiringTest, ParametersMapOntoTheRecordAndBack) {
  Args a(terminal, 7);
  Fill(a, u"4276123456781234", 1500.5, u"000012", u"000000000012", u"A1");
  terminal.reply = TTransactParams{0, u"", u"000013", u"000000000013", u"000013", u"SLIP\r\n"};
  EXPECT_TRUE(Call(&TAcquiringTerminalDriver::PayByPaymentCard, a));

  EXPECT_EQ(terminal.seen.PAN, u"4276123456781234");  // the operation sees the real number
  EXPECT_EQ(terminal.seen.Amount, 15'005'000);
  EXPECT_EQ(terminal.seen.ReceiptNum, u"000012");
  EXPECT_EQ(terminal.seen.RRN, u"000000000012");
  EXPECT_EQ(terminal.seen.AuthCode, u"A1");
  EXPECT_EQ(terminal.seen.ReceiptText, u"");  // the old slip is not read

  EXPECT_EQ(a.Text(0), u"device");
  EXPECT_EQ(a.Text(1), u"************1234");
  EXPECT_EQ(host::V8TypeCode(a.at(2)), host::VTYPE_R8);
  EXPECT_EQ(host::V8AsDouble(a.at(2)), 1500.5);
  EXPECT_EQ(a.Text(3), u"000013");
  EXPECT_EQ(a.Text(4), u"000000000013");
  EXPECT_EQ(a.Text(5), u"000013");
  EXPECT_EQ(a.Text(6), u"SLIP\r\n");
  EXPECT_TRUE(terminal.LastResult().BoolResult);
}

TEST_F(AcquiringTest, AmountsKeepFourDecimalsRoundingTiesToEven) {
  struct Case {
    double in;
    Currency record;
    double back;
  } cases[] = {
      {0.00005, 0, 0.0},     // x 10000 is exactly 0.5: a tie, to the even 0
      {0.00025, 2, 0.0002},  // 2.5: to the even 2
      {0.00035, 4, 0.0004},  // 3.5: to the even 4
      {12.345678, 123457, 12.3457},
      {-1.23456, -12346, -1.2346},
  };
  for (const Case& c : cases) {
    Args a(terminal, 7);
    Fill(a, u"1234567890", c.in);
    EXPECT_TRUE(Call(&TAcquiringTerminalDriver::PayByPaymentCard, a));
    EXPECT_EQ(terminal.seen.Amount, c.record) << c.in;
    EXPECT_DOUBLE_EQ(host::V8AsDouble(a.at(2)), c.back) << c.in;
  }
}

TEST_F(AcquiringTest, DeviceIdentifierIsIgnored) {
  Args a(terminal, 7), b(terminal, 7);
  Fill(a, u"4276123456781234", 5);
  Fill(b, u"4276123456781234", 5);
  terminal.V8SetInt(b.at(0), 99);
  EXPECT_TRUE(Call(&TAcquiringTerminalDriver::PayByPaymentCard, a));
  const TTransactParams first = terminal.seen;
  EXPECT_TRUE(Call(&TAcquiringTerminalDriver::PayByPaymentCard, b));
  EXPECT_EQ(terminal.seen.PAN, first.PAN);
  EXPECT_EQ(terminal.seen.Amount, first.Amount);
  EXPECT_EQ(host::V8AsInt(b.at(0)), 99);
}

TEST_F(AcquiringTest, FailedOperationStillWritesTheRecordBack) {
  Args a(terminal, 7);
  Fill(a, u"4276123456781234", 7.123456, u"000005");
  terminal.reply = TTransactParams{0, u"", u"000005", u"", u"", u"DECLINED SLIP"};
  terminal.failure = "Транзакция не найдена";
  EXPECT_FALSE(Call(&TAcquiringTerminalDriver::AuthConfirmationByPaymentCard, a));
  EXPECT_EQ(a.Text(1), u"************1234");
  EXPECT_DOUBLE_EQ(host::V8AsDouble(a.at(2)), 7.1235);
  EXPECT_EQ(a.Text(3), u"000005");
  EXPECT_EQ(a.Text(6), u"DECLINED SLIP");
  EXPECT_FALSE(terminal.LastResult().BoolResult);
  EXPECT_EQ(terminal.LastResult().ErrorDescription, u"Транзакция не найдена");

  // Without any slip produced, the slip position is emptied.
  terminal.reply.reset();
  Fill(a, u"12", 1);
  EXPECT_FALSE(Call(&TAcquiringTerminalDriver::PayByPaymentCard, a));
  EXPECT_EQ(a.Text(1), u"");
  EXPECT_EQ(host::V8TypeCode(a.at(6)), host::VTYPE_PWSTR);
  EXPECT_EQ(a.Text(6), u"");
}

TEST_F(AcquiringTest, AnAmountTooLargeFailsBeforeTheOperation) {
  Args a(terminal, 7);
  Fill(a, u"4276123456781234", 1e300);
  EXPECT_FALSE(Call(&TAcquiringTerminalDriver::PayByPaymentCard, a));
  EXPECT_EQ(terminal.calls, "");
  EXPECT_FALSE(terminal.LastResult().ErrorDescription.empty());
}

TEST_F(AcquiringTest, SettlementWritesItsTextOnlyOnSuccess) {
  Args a(terminal, 2);
  terminal.V8SetWString(a.at(1), u"as passed");
  terminal.failure = "База занята";
  EXPECT_FALSE(Call(&TAcquiringTerminalDriver::Settelment, a));
  EXPECT_EQ(a.Text(1), u"as passed");
  terminal.failure.reset();
  EXPECT_TRUE(Call(&TAcquiringTerminalDriver::Settelment, a));
  EXPECT_EQ(a.Text(1), u"ИТОГИ");

  Args r(terminal, 1);
  terminal.failure = "нет связи";
  EXPECT_FALSE(Call(&TAcquiringTerminalDriver::EmergencyReversal, r));
  EXPECT_EQ(terminal.calls, "settlement;settlement;reversal;");
}

TEST_F(AcquiringTest, PrintSlipOnTerminalLeavesTheLastResult) {
  Args a(terminal, 1);
  terminal.failure = "earlier";
  Call(&TAcquiringTerminalDriver::EmergencyReversal, a);
  Args none(terminal, 0);
  EXPECT_FALSE(Call(&TAcquiringTerminalDriver::PrintSlipOnTerminal, none));
  EXPECT_EQ(terminal.LastResult().ErrorDescription, u"earlier");
}

TEST_F(AcquiringTest, MarksTheDriverAsAnAcquiringTerminalWithCurrency643) {
  driver::TDriverInfo info;
  TAcquiringTerminalDriver::UpdateDriverInfo(&info);
  EXPECT_EQ(info.EquipmentType, driver::TEquipmentType::etAcquiringTerminal);
  EXPECT_EQ(terminal.GetCurrencyCode(), u"643");
  host::V8Variant v{};
  terminal.V8SetInt(&v, 810);
  EXPECT_THROW(terminal.PropertySet(u"CurrencyCode", &v), Failure);
  EXPECT_EQ(terminal.GetCurrencyCode(), u"643");
}

}  // namespace
}  // namespace qarvex::testing
