// TfrmAdditionalActions: the additional-operations window of the emulated
// terminal. Each button connects the driver, shows a receipt copy or the
// journal report in a text window and disconnects it again, so the driver
// ends disconnected whatever state the host had left it in. Errors are not
// caught here: the window shows them in its error message box and stays
// usable.
//
// Ownership: FDriver is not owned and outlives the window. Threading: the
// host's user-interface thread.
#pragma once

#include "common/text.h"
#include "platform/ui.h"

namespace qarvex::emulator {

class TDriver;

class TfrmAdditionalActions final : public platform::IAdditionalActionsForm {
 public:
  explicit TfrmAdditionalActions(TDriver& ADriver, platform::IWindows& windows = platform::SystemWindows());

  // Shows the window modally; returns when it is closed.
  void ShowModal();

  WString Caption() const override;
  WString RecCopyButtonCaption() const override;
  WString ReportButtonCaption() const override;
  // The edit box starts with receipt number "1" each time the window opens.
  WString InitialReceiptNumber() const override { return u"1"; }
  // The copy of the receipt whose number the edit box holds, unchanged.
  void btnRecCopyClick(platform::IAdditionalActionsView& view) override;
  // The journal report under its default title.
  void btnReportClick(platform::IAdditionalActionsView& view) override;

 private:
  // Open; then the text and its window; Close however that ends. A failed
  // Open stops before anything else.
  template <class MakeText>
  void ShowDriverText(WStringView caption, MakeText&& makeText);

  TDriver* FDriver;
  platform::IWindows& FWindows;
};

}  // namespace qarvex::emulator
