#include "emulator/uCommonUtils.h"

#include "platform/clock.h"
#include "platform/regional_settings.h"

namespace qarvex::emulator {

WString RepeatChar(char16_t ch, int count) {
  return count > 0 ? WString(static_cast<size_t>(count), ch) : WString();
}

WString CenterText(WStringView text, int width) {
  const WString s = TrimBlanksAndControls(text);
  const long long excess = static_cast<long long>(s.size()) - width;
  if (excess < 0) {
    const int before = static_cast<int>(-excess / 2);
    return RepeatChar(u' ', before) + s + RepeatChar(u' ', static_cast<int>(-excess) - before);
  }
  if (excess == 0) return s;
  const size_t cutFront = static_cast<size_t>(excess / 2);
  const size_t cutBack = static_cast<size_t>(excess) - cutFront;
  if (cutFront + cutBack >= s.size()) return {};
  return s.substr(cutFront, s.size() - cutFront - cutBack);
}

WString FormatLabelLine(WStringView label, WStringView value, int width, char16_t filler) {
  if (width <= 0) return {};
  const size_t w = static_cast<size_t>(width);
  if (value.size() >= w) return WString(value.substr(0, w));
  const size_t labelRoom = w - value.size();
  WString line(label.substr(0, labelRoom));
  line.append(labelRoom - line.size(), filler);
  line += value;
  return line;
}

WString SlipDateText(TDateTime when) {
  const LocalDateTime t = DecodeDateTime(when);
  const auto& regional = platform::CurrentRegionalSettings();
  return IntToText(t.day, 2) + regional.dateSeparator + IntToText(t.month, 2) + regional.dateSeparator +
         IntToText(t.year % 100, 2) + u' ' + IntToText(t.hour, 2) + regional.timeSeparator +
         IntToText(t.minute, 2) + regional.timeSeparator + IntToText(t.second, 2);
}

WString SlipAmountText(Currency amount) {
  // General form of the value as a real number: at most 15 significant
  // digits, so a huge amount with four decimals is rounded, not printed in full.
  return FormatGeneral(CurrencyToDouble(amount), platform::CurrentRegionalSettings().decimalSeparator) + u" Руб";
}

WString ReceiptNumberText(int id) { return IntToText(id, 6); }

TDateTime Now() { return EncodeDateTime(platform::NowLocal()); }

}  // namespace qarvex::emulator
