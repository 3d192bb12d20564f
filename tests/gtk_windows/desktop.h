// What a person at the screen does, for the window tests: find a window and
// its controls by name, click and type with real input events (XTest, so
// they travel through the X server like a user's), read what is shown, and
// take screenshots. Runs on the thread that runs GTK, inside whatever loop
// is running (the component's modal windows run nested ones).
#pragma once

#include <gtk/gtk.h>

#include <functional>
#include <ostream>
#include <string>
#include <vector>

namespace qarvex::testing::desktop {

// The shown top-level window with this widget name, or null.
GtkWidget* FindWindow(const char* name);
// Every shown top-level window.
std::vector<GtkWidget*> ShownWindows();
// The descendant of `root` (internal children included) with this name.
GtkWidget* FindChild(GtkWidget* root, const char* name);
// The first descendant of this GType.
GtkWidget* FindChildOfType(GtkWidget* root, GType type);

// Position and size on the screen.
struct Box {
  int x = 0, y = 0, width = 0, height = 0;
  bool operator==(const Box&) const = default;
};
inline std::ostream& operator<<(std::ostream& out, const Box& b) {
  return out << "(" << b.x << ", " << b.y << ") " << b.width << " x " << b.height;
}
Box ScreenBox(GtkWidget* widget);
// Position of `widget` inside its top-level window's client area.
Box BoxInWindow(GtkWidget* widget);

void Click(GtkWidget* widget);
// Clicks a row of a tree view (a list).
void ClickRow(GtkWidget* treeView, int row);
// Presses and releases keys: printable ASCII characters, or X key names
// in braces ("{BackSpace}", "{Return}", "{Escape}").
void Type(const std::string& keys);
// Keyboard focus to a window, as a window manager gives it on a click.
void Focus(GtkWidget* window);

std::string TextOf(GtkWidget* textView);
std::string TitleOf(GtkWidget* window);
// The message of a message box.
std::string MessageOf(GtkWidget* messageBox);

// Saves a PNG of what the screen shows over the windows' area (with a small
// border) in the artefacts folder; returns the file's path.
std::string Screenshot(const std::string& name, const std::vector<GtkWidget*>& windows);

// Steps run from GTK's loop, one after another: each is polled every 20 ms
// until it answers true. A step that does not within its time limit fails
// the test; from then on every shown window is closed, so that the call
// that opened them returns instead of hanging.
class Script {
 public:
  Script();
  ~Script();
  Script(const Script&) = delete;
  Script& operator=(const Script&) = delete;

  Script& Then(std::string what, std::function<bool()> step, int limitMs = 10000);
  // A step that is done at once.
  Script& Do(std::string what, std::function<void()> action);
  // Waits until the named window is shown and settled; `found` receives it.
  Script& WaitForWindow(const char* name, GtkWidget** found);
  Script& WaitGone(const char* name);
  Script& Pause(int ms);

  void Start();
  bool Finished() const { return next_ >= steps_.size(); }
  bool Failed() const { return failed_; }

 private:
  struct Step {
    std::string what;
    std::function<bool()> poll;
    int limitMs;
  };
  static gboolean Tick(gpointer self);
  bool Run();

  std::vector<Step> steps_;
  std::size_t next_ = 0;
  long long stepStarted_ = 0;
  bool failed_ = false;
  guint source_ = 0;
};

}  // namespace qarvex::testing::desktop
