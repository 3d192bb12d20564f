// The yes/no question the emulated terminal puts to the cashier before an
// operation: the operation's title, its amount when there is one, and
// "Одобрить операцию?" on a second line.
#pragma once

#include "common/number_format.h"
#include "common/text.h"

namespace qarvex::emulator {

// "<title>: <amount> руб.\r\nОдобрить операцию?" for an amount above zero,
// "<title>\r\nОдобрить операцию?" otherwise. The amount is written in general
// form with the user's decimal separator (1500, 99,9).
WString ApprovalQuestion(WStringView title, Currency amount);

}  // namespace qarvex::emulator
