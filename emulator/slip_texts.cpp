#include "emulator/slip_texts.h"

#include "acquiring/card_number.h"
#include "common/error.h"
#include "emulator/uCommonUtils.h"
#include "resources/resource_strings.h"

namespace qarvex::emulator {

namespace {

constexpr char16_t kDateLabel[] = u"Дата:";
constexpr char16_t kAmountLabel[] = u"Сумма:";
constexpr char16_t kReceiptLabel[] = u"Номер чека:";
constexpr char16_t kCardLabel[] = u"Карта:";
constexpr char16_t kTotalLabel[] = u"ИТОГ:";
constexpr char16_t kApproved[] = u"ОДОБРЕНО";
constexpr char16_t kDeclined[] = u"ОТКЛОНЕНО";
constexpr char16_t kCut[] = u"[cut]";
constexpr char16_t kCopyMark[] = u"КОПИЯ";

// Appends one line with its line end.
void AddLine(WString& text, WStringView line) {
  text += line;
  text += kLineEnd;
}

void AddLabelLine(WString& text, WStringView label, WStringView value, int width) {
  AddLine(text, FormatLabelLine(label, value, width, u' '));
}

}  // namespace

void RequireLayoutWidth(int width) {
  if (width <= kMaxLineLength) return;
  WString message = ResString(StringId::LineLengthTooLarge);
  const auto put = [&message](WStringView placeholder, int value) {
    const auto at = message.find(placeholder);
    if (at != WString::npos) message.replace(at, placeholder.size(), IntToText(value));
  };
  put(u"%1", width);
  put(u"%2", kMaxLineLength);
  throw Failure(message);
}

WString BuildSlip(WStringView title, int id, Currency amount, WStringView card, TDateTime when, bool approved,
                  int width) {
  RequireLayoutWidth(width);
  const WString heavyRule = RepeatChar(u'=', width);
  WString block;
  AddLine(block, heavyRule);
  AddLine(block, CenterText(title, width));
  AddLine(block, {});
  AddLabelLine(block, kDateLabel, SlipDateText(when), width);
  if (amount != 0) AddLabelLine(block, kAmountLabel, SlipAmountText(amount), width);
  if (id != -1) AddLabelLine(block, kReceiptLabel, ReceiptNumberText(id), width);
  if (!card.empty()) AddLabelLine(block, kCardLabel, card, width);
  AddLine(block, {});
  AddLine(block, CenterText(approved ? kApproved : kDeclined, width));
  AddLine(block, heavyRule);

  WString slip = block;
  AddLine(slip, kCut);
  slip += block;
  return slip;
}

WString GetReceiptCopy(TOperJournal& journal, WStringView receiptNumber, int width) {
  RequireLayoutWidth(width);
  int id = 0;
  if (!TryParseInt32(receiptNumber, id) || id < 0) id = journal.MaxID();
  int amount = 0;
  int operType = 0;
  WString card;
  TDateTime operDate = 0;
  journal.GetOperData(id, amount, operType, card, operDate);
  const WString title = OperTypeName(operType) + u" (" + kCopyMark + u")";
  return BuildSlip(title, id, JournalKopecksToCurrency(amount), acquiring::MaskCardNumber(card), operDate, true,
                   width);
}

WString GetReport(TOperJournal& journal, WStringView oper, int width) {
  RequireLayoutWidth(width);
  const WString heavyRule = RepeatChar(u'=', width);
  WString report;
  if (!journal.BeginReport()) {
    AddLine(report, heavyRule);
    AddLine(report, CenterText(ResString(StringId::OperSettlement), width));
    AddLabelLine(report, kDateLabel, SlipDateText(Now()), width);
    AddLabelLine(report, ResString(StringId::JournalEmpty), {}, width);
    AddLine(report, heavyRule);
    return report;
  }
  try {
    const WString title = oper.empty() ? ResString(StringId::OperReport) : WString(oper);
    const WString lightRule = RepeatChar(u'-', width);
    AddLine(report, heavyRule);
    AddLine(report, CenterText(title, width));
    AddLine(report, CenterText(SlipDateText(Now()), width));
    AddLine(report, {});
    Currency total = 0;
    int id = 0;
    int kopecks = 0;
    int operType = 0;
    WString card;
    TDateTime operDate = 0;
    while (journal.GetRecord(id, kopecks, operType, card, operDate)) {
      const Currency amount = JournalKopecksToCurrency(kopecks);
      AddLine(report, lightRule);
      AddLine(report, CenterText(OperTypeName(operType), width));
      AddLabelLine(report, kDateLabel, SlipDateText(operDate), width);
      AddLabelLine(report, kAmountLabel, SlipAmountText(amount), width);
      AddLabelLine(report, kReceiptLabel, ReceiptNumberText(id), width);
      AddLabelLine(report, kCardLabel, card, width);
      if (operType == otPay || operType == otAuthorisation) total += amount;
      if (operType == otReturn) total -= amount;
    }
    AddLine(report, {});
    AddLabelLine(report, kTotalLabel, SlipAmountText(total), width);
    AddLine(report, heavyRule);
  } catch (...) {
    journal.EndReport();
    throw;
  }
  journal.EndReport();
  return report;
}

}  // namespace qarvex::emulator
