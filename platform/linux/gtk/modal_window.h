// The machinery the component's GTK windows share: a top-level window
// without owner, sized in design pixels scaled to the screen's resolution,
// centred on the screen, shown modally in a nested main loop of the calling
// thread (the host's own loop, if it runs one, goes on serving its other
// windows) and destroyed when closed. Handlers of the windows' forms run
// through RunHandler, so no exception ever reaches GTK.
//
// Widget names are the forms' names (frmTextBox, btnPrint, ...), so that a
// control can be found by name. The window's look (fonts, compact controls
// matching the design sizes) comes from a style sheet whose rules all start
// with the window's name and which is installed only while it is shown: the
// host's own windows are never restyled.
//
// Threading: the thread that runs GTK (see gtk_library.h). Ownership: a
// window object lives on the stack of the Show call that runs it.
#pragma once

#include <string>

#include "common/text.h"
#include "platform/linux/gtk/gtk_library.h"
#include "platform/ui.h"
#include "platform/ui_pictures.h"

namespace qarvex::platform::gtk_ui {

struct WindowDesign {
  const char* name = "";  // the form object's name, the window's widget name
  int designDpi = 96;     // resolution the sizes below were designed at
  int clientWidth = 0;
  int clientHeight = 0;
  bool sizeable = false;   // false: dialog border, fixed size, no icon
  int fontHeight = 11;     // Tahoma, character height in design pixels
  const pictures::PixelMap* icon = nullptr;
};

class ModalWindow {
 public:
  ModalWindow(const ModalWindow&) = delete;
  ModalWindow& operator=(const ModalWindow&) = delete;

  // Creates the window and its controls, shows it and returns once it has
  // been closed and destroyed. Raises Failure when GTK cannot show windows
  // here (see ReadyGtk) or the window cannot be created.
  void RunModal(WStringView caption, const WindowDesign& design);

  // The standard error message box, modal over this window.
  void ShowErrorBox(WStringView message);

 protected:
  ModalWindow() = default;
  ~ModalWindow();

  // The client area, with the controls; called once, window not yet shown.
  virtual GtkWidget* CreateContent() = 0;
  // Controls exist, window not yet shown (a form's creation handler).
  virtual void AfterCreate() {}
  // Style rules of the window's own controls; every selector must start
  // with "#" followed by the window's name.
  virtual std::string ExtraStyle() const { return {}; }
  virtual void OnTimer() {}

  const GtkFunctions& g() const { return *gtk_; }
  GtkWidget* Window() const { return window_; }
  // Design pixels to screen pixels.
  int Scale(int designPixels) const;
  // Names a widget (its form name) and returns it.
  GtkWidget* Named(GtkWidget* widget, const char* name) const;
  // Sets a widget's size in design pixels.
  void SizeOf(GtkWidget* widget, int width, int height) const;
  // Calls OnTimer every `milliseconds` until the window is destroyed.
  void StartTimer(unsigned milliseconds);
  // A 16 x 16 picture; the caller owns the reference.
  GdkPixbuf* Picture(const pictures::PixelMap& map) const;

  // Runs a form's handler, errors shown through `view`; re-entrance (a timer
  // tick while a message box of a handler is shown) is refused.
  template <class Handler>
  void RunHandler(IWindowView& view, Handler&& handler) {
    if (inHandler_) return;
    inHandler_ = true;
    RunEventHandler(view, handler);
    inHandler_ = false;
  }

 private:
  static gboolean OnDeleteEvent(GtkWidget*, GdkEvent*, gpointer self);
  static void OnDestroy(GtkWidget*, gpointer self);
  static gboolean OnTimerTick(gpointer self);
  void InstallStyle(const WindowDesign& design);
  void TearDown();

  const GtkFunctions* gtk_ = nullptr;
  GtkWidget* window_ = nullptr;
  GMainLoop* loop_ = nullptr;
  GtkCssProvider* style_ = nullptr;
  guint timer_ = 0;
  int dpi_ = 96;
  int designDpi_ = 96;
  bool inHandler_ = false;
  WString caption_;
};

}  // namespace qarvex::platform::gtk_ui
