// GTK 3, reached only when a window opens. The component never links GTK:
// a server or script host without a display, or a machine without GTK,
// loads it and uses every method that needs no window. The functions the
// windows call are resolved from libgtk-3.so.0 (and what it loads) the
// first time a window is asked for, into one table typed from GTK's own
// headers; no other file calls GTK but through that table. The library is
// never unloaded once loaded: GTK cannot be unloaded from a process.
//
// Include this header instead of <gtk/gtk.h>. Never call a GTK function or
// a GTK macro that calls one (GTK_WINDOW(), g_signal_connect(), G_OBJECT())
// directly: the component's link (no undefined symbols) refuses it.
//
// Threading: the thread that runs GTK's main loop (the host's user-interface
// thread), or any one thread where the process has not started GTK.
#pragma once

#ifndef GDK_DISABLE_DEPRECATION_WARNINGS
#define GDK_DISABLE_DEPRECATION_WARNINGS  // gtk_container_set_focus_chain is the tab order
#endif
#include <gtk/gtk.h>

namespace qarvex::platform::gtk_ui {

struct GtkFunctions {
#define QARVEX_GTK_FUNCTION(name) decltype(&::name) name = nullptr;
#include "platform/linux/gtk/gtk_functions.inc"
#undef QARVEX_GTK_FUNCTION
};

// GTK 3 loaded, initialised and usable on this thread: the function table.
// Initialises GTK where the process has not (without touching the
// process's locale); where the host already runs GTK, uses it as it is.
// Raises Failure naming what is missing: GTK 3 cannot be loaded, a function
// is missing from it, GTK 2 already runs in the process (the two cannot
// share one), no display can be opened, or another thread runs GTK's loop.
const GtkFunctions& ReadyGtk();

// The table once ReadyGtk has succeeded (for code that runs inside a
// window, which only exists after it did).
const GtkFunctions& Gtk();

// C-style casts between GTK's object types without GTK's checking macros,
// which would call GTK directly.
template <class To, class From>
To* As(From* object) {
  return reinterpret_cast<To*>(object);
}

// g_signal_connect through the table; `handler` is any function pointer.
template <class Handler>
gulong Connect(void* instance, const char* signal, Handler handler, void* data) {
  return Gtk().g_signal_connect_data(instance, signal, reinterpret_cast<GCallback>(handler), data, nullptr,
                                     static_cast<GConnectFlags>(0));
}

}  // namespace qarvex::platform::gtk_ui
