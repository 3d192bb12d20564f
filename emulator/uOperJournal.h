// TOperJournal: the emulated terminal's memory. One SQLite file,
// "OperJournal/journal.db3" under the device folder, shared by every driver
// object and every process of the component. It records approved payments,
// returns and pre-authorisations; cancellations and confirmations look rows
// up or delete them, reports list them, settlement empties the table.
//
// Numbering: a row's ID is its receipt number. The table's ID is an integer
// primary key without AUTOINCREMENT, so a new row gets the highest ID + 1
// (1 in an empty table): IDs deleted from the top, or emptied by Clear, are
// handed out again. Existing journal files rely on this.
//
// Lifecycle: the connection is opened by each public operation and closed
// before it returns, except MaxID (left open for the operation that called
// it) and a report (open from BeginReport to EndReport).
// Ownership: the driver object owns its journal from connect to disconnect.
// Threading: one thread at a time per object; processes and objects sharing
// the file are serialised by SQLite's file locking only (writers wait for a
// lock, bounded, see JournalDatabase).
#pragma once

#include <memory>

#include "common/datetime.h"
#include "common/number_format.h"
#include "common/text.h"
#include "emulator/journal_database.h"

namespace qarvex::emulator {

// Operation-type codes as stored in the journal's OPER column.
enum TOperType : int {
  otPay = 0,
  otReturn = 1,
  otAuthorisation = 2,
  otAuthConfirmation = 3,
  otCancel = 4,
  otReport = 5,
  otSettlement = 6,
};

// The title of a stored code ("НЕИЗВЕСТНАЯ ОПЕРАЦИЯ" for unknown codes).
WString OperTypeName(int code);

// The stored EDATE text "yyyymmddhhnnss" as a local date-time. Throws Failure
// unless the text is 14 digits forming a valid date and time.
TDateTime JournalDateToDateTime(WStringView text);
// The EDATE text of a local date-time.
WString DateTimeToJournalDate(const LocalDateTime& when);

// An amount in kopecks as the journal's signed 32-bit AMOUNT column holds it:
// amount x 100 rounded to the nearest integer, ties to even. Throws
// Failure(AmountOutOfRange) when it does not fit, so nothing wraps.
int CurrencyToJournalKopecks(Currency amount);
Currency JournalKopecksToCurrency(int kopecks);

class TOperJournal {
 public:
  // `deviceFolder` ends with a path delimiter (added when missing). Creates
  // the journal folder and the table when missing. Throws Failure with
  // SQLite's message when the file cannot be opened.
  explicit TOperJournal(WStringView deviceFolder);
  ~TOperJournal();
  TOperJournal(const TOperJournal&) = delete;
  TOperJournal& operator=(const TOperJournal&) = delete;

  // Runs the opening steps again; recreates the journal folder when it has
  // disappeared since construction.
  void Init();

  // Inserts a row stamped with the current local time; `id` is the new
  // row's own ID (even when other processes insert at the same moment).
  void AddOperation(int amount, int operType, WStringView card, int& id);
  bool OperationExists(int id);
  // Throws Failure("Транзакция не найдена") when no row had that ID.
  void DeleteOperation(int id);
  // Deletes the row with the highest ID; fails as above on an empty journal.
  void DeleteLastOperation();
  void Clear();
  // The highest ID, 0 for an empty table. Leaves the connection open: the
  // calling operation closes it.
  int MaxID();
  // Reads row `id`; throws Failure("Транзакция не найдена") when missing.
  void GetOperData(int& id, int& amount, int& operType, WString& card, TDateTime& operDate);

  // Report iteration in ascending ID order. BeginReport returns false (and
  // closes) for an empty journal. EndReport must run after a true
  // BeginReport, also when the listing failed.
  bool BeginReport();
  bool GetRecord(int& id, int& amount, int& operType, WString& card, TDateTime& operDate);
  void EndReport() noexcept;

  // A change made all-or-nothing: BeginChange starts a transaction holding
  // the database's write lock (waiting for it like any writer) and keeps the
  // connection open; every operation of this object until EndChange works
  // inside it. EndChange(true) commits, so other processes see the change
  // only once it is complete; EndChange(false) (after a failure) rolls back:
  // nothing was stored or deleted. Because the write lock is held throughout,
  // a settlement that lists and then empties the journal inside one change
  // never deletes an operation another process stored meanwhile: that
  // operation waits, and is kept for the next settlement.
  void BeginChange();
  void EndChange(bool commit);

  const WString& TableFolder() const { return FTableFolder; }
  const WString& DeviceFolder() const { return FDeviceFolder; }
  WString DatabaseFile() const;

 private:
  void OpenSteps();
  void ReadRecord(const JournalStatement& row, int& id, int& amount, int& operType, WString& card,
                  TDateTime& operDate) const;

  JournalDatabase FConnection;
  std::unique_ptr<JournalStatement> FResultData;  // present during a report
  bool FResultHasRow = false;                     // FResultData is on a row
  WString FTableFolder;
  WString FDeviceFolder;
};

// One all-or-nothing change of a journal: begun on construction, rolled
// back on destruction unless Commit ran (so a failure, an exception
// included, leaves the journal as it was).
class TJournalChange {
 public:
  explicit TJournalChange(TOperJournal& journal) : FJournal(journal) { FJournal.BeginChange(); }
  ~TJournalChange() {
    if (!FEnded) FJournal.EndChange(false);
  }
  TJournalChange(const TJournalChange&) = delete;
  TJournalChange& operator=(const TJournalChange&) = delete;

  // Throws when the commit fails; the change is then rolled back.
  void Commit() {
    FEnded = true;
    FJournal.EndChange(true);
  }

 private:
  TOperJournal& FJournal;
  bool FEnded = false;
};

}  // namespace qarvex::emulator
