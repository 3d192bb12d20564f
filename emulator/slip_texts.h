// The texts the emulated terminal hands back for printing: the two-copy slip
// of an operation, a copy of a stored operation's slip, and the journal
// report. Every line ends with CR LF; `width` is the printer's line width in
// characters (zero or negative gives empty rules and lines, not an error).
// Dates, times and amounts use the user's regional separators.
#pragma once

#include "common/datetime.h"
#include "common/number_format.h"
#include "common/text.h"
#include "emulator/uOperJournal.h"

namespace qarvex::emulator {

// The widest line a slip or report is laid out to: ten thousand characters,
// thirty times the widest receipt printer and still far from what the host's
// memory holds (a slip is about 20 lines, a report 6 lines per stored
// operation). A wider LineLength is stored as given, but every operation
// that would lay a text out to it is refused before it asks or stores.
inline constexpr int kMaxLineLength = 10000;

// Throws Failure naming `width` and kMaxLineLength when `width` is wider.
// Zero and negative widths are accepted: they give empty lines.
void RequireLayoutWidth(int width);

// The layouts below refuse a width above kMaxLineLength (RequireLayoutWidth).

// The slip of one operation: its block twice with a "[cut]" line between.
// `id` -1 omits the receipt-number line, `amount` 0 the amount line and an
// empty `card` (already masked by the caller) the card line.
WString BuildSlip(WStringView title, int id, Currency amount, WStringView card, TDateTime when, bool approved,
                  int width);

// The slip of a stored operation again, titled "<type> (КОПИЯ)" and always
// marked approved. A receipt number that is not a non-negative integer means
// the newest operation. Throws Failure("Транзакция не найдена") when the
// journal has no such row (an empty journal included).
WString GetReceiptCopy(TOperJournal& journal, WStringView receiptNumber, int width);

// The journal listing with its running total (payments and
// pre-authorisations add, returns subtract) under `oper` ("ОТЧЕТ" when
// empty); an empty journal gives the short "СВЕРКА" report whatever `oper`
// is. A failure while listing passes to the caller after the report has been
// ended on the journal.
WString GetReport(TOperJournal& journal, WStringView oper, int width);

}  // namespace qarvex::emulator
