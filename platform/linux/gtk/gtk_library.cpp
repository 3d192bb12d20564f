#include "platform/linux/gtk/gtk_library.h"

#include <dlfcn.h>

#include <cstdlib>
#include <string>

#include "common/error.h"

namespace qarvex::platform::gtk_ui {
namespace {

constexpr char kGtk3[] = "libgtk-3.so.0";
// GTK 2's libraries: either one in the process means GTK 2 runs there.
constexpr const char* kGtk2[] = {"libgtk-x11-2.0.so.0", "libgdk-x11-2.0.so.0"};

GtkFunctions functions;
bool resolved = false;  // every entry of `functions` is set
bool setlocaleDisabled = false;

bool Gtk2Loaded() {
  for (const char* name : kGtk2) {
    if (void* handle = ::dlopen(name, RTLD_LAZY | RTLD_NOLOAD)) {
      ::dlclose(handle);  // only the reference NOLOAD took
      return true;
    }
  }
  return false;
}

// Fills the table, or raises naming the first missing function. The handle
// is kept for the rest of the process.
void Resolve() {
  ::dlerror();
  void* gtk = ::dlopen(kGtk3, RTLD_NOW | RTLD_LOCAL);
  if (gtk == nullptr) {
    const char* reason = ::dlerror();
    throw Failure(std::string("GTK 3 (") + kGtk3 + ") cannot be loaded: " + (reason ? reason : "unknown reason"));
  }
  GtkFunctions table;
#define QARVEX_GTK_FUNCTION(name)                                                                  \
  table.name = reinterpret_cast<decltype(table.name)>(::dlsym(gtk, #name));                       \
  if (table.name == nullptr) throw Failure(std::string("GTK 3 (") + kGtk3 + ") lacks the function " #name);
#include "platform/linux/gtk/gtk_functions.inc"
#undef QARVEX_GTK_FUNCTION
  functions = table;
  resolved = true;
}

std::string DisplayDescription() {
  const char* x11 = std::getenv("DISPLAY");
  const char* wayland = std::getenv("WAYLAND_DISPLAY");
  std::string text;
  if (x11 != nullptr && *x11 != '\0') text += std::string("DISPLAY=") + x11;
  if (wayland != nullptr && *wayland != '\0') text += (text.empty() ? "" : ", ") + std::string("WAYLAND_DISPLAY=") + wayland;
  return text.empty() ? "neither DISPLAY nor WAYLAND_DISPLAY is set" : text;
}

}  // namespace

const GtkFunctions& ReadyGtk() {
  // Checked on every window: a GTK 2 plug-in may have arrived since.
  if (Gtk2Loaded())
    throw Failure("GTK 2 runs in this process, and GTK 3 windows cannot share a process with it");
  if (!resolved) Resolve();
  const GtkFunctions& g = functions;

  GMainContext* context = g.g_main_context_default();
  if (!g.g_main_context_acquire(context))
    throw Failure("the windows can be shown only on the thread that runs GTK's main loop");
  g.g_main_context_release(context);

  if (g.gdk_display_get_default() == nullptr) {
    // GTK not started yet (a script host): start it without changing the
    // process's locale, which the host may depend on.
    if (!setlocaleDisabled) {
      g.gtk_disable_setlocale();
      setlocaleDisabled = true;
    }
    if (!g.gtk_init_check(nullptr, nullptr))
      throw Failure("no display can be opened (" + DisplayDescription() + ")");
  }
  return g;
}

const GtkFunctions& Gtk() { return functions; }

}  // namespace qarvex::platform::gtk_ui
