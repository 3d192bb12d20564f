#include "desktop.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
// After GoogleTest, whose names (None, Bool) Xlib defines as macros.
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <gdk/gdkx.h>
#include <time.h>

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstdlib>

#include "monotonic_clock.h"

#ifndef QARVEX_ARTIFACTS_DIR
#error "QARVEX_ARTIFACTS_DIR names the folder of the screenshots"
#endif

namespace qarvex::testing::desktop {
namespace {

Display* XDisplay() { return gdk_x11_display_get_xdisplay(gdk_display_get_default()); }

void Collect(GtkWidget* widget, gpointer out) { static_cast<std::vector<GtkWidget*>*>(out)->push_back(widget); }

std::vector<GtkWidget*> Children(GtkWidget* widget) {
  std::vector<GtkWidget*> children;
  if (GTK_IS_CONTAINER(widget)) gtk_container_forall(GTK_CONTAINER(widget), &Collect, &children);
  return children;
}

void KeyStroke(KeySym symbol) {
  Display* display = XDisplay();
  const KeyCode code = XKeysymToKeycode(display, symbol);
  XTestFakeKeyEvent(display, code, True, CurrentTime);
  XTestFakeKeyEvent(display, code, False, CurrentTime);
  XFlush(display);
}

void MakeFolders(const std::string& path) {
  std::string partial;
  for (std::size_t i = 0; i <= path.size(); ++i) {
    if (i == path.size() || path[i] == '/') {
      if (!partial.empty()) ::mkdir(partial.c_str(), 0755);
    }
    if (i < path.size()) partial += path[i];
  }
}

}  // namespace

std::vector<GtkWidget*> ShownWindows() {
  std::vector<GtkWidget*> shown;
  GList* all = gtk_window_list_toplevels();
  for (GList* i = all; i != nullptr; i = i->next) {
    GtkWidget* w = GTK_WIDGET(i->data);
    if (gtk_widget_get_mapped(w) && gtk_window_get_window_type(GTK_WINDOW(w)) == GTK_WINDOW_TOPLEVEL)
      shown.push_back(w);
  }
  g_list_free(all);
  return shown;
}

GtkWidget* FindWindow(const char* name) {
  for (GtkWidget* w : ShownWindows())
    if (g_strcmp0(gtk_widget_get_name(w), name) == 0) return w;
  return nullptr;
}

GtkWidget* FindChild(GtkWidget* root, const char* name) {
  if (root == nullptr) return nullptr;
  for (GtkWidget* child : Children(root)) {
    if (g_strcmp0(gtk_widget_get_name(child), name) == 0) return child;
    if (GtkWidget* found = FindChild(child, name)) return found;
  }
  return nullptr;
}

GtkWidget* FindChildOfType(GtkWidget* root, GType type) {
  if (root == nullptr) return nullptr;
  for (GtkWidget* child : Children(root)) {
    if (G_TYPE_CHECK_INSTANCE_TYPE(child, type)) return child;
    if (GtkWidget* found = FindChildOfType(child, type)) return found;
  }
  return nullptr;
}

Box BoxInWindow(GtkWidget* widget) {
  Box box;
  gtk_widget_translate_coordinates(widget, gtk_widget_get_toplevel(widget), 0, 0, &box.x, &box.y);
  box.width = gtk_widget_get_allocated_width(widget);
  box.height = gtk_widget_get_allocated_height(widget);
  return box;
}

Box ScreenBox(GtkWidget* widget) {
  Box box = BoxInWindow(widget);
  int x = 0, y = 0;
  gdk_window_get_origin(gtk_widget_get_window(gtk_widget_get_toplevel(widget)), &x, &y);
  box.x += x;
  box.y += y;
  return box;
}

void Click(GtkWidget* widget) {
  const Box box = ScreenBox(widget);
  Display* display = XDisplay();
  XTestFakeMotionEvent(display, -1, box.x + box.width / 2, box.y + box.height / 2, CurrentTime);
  XTestFakeButtonEvent(display, 1, True, CurrentTime);
  XTestFakeButtonEvent(display, 1, False, CurrentTime);
  XFlush(display);
}

void ClickRow(GtkWidget* treeView, int row) {
  GtkTreeView* tree = GTK_TREE_VIEW(treeView);
  GtkTreePath* path = gtk_tree_path_new_from_indices(row, -1);
  GdkRectangle cell{};
  gtk_tree_view_get_cell_area(tree, path, gtk_tree_view_get_column(tree, 0), &cell);
  gtk_tree_path_free(path);
  int x = 0, y = 0;
  gtk_tree_view_convert_bin_window_to_widget_coords(tree, cell.x + cell.width / 2, cell.y + cell.height / 2, &x, &y);
  const Box box = ScreenBox(treeView);
  Display* display = XDisplay();
  XTestFakeMotionEvent(display, -1, box.x + x, box.y + y, CurrentTime);
  XTestFakeButtonEvent(display, 1, True, CurrentTime);
  XTestFakeButtonEvent(display, 1, False, CurrentTime);
  XFlush(display);
}

void Type(const std::string& keys) {
  for (std::size_t i = 0; i < keys.size(); ++i) {
    if (keys[i] == '{') {
      const std::size_t end = keys.find('}', i);
      KeyStroke(XStringToKeysym(keys.substr(i + 1, end - i - 1).c_str()));
      i = end;
    } else {
      KeyStroke(static_cast<KeySym>(static_cast<unsigned char>(keys[i])));  // Latin-1 key symbols
    }
  }
}

void Focus(GtkWidget* window) {
  gdk_window_focus(gtk_widget_get_window(window), GDK_CURRENT_TIME);
  XSetInputFocus(XDisplay(), gdk_x11_window_get_xid(gtk_widget_get_window(window)), RevertToPointerRoot,
                 CurrentTime);
  XFlush(XDisplay());
}

std::string TextOf(GtkWidget* textView) {
  GtkTextBuffer* buffer = gtk_text_view_get_buffer(GTK_TEXT_VIEW(textView));
  GtkTextIter start, end;
  gtk_text_buffer_get_bounds(buffer, &start, &end);
  gchar* text = gtk_text_buffer_get_text(buffer, &start, &end, FALSE);
  std::string copy = text;
  g_free(text);
  return copy;
}

std::string TitleOf(GtkWidget* window) {
  const char* title = gtk_window_get_title(GTK_WINDOW(window));
  return title != nullptr ? title : "";
}

std::string MessageOf(GtkWidget* messageBox) {
  gchar* text = nullptr;
  g_object_get(messageBox, "text", &text, nullptr);
  std::string copy = text ? text : "";
  g_free(text);
  return copy;
}

std::string Screenshot(const std::string& name, const std::vector<GtkWidget*>& windows) {
  constexpr int kBorder = 8;
  int left = INT_MAX, top = INT_MAX, right = INT_MIN, bottom = INT_MIN;
  for (GtkWidget* w : windows) {
    const Box box = ScreenBox(w);
    left = std::min(left, box.x);
    top = std::min(top, box.y);
    right = std::max(right, box.x + box.width);
    bottom = std::max(bottom, box.y + box.height);
  }
  GdkWindow* root = gdk_get_default_root_window();
  left = std::max(0, left - kBorder);
  top = std::max(0, top - kBorder);
  right = std::min(gdk_window_get_width(root), right + kBorder);
  bottom = std::min(gdk_window_get_height(root), bottom + kBorder);
  const std::string folder = std::string(QARVEX_ARTIFACTS_DIR) + "/gtk";
  MakeFolders(folder);
  const std::string path = folder + "/" + name + ".png";
  GdkPixbuf* shot = gdk_pixbuf_get_from_window(root, left, top, right - left, bottom - top);
  EXPECT_NE(shot, nullptr) << "screenshot " << name;
  if (shot != nullptr) {
    EXPECT_TRUE(gdk_pixbuf_save(shot, path.c_str(), "png", nullptr, nullptr)) << path;
    g_object_unref(shot);
  }
  return path;
}

Script::Script() = default;

Script::~Script() {
  if (source_ != 0) g_source_remove(source_);
}

Script& Script::Then(std::string what, std::function<bool()> step, int limitMs) {
  steps_.push_back(Step{std::move(what), std::move(step), limitMs});
  return *this;
}

Script& Script::Do(std::string what, std::function<void()> action) {
  return Then(std::move(what), [action = std::move(action)] {
    action();
    return true;
  });
}

Script& Script::WaitForWindow(const char* name, GtkWidget** found) {
  // Shown, and drawn at its place for a moment (no window manager moves it).
  auto since = std::make_shared<long long>(0);
  return Then(std::string("window ") + name + " appears", [name, found, since] {
    GtkWidget* w = FindWindow(name);
    if (w == nullptr || !gdk_window_is_viewable(gtk_widget_get_window(w))) {
      *since = 0;
      return false;
    }
    if (*since == 0) *since = NowMs();
    if (NowMs() - *since < 150) return false;
    *found = w;
    return true;
  });
}

Script& Script::WaitGone(const char* name) {
  return Then(std::string("window ") + name + " closes", [name] { return FindWindow(name) == nullptr; });
}

Script& Script::Pause(int ms) {
  auto until = std::make_shared<long long>(0);
  return Then("pause", [ms, until] {
    if (*until == 0) *until = NowMs() + ms;
    return NowMs() >= *until;
  });
}

void Script::Start() {
  stepStarted_ = NowMs();
  source_ = g_timeout_add(20, &Tick, this);
}

gboolean Script::Tick(gpointer self) {
  auto* script = static_cast<Script*>(self);
  if (script->Run()) return G_SOURCE_CONTINUE;
  script->source_ = 0;
  return G_SOURCE_REMOVE;
}

bool Script::Run() {
  if (failed_) {
    // Close whatever is still open, innermost first, until nothing is.
    std::vector<GtkWidget*> shown = ShownWindows();
    for (auto i = shown.rbegin(); i != shown.rend(); ++i) gtk_window_close(GTK_WINDOW(*i));
    return !shown.empty();
  }
  while (next_ < steps_.size()) {
    Step& step = steps_[next_];
    if (!step.poll()) {
      if (NowMs() - stepStarted_ > step.limitMs) {
        ADD_FAILURE() << "timed out: " << step.what;
        failed_ = true;
        return true;
      }
      return true;
    }
    if (::testing::Test::HasFatalFailure()) {
      failed_ = true;
      return true;
    }
    if (std::getenv("QARVEX_SCRIPT_TRACE") != nullptr) std::fprintf(stderr, "script: done: %s\n", step.what.c_str());
    ++next_;
    stepStarted_ = NowMs();
  }
  return false;
}

}  // namespace qarvex::testing::desktop
