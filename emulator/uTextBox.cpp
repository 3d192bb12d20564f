#include "emulator/uTextBox.h"

#include "emulator/text_print_layout.h"
#include "resources/resource_strings.h"

namespace qarvex::emulator {

WString TfrmTextBox::PrintButtonCaption() const { return ResString(StringId::PrintButton); }

TfrmTextBox::TfrmTextBox(WStringView ACaption, WStringView AText) : FCaption(ACaption), FText(AText) {}

void TfrmTextBox::ShowModal(platform::IWindows& windows) { windows.ShowTextBox(*this); }

void TfrmTextBox::btnPrintClick(platform::ITextBoxView& view) {
  const std::unique_ptr<platform::IPrintJob> job = view.ChoosePrinterAndStartJob();
  if (!job) return;
  const TPrintPageMetrics page{job->PageWidth(), job->PageHeight(), job->FontHeight(), job->AverageCharWidth()};
  const std::vector<TPrintedPiece> pieces =
      LayOutPrintedText(view.DisplayedLines(), page, [&](WStringView text) { return job->Measure(text); });
  int current = 0;
  for (const TPrintedPiece& piece : pieces) {
    for (; current < piece.page; ++current) job->NewPage();
    job->Draw(piece.x, piece.y, piece.text);
  }
  job->Finish();
}

}  // namespace qarvex::emulator
