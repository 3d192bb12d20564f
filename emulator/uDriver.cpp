#include "emulator/uDriver.h"

#include "common/error.h"
#include "emulator/approval_question.h"
#include "emulator/device_folder.h"
#include "emulator/slip_texts.h"
#include "emulator/ufmAdditionalActions.h"
#include "platform/clock.h"
#include "platform/current_directory.h"
#include "resources/resource_strings.h"

namespace qarvex::emulator {

QARVEX_DEFINE_DRIVER_CLASS(TDriver, acquiring::TAcquiringTerminalDriver,
                           &driver::CreateDriverObject<TDriver>, nullptr)

namespace {

using acquiring::MaskCardNumber;
using acquiring::TTransactParams;

TDateTime Now() { return EncodeDateTime(platform::NowLocal()); }

// The numbers a new operation hands back, all made from the journal ID.
WString ReceiptNumberOf(int id) { return IntToText(id, 6); }
WString ReferenceNumberOf(int id) { return IntToText(id, 12); }
WString AuthCodeOf(int id) { return IntToText(id, 6); }

WString TitleOf(TOperType type) { return OperTypeName(type); }

}  // namespace

TDriver::TDriver() = default;

TDriver::~TDriver() { TDriver::Close(); }

void TDriver::Register() {
  RegisterDriver(ClassInfo(), u"qarvex_termemu", ResString(StringId::DriverName),
                 ResString(StringId::DriverDescription));
}

// --- connection ------------------------------------------------------------

void TDriver::Open() {
  TAcquiringTerminalDriver::Open();
  platform::SetCurrentDirectoryToModuleFolder();
  // Built completely before it replaces the journal of an earlier connect.
  auto journal = std::make_unique<TOperJournal>(GetDeviceFolder());
  journal->Init();
  FOperJournal = std::move(journal);
}

void TDriver::Close() {
  TAcquiringTerminalDriver::Close();
  FOperJournal.reset();
}

WString TDriver::GetDeviceFolder() const { return DeviceFolderFor(driver::ExtensionName); }

TOperJournal& TDriver::Journal() {
  if (!FOperJournal) throw Failure(ResString(StringId::NotConnected));
  return *FOperJournal;
}

// --- texts -----------------------------------------------------------------

bool TDriver::AskApproval(WStringView ATitle, Currency AAmount) {
  if (!FUseDialogs) return true;
  return AskConfirmation(ApprovalQuestion(ATitle, AAmount));
}

WString TDriver::BuildSlip(WStringView ATitle, int AID, Currency AAmount, WStringView ACard, TDateTime AWhen,
                           bool AApproved) const {
  return emulator::BuildSlip(ATitle, AID, AAmount, ACard, AWhen, AApproved, FLineLength);
}

void TDriver::GetReport(WString& AReportText, WStringView AOper) {
  AReportText = emulator::GetReport(Journal(), AOper, FLineLength);
}

void TDriver::GetReceiptCopy(WStringView AReceiptNumber, WString& AReceiptText) {
  AReceiptText = emulator::GetReceiptCopy(Journal(), AReceiptNumber, FLineLength);
}

// --- new operations ----------------------------------------------------------

void TDriver::NewOperation(TTransactParams& AParams, TOperType AType) {
  const WString title = TitleOf(AType);
  const bool approved = AskApproval(title, AParams.Amount);
  int id = 0;
  if (approved) {
    // Refused before the journal is touched when the kopecks do not fit the
    // journal's 32-bit column, so nothing wraps and nothing is stored.
    const int kopecks = CurrencyToJournalKopecks(AParams.Amount);
    Journal().AddOperation(kopecks, AType, AParams.PAN, id);
  }
  AParams.ReceiptNum = ReceiptNumberOf(id);
  AParams.RRN = ReferenceNumberOf(id);
  AParams.AuthCode = AuthCodeOf(id);
  AParams.ReceiptText = BuildSlip(title, id, AParams.Amount, MaskCardNumber(AParams.PAN), Now(), approved);
}

void TDriver::PayOperation(TTransactParams& AParams) { NewOperation(AParams, otPay); }

// A return does not refer to an earlier payment: the receipt number the host
// sends is replaced by the new row's.
void TDriver::ReturnPaymentOperation(TTransactParams& AParams) { NewOperation(AParams, otReturn); }

void TDriver::AuthorisationOperation(TTransactParams& AParams) { NewOperation(AParams, otAuthorisation); }

// --- operations on a stored row ----------------------------------------------

int TDriver::ReferredID(const TTransactParams& AParams) {
  int id = 0;
  if (!TryParseInt32(AParams.ReceiptNum, id) || id < 0) throw Failure(ResString(StringId::ReceiptNumberMissing));
  return id;
}

// The stored row goes whatever its type and amount; the receipt, reference
// and authorisation numbers stay as the host sent them.
void TDriver::CancelPaymentOperation(TTransactParams& AParams) {
  const int id = ReferredID(AParams);
  const WString title = TitleOf(otCancel);
  const bool approved = AskApproval(title, AParams.Amount);
  if (approved) Journal().DeleteOperation(id);
  AParams.ReceiptText = BuildSlip(title, id, AParams.Amount, MaskCardNumber(AParams.PAN), Now(), approved);
}

void TDriver::CancelAuthorisationOperation(TTransactParams& AParams) { CancelPaymentOperation(AParams); }

// The journal is not changed: the pre-authorisation keeps its type and
// amount. A confirmation of a number the journal does not hold fails, but
// its declined slip is made first so the host still receives it.
void TDriver::AuthConfirmationOperation(TTransactParams& AParams) {
  const int id = ReferredID(AParams);
  const WString title = TitleOf(otAuthConfirmation);
  bool approved = AskApproval(title, AParams.Amount);
  bool notFound = false;
  if (approved && !Journal().OperationExists(id)) {
    approved = false;
    notFound = true;
  }
  AParams.ReceiptText = BuildSlip(title, id, AParams.Amount, MaskCardNumber(AParams.PAN), Now(), approved);
  if (notFound) throw Failure(ResString(StringId::TransactionNotFound));
}

// Removes the newest row, whatever its type; no slip.
void TDriver::EmergencyReversalOperation() {
  if (AskApproval(ResString(StringId::OperEmergencyReversal), 0)) Journal().DeleteLastOperation();
}

// No question. The journal is emptied only when its report was made.
void TDriver::SettlementOperation(WString& ASettlementText) {
  TOperJournal& journal = Journal();
  WString report;
  // The report and the clearing are one transaction: a payment another
  // cashier stores in between must not be deleted without being listed.
  journal.BeginSettlement();
  try {
    GetReport(report, TitleOf(otSettlement));
    journal.Clear();
    journal.EndSettlement(true);
  } catch (...) {
    journal.EndSettlement(false);
    throw;
  }
  ASettlementText = std::move(report);
}

bool TDriver::PrintSlipOnTerminalOperation() { return false; }

void TDriver::ShowAdditionalOperationPanel() {
  TfrmAdditionalActions panel(*this);
  panel.ShowModal();
}

}  // namespace qarvex::emulator
