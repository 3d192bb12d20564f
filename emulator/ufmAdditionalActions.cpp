#include "emulator/ufmAdditionalActions.h"

#include "emulator/uDriver.h"
#include "emulator/uTextBox.h"
#include "resources/resource_strings.h"

namespace qarvex::emulator {

WString TfrmAdditionalActions::Caption() const { return ResString(StringId::AdditionalActionsCaption); }
WString TfrmAdditionalActions::RecCopyButtonCaption() const { return ResString(StringId::ReceiptCopyButton); }
WString TfrmAdditionalActions::ReportButtonCaption() const { return ResString(StringId::ReportButton); }

TfrmAdditionalActions::TfrmAdditionalActions(TDriver& ADriver, platform::IWindows& windows)
    : FDriver(&ADriver), FWindows(windows) {}

void TfrmAdditionalActions::ShowModal() { FWindows.ShowAdditionalActions(*this); }

template <class MakeText>
void TfrmAdditionalActions::ShowDriverText(WStringView caption, MakeText&& makeText) {
  FDriver->Open();
  try {
    TfrmTextBox box(caption, makeText());
    box.ShowModal(FWindows);
  } catch (...) {
    FDriver->Close();
    throw;
  }
  FDriver->Close();
}

void TfrmAdditionalActions::btnRecCopyClick(platform::IAdditionalActionsView& view) {
  const WString number = view.ReceiptNumberText();
  ShowDriverText(ResString(StringId::ReceiptCopyCaption), [&] {
    WString text;
    FDriver->GetReceiptCopy(number, text);
    return text;
  });
}

void TfrmAdditionalActions::btnReportClick(platform::IAdditionalActionsView&) {
  ShowDriverText(ResString(StringId::ReportCaption), [&] {
    WString text;
    FDriver->GetReport(text, u"");
    return text;
  });
}

}  // namespace qarvex::emulator
