// A host short of memory refuses one of the texts an operation hands back:
// the operation is then not done. It answers False with the refusal as the
// last error, the journal keeps exactly what it held, and a later settlement
// still reports every row.
#include <functional>

#include "e2e_terminal/terminal_fixture.h"

namespace qarvex::testing {
namespace {

const std::u16string kRefusedMemory = u"Платформа отказала в выделении памяти для возвращаемых значений";

class RefusedMemoryTest : public TerminalTest {
 protected:
  // Runs `call` with the host refusing its first, second, ... memory request
  // until a run succeeds. Every run that fails must have failed for the
  // refusal and left the journal as it was. Answers how many runs failed.
  int FailEveryRefusedWrite(const std::function<bool()>& call) {
    const auto before = StoredRows();
    for (std::size_t n = 1;; ++n) {
      host->RefuseAllocationNumber(n);
      const std::size_t refusalsBefore = host->Memory().refusals;
      const bool done = call();
      const bool refused = host->Memory().refusals > refusalsBefore;
      host->RefuseAllocationNumber(0);
      if (done) {
        EXPECT_FALSE(refused) << "a call whose text was refused reported success (request " << n << ")";
        return static_cast<int>(n) - 1;
      }
      EXPECT_TRUE(refused) << "the call failed with no refusal (request " << n << ")";
      EXPECT_EQ(LastError(), kRefusedMemory) << "request " << n;
      EXPECT_EQ(StoredRows(), before) << "the journal changed although request " << n << " was refused";
      if (n > 20) {
        ADD_FAILURE() << "the call never succeeds";
        return -1;
      }
    }
  }

  bool Settle(std::vector<HostValue>& params) {
    params = {HostValue(u"dev"), HostValue(u"untouched")};
    return Call(*driver, u"ИтогиДняПоКартам", params);
  }
};

// The five texts of a card operation (masked card, receipt number, reference
// number, authorisation code, slip) each count: refusing any one of them
// fails the operation.
constexpr int kCardTexts = 5;

TEST_F(RefusedMemoryTest, PaymentReturnAndCancellationAreNotDoneWhenTheHostRefusesAnyOfTheirTexts) {
  ASSERT_TRUE(Pay(kCard, 10).returned);
  ASSERT_TRUE(Pay(kCard, 20).returned);

  EXPECT_EQ(FailEveryRefusedWrite([&] { return Pay(kCard, 30).returned; }), kCardTexts);
  EXPECT_EQ(FailEveryRefusedWrite([&] { return Card(u"ВернутьПлатежПоПлатежнойКарте", kCard, 5).returned; }),
            kCardTexts);
  EXPECT_EQ(FailEveryRefusedWrite(
                [&] { return Card(u"ОтменитьПлатежПоПлатежнойКарте", kCard, 10, u"000001").returned; }),
            kCardTexts);

  // Only the runs that succeeded changed the journal: row 1 cancelled, the
  // payment of 30 and the return of 5 stored under the next numbers.
  const auto rows = StoredRows();
  ASSERT_EQ(rows.size(), 3u);
  EXPECT_EQ(std::get<0>(rows[0]), 2);
  EXPECT_EQ(std::get<0>(rows[1]), 3);
  EXPECT_EQ(std::get<1>(rows[1]), 3000);
  EXPECT_EQ(std::get<0>(rows[2]), 4);
  EXPECT_EQ(std::get<1>(rows[2]), 500);
}

// A payment whose answer could not be handed over hands back no number of a
// row that is not there: the host's own values are written back.
TEST_F(RefusedMemoryTest, AFailedPaymentLeavesNoNumberOfAnUnstoredRow) {
  host->RefuseAllocationNumber(kCardTexts);  // the slip, the last text
  const CardResult pay = Pay(kCard, 30);
  host->RefuseAllocationNumber(0);
  EXPECT_FALSE(pay.returned);
  EXPECT_EQ(pay.Receipt(), u"");
  EXPECT_EQ(pay.Text(4), u"rrn-in");
  EXPECT_EQ(pay.Text(5), u"auth-in");
  EXPECT_TRUE(Rows().empty());
}

TEST_F(RefusedMemoryTest, ASettlementWhoseReportIsRefusedEmptiesNothingAndTheNextReportsEveryRow) {
  ASSERT_TRUE(Pay(kCard, 10).returned);
  ASSERT_TRUE(Card(u"ВернутьПлатежПоПлатежнойКарте", kCard, 3).returned);
  ASSERT_TRUE(Pay(kCard, 20).returned);

  std::vector<HostValue> params;
  EXPECT_EQ(FailEveryRefusedWrite([&] { return Settle(params); }), 1);
  EXPECT_TRUE(Rows().empty());
  const std::u16string report = params[1].AsText();
  for (const char16_t* receipt : {u"000001", u"000002", u"000003"})
    EXPECT_NE(report.find(Label(u"Номер чека:", receipt)), std::u16string::npos) << Utf8(receipt);
  EXPECT_NE(report.find(Label(u"ИТОГ:", u"27 Руб")), std::u16string::npos) << Utf8(report);
}

// Without a memory manager no text can be handed over at all; the
// operations still run and store, as they always have.
TEST_F(RefusedMemoryTest, WithoutAMemoryManagerOperationsStillRun) {
  auto bare = host->Create(u"qarvex_termemu");
  ASSERT_NE(bare, nullptr);
  ASSERT_TRUE(bare->Init());  // no SetMemManager
  ASSERT_TRUE(Connect(*bare));
  EXPECT_TRUE(Pay(kCard, 10, bare.get()).returned);
  EXPECT_EQ(Rows().size(), 1u);
  std::vector<HostValue> settle{HostValue(u"dev"), HostValue(u"untouched")};
  EXPECT_TRUE(Call(*bare, u"ИтогиДняПоКартам", settle));
  EXPECT_TRUE(Rows().empty());
}

}  // namespace
}  // namespace qarvex::testing
