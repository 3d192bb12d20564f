// An operation whose change cannot be committed (another program keeps the
// journal open for reading past the bound of the wait) fails having changed
// nothing, and hands back no number or slip of a change that did not happen.
#include <sys/wait.h>
#include <unistd.h>

#include "e2e_terminal/terminal_fixture.h"

namespace qarvex::testing {
namespace {

class FailedCommitTest : public TerminalTest {
 protected:
  // A reader in another process holding the file's shared lock, as a long
  // listing does. Another process, because file locks never conflict
  // within one: a component that carries its own SQLite would not see a
  // lock taken by this program's.
  void HoldForReading() {
    int ready[2], release[2];
    ASSERT_EQ(::pipe(ready), 0);
    ASSERT_EQ(::pipe(release), 0);
    reader_ = ::fork();
    ASSERT_GE(reader_, 0);
    if (reader_ == 0) {
      ::close(ready[0]);
      ::close(release[1]);  // so that the read below ends when the test closes its end
      sqlite3* db = nullptr;
      const bool held = sqlite3_open_v2(DatabasePath().c_str(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK &&
                        sqlite3_exec(db, "begin; select count(*) from journal;", nullptr, nullptr, nullptr) == SQLITE_OK;
      const char answer = held ? 'y' : 'n';
      char go = 0;
      if (::write(ready[1], &answer, 1) != 1 || ::read(release[0], &go, 1) < 0) _exit(2);
      _exit(held ? 0 : 1);  // the lock goes with the process
    }
    ::close(ready[1]);
    ::close(release[0]);
    release_ = release[1];
    char answer = 0;
    ASSERT_EQ(::read(ready[0], &answer, 1), 1);
    ::close(ready[0]);
    ASSERT_EQ(answer, 'y') << "the reader could not take the lock";
  }
  void Release() {
    ::close(release_);
    int status = 0;
    ::waitpid(reader_, &status, 0);
    reader_ = -1;
  }
  void TearDown() override {
    if (reader_ > 0) Release();
    TerminalTest::TearDown();
  }
  pid_t reader_ = -1;
  int release_ = -1;
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
