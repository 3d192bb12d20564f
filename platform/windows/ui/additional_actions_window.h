// The additional-operations window: receipt copy and report buttons and the
// receipt number box.
#pragma once

#include "platform/ui.h"

namespace qarvex::platform::windows_ui {

void ShowAdditionalActionsWindow(IAdditionalActionsForm& form);

}  // namespace qarvex::platform::windows_ui
