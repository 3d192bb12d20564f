#include "emulator/text_print_layout.h"

#include <algorithm>

namespace qarvex::emulator {
namespace {

constexpr char16_t kTab = u'\t';
constexpr int kTabStopChars = 8;
constexpr int kLineGap = 2;

class PageWriter {
 public:
  PageWriter(const TPrintPageMetrics& page, const TMeasureText& measure) : page_(page), measure_(measure) {}

  void WriteLine(WStringView line) {
    std::size_t pos = 0;
    while (pos < line.size()) {
      if (line[pos] == kTab) {
        AdvanceToTabStop();
        ++pos;
        continue;
      }
      std::size_t end = line.find(kTab, pos);
      if (end == WStringView::npos) end = line.size();
      pos += WriteRun(line.substr(pos, end - pos));
    }
    EndLine();
  }

  std::vector<TPrintedPiece> Take() { return std::move(pieces_); }

 private:
  void AdvanceToTabStop() {
    const int stop = std::max(1, kTabStopChars * page_.averageCharWidth);
    x_ = (x_ / stop + 1) * stop;
    if (x_ > page_.width) EndLine();
  }

  // Draws as much of a TAB-free run as fits on the current line, ending the
  // line when not all of it fits; returns the characters consumed.
  std::size_t WriteRun(WStringView run) {
    platform::TextExtent extent = measure_(run);
    if (x_ + extent.width <= page_.width) {
      Draw(run, extent);
      return run.size();
    }
    std::size_t fits = FittingPrefix(run, extent);
    if (fits == 0 && x_ == 0) {
      fits = 1;  // wider than the page on its own: placed anyway, so printing moves on
      extent = measure_(run.substr(0, 1));
    }
    if (fits > 0) Draw(run.substr(0, fits), extent);
    EndLine();
    return fits;
  }

  // The longest prefix that fits from x_; `extent` receives its size.
  std::size_t FittingPrefix(WStringView run, platform::TextExtent& extent) {
    std::size_t low = 0, high = run.size();  // prefix of `low` fits, of `high` does not
    extent = {};
    while (high - low > 1) {
      const std::size_t mid = low + (high - low) / 2;
      const platform::TextExtent e = measure_(run.substr(0, mid));
      if (x_ + e.width <= page_.width) {
        low = mid;
        extent = e;
      } else {
        high = mid;
      }
    }
    return low;
  }

  void Draw(WStringView text, const platform::TextExtent& extent) {
    pieces_.push_back(TPrintedPiece{page_index_, x_, y_, WString(text)});
    x_ += extent.width;
    tallest_ = std::max(tallest_, extent.height);
    drewOnLine_ = true;
  }

  void EndLine() {
    const int height = drewOnLine_ ? tallest_ + kLineGap : page_.fontHeight;
    y_ += height;
    const int limit = drewOnLine_ ? page_.height - 2 * height : page_.height;
    if (y_ > limit) {
      ++page_index_;
      y_ = 0;
    }
    x_ = 0;
    tallest_ = 0;
    drewOnLine_ = false;
  }

  const TPrintPageMetrics& page_;
  const TMeasureText& measure_;
  std::vector<TPrintedPiece> pieces_;
  int page_index_ = 0;
  int x_ = 0, y_ = 0;
  int tallest_ = 0;
  bool drewOnLine_ = false;
};

}  // namespace

std::vector<TPrintedPiece> LayOutPrintedText(const std::vector<WString>& lines, const TPrintPageMetrics& page,
                                             const TMeasureText& measure) {
  PageWriter writer(page, measure);
  for (const WString& line : lines) writer.WriteLine(line);
  return writer.Take();
}

}  // namespace qarvex::emulator
