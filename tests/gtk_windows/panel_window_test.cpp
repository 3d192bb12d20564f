// The additional-operations panel and the text window on the screen,
// opened through the component as the host opens them: sizes and positions
// of the design (120 and 96 pixels per inch, the screen at 96), a receipt
// copy and the journal report shown, the error box for a receipt the
// journal does not have, and the driver disconnected after each request.
#include <clocale>
#include <thread>

#include "window_fixture.h"

namespace qarvex::testing {
namespace {

using desktop::Box;
using desktop::TitleOf;


std::string ButtonLabel(GtkWidget* button) {
  const char* label = gtk_button_get_label(GTK_BUTTON(button));
  return label ? label : "";
}

// The label inside a button has room for its whole text.
void ExpectLabelFits(GtkWidget* button) {
  GtkWidget* label = desktop::FindChildOfType(button, GTK_TYPE_LABEL);
  ASSERT_NE(label, nullptr);
  int minimum = 0, natural = 0;
  gtk_widget_get_preferred_width(label, &minimum, &natural);
  EXPECT_LE(natural, gtk_widget_get_allocated_width(label)) << ButtonLabel(button) << " is clipped";
}


// Closes a window as its close box does.
void Close(GtkWidget* window) { gtk_window_close(GTK_WINDOW(window)); }

class PanelWindow : public WindowTest {
 protected:
  // Waits for the text window, checks its caption and layout, keeps its
  // text and a screenshot, and closes it.
  void ReadTextWindow(Script& script, const char* caption, const std::string& screenshot, std::string& text) {
    script.WaitForWindow("frmTextBox", &textWindow_)
        .Do("the text window", [=, this, &text] {
          EXPECT_EQ(TitleOf(textWindow_), caption);
          GtkWidget* client = gtk_bin_get_child(GTK_BIN(textWindow_));
          EXPECT_EQ(gtk_widget_get_allocated_width(client), 408);
          EXPECT_EQ(gtk_widget_get_allocated_height(client), 308);
          GtkWidget* print = FindChild(textWindow_, "btnPrint");
          ASSERT_NE(print, nullptr);
          EXPECT_EQ(BoxInWindow(print), (Box{288, 308 - 52 + 8, 107, 33}));
          EXPECT_EQ(ButtonLabel(print), "Печать");
          EXPECT_TRUE(gtk_widget_has_default(print)) << "the print button is the default button";
          ExpectLabelFits(print);
          GtkWidget* data = FindChild(textWindow_, "mmoData");
          ASSERT_NE(data, nullptr);
          EXPECT_FALSE(gtk_text_view_get_editable(GTK_TEXT_VIEW(data)));
          EXPECT_TRUE(gtk_widget_has_focus(data)) << "the text box is first in the tab order";
          EXPECT_EQ(BoxInWindow(gtk_widget_get_parent(data)).height, 308 - 52) << "the box fills the rest";
          text = TextOf(data);
          Screenshot(screenshot, {textWindow_});
          Close(textWindow_);
        })
        .WaitGone("frmTextBox");
  }

  GtkWidget* panel_ = nullptr;
  GtkWidget* textWindow_ = nullptr;
  GtkWidget* errorBox_ = nullptr;
};

TEST_F(PanelWindow, CopyReportAndUnknownReceiptInAHostThatRunsGtk) {
  ASSERT_TRUE(Pay(kCard, 100).returned);
  ASSERT_TRUE(Pay(kCard, 250).returned);
  std::string copy, report;
  Script script;
  script.WaitForWindow("frmAdditionalActions", &panel_).Do("the panel's layout", [&] {
    EXPECT_EQ(TitleOf(panel_), "Дополнительные операции");
    EXPECT_FALSE(gtk_window_get_resizable(GTK_WINDOW(panel_)));
    GtkWidget* client = gtk_bin_get_child(GTK_BIN(panel_));
    // 338 x 115 at 120 pixels per inch is 270 x 92 at 96.
    EXPECT_EQ(gtk_widget_get_allocated_width(client), 270);
    EXPECT_EQ(gtk_widget_get_allocated_height(client), 92);
    // Centred on the 1280 x 1024 screen.
    const Box onScreen = desktop::ScreenBox(panel_);
    EXPECT_NEAR(onScreen.x + onScreen.width / 2, 640, 2) << onScreen;
    EXPECT_NEAR(onScreen.y + onScreen.height / 2, 512, 2) << onScreen;
    GtkWidget* copyButton = FindChild(panel_, "btnRecCopy");
    GtkWidget* reportButton = FindChild(panel_, "btnReport");
    GtkWidget* number = FindChild(panel_, "edtRecNum");
    ASSERT_TRUE(copyButton && reportButton && number);
    EXPECT_EQ(BoxInWindow(copyButton), (Box{25, 18, 182, 20}));
    EXPECT_EQ(BoxInWindow(number), (Box{212, 18, 34, 20}));
    EXPECT_EQ(BoxInWindow(reportButton), (Box{25, 49, 221, 20}));
    EXPECT_EQ(ButtonLabel(copyButton), "Печать копии чека");
    EXPECT_EQ(ButtonLabel(reportButton), "Печать отчета");
    ExpectLabelFits(copyButton);
    ExpectLabelFits(reportButton);
    EXPECT_STREQ(gtk_entry_get_text(GTK_ENTRY(number)), "1");
    EXPECT_TRUE(gtk_widget_has_focus(copyButton)) << "tab order 0";
    // Tab order: copy, report, number.
    GList* chain = nullptr;
    ASSERT_TRUE(gtk_container_get_focus_chain(GTK_CONTAINER(client), &chain));
    std::vector<std::string> names;
    for (GList* i = chain; i; i = i->next) names.push_back(gtk_widget_get_name(GTK_WIDGET(i->data)));
    g_list_free(chain);
    EXPECT_EQ(names, (std::vector<std::string>{"btnRecCopy", "btnReport", "edtRecNum"}));
    Screenshot("panel", {panel_});
    Click(copyButton);
  });
  ReadTextWindow(script, "Копия чека", "text-window-receipt-copy", copy);
  // The keyboard goes on where it was when the text window opened.
  const auto focusBackOn = [&](const char* button) {
    return [this, button] { return gtk_window_get_focus(GTK_WINDOW(panel_)) == FindChild(panel_, button); };
  };
  script.Then("the copy button has the focus back", focusBackOn("btnRecCopy"));
  script.Do("report", [&] { Click(FindChild(panel_, "btnReport")); });
  ReadTextWindow(script, "Отчет", "text-window-report", report);
  script.Then("the report button has the focus back", focusBackOn("btnReport"));
  script.Do("a receipt the journal does not have", [&] {
        Click(FindChild(panel_, "edtRecNum"));
        desktop::Type("{End}{BackSpace}{BackSpace}7");
      })
      .Then("the number is typed",
            [&] { return std::string(gtk_entry_get_text(GTK_ENTRY(FindChild(panel_, "edtRecNum")))) == "7"; })
      .Do("copy", [&] { Click(FindChild(panel_, "btnRecCopy")); })
      .WaitForWindow("errorMessageBox", &errorBox_)
      .Do("the error box", [&] {
        EXPECT_EQ(desktop::MessageOf(errorBox_), "Транзакция не найдена");
        EXPECT_EQ(desktop::FindWindow("frmTextBox"), nullptr) << "no text window for a failed copy";
        Screenshot("panel-error-box", {panel_, errorBox_});
        Click(gtk_dialog_get_widget_for_response(GTK_DIALOG(errorBox_), GTK_RESPONSE_OK));
      })
      .WaitGone("errorMessageBox")
      .Do("the panel stays open and usable", [&] {
        EXPECT_EQ(desktop::FindWindow("frmAdditionalActions"), panel_);
        EXPECT_TRUE(gtk_widget_is_sensitive(FindChild(panel_, "btnReport")));
        Close(panel_);
      })
      .WaitGone("frmAdditionalActions");

  EXPECT_TRUE(RunAction(u"ShowAdditionalOperationPanel", script, /*hostRunsGtk=*/true)) << Utf8(LastError());
  EXPECT_FALSE(script.Failed());

  const std::string rule(32, '=');
  EXPECT_EQ(copy.rfind(rule + "\n         ОПЛАТА (КОПИЯ)         \n", 0), 0u) << copy;
  EXPECT_NE(copy.find("Сумма:                   100 Руб\n"), std::string::npos) << copy;
  EXPECT_NE(copy.find("Номер чека:               000001\n"), std::string::npos) << copy;
  EXPECT_NE(report.find("Номер чека:               000001\n"), std::string::npos) << report;
  EXPECT_NE(report.find("Номер чека:               000002\n"), std::string::npos) << report;
  EXPECT_NE(report.find("Сумма:                   250 Руб\n"), std::string::npos) << report;

  // Every request ended with the driver disconnected, as the host's
  // "Отключить" leaves it.
  EXPECT_FALSE(Pay(kCard, 1).returned);
  EXPECT_EQ(LastError(), u"Терминал не подключен");
}

TEST_F(PanelWindow, ScriptHostWithoutGtkGetsTheSameWindowsAndKeepsItsLocale) {
  // GTK starts inside the component; it must not switch the process's
  // locale to the environment's, which the host may rely on.
  ::setenv("LC_ALL", "C.UTF-8", 1);
  ASSERT_STREQ(std::setlocale(LC_ALL, nullptr), "C");
  std::string report;
  Script script;
  script.WaitForWindow("frmAdditionalActions", &panel_).Do("report", [&] {
    Click(FindChild(panel_, "btnReport"));
  });
  ReadTextWindow(script, "Отчет", "text-window-empty-report", report);
  script.Do("close", [&] { Close(panel_); }).WaitGone("frmAdditionalActions");

  EXPECT_TRUE(RunAction(u"ShowAdditionalOperationPanel", script, /*hostRunsGtk=*/false)) << Utf8(LastError());
  EXPECT_FALSE(script.Failed());
  EXPECT_NE(report.find("Журнал транзакций пуст"), std::string::npos) << report;
  EXPECT_STREQ(std::setlocale(LC_ALL, nullptr), "C");
  ::setenv("LC_ALL", "C", 1);
}

TEST_F(PanelWindow, ACallFromAThreadOtherThanGtksIsRefused) {
  // The host's GTK thread runs its loop; another thread of the host asks
  // for the panel meanwhile.
  ASSERT_TRUE(gtk_init_check(nullptr, nullptr));
  GMainLoop* loop = g_main_loop_new(nullptr, FALSE);
  bool result = true;
  std::u16string error;
  std::thread worker;
  struct Context {
    std::function<void()> start;
  } context{[&] {
    worker = std::thread([&] {
      std::vector<HostValue> params{HostValue(u"ShowAdditionalOperationPanel")};
      result = Call(*driver, u"ВыполнитьДополнительноеДействие", params);
      error = LastError();
      g_idle_add([](gpointer l) -> gboolean {
        g_main_loop_quit(static_cast<GMainLoop*>(l));
        return G_SOURCE_REMOVE;
      }, loop);
    });
  }};
  g_idle_add([](gpointer c) -> gboolean {
    static_cast<Context*>(c)->start();
    return G_SOURCE_REMOVE;
  }, &context);
  g_main_loop_run(loop);
  worker.join();
  g_main_loop_unref(loop);
  EXPECT_FALSE(result);
  EXPECT_EQ(Utf8(error), "The additional operations panel window cannot be shown: the windows can be shown only on "
                         "the thread that runs GTK's main loop");
  EXPECT_EQ(desktop::FindWindow("frmAdditionalActions"), nullptr);
}

}  // namespace
}  // namespace qarvex::testing
