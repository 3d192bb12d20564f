// The log viewer window: the file list and folder button along the top, the
// followed file's text below, a one-second timer.
#pragma once

#include "platform/ui.h"

namespace qarvex::platform::windows_ui {

void ShowLogWindow(ILogForm& form);

}  // namespace qarvex::platform::windows_ui
