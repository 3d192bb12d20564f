// Line formatting for slips, receipt copies and reports. Every width may be
// zero or negative; such a width yields empty text rather than an error.
#pragma once

#include "common/datetime.h"
#include "common/number_format.h"
#include "common/text.h"

namespace qarvex::emulator {

// The text without surrounding blanks and control characters, centred on
// `width` columns: the odd space goes after the text; a text that is too
// long loses characters at both ends, the odd one at the end.
WString CenterText(WStringView text, int width);

// `label` left-aligned and `value` right-aligned on `width` columns with
// `filler` between. A value of `width` characters or more takes the whole
// line (cut to `width`) and the label is dropped.
WString FormatLabelLine(WStringView label, WStringView value, int width, char16_t filler = u' ');

// `count` copies of `ch`; nothing for a count of zero or less.
WString RepeatChar(char16_t ch, int count);

// "dd/mm/yy hh:mm:ss" with the user's date and time separators.
WString SlipDateText(TDateTime when);
// The amount in general number form (up to 15 significant digits, no
// trailing zeros) with the user's decimal separator, followed by " Руб".
WString SlipAmountText(Currency amount);
// A journal ID zero-padded to at least six digits.
WString ReceiptNumberText(int id);

// The local time now, from the platform's (replaceable) clock.
TDateTime Now();

}  // namespace qarvex::emulator
