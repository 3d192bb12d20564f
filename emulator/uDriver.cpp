#include "emulator/uDriver.h"

#include "common/error.h"
#include "emulator/approval_question.h"
#include "emulator/device_folder.h"
#include "emulator/slip_texts.h"
#include "emulator/uCommonUtils.h"
#include "emulator/ufmAdditionalActions.h"
#include "platform/current_directory.h"
#include "resources/resource_strings.h"

namespace qarvex::emulator {

QARVEX_DEFINE_DRIVER_CLASS(TDriver, acquiring::TAcquiringTerminalDriver,
                           &driver::CreateDriverObject<TDriver>, nullptr)

namespace {

using acquiring::MaskCardNumber;
using acquiring::TTransactParams;


// The numbers a new operation hands back, all made from the journal ID.
WString ReferenceNumberOf(int id) { return IntToText(id, 12); }
WString AuthCodeOf(int id) { return IntToText(id, 6); }

WString TitleOf(TOperType type) { return OperTypeName(type); }

}  // namespace

TDriver::TDriver() = default;

TDriver::~TDriver() { TDriver::Close(); }

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

WString TDriver::GetDeviceFolder() { return DeviceFolderFor(driver::ExtensionName()); }

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
  RequireLayoutWidth(FLineLength);
  AReportText = emulator::GetReport(Journal(), AOper, FLineLength);
}

void TDriver::GetReceiptCopy(WStringView AReceiptNumber, WString& AReceiptText) {
  RequireLayoutWidth(FLineLength);
  AReceiptText = emulator::GetReceiptCopy(Journal(), AReceiptNumber, FLineLength);
}

// --- new operations ----------------------------------------------------------

// Stored all-or-nothing: the row is committed only once the slip exists and
// the host holds the answer, so a call that fails has stored nothing. The
// host's parameters take the answer only after the commit: a commit that
// fails leaves them as the host sent them, not with the numbers of a row that
// is not there. The write lock is taken after the question, never while the
// cashier thinks.
void TDriver::NewOperation(TTransactParams& AParams, TOperType AType) {
  RequireLayoutWidth(FLineLength);
  const WString title = TitleOf(AType);
  const bool approved = AskApproval(title, AParams.Amount);
  const WString card = MaskCardNumber(AParams.PAN);
  TTransactParams answer = AParams;
  const auto numberAnswer = [&](int id) {
    answer.ReceiptNum = ReceiptNumberText(id);
    answer.RRN = ReferenceNumberOf(id);
    answer.AuthCode = AuthCodeOf(id);
    answer.ReceiptText = BuildSlip(title, id, AParams.Amount, card, Now(), approved);
  };
  if (approved) {
    // Refused before the journal is touched when the kopecks do not fit the
    // journal's 32-bit column, so nothing wraps and nothing is stored.
    const int kopecks = CurrencyToJournalKopecks(AParams.Amount);
    TOperJournal& journal = Journal();
    TJournalChange change(journal);
    int id = 0;
    journal.AddOperation(kopecks, AType, AParams.PAN, id);
    numberAnswer(id);
    HandOver(answer);
    change.Commit();
  } else {
    numberAnswer(0);
  }
  AParams = std::move(answer);
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
  RequireLayoutWidth(FLineLength);
  const WString title = TitleOf(otCancel);
  const bool approved = AskApproval(title, AParams.Amount);
  const WString card = MaskCardNumber(AParams.PAN);
  TTransactParams answer = AParams;
  if (approved) {
    // The row is gone for good only once its cancellation slip is with the
    // host, and the slip stays in the host's parameters only once the
    // deletion is committed.
    TOperJournal& journal = Journal();
    TJournalChange change(journal);
    journal.DeleteOperation(id);
    answer.ReceiptText = BuildSlip(title, id, AParams.Amount, card, Now(), approved);
    HandOver(answer);
    change.Commit();
  } else {
    answer.ReceiptText = BuildSlip(title, id, AParams.Amount, card, Now(), approved);
  }
  AParams = std::move(answer);
}

void TDriver::CancelAuthorisationOperation(TTransactParams& AParams) { CancelPaymentOperation(AParams); }

// The journal is not changed: the pre-authorisation keeps its type and
// amount. A confirmation of a number the journal does not hold fails, but
// its declined slip is made first so the host still receives it.
void TDriver::AuthConfirmationOperation(TTransactParams& AParams) {
  const int id = ReferredID(AParams);
  RequireLayoutWidth(FLineLength);
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

// Removes the newest row, whatever its type; no slip. Finding the newest
// row and deleting it is one change, so a row another process stores in
// between is not mistaken for an older one.
void TDriver::EmergencyReversalOperation() {
  if (!AskApproval(ResString(StringId::OperEmergencyReversal), 0)) return;
  TOperJournal& journal = Journal();
  TJournalChange change(journal);
  journal.DeleteLastOperation();
  change.Commit();
}

// No question. The journal is emptied only when its report was made and the
// host holds it: a report the host cannot take would leave the day's rows
// recorded nowhere. The report and the clearing are one change: a payment
// another cashier stores in between must not be deleted without being
// listed.
void TDriver::SettlementOperation(WString& ASettlementText) {
  RequireLayoutWidth(FLineLength);
  TOperJournal& journal = Journal();
  WString report;
  TJournalChange change(journal);
  GetReport(report, TitleOf(otSettlement));
  journal.Clear();
  HandOverSettlement(report);
  change.Commit();
  ASettlementText = std::move(report);
}

bool TDriver::PrintSlipOnTerminalOperation() { return false; }

void TDriver::ShowAdditionalOperationPanel() {
  TfrmAdditionalActions panel(*this);
  panel.ShowModal();
}

}  // namespace qarvex::emulator
