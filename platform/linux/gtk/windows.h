// The component's three windows on GTK, behind the platform's IWindows.
#pragma once

#include "platform/ui.h"

namespace qarvex::platform::gtk_ui {

void ShowTextBoxWindow(ITextBoxForm& form);
void ShowAdditionalActionsWindow(IAdditionalActionsForm& form);
void ShowLogWindow(ILogForm& form);

}  // namespace qarvex::platform::gtk_ui
