// TfrmTextBox: the text window in which the additional-operations window
// shows a receipt copy or the journal report, with a button that prints the
// text. Its content never changes after creation.
//
// Ownership: created for one showing by its caller, which keeps it while the
// window is shown. Threading: the host's user-interface thread.
#pragma once

#include "common/text.h"
#include "platform/ui.h"

namespace qarvex::emulator {

class TfrmTextBox final : public platform::ITextBoxForm {
 public:
  // AText: lines separated by CR LF. The window's caption is ACaption.
  TfrmTextBox(WStringView ACaption, WStringView AText);

  // Shows the window modally; returns when it is closed.
  void ShowModal(platform::IWindows& windows = platform::SystemWindows());

  WString Caption() const override { return FCaption; }
  WString PrintButtonCaption() const override;
  WString Text() const override { return FText; }
  // Prints the text box's lines as displayed on the printer the user picks;
  // nothing when the user cancels the printer dialog.
  void btnPrintClick(platform::ITextBoxView& view) override;

 private:
  WString FCaption;
  WString FText;
};

}  // namespace qarvex::emulator
