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
