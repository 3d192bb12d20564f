// The text window's print button: the printer dialog, the job it starts and
// the pages the job receives.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "common/error.h"
#include "emulator/uTextBox.h"

namespace qarvex::emulator {
namespace {

// Records what reaches the printer: one entry per page, drawn texts in order.
struct PrinterRecord {
  std::vector<std::vector<WString>> pages;
  bool finished = false;
  bool abandoned = false;
};

class FakeJob final : public platform::IPrintJob {
 public:
  FakeJob(PrinterRecord& record, int failOnDraw) : record_(record), failOnDraw_(failOnDraw) {
    record_.pages.emplace_back();
  }
  ~FakeJob() override {
    if (!record_.finished) record_.abandoned = true;
  }
  int PageWidth() const override { return 50; }  // 5 characters
  int PageHeight() const override { return 60; }
  int FontHeight() const override { return 10; }
  int AverageCharWidth() const override { return 10; }
  platform::TextExtent Measure(WStringView text) override { return {static_cast<int>(text.size()) * 10, 10}; }
  void Draw(int, int, WStringView text) override {
    if (failOnDraw_-- == 0) throw Failure("printer out of paper");
    record_.pages.back().emplace_back(text);
  }
  void NewPage() override { record_.pages.emplace_back(); }
  void Finish() override { record_.finished = true; }

 private:
  PrinterRecord& record_;
  int failOnDraw_;
};

class FakeTextBoxView final : public platform::ITextBoxView {
 public:
  std::vector<WString> DisplayedLines() override { return lines; }
  std::unique_ptr<platform::IPrintJob> ChoosePrinterAndStartJob() override {
    ++dialogs;
    if (cancel) return nullptr;
    return std::make_unique<FakeJob>(printer, failOnDraw);
  }
  void ShowError(WStringView message) override { errors.emplace_back(message); }

  std::vector<WString> lines;
  bool cancel = false;
  int failOnDraw = -1;
  int dialogs = 0;
  PrinterRecord printer;
  std::vector<WString> errors;
};

TEST(TextBoxPrint, CancellingThePrinterDialogPrintsNothing) {
  TfrmTextBox box(u"Отчет", u"a\r\nb\r\n");
  FakeTextBoxView view;
  view.lines = {u"a", u"b"};
  view.cancel = true;
  platform::RunEventHandler(view, [&] { box.btnPrintClick(view); });
  EXPECT_EQ(view.dialogs, 1);
  EXPECT_TRUE(view.printer.pages.empty());
  EXPECT_TRUE(view.errors.empty());
}

TEST(TextBoxPrint, DisplayedLinesGoToThePrinterWrappedAndOverSeveralPages) {
  // 5 characters per printed line; drawn lines 12 high on a 60-high page:
  // after the fourth printed line (48 lies below 60 - 24) a new page begins.
  TfrmTextBox box(u"Копия чека", u"");
  FakeTextBoxView view;
  view.lines = {u"1234567", u"abc", u"def", u"ghi"};
  box.btnPrintClick(view);
  ASSERT_EQ(view.printer.pages.size(), 2u);
  EXPECT_EQ(view.printer.pages[0], (std::vector<WString>{u"12345", u"67", u"abc", u"def"}));
  EXPECT_EQ(view.printer.pages[1], (std::vector<WString>{u"ghi"}));
  EXPECT_TRUE(view.printer.finished);
}

TEST(TextBoxPrint, APrintingErrorAbandonsTheJobAndIsShownInTheWindow) {
  TfrmTextBox box(u"Отчет", u"");
  FakeTextBoxView view;
  view.lines = {u"a", u"b"};
  view.failOnDraw = 1;
  platform::RunEventHandler(view, [&] { box.btnPrintClick(view); });
  EXPECT_TRUE(view.printer.abandoned);
  EXPECT_FALSE(view.printer.finished);
  EXPECT_EQ(view.errors, std::vector<WString>{u"printer out of paper"});
}

}  // namespace
}  // namespace qarvex::emulator
