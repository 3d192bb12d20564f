#include "platform/linux/gtk/modal_window.h"

#include <cstdio>

#include "common/error.h"

namespace qarvex::platform::gtk_ui {
namespace {

int ScreenDpi(const GtkFunctions& g) {
  GdkScreen* screen = g.gdk_screen_get_default();
  const double dpi = screen != nullptr ? g.gdk_screen_get_resolution(screen) : -1;
  return dpi > 0 ? static_cast<int>(dpi + 0.5) : 96;
}

// Rounded like the framework's MulDiv.
int Rescale(int value, int to, int from) {
  const long long product = static_cast<long long>(value) * to;
  return static_cast<int>((product >= 0 ? product + from / 2 : product - from / 2) / from);
}

void FreePixels(guchar* pixels, gpointer) { delete[] pixels; }

}  // namespace

ModalWindow::~ModalWindow() { TearDown(); }

int ModalWindow::Scale(int designPixels) const { return Rescale(designPixels, dpi_, designDpi_); }

GtkWidget* ModalWindow::Named(GtkWidget* widget, const char* name) const {
  g().gtk_widget_set_name(widget, name);
  return widget;
}

void ModalWindow::SizeOf(GtkWidget* widget, int width, int height) const {
  g().gtk_widget_set_size_request(widget, Scale(width), Scale(height));
}

GdkPixbuf* ModalWindow::Picture(const pictures::PixelMap& map) const {
  constexpr int kSize = pictures::kSize;
  auto* pixels = new guchar[kSize * kSize * 4];
  for (int y = 0; y < kSize; ++y) {
    for (int x = 0; x < kSize; ++x) {
      guchar* p = pixels + (y * kSize + x) * 4;
      const char c = map[y][x];
      const std::uint32_t rgb = pictures::ColourOf(c);
      p[0] = static_cast<guchar>(rgb >> 16);
      p[1] = static_cast<guchar>(rgb >> 8);
      p[2] = static_cast<guchar>(rgb);
      p[3] = pictures::IsTransparent(c) ? 0 : 0xFF;
    }
  }
  return g().gdk_pixbuf_new_from_data(pixels, GDK_COLORSPACE_RGB, TRUE, 8, kSize, kSize, kSize * 4, &FreePixels,
                                      nullptr);
}

void ModalWindow::InstallStyle(const WindowDesign& design) {
  // Tahoma where the machine has it, else the desktop's sans-serif face, at
  // the design's character height; controls no taller than the design made
  // them, so that the texts and positions of the design fit.
  char size[32];
  std::snprintf(size, sizeof size, "%.1fpx", design.fontHeight * static_cast<double>(dpi_) / design.designDpi);
  const std::string id = std::string("#") + design.name;
  std::string css = id + ", " + id + " * { font-family: Tahoma, \"DejaVu Sans\", \"Liberation Sans\", sans-serif; "
                    "font-size: " + size + "; }\n" +
                    id + " button { padding: 0px 4px; min-height: 0px; min-width: 0px; }\n" +
                    id + " entry { padding: 0px 4px; min-height: 0px; }\n" +
                    id + " combobox button { padding: 0px 4px; min-height: 0px; }\n" + ExtraStyle();
  style_ = g().gtk_css_provider_new();
  g().gtk_css_provider_load_from_data(style_, css.c_str(), -1, nullptr);
  g().gtk_style_context_add_provider_for_screen(g().gdk_screen_get_default(), As<GtkStyleProvider>(style_),
                                                GTK_STYLE_PROVIDER_PRIORITY_APPLICATION);
}

void ModalWindow::RunModal(WStringView caption, const WindowDesign& design) {
  gtk_ = &ReadyGtk();
  caption_.assign(caption);
  dpi_ = ScreenDpi(g());
  designDpi_ = design.designDpi > 0 ? design.designDpi : 96;
  InstallStyle(design);

  window_ = g().gtk_window_new(GTK_WINDOW_TOPLEVEL);
  if (window_ == nullptr) {
    TearDown();
    throw Failure("Cannot create the window");
  }
  Named(window_, design.name);
  GtkWindow* window = As<GtkWindow>(window_);
  const std::string title = ToUtf8(caption_);
  g().gtk_window_set_title(window, title.c_str());
  g().gtk_window_set_position(window, GTK_WIN_POS_CENTER);
  g().gtk_window_set_modal(window, TRUE);
  if (design.sizeable) {
    g().gtk_window_set_default_size(window, Scale(design.clientWidth), Scale(design.clientHeight));
  } else {
    g().gtk_window_set_resizable(window, FALSE);
    g().gtk_window_set_type_hint(window, GDK_WINDOW_TYPE_HINT_DIALOG);
  }
  if (design.icon != nullptr) {
    GdkPixbuf* icon = Picture(*design.icon);
    g().gtk_window_set_icon(window, icon);
    g().g_object_unref(icon);
  }
  Connect(window_, "delete-event", &OnDeleteEvent, this);
  Connect(window_, "destroy", &OnDestroy, this);

  try {
    GtkWidget* content = CreateContent();
    if (!design.sizeable) SizeOf(content, design.clientWidth, design.clientHeight);
    g().gtk_container_add(As<GtkContainer>(window_), content);
    g().gtk_widget_show_all(content);  // the controls; the window itself is shown below
    AfterCreate();
  } catch (...) {
    TearDown();
    throw;
  }

  loop_ = g().g_main_loop_new(nullptr, FALSE);
  if (window_ != nullptr) {
    g().gtk_window_present(window);
    g().g_main_loop_run(loop_);
  }
  TearDown();
}

void ModalWindow::TearDown() {
  if (gtk_ == nullptr) return;
  if (timer_ != 0) {
    g().g_source_remove(timer_);
    timer_ = 0;
  }
  if (window_ != nullptr) {
    GtkWidget* window = window_;
    g().g_signal_handlers_disconnect_matched(window, G_SIGNAL_MATCH_DATA, 0, 0, nullptr, nullptr, this);
    window_ = nullptr;
    g().gtk_widget_destroy(window);
  }
  if (loop_ != nullptr) {
    g().g_main_loop_unref(loop_);
    loop_ = nullptr;
  }
  if (style_ != nullptr) {
    g().gtk_style_context_remove_provider_for_screen(g().gdk_screen_get_default(), As<GtkStyleProvider>(style_));
    g().g_object_unref(style_);
    style_ = nullptr;
  }
}

void ModalWindow::ShowErrorBox(WStringView message) {
  const std::string text = ToUtf8(message);
  GtkWidget* box = g().gtk_message_dialog_new(
      As<GtkWindow>(window_), static_cast<GtkDialogFlags>(GTK_DIALOG_MODAL | GTK_DIALOG_DESTROY_WITH_PARENT),
      GTK_MESSAGE_ERROR, GTK_BUTTONS_OK, "%s", text.c_str());
  Named(box, "errorMessageBox");
  const std::string title = ToUtf8(caption_);
  g().gtk_window_set_title(As<GtkWindow>(box), title.c_str());
  g().gtk_dialog_run(As<GtkDialog>(box));
  g().gtk_widget_destroy(box);
}

void ModalWindow::StartTimer(unsigned milliseconds) {
  timer_ = g().g_timeout_add_full(G_PRIORITY_DEFAULT, milliseconds, &OnTimerTick, this, nullptr);
}

gboolean ModalWindow::OnDeleteEvent(GtkWidget*, GdkEvent*, gpointer self) {
  auto* window = static_cast<ModalWindow*>(self);
  // Closed: the loop ends and RunModal destroys the window.
  if (window->loop_ != nullptr) window->g().g_main_loop_quit(window->loop_);
  return TRUE;
}

void ModalWindow::OnDestroy(GtkWidget*, gpointer self) {
  // Destroyed by someone else (the host closing every window, say).
  auto* window = static_cast<ModalWindow*>(self);
  window->window_ = nullptr;
  if (window->loop_ != nullptr) window->g().g_main_loop_quit(window->loop_);
}

gboolean ModalWindow::OnTimerTick(gpointer self) {
  static_cast<ModalWindow*>(self)->OnTimer();
  return G_SOURCE_CONTINUE;
}

}  // namespace qarvex::platform::gtk_ui
