// The text print job on GTK: the system's print dialog (GtkPrintOperation:
// CUPS printers, printing to a PDF or PostScript file), text measured and
// drawn with Pango in the printer's own context, in Courier New 12 pt or,
// where the machine lacks it, Liberation Mono (metric-compatible) or the
// desktop's monospace face.
//
// GTK prints page by page from its own callbacks, while the text window's
// form lays the text out first and draws it afterwards; so the operation
// runs asynchronously: the dialog is answered and the printer's context
// opened (ChoosePrinterAndStartJob), the form measures in that context and
// draws into the job, and Finish lets GTK print the recorded pages.
#pragma once

#include <memory>
#include <string>

#include "common/text.h"
#include "platform/linux/gtk/gtk_library.h"
#include "platform/ui.h"

namespace qarvex::platform::gtk_ui {

// Shows the print dialog over `parent` (default options); the started job
// on the chosen printer, or null when the user cancelled. Raises Failure
// when the dialog or the job fails.
std::unique_ptr<IPrintJob> ChoosePrinterAndStartJob(const GtkFunctions& g, GtkWindow* parent,
                                                    WStringView documentName);

}  // namespace qarvex::platform::gtk_ui
