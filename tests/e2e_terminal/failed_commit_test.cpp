// An operation whose change cannot be committed (another program keeps the
// journal open for reading past the bound of the wait) fails having changed
// nothing, and hands back no number or slip of a change that did not happen.
#include "e2e_terminal/terminal_fixture.h"

namespace qarvex::testing {
namespace {

class FailedCommitTest : public TerminalTest {
 protected:
  // A reader holding the file's shared lock, as a long listing does.
  void HoldForReading() {
    ASSERT_EQ(sqlite3_open_v2(DatabasePath().c_str(), &reader_, SQLITE_OPEN_READONLY, nullptr), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(reader_, "begin; select count(*) from journal;", nullptr, nullptr, nullptr), SQLITE_OK);
  }
  void Release() {
    sqlite3_exec(reader_, "commit", nullptr, nullptr, nullptr);
    sqlite3_close(reader_);
    reader_ = nullptr;
  }
  void TearDown() override {
    if (reader_ != nullptr) Release();
    TerminalTest::TearDown();
  }
  sqlite3* reader_ = nullptr;
};

TEST_F(FailedCommitTest, PaymentAndCancellationThatCannotCommitChangeNothing) {
  ASSERT_TRUE(Pay(kCard, 15).returned);
  const auto before = StoredRows();
  HoldForReading();

  const CardResult pay = Pay(kCard, 20);
  EXPECT_FALSE(pay.returned);
  EXPECT_EQ(LastError(), u"database is locked");
  EXPECT_EQ(pay.Receipt(), u"") << "no number of a row that is not there";
  EXPECT_EQ(pay.Slip(), u"");

  const CardResult cancel = Card(u"ОтменитьПлатежПоПлатежнойКарте", kCard, 15, u"000001");
  EXPECT_FALSE(cancel.returned);
  EXPECT_EQ(cancel.Slip(), u"") << "no slip of a cancellation that did not happen";

  Release();
  EXPECT_EQ(StoredRows(), before);
  EXPECT_EQ(Pay(kCard, 30).Receipt(), u"000002");
}

}  // namespace
}  // namespace qarvex::testing
