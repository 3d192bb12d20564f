// TAcquiringTerminalDriver: the acquiring-terminal method set the host's
// equipment library calls. It does no card work itself: each call becomes
// one TTransactParams record, handed to one of nine abstract operations that
// a concrete terminal overrides, and the record is written back into the
// host's parameters, also when the operation failed.
//
// An operation is done only once the host holds its answer: an operation
// that stores something hands the answer over (HandOver) before it commits,
// so an answer the host refuses memory for fails the call and rolls the
// change back instead of leaving a stored row the host never heard of.
//
// Threading: one host thread per object at a time; the record lives on the
// call's stack.
#pragma once

#include <cstdint>
#include <string_view>

#include "acquiring/card_number.h"
#include "common/number_format.h"
#include "common/text.h"
#include "driver/uCommonDriver.h"

namespace qarvex::acquiring {

// The parameters of one card transaction.
struct TTransactParams {
  Currency Amount = 0;  // ten-thousandths of the currency unit
  WString PAN;          // the card number as the host gave it
  WString ReceiptNum;
  WString RRN;
  WString AuthCode;
  WString ReceiptText;  // the slip the operation produced

  void Clear() { *this = TTransactParams{}; }
};

class TAcquiringTerminalDriver : public driver::TCommonDriver {
 public:
  TAcquiringTerminalDriver();

  // The common description, marked as an acquiring terminal.
  static void UpdateDriverInfo(driver::PDriverInfo ADriverInfo);

  // The operations. Each reports failure only by raising; its message is
  // the error the host reads.
  virtual void PayOperation(TTransactParams& AParams) = 0;
  virtual void ReturnPaymentOperation(TTransactParams& AParams) = 0;
  virtual void CancelPaymentOperation(TTransactParams& AParams) = 0;
  virtual void AuthorisationOperation(TTransactParams& AParams) = 0;
  virtual void AuthConfirmationOperation(TTransactParams& AParams) = 0;
  virtual void CancelAuthorisationOperation(TTransactParams& AParams) = 0;
  virtual void EmergencyReversalOperation() = 0;
  virtual void SettlementOperation(WString& ASettlementText) = 0;
  virtual bool PrintSlipOnTerminalOperation() = 0;

  // Stored and handed back only; no operation reads it.
  const WString& GetCurrencyCode() const { return FCurrencyCode; }
  void SetCurrencyCode(const WString& AValue) { FCurrencyCode = AValue; }

  // Exported methods. The six card methods take (device id, card number,
  // amount, receipt number, reference number, authorisation code, slip).
  driver::TExportedSignature PayByPaymentCard;
  // The host sees this spelling as the method's English name: it must stay.
  driver::TExportedSignature ReturnPaymantByPaymantCard;
  driver::TExportedSignature CancelPaymentByPaymentCard;
  driver::TExportedSignature AuthorisationByPaymentCard;
  driver::TExportedSignature AuthConfirmationByPaymentCard;
  driver::TExportedSignature CancelAuthorisationByPaymentCard;
  driver::TExportedSignature EmergencyReversal;
  // The host sees this spelling as the method's English name: it must stay.
  driver::TExportedSignature Settelment;
  driver::TExportedSignature PrintSlipOnTerminal;

 protected:
  // Hands the answer of the host call under way to the host; raises when
  // the host refuses memory for any of it. An operation that stores
  // something calls it before it commits; any other operation's answer is
  // handed over once the operation returns. Outside a host call (an
  // operation run directly) there is no one to hand it to, and it does
  // nothing.
  void HandOver(const TTransactParams& AAnswer);
  void HandOverSettlement(WStringView AReportText);

 private:
  using TOperation = void (TAcquiringTerminalDriver::*)(TTransactParams&);
  class TCallScope;
  // Read, run, hand over, end the common way; after a failure, hand back
  // what the operation had produced as far as the host takes it.
  bool RunCardOperation(TOperation AOperation, host::V8Variant* RetValue, host::V8Variant* Params,
                        std::int32_t ParamCount);
  void ReadTransactParams(TTransactParams& AParams, const driver::THostParams& AHost) const;
  void WriteTransactParams(const TTransactParams& AParams, const driver::THostParams& AHost) const;

  WString FCurrencyCode;
  const driver::THostParams* FCallParams = nullptr;  // the host call under way
  bool FHandedOver = false;                          // its answer is with the host

 public:
  // What the exported methods' parameters are for, in their order (the
  // reversal's one parameter is the common driver's kDeviceParams).
  static constexpr std::string_view kCardParams[] = {"device",           "card",
                                                     "amount",           "receipt_number",
                                                     "reference_number", "authorisation_code",
                                                     "slip"};
  static constexpr std::string_view kSettlementParams[] = {"device", "settlement_text"};

  static constexpr driver::TMember kExports[] = {
      QARVEX_EXPORT_METH(TAcquiringTerminalDriver, PayByPaymentCard, u"ОплатитьПлатежнойКартой", kCardParams),
      QARVEX_EXPORT_METH(TAcquiringTerminalDriver, ReturnPaymantByPaymantCard,
                         u"ВернутьПлатежПоПлатежнойКарте", kCardParams),
      QARVEX_EXPORT_METH(TAcquiringTerminalDriver, CancelPaymentByPaymentCard,
                         u"ОтменитьПлатежПоПлатежнойКарте", kCardParams),
      QARVEX_EXPORT_METH(TAcquiringTerminalDriver, AuthorisationByPaymentCard,
                         u"ПреавторизацияПоПлатежнойКарте", kCardParams),
      QARVEX_EXPORT_METH(TAcquiringTerminalDriver, AuthConfirmationByPaymentCard,
                         u"ЗавершитьПреавторизациюПоПлатежнойКарте", kCardParams),
      QARVEX_EXPORT_METH(TAcquiringTerminalDriver, CancelAuthorisationByPaymentCard,
                         u"ОтменитьПреавторизациюПоПлатежнойКарте", kCardParams),
      QARVEX_EXPORT_METH(TAcquiringTerminalDriver, EmergencyReversal, u"АварийнаяОтменаОперации", kDeviceParams),
      QARVEX_EXPORT_METH(TAcquiringTerminalDriver, Settelment, u"ИтогиДняПоКартам", kSettlementParams),
      QARVEX_EXPORT_METH(TAcquiringTerminalDriver, PrintSlipOnTerminal,
                         u"ПечатьКвитанцийНаТерминале", 0),
      QARVEX_EXPORT_PROP(TAcquiringTerminalDriver, CurrencyCode, u"КодВалюты", u"Код валюты",
                         u"643", false),
  };
  QARVEX_DRIVER_CLASS(TAcquiringTerminalDriver)
};

}  // namespace qarvex::acquiring
