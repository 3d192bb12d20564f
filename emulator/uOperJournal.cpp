#include "emulator/uOperJournal.h"

#include <climits>
#include <string>

#include "common/error.h"
#include "platform/clock.h"
#include "platform/folders.h"
#include "resources/resource_strings.h"

namespace qarvex::emulator {

namespace {

constexpr char kSchema[] =
    "CREATE TABLE if not exists journal(ID integer PRIMARY KEY ASC,AMOUNT integer,OPER integer,"
    "CARD VARCHAR(37),EDATE VARCHAR(14));";
// Values are bound, never spliced into the text: a card number with quotes
// or SQL in it is stored literally.
constexpr char kInsert[] = "Insert into journal(OPER,EDATE,CARD,AMOUNT) values (?1,?2,?3,?4)";
constexpr char kSelectMaxId[] = "Select max(ID) as MaxID from journal";
constexpr char kSelectAll[] = "Select * from journal order by id asc";
constexpr char kSelectOnePrefix[] = "Select * from journal where id =";
constexpr char kDeleteOnePrefix[] = "Delete from journal where id=";
constexpr char kDeleteAll[] = "Delete from journal";

constexpr char16_t kJournalFolderName[] = u"OperJournal";
constexpr char16_t kDatabaseFileName[] = u"journal.db3";

// Closes the connection when the operation that opened it ends, also on
// failure. Declared before any statement so statements are finalised first.
class CloseOnExit {
 public:
  explicit CloseOnExit(JournalDatabase& db) : db_(db) {}
  ~CloseOnExit() { db_.Close(); }
  CloseOnExit(const CloseOnExit&) = delete;
  CloseOnExit& operator=(const CloseOnExit&) = delete;

 private:
  JournalDatabase& db_;
};

[[noreturn]] void ThrowTransactionNotFound() { throw Failure(ResString(StringId::TransactionNotFound)); }

// Journal values are 32-bit; a row written by something else with a larger
// number must not turn into a wrong receipt number or amount.
int ToInt32(std::int64_t value) {
  if (value < INT_MIN || value > INT_MAX)
    throw Failure("Journal value " + std::to_string(value) + " is out of the 32-bit range");
  return static_cast<int>(value);
}

WString JournalFolderOf(WStringView deviceFolder) {
  return platform::IncludeTrailingDelimiter(platform::IncludeTrailingDelimiter(deviceFolder) +
                                            kJournalFolderName + platform::PathDelimiter());
}

}  // namespace

WString OperTypeName(int code) {
  switch (code) {
    case otPay: return ResString(StringId::OperPay);
    case otReturn: return ResString(StringId::OperReturn);
    case otAuthorisation: return ResString(StringId::OperAuthorisation);
    case otAuthConfirmation: return ResString(StringId::OperAuthConfirmation);
    case otCancel: return ResString(StringId::OperCancel);
    case otReport: return ResString(StringId::OperReport);
    case otSettlement: return ResString(StringId::OperSettlement);
    default: return ResString(StringId::OperUnknown);
  }
}

TDateTime JournalDateToDateTime(WStringView text) {
  bool digitsOnly = text.size() == 14;
  for (char16_t ch : text)
    if (ch < u'0' || ch > u'9') digitsOnly = false;
  if (!digitsOnly) throw Failure("'" + ToUtf8(text) + "' is not a valid journal date");
  const auto field = [&](size_t from, size_t count) {
    int value = 0;
    for (size_t i = from; i < from + count; ++i) value = value * 10 + (text[i] - u'0');
    return value;
  };
  LocalDateTime when;
  when.year = field(0, 4);
  when.month = field(4, 2);
  when.day = field(6, 2);
  when.hour = field(8, 2);
  when.minute = field(10, 2);
  when.second = field(12, 2);
  when.millisecond = 0;
  return EncodeDateTime(when);  // throws for a date or time that does not exist
}

WString DateTimeToJournalDate(const LocalDateTime& when) {
  return IntToText(when.year, 4) + IntToText(when.month, 2) + IntToText(when.day, 2) +
         IntToText(when.hour, 2) + IntToText(when.minute, 2) + IntToText(when.second, 2);
}

int CurrencyToJournalKopecks(Currency amount) {
  constexpr Currency kPerKopeck = kCurrencyScale / 100;
  Currency kopecks = amount / kPerKopeck;
  const Currency rest = amount % kPerKopeck;  // same sign as amount
  const bool odd = kopecks % 2 != 0;
  if (rest > kPerKopeck / 2 || (rest == kPerKopeck / 2 && odd)) ++kopecks;
  if (rest < -kPerKopeck / 2 || (rest == -kPerKopeck / 2 && odd)) --kopecks;
  if (kopecks < INT_MIN || kopecks > INT_MAX) throw Failure(ResString(StringId::AmountOutOfRange));
  return static_cast<int>(kopecks);
}

Currency JournalKopecksToCurrency(int kopecks) {
  return static_cast<Currency>(kopecks) * (kCurrencyScale / 100);
}

TOperJournal::TOperJournal(WStringView deviceFolder) : FDeviceFolder(deviceFolder) {
  FTableFolder = JournalFolderOf(FDeviceFolder);
  // A folder that cannot be created shows up as the database open failing.
  platform::ForceDirectories(FTableFolder);
  OpenSteps();
}

TOperJournal::~TOperJournal() { EndReport(); }

void TOperJournal::Init() {
  if (!platform::DirectoryExists(FTableFolder)) {
    FTableFolder = JournalFolderOf(FDeviceFolder);
    platform::ForceDirectories(FTableFolder);
  }
  OpenSteps();
}

WString TOperJournal::DatabaseFile() const { return FTableFolder + kDatabaseFileName; }

void TOperJournal::OpenSteps() {
  FConnection.Close();
  FConnection.SetPath(ToUtf8(DatabaseFile()));
  CloseOnExit closer(FConnection);
  FConnection.Execute(kSchema);
}

void TOperJournal::AddOperation(int amount, int operType, WStringView card, int& id) {
  CloseOnExit closer(FConnection);
  const WString stamp = DateTimeToJournalDate(platform::NowLocal());
  JournalStatement insert = FConnection.Prepare(kInsert);
  insert.BindInt(1, operType);
  insert.BindText(2, stamp);
  insert.BindText(3, card);
  insert.BindInt(4, amount);
  insert.Step();
  // The row's own ID: another process may insert right after us, so the
  // highest ID is not necessarily ours.
  id = ToInt32(FConnection.LastInsertRowId());
}

bool TOperJournal::OperationExists(int id) {
  CloseOnExit closer(FConnection);
  JournalStatement select = FConnection.Prepare(kSelectOnePrefix + std::to_string(id));
  return select.Step();
}

void TOperJournal::DeleteOperation(int id) {
  CloseOnExit closer(FConnection);
  FConnection.Execute(kDeleteOnePrefix + std::to_string(id));
  if (FConnection.Changes() == 0) ThrowTransactionNotFound();
}

void TOperJournal::DeleteLastOperation() {
  CloseOnExit closer(FConnection);
  DeleteOperation(MaxID());
}

void TOperJournal::Clear() {
  CloseOnExit closer(FConnection);
  FConnection.Execute(kDeleteAll);
}

void TOperJournal::BeginChange() {
  EndReport();
  FConnection.BeginHeldTransaction();
}

void TOperJournal::EndChange(bool commit) { FConnection.EndHeldTransaction(commit); }

int TOperJournal::MaxID() {
  JournalStatement select = FConnection.Prepare(kSelectMaxId);
  if (!select.Step()) return 0;
  if (select.Text("MaxID").empty()) return 0;
  return ToInt32(select.Int("MaxID"));
}

void TOperJournal::GetOperData(int& id, int& amount, int& operType, WString& card, TDateTime& operDate) {
  CloseOnExit closer(FConnection);
  JournalStatement select = FConnection.Prepare(kSelectOnePrefix + std::to_string(id));
  if (!select.Step()) ThrowTransactionNotFound();
  ReadRecord(select, id, amount, operType, card, operDate);
}

bool TOperJournal::BeginReport() {
  EndReport();
  try {
    if (MaxID() <= 0) {
      FConnection.Close();
      return false;
    }
    FResultData = std::make_unique<JournalStatement>(FConnection.Prepare(kSelectAll));
    FResultHasRow = FResultData->Step();
    return true;
  } catch (...) {
    EndReport();
    throw;
  }
}

bool TOperJournal::GetRecord(int& id, int& amount, int& operType, WString& card, TDateTime& operDate) {
  if (!FResultData || !FResultHasRow) return false;
  ReadRecord(*FResultData, id, amount, operType, card, operDate);
  FResultHasRow = FResultData->Step();
  return true;
}

void TOperJournal::EndReport() noexcept {
  FResultData.reset();
  FResultHasRow = false;
  FConnection.Close();
}

void TOperJournal::ReadRecord(const JournalStatement& row, int& id, int& amount, int& operType, WString& card,
                              TDateTime& operDate) const {
  id = ToInt32(row.Int("ID"));
  amount = ToInt32(row.Int("AMOUNT"));
  operType = ToInt32(row.Int("OPER"));
  card = row.Text("CARD");
  operDate = JournalDateToDateTime(row.Text("EDATE"));
}

}  // namespace qarvex::emulator
