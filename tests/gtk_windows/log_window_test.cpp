// The log viewer on the screen, opened through the component: the design's
// sizes, the list of log files (any case of ".log", nothing else) with the
// newest selected, its text, a line another process appends shown within
// about a second with the caret left where it was, and the folder button
// opening the folder with xdg-open.
#include <sys/stat.h>
#include <time.h>

#include <fstream>

#include "monotonic_clock.h"
#include "window_fixture.h"

namespace qarvex::testing {
namespace {

std::string Today() {
  const std::time_t now = std::time(nullptr);
  std::tm t{};
  localtime_r(&now, &t);
  char name[32];
  std::strftime(name, sizeof name, "%Y.%m.%d", &t);
  return name;
}

std::vector<std::string> ListEntries(GtkWidget* combo) {
  std::vector<std::string> names;
  GtkTreeModel* model = gtk_combo_box_get_model(GTK_COMBO_BOX(combo));
  GtkTreeIter it;
  for (gboolean ok = gtk_tree_model_get_iter_first(model, &it); ok; ok = gtk_tree_model_iter_next(model, &it)) {
    gchar* text = nullptr;
    gtk_tree_model_get(model, &it, 0, &text, -1);
    names.push_back(text ? text : "");
    g_free(text);
  }
  return names;
}

std::string ShownName(GtkWidget* combo) {
  gchar* text = gtk_combo_box_text_get_active_text(GTK_COMBO_BOX_TEXT(combo));
  std::string name = text ? text : "";
  g_free(text);
  return name;
}

int CaretOffset(GtkWidget* view) {
  GtkTextBuffer* buffer = gtk_text_view_get_buffer(GTK_TEXT_VIEW(view));
  GtkTextIter caret;
  gtk_text_buffer_get_iter_at_mark(buffer, &caret, gtk_text_buffer_get_insert(buffer));
  return gtk_text_iter_get_offset(&caret);
}

class LogWindow : public WindowTest {
 protected:
  std::string Folder() const { return folders.machine() + "/qarvex_termemu"; }
  GtkWidget* window_ = nullptr;
};

TEST_F(LogWindow, ListsTheLogFilesShowsTheNewestAndFollowsItWhileAnotherProcessAppends) {
  ASSERT_TRUE(driver->SetProp(u"ЛогВключен", HostValue(true)));
  std::vector<HostValue> none;
  driver->CallFunc(u"GetVersion", none);
  const std::string today = "qarvex_termemu_" + Today() + ".log";
  const std::string todayPath = Folder() + "/" + today;
  WriteFile(Folder() + "/archive.LOG", "older day\r\n");
  WriteFile(Folder() + "/notes.txt", "not a log\r\n");
  ::mkdir((Folder() + "/folder.log").c_str(), 0755);
  // xdg-open as the desktop would run it, recording what it was asked.
  const std::string bin = folders.root() + "/bin";
  ::mkdir(bin.c_str(), 0755);
  const std::string opened = folders.root() + "/opened";
  WriteFile(bin + "/xdg-open", "#!/bin/sh\nprintf '%s' \"$1\" > '" + opened + "'\n");
  ::chmod((bin + "/xdg-open").c_str(), 0755);
  ::setenv("PATH", (bin + ":" + std::getenv("PATH")).c_str(), 1);

  GtkWidget* files = nullptr;
  GtkWidget* log = nullptr;
  int caret = 0;
  long long appendedAt = 0;
  Script script;
  script.WaitForWindow("frmLog", &window_)
      .Do("the viewer's layout and first content", [&] {
        EXPECT_EQ(desktop::TitleOf(window_), "Просмотр лога");
        EXPECT_TRUE(gtk_window_get_resizable(GTK_WINDOW(window_)));
        GtkWidget* client = gtk_bin_get_child(GTK_BIN(window_));
        // 633 x 293 at 120 pixels per inch is 506 x 234 at 96.
        EXPECT_EQ(gtk_widget_get_allocated_width(client), 506);
        EXPECT_EQ(gtk_widget_get_allocated_height(client), 234);
        files = FindChild(window_, "cbbLogFiles");
        log = FindChild(window_, "mmoLog");
        GtkWidget* open = FindChild(window_, "btnOpenDir");
        ASSERT_TRUE(files && log && open);
        EXPECT_EQ(BoxInWindow(files).x, 9);
        EXPECT_EQ(BoxInWindow(files).width, 206);
        EXPECT_EQ(BoxInWindow(open).x, 9 + 206);
        EXPECT_EQ(BoxInWindow(open).width, 18);
        EXPECT_LE(BoxInWindow(files).height, 26) << "the band is 26 high";
        EXPECT_EQ(BoxInWindow(gtk_widget_get_parent(log)).y, 26) << "the text box starts below the band";
        EXPECT_EQ(ListEntries(files), (std::vector<std::string>{"archive.LOG", today}));
        EXPECT_EQ(ShownName(files), today) << "the newest file is selected";
        EXPECT_NE(TextOf(log).find("\tDEBUG\t> GetVersion: "), std::string::npos) << TextOf(log);
        EXPECT_EQ(TextOf(log).find('\r'), std::string::npos);
        Screenshot("log-viewer", {window_});
        // The reader moves the caret into the text.
        GtkTextBuffer* buffer = gtk_text_view_get_buffer(GTK_TEXT_VIEW(log));
        GtkTextIter at;
        gtk_text_buffer_get_iter_at_offset(buffer, &at, 50);
        gtk_text_buffer_place_cursor(buffer, &at);
        caret = CaretOffset(log);
      })
      .Pause(1100)  // a later last-write time than the one loaded
      .Do("another process appends a line", [&] {
        ASSERT_EQ(std::system(("printf 'appended by another process\\r\\n' >> '" + todayPath + "'").c_str()), 0);
        appendedAt = NowMs();
      })
      .Then("the line appears", [&] { return TextOf(log).find("appended by another process\n") != std::string::npos; },
            3000)
      .Do("the caret stayed", [&] {
        EXPECT_LE(NowMs() - appendedAt, 2000) << "the timer re-reads the file once a second";
        EXPECT_EQ(CaretOffset(log), caret);
        EXPECT_TRUE(gtk_widget_has_focus(log));
      })
      .Pause(300)  // drawn
      .Do("the folder button", [&] {
        Screenshot("log-viewer-after-append", {window_});
        Click(FindChild(window_, "btnOpenDir"));
      })
      .Then("the folder is opened", [&] { return ReadFile(opened) == Folder() + "/"; })
      .Do("close", [&] { gtk_window_close(GTK_WINDOW(window_)); })
      .WaitGone("frmLog");

  std::vector<HostValue> view{HostValue(u"ViewLog")};
  EXPECT_TRUE(RunAction(u"ViewLog", script, /*hostRunsGtk=*/true)) << Utf8(LastError());
  EXPECT_FALSE(script.Failed());
  EXPECT_TRUE(driver->SetProp(u"ЛогВключен", HostValue(false)));
}

TEST_F(LogWindow, OpeningTheListWithoutPickingClearsTheChoiceAndStopsFollowing) {
  ASSERT_TRUE(driver->SetProp(u"ЛогВключен", HostValue(true)));
  std::vector<HostValue> none;
  driver->CallFunc(u"GetVersion", none);
  const std::string todayPath = Folder() + "/qarvex_termemu_" + Today() + ".log";
  GtkWidget* files = nullptr;
  std::string before;
  Script script;
  script.WaitForWindow("frmLog", &window_)
      .Do("open the list", [&] {
        files = FindChild(window_, "cbbLogFiles");
        ASSERT_NE(files, nullptr);
        EXPECT_NE(ShownName(files), "");
        Click(files);
      })
      .Then("the list is open", [&] {
        gboolean shown = FALSE;
        g_object_get(files, "popup-shown", &shown, nullptr);
        return shown == TRUE;
      })
      .Pause(300)
      .Do("close it without picking", [&] {
        desktop::Screenshot("log-viewer-list-open", desktop::ShownWindows());
        desktop::Type("{Escape}");
      })
      .Then("the list is closed", [&] {
        gboolean shown = TRUE;
        g_object_get(files, "popup-shown", &shown, nullptr);
        return shown == FALSE;
      })
      .Do("nothing is chosen", [&] {
        EXPECT_EQ(ShownName(files), "");
        EXPECT_EQ(gtk_tree_model_iter_n_children(gtk_combo_box_get_model(GTK_COMBO_BOX(files)), nullptr), 1)
            << "the list was filled again";
        before = TextOf(FindChild(window_, "mmoLog"));
        EXPECT_NE(before, "") << "the text box keeps its last content";
        ASSERT_EQ(std::system(("printf 'not followed\\r\\n' >> '" + todayPath + "'").c_str()), 0);
      })
      .Pause(2200)
      .Do("the file is no longer followed", [&] {
        EXPECT_EQ(TextOf(FindChild(window_, "mmoLog")), before);
        gtk_window_close(GTK_WINDOW(window_));
      })
      .WaitGone("frmLog");
  EXPECT_TRUE(RunAction(u"ViewLog", script, /*hostRunsGtk=*/true)) << Utf8(LastError());
  EXPECT_FALSE(script.Failed());
  EXPECT_TRUE(driver->SetProp(u"ЛогВключен", HostValue(false)));
}

TEST_F(LogWindow, AnEmptyFolderGivesAnEmptyListAndAnEmptyBox) {
  Script script;
  script.WaitForWindow("frmLog", &window_)
      .Do("empty", [&] {
        GtkWidget* files = FindChild(window_, "cbbLogFiles");
        ASSERT_NE(files, nullptr);
        EXPECT_TRUE(ListEntries(files).empty());
        EXPECT_EQ(ShownName(files), "");
        EXPECT_EQ(TextOf(FindChild(window_, "mmoLog")), "");
        Screenshot("log-viewer-empty", {window_});
      })
      .Pause(1200)  // the timer does nothing
      .Do("close", [&] {
        EXPECT_EQ(desktop::FindWindow("errorMessageBox"), nullptr);
        gtk_window_close(GTK_WINDOW(window_));
      })
      .WaitGone("frmLog");
  EXPECT_TRUE(RunAction(u"ViewLog", script, /*hostRunsGtk=*/false)) << Utf8(LastError());
  EXPECT_FALSE(script.Failed());
}

}  // namespace
}  // namespace qarvex::testing
