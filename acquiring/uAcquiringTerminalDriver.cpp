#include "acquiring/uAcquiringTerminalDriver.h"

namespace qarvex::acquiring {

using driver::THostParams;

QARVEX_DEFINE_DRIVER_CLASS(TAcquiringTerminalDriver, driver::TCommonDriver, nullptr,
                           &TAcquiringTerminalDriver::UpdateDriverInfo)

namespace {
// Positions of the card methods' parameters.
enum : std::int32_t {
  kCardNumber = 1,
  kAmount = 2,
  kReceiptNumber = 3,
  kReferenceNumber = 4,
  kAuthCode = 5,
  kSlip = 6,
};
constexpr std::int32_t kSettlementText = 1;
}  // namespace

TAcquiringTerminalDriver::TAcquiringTerminalDriver() : FCurrencyCode(u"643") {}

void TAcquiringTerminalDriver::UpdateDriverInfo(driver::PDriverInfo ADriverInfo) {
  TCommonDriver::UpdateDriverInfo(ADriverInfo);
  ADriverInfo->EquipmentType = driver::TEquipmentType::etAcquiringTerminal;
}

void TAcquiringTerminalDriver::ReadTransactParams(TTransactParams& AParams,
                                                  const THostParams& AHost) const {
  AParams.Clear();
  AParams.PAN = host::V8AsWString(AHost.In(kCardNumber));
  AParams.Amount = DoubleToCurrency(host::V8AsDouble(AHost.In(kAmount)));
  AParams.ReceiptNum = host::V8AsWString(AHost.In(kReceiptNumber));
  AParams.RRN = host::V8AsWString(AHost.In(kReferenceNumber));
  AParams.AuthCode = host::V8AsWString(AHost.In(kAuthCode));
}

void TAcquiringTerminalDriver::WriteTransactParams(const TTransactParams& AParams,
                                                   const THostParams& AHost) const {
  if (auto* p = AHost.Out(kCardNumber)) HandOverText(p, MaskCardNumber(AParams.PAN));
  if (auto* p = AHost.Out(kAmount)) V8SetDouble(p, CurrencyToDouble(AParams.Amount));
  if (auto* p = AHost.Out(kReceiptNumber)) HandOverText(p, AParams.ReceiptNum);
  if (auto* p = AHost.Out(kReferenceNumber)) HandOverText(p, AParams.RRN);
  if (auto* p = AHost.Out(kAuthCode)) HandOverText(p, AParams.AuthCode);
  if (auto* p = AHost.Out(kSlip)) HandOverText(p, AParams.ReceiptText);
}

// The host parameters of one exported call, known to HandOver while the
// operation runs.
class TAcquiringTerminalDriver::TCallScope {
 public:
  TCallScope(TAcquiringTerminalDriver& driver, const THostParams& params) : driver_(driver) {
    driver_.FCallParams = &params;
    driver_.FHandedOver = false;
  }
  ~TCallScope() { driver_.FCallParams = nullptr; }
  TCallScope(const TCallScope&) = delete;
  TCallScope& operator=(const TCallScope&) = delete;

 private:
  TAcquiringTerminalDriver& driver_;
};

void TAcquiringTerminalDriver::HandOver(const TTransactParams& AAnswer) {
  if (FCallParams == nullptr) return;
  FHandedOver = true;
  WriteTransactParams(AAnswer, *FCallParams);
}

void TAcquiringTerminalDriver::HandOverSettlement(WStringView AReportText) {
  if (FCallParams == nullptr) return;
  FHandedOver = true;
  if (auto* p = FCallParams->Out(kSettlementText)) HandOverText(p, AReportText);
}

bool TAcquiringTerminalDriver::RunCardOperation(TOperation AOperation, host::V8Variant* RetValue,
                                                host::V8Variant* Params, std::int32_t ParamCount) {
  const THostParams host(Params, ParamCount);
  return Guarded(RetValue, [&] {
    TTransactParams params;
    ReadTransactParams(params, host);
    const TCallScope call(*this, host);
    try {
      (this->*AOperation)(params);
      if (!FHandedOver) HandOver(params);
    } catch (...) {
      // Hand back what the operation had already produced, card masked.
      // The call fails with the operation's own message either way, so a
      // host that refuses this memory too is not a second failure.
      try {
        WriteTransactParams(params, host);
      } catch (...) {
      }
      throw;
    }
  });
}

bool TAcquiringTerminalDriver::PayByPaymentCard(host::V8Variant* RetValue, host::V8Variant* Params,
                                                std::int32_t ParamCount, host::TV8AddInDefBaseEx&) {
  return RunCardOperation(&TAcquiringTerminalDriver::PayOperation, RetValue, Params, ParamCount);
}

bool TAcquiringTerminalDriver::ReturnPaymantByPaymantCard(host::V8Variant* RetValue,
                                                          host::V8Variant* Params,
                                                          std::int32_t ParamCount,
                                                          host::TV8AddInDefBaseEx&) {
  return RunCardOperation(&TAcquiringTerminalDriver::ReturnPaymentOperation, RetValue, Params,
                          ParamCount);
}

bool TAcquiringTerminalDriver::CancelPaymentByPaymentCard(host::V8Variant* RetValue,
                                                          host::V8Variant* Params,
                                                          std::int32_t ParamCount,
                                                          host::TV8AddInDefBaseEx&) {
  return RunCardOperation(&TAcquiringTerminalDriver::CancelPaymentOperation, RetValue, Params,
                          ParamCount);
}

bool TAcquiringTerminalDriver::AuthorisationByPaymentCard(host::V8Variant* RetValue,
                                                          host::V8Variant* Params,
                                                          std::int32_t ParamCount,
                                                          host::TV8AddInDefBaseEx&) {
  return RunCardOperation(&TAcquiringTerminalDriver::AuthorisationOperation, RetValue, Params,
                          ParamCount);
}

bool TAcquiringTerminalDriver::AuthConfirmationByPaymentCard(host::V8Variant* RetValue,
                                                             host::V8Variant* Params,
                                                             std::int32_t ParamCount,
                                                             host::TV8AddInDefBaseEx&) {
  return RunCardOperation(&TAcquiringTerminalDriver::AuthConfirmationOperation, RetValue, Params,
                          ParamCount);
}

bool TAcquiringTerminalDriver::CancelAuthorisationByPaymentCard(host::V8Variant* RetValue,
                                                                host::V8Variant* Params,
                                                                std::int32_t ParamCount,
                                                                host::TV8AddInDefBaseEx&) {
  return RunCardOperation(&TAcquiringTerminalDriver::CancelAuthorisationOperation, RetValue,
                          Params, ParamCount);
}

bool TAcquiringTerminalDriver::EmergencyReversal(host::V8Variant* RetValue, host::V8Variant*,
                                                 std::int32_t, host::TV8AddInDefBaseEx&) {
  return Guarded(RetValue, [&] { EmergencyReversalOperation(); });
}

bool TAcquiringTerminalDriver::Settelment(host::V8Variant* RetValue, host::V8Variant* Params,
                                          std::int32_t ParamCount, host::TV8AddInDefBaseEx&) {
  const THostParams host(Params, ParamCount);
  return Guarded(RetValue, [&] {
    const WString sent = host::V8AsWString(host.In(kSettlementText));
    const TCallScope call(*this, host);
    try {
      WString text;
      SettlementOperation(text);
      if (!FHandedOver) HandOverSettlement(text);
    } catch (...) {
      // A report handed over before a commit that then failed reports
      // nothing that happened: the host gets its own text back, as far as
      // it takes it.
      try {
        if (auto* p = host.Out(kSettlementText); p != nullptr && FHandedOver) HandOverText(p, sent);
      } catch (...) {
      }
      throw;
    }
  });
}

bool TAcquiringTerminalDriver::PrintSlipOnTerminal(host::V8Variant* RetValue, host::V8Variant*,
                                                   std::int32_t, host::TV8AddInDefBaseEx&) {
  // No ending: the last result keeps what the previous call left.
  const bool printsSlips = PrintSlipOnTerminalOperation();
  if (RetValue != nullptr) V8SetBool(RetValue, printsSlips);
  return true;
}

}  // namespace qarvex::acquiring
