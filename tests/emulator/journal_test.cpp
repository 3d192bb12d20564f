#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <future>
#include <thread>
#include <vector>

#include "common/error.h"
#include "emulator/uOperJournal.h"
#include "resources/resource_strings.h"
#include "journal_fixture.h"

namespace qarvex::emulator {
namespace {

using testing::JournalTest;

struct Row {
  int id = 0, amount = 0, operType = 0;
  WString card;
  TDateTime date = 0;
};

Row ReadRow(TOperJournal& journal, int id) {
  Row row;
  row.id = id;
  journal.GetOperData(row.id, row.amount, row.operType, row.card, row.date);
  return row;
}

void ExpectNotFound(const std::function<void()>& action) {
  try {
    action();
    ADD_FAILURE() << "expected \"Транзакция не найдена\"";
  } catch (const Failure& e) {
    EXPECT_EQ(FromUtf8(e.what()), ResString(StringId::TransactionNotFound));
  }
}

TEST_F(JournalTest, FreshFileGetsTheTableAndReopeningKeepsItsRows) {
  int id = 0;
  {
    TOperJournal journal(DeviceFolder());
    journal.Init();
    journal.AddOperation(105, otReturn, u"4276123456789012", id);
  }
  EXPECT_TRUE(std::filesystem::exists(DatabasePath()));
  // The table existing files were written with; no AUTOINCREMENT, so the
  // database's highest+1 numbering applies.
  EXPECT_EQ(RawQuery("select sql from sqlite_master where name='journal'"),
            "CREATE TABLE journal(ID integer PRIMARY KEY ASC,AMOUNT integer,OPER integer,CARD VARCHAR(37),"
            "EDATE VARCHAR(14))");
  EXPECT_EQ(RawQuery("select count(*) from sqlite_master"), "1");
  EXPECT_EQ(RawQuery("select EDATE from journal"), "20240131235958");

  TOperJournal reopened(DeviceFolder());
  reopened.Init();
  const Row row = ReadRow(reopened, id);
  EXPECT_EQ(id, 1);
  EXPECT_EQ(row.amount, 105);
  EXPECT_EQ(row.operType, otReturn);
  EXPECT_EQ(row.card, u"4276123456789012");  // stored unmasked
  EXPECT_DOUBLE_EQ(row.date, EncodeDateTime(testing::kFixedNow));
}

TEST_F(JournalTest, RowsWrittenByTheQuotedInsertOfOlderVersionsReadBack) {
  { TOperJournal journal(DeviceFolder()); }
  RawExec("Insert into journal(OPER,EDATE,CARD,AMOUNT) values (2,\"20231105080910\",\"5555\",-250)");
  TOperJournal journal(DeviceFolder());
  const Row row = ReadRow(journal, 1);
  EXPECT_EQ(row.amount, -250);
  EXPECT_EQ(row.operType, otAuthorisation);
  EXPECT_EQ(row.card, u"5555");
  EXPECT_DOUBLE_EQ(row.date, EncodeDateTime({2023, 11, 5, 8, 9, 10, 0}));
}

TEST_F(JournalTest, IdsAreHighestPlusOneSoTopDeletionsAndClearingAreReused) {
  TOperJournal journal(DeviceFolder());
  int id = 0;
  for (int expected = 1; expected <= 3; ++expected) {
    journal.AddOperation(100 * expected, otPay, u"", id);
    EXPECT_EQ(id, expected);
  }
  journal.DeleteLastOperation();
  EXPECT_FALSE(journal.OperationExists(3));
  journal.AddOperation(1, otPay, u"", id);
  EXPECT_EQ(id, 3);

  journal.DeleteOperation(2);  // a hole below the top is not refilled
  journal.AddOperation(1, otPay, u"", id);
  EXPECT_EQ(id, 4);
  EXPECT_EQ(journal.MaxID(), 4);

  journal.Clear();
  EXPECT_EQ(journal.MaxID(), 0);
  journal.AddOperation(1, otPay, u"", id);
  EXPECT_EQ(id, 1);
}

TEST_F(JournalTest, EmptyJournalHasNoRowsToFindDeleteOrList) {
  TOperJournal journal(DeviceFolder());
  EXPECT_EQ(journal.MaxID(), 0);
  EXPECT_FALSE(journal.BeginReport());
  EXPECT_FALSE(journal.OperationExists(0));
  EXPECT_FALSE(journal.OperationExists(1));
  ExpectNotFound([&] { ReadRow(journal, 1); });
  ExpectNotFound([&] { journal.DeleteOperation(1); });
  ExpectNotFound([&] { journal.DeleteLastOperation(); });
}

TEST_F(JournalTest, CardTextWithQuotesAndSqlIsStoredLiterally) {
  TOperJournal journal(DeviceFolder());
  const WString cards[] = {u"12\"34", u"'); DROP TABLE journal; --", u"\",\"x\",1); delete from journal; --",
                           u"Карта №5"};
  std::vector<int> ids;
  for (const auto& card : cards) {
    int id = 0;
    journal.AddOperation(7, otPay, card, id);
    ids.push_back(id);
  }
  for (size_t i = 0; i < ids.size(); ++i) EXPECT_EQ(ReadRow(journal, ids[i]).card, cards[i]);
  EXPECT_EQ(RawQuery("select count(*) from journal"), "4");
}

TEST_F(JournalTest, ReportListsRowsInAscendingIdOrderThenStops) {
  TOperJournal journal(DeviceFolder());
  int id = 0;
  journal.AddOperation(100, otPay, u"a", id);
  journal.AddOperation(200, otReturn, u"b", id);
  journal.AddOperation(300, otAuthorisation, u"c", id);
  journal.DeleteOperation(2);

  ASSERT_TRUE(journal.BeginReport());
  Row row;
  std::vector<int> seen;
  while (journal.GetRecord(row.id, row.amount, row.operType, row.card, row.date)) {
    seen.push_back(row.id);
    EXPECT_EQ(row.amount, row.id * 100);
  }
  journal.EndReport();
  EXPECT_EQ(seen, (std::vector<int>{1, 3}));
  EXPECT_FALSE(journal.GetRecord(row.id, row.amount, row.operType, row.card, row.date));
}

TEST_F(JournalTest, AnUnreadableStoredDateFailsTheRead) {
  TOperJournal journal(DeviceFolder());
  RawExec("insert into journal(AMOUNT,OPER,CARD,EDATE) values (1,0,'x','2024013')");
  EXPECT_THROW(ReadRow(journal, 1), Failure);
  // The connection was closed on the way out: another writer can lock the file.
  RawExec("begin exclusive; commit;");
}

TEST_F(JournalTest, StoredNumbersBeyond32BitsFailInsteadOfWrapping) {
  TOperJournal journal(DeviceFolder());
  RawExec("insert into journal(ID,AMOUNT,OPER,CARD,EDATE) values (1,5000000000,0,'x','20240101000000')");
  EXPECT_THROW(ReadRow(journal, 1), Failure);
  RawExec("insert into journal(ID,AMOUNT,OPER,CARD,EDATE) values (4294967297,1,0,'x','20240101000000')");
  EXPECT_THROW(journal.MaxID(), Failure);
}

TEST_F(JournalTest, InitRecreatesAJournalFolderRemovedSinceCreation) {
  TOperJournal journal(DeviceFolder());
  std::filesystem::remove_all(DatabasePath().parent_path());
  journal.Init();
  int id = 0;
  journal.AddOperation(1, otPay, u"", id);
  EXPECT_EQ(id, 1);
  EXPECT_TRUE(std::filesystem::exists(DatabasePath()));
}

TEST_F(JournalTest, DatabaseErrorsCarrySqliteOwnMessage) {
  // A plain file where the journal folder should be: the open must fail.
  std::filesystem::create_directories(root_ / "device");
  { std::ofstream(root_ / "device" / "OperJournal") << "not a folder"; }
  try {
    TOperJournal journal(DeviceFolder());
    ADD_FAILURE() << "opening should fail";
  } catch (const Failure& e) {
    EXPECT_EQ(std::string(e.what()), "unable to open database file");
  }
}

// Starts `write` on another thread and checks that it is still waiting a
// while later: for the lock the test holds. The test then lets it through.
template <class Write>
std::future<int> StartWaitingWriter(Write&& write) {
  auto waiting = std::async(std::launch::async, std::forward<Write>(write));
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  EXPECT_EQ(waiting.wait_for(std::chrono::seconds(0)), std::future_status::timeout) << "the writer did not wait";
  return waiting;
}

TEST_F(JournalTest, AWriterWaitsForALockedDatabaseInsteadOfFailing) {
  TOperJournal journal(DeviceFolder());
  sqlite3* holder = nullptr;
  ASSERT_EQ(sqlite3_open(DatabasePath().c_str(), &holder), SQLITE_OK);
  ASSERT_EQ(sqlite3_exec(holder, "begin exclusive; insert into journal(AMOUNT,OPER,CARD,EDATE) "
                                 "values (1,0,'held','20240101000000');",
                         nullptr, nullptr, nullptr),
            SQLITE_OK);
  auto adding = StartWaitingWriter([&] {
    int id = 0;
    journal.AddOperation(2, otPay, u"waiting", id);
    return id;
  });
  ASSERT_EQ(sqlite3_exec(holder, "commit", nullptr, nullptr, nullptr), SQLITE_OK);
  sqlite3_close(holder);
  EXPECT_EQ(adding.get(), 2);
}

TEST_F(JournalTest, SettlementKeepsAnOperationStoredWhileItListsTheJournal) {
  TOperJournal settling(DeviceFolder());
  TOperJournal cashier(DeviceFolder());
  int id = 0;
  settling.AddOperation(100, otPay, u"listed", id);

  settling.BeginChange();
  ASSERT_TRUE(settling.BeginReport());
  Row row;
  int listed = 0;
  while (settling.GetRecord(row.id, row.amount, row.operType, row.card, row.date)) ++listed;
  settling.EndReport();
  EXPECT_EQ(listed, 1);

  // Another cashier pays between the listing and the clearing: the payment
  // has to wait for the settlement and survive it.
  auto paying = StartWaitingWriter([&] {
    int newId = 0;
    cashier.AddOperation(700, otPay, u"unlisted", newId);
    return newId;
  });
  settling.Clear();
  settling.EndChange(true);

  const int survivorId = paying.get();
  const Row survivor = ReadRow(settling, survivorId);
  EXPECT_EQ(survivor.card, u"unlisted");
  EXPECT_EQ(survivor.amount, 700);
  EXPECT_EQ(RawQuery("select count(*) from journal"), "1");
}

TEST_F(JournalTest, AFailedSettlementRollsBackAndDeletesNothing) {
  TOperJournal journal(DeviceFolder());
  int id = 0;
  journal.AddOperation(100, otPay, u"kept", id);
  journal.BeginChange();
  journal.Clear();
  journal.EndChange(false);
  EXPECT_EQ(ReadRow(journal, id).card, u"kept");
}

TEST(JournalDate, FourteenDigitsReadAsLocalDateAndTime) {
  EXPECT_DOUBLE_EQ(JournalDateToDateTime(u"20240131235959"), EncodeDateTime({2024, 1, 31, 23, 59, 59, 0}));
  EXPECT_DOUBLE_EQ(JournalDateToDateTime(u"20000229000000"), EncodeDateTime({2000, 2, 29, 0, 0, 0, 0}));
  EXPECT_EQ(DateTimeToJournalDate({987, 3, 4, 5, 6, 7, 800}), u"09870304050607");
}

TEST(JournalDate, AnythingButAValidFourteenDigitDateIsRefused) {
  for (const WString text : {u"", u"2024013123595", u"202401312359590", u"2024013a235959", u" 2024013123595",
                             u"20230229120000", u"20241301000000", u"20240131240000", u"20240131236000",
                             u"00000101000000"})
    EXPECT_THROW(JournalDateToDateTime(text), Failure) << ToUtf8(text);
}

TEST(JournalKopecks, AmountsRoundToKopecksTiesToEven) {
  EXPECT_EQ(CurrencyToJournalKopecks(10500), 105);  // 1.05
  EXPECT_EQ(CurrencyToJournalKopecks(1000000), 10000);
  EXPECT_EQ(CurrencyToJournalKopecks(49), 0);
  EXPECT_EQ(CurrencyToJournalKopecks(51), 1);
  EXPECT_EQ(CurrencyToJournalKopecks(50), 0);     // 0.005 -> 0.00
  EXPECT_EQ(CurrencyToJournalKopecks(150), 2);    // 0.015 -> 0.02
  EXPECT_EQ(CurrencyToJournalKopecks(250), 2);    // 0.025 -> 0.02
  EXPECT_EQ(CurrencyToJournalKopecks(-150), -2);
  EXPECT_EQ(CurrencyToJournalKopecks(-250), -2);
  EXPECT_EQ(CurrencyToJournalKopecks(-51), -1);
  EXPECT_EQ(JournalKopecksToCurrency(-105), -10500);
}

TEST(JournalKopecks, AmountsBeyondTheSigned32BitColumnAreRefusedNotWrapped) {
  EXPECT_EQ(CurrencyToJournalKopecks(214748364700), 2147483647);     // 21 474 836.47
  EXPECT_EQ(CurrencyToJournalKopecks(-214748364800), -2147483647 - 1);
  EXPECT_EQ(CurrencyToJournalKopecks(214748364749), 2147483647);     // rounds down into range
  for (const Currency amount : {Currency{214748364750}, Currency{214748364800}, Currency{-214748364900},
                                Currency{INT64_MAX}, Currency{INT64_MIN}}) {
    try {
      CurrencyToJournalKopecks(amount);
      ADD_FAILURE() << amount;
    } catch (const Failure& e) {
      EXPECT_EQ(FromUtf8(e.what()), ResString(StringId::AmountOutOfRange));
    }
  }
}

TEST(OperTypeTitles, StoredCodesHaveTheirTitlesAndUnknownCodesAGenericOne) {
  EXPECT_EQ(OperTypeName(otPay), u"ОПЛАТА");
  EXPECT_EQ(OperTypeName(otReturn), u"ВОЗВРАТ ОПЛАТЫ");
  EXPECT_EQ(OperTypeName(otAuthorisation), u"ПРЕАВТОРИЗАЦИЯ");
  EXPECT_EQ(OperTypeName(otAuthConfirmation), u"ПОДТВЕРЖДЕНИЕ");
  EXPECT_EQ(OperTypeName(otCancel), u"ОТМЕНА");
  EXPECT_EQ(OperTypeName(otReport), u"ОТЧЕТ");
  EXPECT_EQ(OperTypeName(otSettlement), u"СВЕРКА");
  EXPECT_EQ(OperTypeName(7), u"НЕИЗВЕСТНАЯ ОПЕРАЦИЯ");
  EXPECT_EQ(OperTypeName(-1), u"НЕИЗВЕСТНАЯ ОПЕРАЦИЯ");
}

}  // namespace
}  // namespace qarvex::emulator
