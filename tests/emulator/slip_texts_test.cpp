#include <gtest/gtest.h>

#include <vector>

#include "common/error.h"
#include "emulator/slip_texts.h"
#include "journal_fixture.h"
#include "resources/resource_strings.h"

namespace qarvex::emulator {
namespace {

using testing::JournalTest;

WString Spaces(int n) { return WString(static_cast<size_t>(n), u' '); }
WString Line(const WString& text) { return text + u"\r\n"; }
const WString kHeavy32 = WString(32, u'=');
const WString kLight32 = WString(32, u'-');
const WString kNowText = u"31.01.24 23:59:58";  // the fixture's clock, with '.' and ':'

std::vector<WString> SplitLines(const WString& text) {
  std::vector<WString> lines;
  size_t start = 0;
  for (size_t end; (end = text.find(u"\r\n", start)) != WString::npos; start = end + 2)
    lines.push_back(text.substr(start, end - start));
  EXPECT_EQ(start, text.size()) << "text does not end with CR LF";
  return lines;
}

class SlipTest : public JournalTest {
 protected:
  TDateTime Now() const { return EncodeDateTime(testing::kFixedNow); }
};

TEST_F(SlipTest, ApprovedPaymentSlipIsTheBlockTwiceAroundACutLine) {
  const WString block = Line(kHeavy32) + Line(Spaces(13) + u"ОПЛАТА" + Spaces(13)) + Line(u"") +
                        Line(u"Дата:" + Spaces(10) + kNowText) + Line(u"Сумма:" + Spaces(17) + u"100,5 Руб") +
                        Line(u"Номер чека:" + Spaces(15) + u"000001") +
                        Line(u"Карта:" + Spaces(10) + u"************9012") + Line(u"") +
                        Line(Spaces(12) + u"ОДОБРЕНО" + Spaces(12)) + Line(kHeavy32);
  EXPECT_EQ(BuildSlip(u"ОПЛАТА", 1, 1005000, u"************9012", Now(), true, 32),
            block + Line(u"[cut]") + block);
}

TEST_F(SlipTest, DeclinedSlipWithoutAmountNumberOrCardLeavesThoseLinesOut) {
  const WString slip = BuildSlip(u"ОТМЕНА", -1, 0, u"", Now(), false, 32);
  const std::vector<WString> expected = {kHeavy32,
                                         Spaces(13) + u"ОТМЕНА" + Spaces(13),
                                         u"",
                                         u"Дата:" + Spaces(10) + kNowText,
                                         u"",
                                         Spaces(11) + u"ОТКЛОНЕНО" + Spaces(12),
                                         kHeavy32};
  std::vector<WString> both = expected;
  both.push_back(u"[cut]");
  both.insert(both.end(), expected.begin(), expected.end());
  EXPECT_EQ(SplitLines(slip), both);
  // A declined new operation still shows its zero receipt number.
  EXPECT_NE(BuildSlip(u"ОПЛАТА", 0, 0, u"", Now(), false, 32).find(u"Номер чека:" + Spaces(15) + u"000000\r\n"),
            WString::npos);
}

TEST_F(SlipTest, EveryLineFollowsTheWidthIncludingWideAndEmptyWidths) {
  for (const int width : {300, 9}) {
    for (const WString& line : SplitLines(BuildSlip(u"ПРЕАВТОРИЗАЦИЯ", 12, 1005000, u"****1234", Now(), true, width)))
      if (!line.empty() && line != u"[cut]") {
        EXPECT_EQ(line.size(), static_cast<size_t>(width)) << ToUtf8(line);
      }
  }
  for (const int width : {0, -4}) {
    const std::vector<WString> lines = SplitLines(BuildSlip(u"ОПЛАТА", 1, 10000, u"****1234", Now(), true, width));
    EXPECT_EQ(lines.size(), 2 * 10 + 1u);
    for (const WString& line : lines)
      if (line != u"[cut]") {
        EXPECT_EQ(line, u"");
      }
  }
}

TEST_F(SlipTest, ReceiptCopyShowsTheStoredOperationMarkedApproved) {
  TOperJournal journal(DeviceFolder());
  int id = 0;
  journal.AddOperation(10000, otPay, u"4276000011112222", id);
  journal.AddOperation(3025, otReturn, u"5555666677778888", id);
  // Copies carry the stored time, not the time of printing.
  platform::OverrideClock([] { return LocalDateTime{2025, 6, 1, 8, 0, 0, 0}; });

  const WString newest = GetReceiptCopy(journal, u"", 32);
  const std::vector<WString> lines = SplitLines(newest);
  ASSERT_EQ(lines.size(), 2 * 10 + 1u);
  EXPECT_EQ(lines[1], Spaces(5) + u"ВОЗВРАТ ОПЛАТЫ (КОПИЯ)" + Spaces(5));
  EXPECT_EQ(lines[3], u"Дата:" + Spaces(10) + kNowText);
  EXPECT_EQ(lines[4], u"Сумма:" + Spaces(17) + u"30,25 Руб");
  EXPECT_EQ(lines[5], u"Номер чека:" + Spaces(15) + u"000002");
  EXPECT_EQ(lines[6], u"Карта:" + Spaces(10) + u"************8888");
  EXPECT_EQ(lines[8], Spaces(12) + u"ОДОБРЕНО" + Spaces(12));
  EXPECT_EQ(lines[10], u"[cut]");

  // Anything but a non-negative integer means the newest operation.
  EXPECT_EQ(GetReceiptCopy(journal, u"abc", 32), newest);
  EXPECT_EQ(GetReceiptCopy(journal, u"-1", 32), newest);
  EXPECT_EQ(GetReceiptCopy(journal, u"000002", 32), newest);
  EXPECT_EQ(SplitLines(GetReceiptCopy(journal, u"1", 32))[1], Spaces(9) + u"ОПЛАТА (КОПИЯ)" + Spaces(9));
}

TEST_F(SlipTest, ReceiptCopyOfAMissingOperationFails) {
  TOperJournal journal(DeviceFolder());
  for (const WString number : {u"", u"1"}) {
    try {
      GetReceiptCopy(journal, number, 32);
      ADD_FAILURE() << "copy of an empty journal";
    } catch (const Failure& e) {
      EXPECT_EQ(FromUtf8(e.what()), ResString(StringId::TransactionNotFound));
    }
  }
  int id = 0;
  journal.AddOperation(100, otPay, u"", id);
  EXPECT_THROW(GetReceiptCopy(journal, u"2", 32), Failure);
}

TEST_F(SlipTest, ReportListsEveryOperationUnmaskedWithItsTotal) {
  TOperJournal journal(DeviceFolder());
  int id = 0;
  journal.AddOperation(10000, otPay, u"4276000011112222", id);
  const WString expected =
      Line(kHeavy32) + Line(Spaces(13) + u"ОТЧЕТ" + Spaces(14)) + Line(Spaces(7) + kNowText + Spaces(8)) + Line(u"") +
      Line(kLight32) + Line(Spaces(13) + u"ОПЛАТА" + Spaces(13)) + Line(u"Дата:" + Spaces(10) + kNowText) +
      Line(u"Сумма:" + Spaces(19) + u"100 Руб") + Line(u"Номер чека:" + Spaces(15) + u"000001") +
      Line(u"Карта:" + Spaces(10) + u"4276000011112222") + Line(u"") + Line(u"ИТОГ:" + Spaces(20) + u"100 Руб") +
      Line(kHeavy32);
  EXPECT_EQ(GetReport(journal, u"", 32), expected);
  EXPECT_EQ(SplitLines(GetReport(journal, u"СВЕРКА", 32))[1], Spaces(13) + u"СВЕРКА" + Spaces(13));
}

TEST_F(SlipTest, ReportTotalAddsPaymentsAndPreauthorisationsAndSubtractsReturns) {
  TOperJournal journal(DeviceFolder());
  int id = 0;
  journal.AddOperation(10000, otPay, u"1", id);
  journal.AddOperation(3000, otReturn, u"", id);
  journal.AddOperation(5000, otAuthorisation, u"3", id);
  journal.AddOperation(0, otPay, u"4", id);
  journal.AddOperation(99999, otCancel, u"5", id);  // a code no operation stores: not counted
  const std::vector<WString> lines = SplitLines(GetReport(journal, u"", 32));
  ASSERT_EQ(lines.size(), 4 + 5 * 6 + 3u);
  EXPECT_EQ(lines[lines.size() - 2], u"ИТОГ:" + Spaces(20) + u"120 Руб");
  EXPECT_EQ(lines[4 + 6 * 1 + 5], u"Карта:" + Spaces(26));        // empty card: the label alone
  EXPECT_EQ(lines[4 + 6 * 3 + 3], u"Сумма:" + Spaces(21) + u"0 Руб");  // zero amounts are listed
  EXPECT_EQ(lines[4 + 6 * 4 + 1], Spaces(13) + u"ОТМЕНА" + Spaces(13));
}

TEST_F(SlipTest, EmptyJournalReportIsTitledSettlementWhateverWasAsked) {
  TOperJournal journal(DeviceFolder());
  const WString expected = Line(kHeavy32) + Line(Spaces(13) + u"СВЕРКА" + Spaces(13)) +
                           Line(u"Дата:" + Spaces(10) + kNowText) + Line(u"Журнал транзакций пуст" + Spaces(10)) +
                           Line(kHeavy32);
  EXPECT_EQ(GetReport(journal, u"ОТЧЕТ", 32), expected);
  EXPECT_EQ(GetReport(journal, u"", 32), expected);
}

TEST_F(SlipTest, AReportThatFailsWhileListingStillReleasesTheJournal) {
  TOperJournal journal(DeviceFolder());
  int id = 0;
  journal.AddOperation(100, otPay, u"", id);
  RawExec("insert into journal(AMOUNT,OPER,CARD,EDATE) values (1,0,'x','yesterday')");
  EXPECT_THROW(GetReport(journal, u"СВЕРКА", 32), Failure);
  // No statement or lock left behind: another connection can take the file
  // exclusively without waiting, and the journal still works.
  RawExec("begin exclusive; delete from journal where id=2; commit;");
  EXPECT_NE(GetReport(journal, u"", 32).find(u"ИТОГ:"), WString::npos);
}

}  // namespace
}  // namespace qarvex::emulator
