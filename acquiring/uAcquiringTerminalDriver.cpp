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

TAcquiringTerminalDriver::TAcquiringTerminalDriver() : FCurrencyCode(u"643") {
  UpdateDriverInfo(&driver::DriverInfo);
}

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
  if (auto* p = AHost.Out(kCardNumber)) V8SetWString(p, MaskCardNumber(AParams.PAN));
  if (auto* p = AHost.Out(kAmount)) V8SetDouble(p, CurrencyToDouble(AParams.Amount));
  if (auto* p = AHost.Out(kReceiptNumber)) V8SetWString(p, AParams.ReceiptNum);
  if (auto* p = AHost.Out(kReferenceNumber)) V8SetWString(p, AParams.RRN);
  if (auto* p = AHost.Out(kAuthCode)) V8SetWString(p, AParams.AuthCode);
  if (auto* p = AHost.Out(kSlip)) V8SetWString(p, AParams.ReceiptText);
}

bool TAcquiringTerminalDriver::RunCardOperation(TOperation AOperation, host::V8Variant* RetValue,
                                                host::V8Variant* Params, std::int32_t ParamCount) {
  const THostParams host(Params, ParamCount);
  return Guarded(RetValue, [&] {
    TTransactParams params;
    ReadTransactParams(params, host);
    try {
      (this->*AOperation)(params);
    } catch (...) {
      // Hand back what the operation had already produced, card masked.
      WriteTransactParams(params, host);
      throw;
    }
    WriteTransactParams(params, host);
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
    WString text;
    SettlementOperation(text);
    if (auto* p = host.Out(kSettlementText)) V8SetWString(p, text);
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
