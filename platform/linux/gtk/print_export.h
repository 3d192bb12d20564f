// For tests that check the printed pages: while a file name is set, the
// text window's print button exports to that PDF file through the print
// operation (GTK's own export, the printer's context and drawing unchanged)
// instead of showing the print dialog. Empty: the dialog, as always.
// Reachable only from programs linking the platform layer; the component
// library exports nothing of it.
#pragma once

#include <string>

namespace qarvex::platform::gtk_ui {

void SetPrintExportFileForTesting(std::string pdfPath);

}  // namespace qarvex::platform::gtk_ui
