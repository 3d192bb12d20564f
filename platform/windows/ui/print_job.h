// The text print job on a printer chosen in the system's print dialog: GDI
// drawing in Courier New (Cyrillic character set, 12 points), texts handed
// to the printer as 8-bit characters of the system's ANSI code page.
#pragma once

#include <windows.h>

#include <memory>

#include "common/text.h"
#include "platform/ui.h"

namespace qarvex::platform::windows_ui {

// Shows the print dialog (default options) with `parent`; the started job on
// the chosen printer, or null when the user cancelled. Raises Failure when
// the dialog or the job fails.
std::unique_ptr<IPrintJob> ChoosePrinterAndStartJob(HWND parent, WStringView documentName);

}  // namespace qarvex::platform::windows_ui
