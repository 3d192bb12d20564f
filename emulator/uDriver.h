// TDriver: the emulated acquiring terminal, the class the component
// registers with the host under the extension name qarvex_termemu. It adds
// the slip line width and the dialog switch to the acquiring method set, and
// the additional-operations panel as an action.
//
// Threading: one host thread per object at a time.
#pragma once

#include <cstdint>

#include "acquiring/uAcquiringTerminalDriver.h"
#include "common/text.h"

namespace qarvex::emulator {

class TDriver : public acquiring::TAcquiringTerminalDriver {
 public:
  TDriver();
  // Disconnects before the object goes (this class's Close hook).
  ~TDriver() override;

  // Registers TDriver with the host: extension and class name
  // qarvex_termemu, the driver's name and description.
  static void Register();

  void Open() override;
  void Close() override;

  void PayOperation(acquiring::TTransactParams& AParams) override;
  void ReturnPaymentOperation(acquiring::TTransactParams& AParams) override;
  void CancelPaymentOperation(acquiring::TTransactParams& AParams) override;
  void AuthorisationOperation(acquiring::TTransactParams& AParams) override;
  void AuthConfirmationOperation(acquiring::TTransactParams& AParams) override;
  void CancelAuthorisationOperation(acquiring::TTransactParams& AParams) override;
  void EmergencyReversalOperation() override;
  void SettlementOperation(WString& ASettlementText) override;
  bool PrintSlipOnTerminalOperation() override;

  // Slip line width in characters.
  std::int32_t GetLineLength() const { return FLineLength; }
  void SetLineLength(std::int32_t AValue) { FLineLength = AValue; }
  // Whether operations ask the cashier for approval.
  bool GetUseDialogs() const { return FUseDialogs; }
  void SetUseDialogs(bool AValue) { FUseDialogs = AValue; }

  // Additional action: the additional-operations window.
  void ShowAdditionalOperationPanel();

 private:
  std::int32_t FLineLength = 32;
  bool FUseDialogs = false;

 public:
  static constexpr driver::TMember kExports[] = {
      QARVEX_EXPORT_PROP(TDriver, LineLength, u"ДлинаСтроки", u"Длина строки", u"32", false),
      QARVEX_EXPORT_PROP(TDriver, UseDialogs, u"ИспользоватьДиалоги",
                         u"Отображать диалоговые окна", u"False", false),
      QARVEX_ADDITIONAL_ACTION(TDriver, ShowAdditionalOperationPanel,
                               u"Панель дополнительных операций"),
  };
  QARVEX_DRIVER_CLASS(TDriver)
};

}  // namespace qarvex::emulator
