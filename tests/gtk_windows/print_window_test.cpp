// Printing from the text window through GTK's print dialog: "Print to File"
// chosen and the PDF it writes read back page by page with pdftotext (a
// line wider than the page wraps, a text longer than a page goes on to a
// second page, the font is Courier New or its metric twin), and the dialog
// cancelled, which prints nothing and leaves the window open.
//
// The text window is shown in-process here (the form and the platform layer
// linked in), so that any text can be given to it.
#include <stdio.h>
#include <sys/stat.h>

#include <gtk/gtkunixprint.h>

#include "e2e/run_command.h"
#include "emulator/uTextBox.h"
#include "window_fixture.h"

namespace qarvex::testing {
namespace {

std::vector<std::string> Split(const std::string& text, char separator) {
  std::vector<std::string> parts(1);
  for (char c : text) {
    if (c == separator) parts.emplace_back();
    else parts.back() += c;
  }
  return parts;
}

bool Contains(const std::vector<std::string>& lines, const std::string& line) {
  return std::find(lines.begin(), lines.end(), line) != lines.end();
}

class PrintWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!TestDisplay().Started()) GTEST_SKIP() << "no X server for the window tests: " << TestDisplay().Reason();
    ::alarm(120);
    // This machine prints to files only: without a CUPS server to ask,
    // GTK's CUPS back end would keep the printer search waiting.
    ASSERT_TRUE(gtk_init_check(nullptr, nullptr));
    // "Print to File" writes output.pdf into the current folder by default.
    previous_ = ::getcwd(nullptr, 0);
    ::mkdir(folders.user().c_str(), 0755);  // GTK notes the printed file among the recent ones
    ASSERT_EQ(::chdir(folders.root().c_str()), 0);
    g_object_set(gtk_settings_get_default(), "gtk-print-backends", "file", nullptr);
  }
  void TearDown() override {
    if (previous_ != nullptr) (void)!::chdir(previous_);
    std::free(previous_);
    ::alarm(0);
  }
  std::string Printed() const { return folders.root() + "/output.pdf"; }

  // The shown print dialog, or null.
  static GtkWidget* PrintDialog() {
    for (GtkWidget* w : desktop::ShownWindows())
      if (GTK_IS_PRINT_UNIX_DIALOG(w) && gdk_window_is_viewable(gtk_widget_get_window(w))) return w;
    return nullptr;
  }

  // Shows the text window until the script has closed it.
  static void Show(emulator::TfrmTextBox& box, Script& script) {
    script.Start();
    box.ShowModal();
    for (int i = 0; i < 50 && !script.Finished() && !script.Failed(); ++i) {
      while (g_main_context_iteration(nullptr, FALSE)) {
      }
      ::usleep(20000);
    }
  }

  // Shows the text, prints it on "Print to File" through the dialog as a
  // user does (the window widened to 1200 pixels first when `wide`), closes
  // the window; true when all of that happened.
  bool PrintToFile(const WString& text, bool wide) {
    emulator::TfrmTextBox box(u"Отчет", text);
    Script script;
    script.WaitForWindow("frmTextBox", &window_).Do("the window's width", [&] {
      if (!wide) return;
      gtk_window_move(GTK_WINDOW(window_), 20, 20);
      gtk_window_resize(GTK_WINDOW(window_), 1200, 500);
    });
    script.Pause(300)
        .Do("print", [&] { Click(FindChild(window_, "btnPrint")); })
        .Then("the print dialog lists the file printer",
              [&] {
                dialog_ = PrintDialog();
                GtkWidget* list = dialog_ ? desktop::FindChildOfType(dialog_, GTK_TYPE_TREE_VIEW) : nullptr;
                return list &&
                       gtk_tree_model_iter_n_children(gtk_tree_view_get_model(GTK_TREE_VIEW(list)), nullptr) > 0;
              })
        .Pause(300)
        .Do("choose it", [&] { desktop::ClickRow(desktop::FindChildOfType(dialog_, GTK_TYPE_TREE_VIEW), 0); })
        .Then("the print button can be pressed",
              [&] {
                return gtk_widget_is_sensitive(
                    gtk_dialog_get_widget_for_response(GTK_DIALOG(dialog_), GTK_RESPONSE_OK));
              })
        .Pause(300)
        .Do("print to the file printer", [&] {
          GtkPrinter* printer = gtk_print_unix_dialog_get_selected_printer(GTK_PRINT_UNIX_DIALOG(dialog_));
          ASSERT_NE(printer, nullptr);
          EXPECT_TRUE(gtk_printer_is_virtual(printer)) << gtk_printer_get_name(printer);
          desktop::Screenshot("print-dialog-print-to-file", {dialog_});
          Click(gtk_dialog_get_widget_for_response(GTK_DIALOG(dialog_), GTK_RESPONSE_OK));
        })
        .Then("the pages are written",
              [&] {
                if (GtkWidget* error = desktop::FindWindow("errorMessageBox"))
                  ADD_FAILURE() << desktop::MessageOf(error);
                struct stat info {};
                return PrintDialog() == nullptr && ::stat(Printed().c_str(), &info) == 0 && info.st_size > 0;
              })
        .Pause(300)
        .Do("close", [&] {
          if (GtkWidget* error = desktop::FindWindow("errorMessageBox")) ADD_FAILURE() << desktop::MessageOf(error);
          EXPECT_EQ(desktop::FindWindow("frmTextBox"), window_) << "the window stays open after printing";
          gtk_window_close(GTK_WINDOW(window_));
        })
        .WaitGone("frmTextBox");
    Show(box, script);
    return script.Finished();
  }

  // The printed pages' lines (pdftotext ends each page with a form feed).
  std::vector<std::vector<std::string>> PrintedPages() const {
    std::vector<std::vector<std::string>> pages;
    for (const std::string& page : Split(RunCommand("pdftotext -enc UTF-8 '" + Printed() + "' -"), '\f'))
      pages.push_back(Split(page, '\n'));
    if (!pages.empty()) pages.pop_back();
    return pages;
  }

  TempFolders folders;
  char* previous_ = nullptr;  // the current folder before the test
  GtkWidget* window_ = nullptr;
  GtkWidget* dialog_ = nullptr;
};

TEST_F(PrintWindow, PrintedToAFileLongLinesWrapAndALongTextContinuesOnTheNextPage) {
  const std::string pdf = Printed();
  std::string digits;
  for (int i = 0; i < 15; ++i) digits += "0123456789";  // 150 characters, wider than the page
  WString text = u"Первая строка\r\n" + FromUtf8(digits) + u"\r\n";
  for (int i = 1; i <= 80; ++i) text += u"Строка " + IntToText(i) + u"\r\n";

  ASSERT_TRUE(PrintToFile(text, /*wide=*/true));


  const auto pages = PrintedPages();
  ASSERT_EQ(pages.size(), 2u) << "two pages expected";
  const std::vector<std::string>& first = pages[0];
  const std::vector<std::string>& second = pages[1];
  EXPECT_EQ(first.at(0), "Первая строка");
  // The long line breaks after the last character that fits and goes on at
  // the left edge of the next line.
  ASSERT_GE(first.size(), 3u);
  const std::string& head = first[1];
  EXPECT_GT(head.size(), 40u);
  EXPECT_LT(head.size(), digits.size());
  EXPECT_EQ(head, digits.substr(0, head.size()));
  EXPECT_EQ(first[2], digits.substr(head.size()));
  EXPECT_TRUE(Contains(first, "Строка 1"));
  EXPECT_FALSE(Contains(first, "Строка 80"));
  EXPECT_TRUE(Contains(second, "Строка 80"));
  EXPECT_FALSE(Contains(second, "Строка 1"));
  // Every line printed once, in order, across the pages.
  std::vector<std::string> printed;
  for (const auto& page : {first, second})
    for (const std::string& line : page)
      if (line.rfind("Строка ", 0) == 0) printed.push_back(line);
  ASSERT_EQ(printed.size(), 80u);
  for (int i = 0; i < 80; ++i) EXPECT_EQ(printed[i], "Строка " + std::to_string(i + 1));

  const std::string fonts = RunCommand("pdffonts '" + pdf + "'");
  EXPECT_TRUE(fonts.find("CourierNew") != std::string::npos || fonts.find("LiberationMono") != std::string::npos)
      << fonts;
}

TEST_F(PrintWindow, ALineWiderThanTheTextBoxPrintsAsTheBoxShowsIt) {
  std::string digits;
  for (int i = 0; i < 15; ++i) digits += "0123456789";
  ASSERT_TRUE(PrintToFile(u"Первая строка\r\n" + FromUtf8(digits) + u"\r\nпосле\r\n", /*wide=*/false));
  const auto pages = PrintedPages();
  ASSERT_EQ(pages.size(), 1u);
  const std::vector<std::string>& lines = pages[0];
  ASSERT_GE(lines.size(), 5u);
  EXPECT_EQ(lines[0], "Первая строка");
  // The 408-pixel box shows the 150 characters on several lines (fewer
  // than fit on the page), and each is printed as a line of its own.
  std::string joined;
  std::size_t i = 1;
  for (; i < lines.size() && !lines[i].empty() && lines[i] != "после"; ++i) {
    EXPECT_LT(lines[i].size(), 70u) << lines[i];
    joined += lines[i];
  }
  EXPECT_GE(i, 4u) << "the long line is shown on at least three lines";
  EXPECT_EQ(joined, digits);
  EXPECT_NE(std::find(lines.begin(), lines.end(), "после"), lines.end());
}

TEST_F(PrintWindow, CancellingThePrintDialogPrintsNothingAndLeavesTheWindowOpen) {
  emulator::TfrmTextBox box(u"Копия чека", u"Строка\r\n");
  Script script;
  script.WaitForWindow("frmTextBox", &window_)
      .Do("print", [&] { Click(FindChild(window_, "btnPrint")); })
      .Then("the print dialog appears", [&] { return (dialog_ = PrintDialog()) != nullptr; })
      .Pause(500)
      .Do("cancel", [&] {
        desktop::Screenshot("print-dialog", {dialog_});
        Click(gtk_dialog_get_widget_for_response(GTK_DIALOG(dialog_), GTK_RESPONSE_CANCEL));
      })
      .Then("the dialog closes", [&] { return PrintDialog() == nullptr; })
      .Pause(300)
      .Do("the window stays open", [&] {
        EXPECT_EQ(desktop::FindWindow("frmTextBox"), window_);
        EXPECT_EQ(desktop::FindWindow("errorMessageBox"), nullptr);
        gtk_window_close(GTK_WINDOW(window_));
      })
      .WaitGone("frmTextBox");
  Show(box, script);
  EXPECT_TRUE(script.Finished());
  EXPECT_NE(::access(Printed().c_str(), F_OK), 0) << "nothing printed";
}

}  // namespace
}  // namespace qarvex::testing
