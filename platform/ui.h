// The component's modal windows, split in two: the windows' behaviour
// (event handlers, in the emulator and log units) and the system's windows
// that show it. A window calls its form's handlers; a handler talks back only
// through the window's view. This keeps every rule of the windows free of
// system calls and testable with a fake view.
//
// Threading: everything here runs on the host's user-interface thread; the
// Show* calls return when the window has been closed and destroyed.
// Ownership: a view lives only while its window is shown; a form outlives
// the window that shows it. Neither owns the other.
#pragma once

#include <cstddef>
#include <exception>
#include <memory>
#include <vector>

#include "common/error.h"
#include "common/text.h"

namespace qarvex::platform {

// What every window offers its handlers: the window framework's standard
// error message box, with this window as its parent.
class IWindowView {
 public:
  virtual void ShowError(WStringView message) = 0;

 protected:
  ~IWindowView() = default;
};

// Runs one event handler the way the window framework does: an error raised
// by the handler is shown in the view's error message box and the window
// stays open and usable. Never raises.
template <class Handler>
void RunEventHandler(IWindowView& view, Handler&& handler) noexcept {
  WString message;
  try {
    handler();
    return;
  } catch (...) {
    message = MessageOfCurrentException();
  }
  try {
    view.ShowError(message);
  } catch (...) {
    // Nothing is left to report the error with; the window carries on.
  }
}

// --- printing ---------------------------------------------------------------

struct TextExtent {
  int width = 0;
  int height = 0;
};

// A print job on the printer the user chose, its font already set (Courier
// New, Cyrillic character set, 12 points). Sizes are printer pixels. A job
// destroyed before Finish is abandoned and nothing is printed.
class IPrintJob {
 public:
  virtual ~IPrintJob() = default;
  virtual int PageWidth() const = 0;   // printable width
  virtual int PageHeight() const = 0;  // printable height
  virtual int FontHeight() const = 0;
  virtual int AverageCharWidth() const = 0;
  virtual TextExtent Measure(WStringView text) = 0;
  // Draws text with its top-left corner at (x, y) of the current page.
  virtual void Draw(int x, int y, WStringView text) = 0;
  virtual void NewPage() = 0;
  // Ends the job, which sends it to the printer. Raises on a printing error.
  virtual void Finish() = 0;
};

// --- the text window --------------------------------------------------------

class ITextBoxView : public IWindowView {
 public:
  // The text box's lines as it displays them: a line wider than the box
  // (word wrap is on) counts as several.
  virtual std::vector<WString> DisplayedLines() = 0;
  // The system's printer selection dialog with this window as parent; the
  // job on the chosen printer, or null when the user cancelled.
  virtual std::unique_ptr<IPrintJob> ChoosePrinterAndStartJob() = 0;

 protected:
  ~ITextBoxView() = default;
};

class ITextBoxForm {
 public:
  // The window's texts come from the form: the component's string table
  // is above this layer.
  virtual WString Caption() const = 0;
  virtual WString PrintButtonCaption() const = 0;
  virtual WString Text() const = 0;  // CR LF separates lines
  virtual void btnPrintClick(ITextBoxView& view) = 0;

 protected:
  ~ITextBoxForm() = default;
};

// --- the additional-operations window ---------------------------------------

class IAdditionalActionsView : public IWindowView {
 public:
  virtual WString ReceiptNumberText() = 0;  // what the edit box holds now

 protected:
  ~IAdditionalActionsView() = default;
};

class IAdditionalActionsForm {
 public:
  virtual WString Caption() const = 0;
  virtual WString RecCopyButtonCaption() const = 0;
  virtual WString ReportButtonCaption() const = 0;
  virtual WString InitialReceiptNumber() const = 0;
  virtual void btnRecCopyClick(IAdditionalActionsView& view) = 0;
  virtual void btnReportClick(IAdditionalActionsView& view) = 0;

 protected:
  ~IAdditionalActionsForm() = default;
};

// --- the log viewer window --------------------------------------------------

class ILogView : public IWindowView {
 public:
  // Replaces the drop-down list's entries (kept in the given order); nothing
  // is selected afterwards and the list's shown text is empty.
  virtual void SetFileNames(const std::vector<WString>& names) = 0;
  // Selects an entry without raising the change event.
  virtual void SelectFile(std::size_t index) = 0;
  virtual std::size_t FileCount() = 0;
  virtual WString ShownFileName() = 0;
  // Replaces the text box's content, its redrawing suspended meanwhile.
  virtual void SetLogText(WStringView text) = 0;
  // Character offset of the selection start in the text box.
  virtual std::size_t CaretOffset() = 0;
  // Puts the caret at the offset, scrolls it into view and gives the text
  // box the keyboard focus.
  virtual void RestoreCaret(std::size_t offset) = 0;
  // The system's file browser on the folder, this window as parent; not
  // waited for, the outcome not examined.
  virtual void ExploreFolder(WStringView folder) = 0;

 protected:
  ~ILogView() = default;
};

class ILogForm {
 public:
  virtual WString Caption() const = 0;
  virtual void FormCreate(ILogView& view) = 0;
  virtual void cbbLogFilesDropDown(ILogView& view) = 0;
  virtual void cbbLogFilesChange(ILogView& view) = 0;
  virtual void tmrCheckFileTimer(ILogView& view) = 0;  // every 1000 ms
  virtual void btnOpenDirClick(ILogView& view) = 0;

 protected:
  ~ILogForm() = default;
};

// --- showing the windows ----------------------------------------------------

// Shows a window modally, without owner, calling the form's handlers through
// RunEventHandler. Raises only when the window cannot be shown at all (on a
// system without windows: "... window is not available on this platform").
class IWindows {
 public:
  virtual void ShowTextBox(ITextBoxForm& form) = 0;
  virtual void ShowAdditionalActions(IAdditionalActionsForm& form) = 0;
  // Calls FormCreate once the window exists, before it is shown.
  virtual void ShowLogViewer(ILogForm& form) = 0;

 protected:
  ~IWindows() = default;
};

// The system's windows (one per process, never destroyed).
IWindows& SystemWindows();

}  // namespace qarvex::platform
