// Where each piece of a printed text goes: the page layout of the text print
// job of the text window, as a pure function of the lines and the printer's
// measured font, so that its rules hold on every printer.
//
// The rules: no margins, the first line at the top-left corner of the
// printable area. A line ends by moving down by its height: the tallest
// piece drawn on it plus 2 pixels, or the font's height when nothing was
// drawn. If the position then lies below the page height less twice that
// height (less nothing after an empty line), the next line starts a new
// page. A line wider than the printable width breaks after the last
// character that fits and continues at the left edge of the next line. A TAB
// advances to the next multiple of eight average character widths; a TAB
// beyond the printable width ends the line.
#pragma once

#include <functional>
#include <vector>

#include "common/text.h"
#include "platform/ui.h"

namespace qarvex::emulator {

struct TPrintedPiece {
  int page = 0;  // 0 is the first page
  int x = 0;
  int y = 0;
  WString text;
  bool operator==(const TPrintedPiece&) const = default;
};

struct TPrintPageMetrics {
  int width = 0;
  int height = 0;
  int fontHeight = 0;
  int averageCharWidth = 0;
};

using TMeasureText = std::function<platform::TextExtent(WStringView)>;

// Pieces in printing order; pages never go back. Every character of every
// line is placed (a single character wider than the page is placed alone).
std::vector<TPrintedPiece> LayOutPrintedText(const std::vector<WString>& lines, const TPrintPageMetrics& page,
                                             const TMeasureText& measure);

}  // namespace qarvex::emulator
