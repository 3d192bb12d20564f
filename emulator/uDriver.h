// TDriver: the emulated acquiring terminal, the class the component
// registers with the host under the extension name qarvex_termemu. There is
// no terminal: each card operation is put to the cashier as a yes/no question
// (or approved at once with dialogs off); approved payments, returns and
// pre-authorisations go into the operation journal, whose row ID becomes the
// receipt number, reference number and authorisation code; cancellations and
// confirmations look the journal up, settlement reports and empties it.
//
// Ownership: the object owns its journal from connect to disconnect; the
// journal file is shared by every object and process of the component.
// Threading: one host thread per object at a time; the question is modal.
#pragma once

#include <cstdint>
#include <memory>

#include "acquiring/uAcquiringTerminalDriver.h"
#include "common/datetime.h"
#include "common/number_format.h"
#include "common/text.h"
#include "emulator/uOperJournal.h"

namespace qarvex::emulator {

class TDriver : public acquiring::TAcquiringTerminalDriver {
 public:
  TDriver();
  // Disconnects before the object goes (this class's Close hook).
  ~TDriver() override;

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

  // Additional action: the additional-operations window (Win32 on Windows,
  // GTK on Linux). Where no window can be shown (no display, a build
  // without windows) it fails with a message saying so.
  void ShowAdditionalOperationPanel();

  // The journal report under AOper ("ОТЧЕТ" when empty), laid out to
  // LineLength. Needs the journal (connected).
  void GetReport(WString& AReportText, WStringView AOper);
  // The slip of a stored operation again, marked as a copy. A receipt number
  // that is not a non-negative integer means the newest operation.
  void GetReceiptCopy(WStringView AReceiptNumber, WString& AReceiptText);
  // The two-copy slip of one operation, laid out to LineLength.
  WString BuildSlip(WStringView ATitle, int AID, Currency AAmount, WStringView ACard, TDateTime AWhen,
                    bool AApproved) const;
  // The approval question; true at once when UseDialogs is off. Raises
  // "Could not display dialog box" when the host cannot show it.
  bool AskApproval(WStringView ATitle, Currency AAmount);
  // The device folder, created when missing (so not a const query).
  WString GetDeviceFolder();
  bool Connected() const { return FOperJournal != nullptr; }

 private:
  // The journal, or Failure(NotConnected) when the driver is not connected:
  // raised where an operation first needs the journal, so a declined new
  // operation still succeeds without it.
  TOperJournal& Journal();
  // Payment, return and pre-authorisation: ask, store when approved, number
  // and slip (zeros and a declined slip when declined).
  void NewOperation(acquiring::TTransactParams& AParams, TOperType AType);
  // The receipt number a cancellation or confirmation refers to; raises
  // "Не указан номер квитанции" unless it is a non-negative integer.
  static int ReferredID(const acquiring::TTransactParams& AParams);

  std::unique_ptr<TOperJournal> FOperJournal;  // present while connected
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
