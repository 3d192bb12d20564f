// The windows' small pictures (16 x 16), drawn from pixel maps so that no
// image file is needed. The caller owns the returned icon (DestroyIcon).
#pragma once

#include <windows.h>

namespace qarvex::platform::windows_ui {

HICON PrinterIcon();
HICON SheetOfPaperIcon();
HICON FolderWithArrowIcon();  // yellow folder, green arrow

}  // namespace qarvex::platform::windows_ui
