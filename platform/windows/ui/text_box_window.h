// The text window: a read-only text box (Courier New) over a bottom strip
// holding the print button.
#pragma once

#include "platform/ui.h"

namespace qarvex::platform::windows_ui {

void ShowTextBoxWindow(ITextBoxForm& form);

}  // namespace qarvex::platform::windows_ui
