// The window tests' main: a quiet desktop session for GTK (no accessibility
// bus, settings in memory) on the program's own X server.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <cstdlib>
#include <string>

#include "window_fixture.h"

namespace qarvex::testing {

XvfbDisplay& TestDisplay() {
  static XvfbDisplay display;
  return display;
}

}  // namespace qarvex::testing

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  // A home of the program's own, read by GLib once: no user settings reach GTK.
  char home[] = "/tmp/qarvex-window-home-XXXXXX";
  if (::mkdtemp(home) == nullptr) return 2;
  ::setenv("HOME", home, 1);
  ::setenv("XDG_CONFIG_HOME", (std::string(home) + "/.config").c_str(), 1);
  ::setenv("NO_AT_BRIDGE", "1", 1);
  ::setenv("GSETTINGS_BACKEND", "memory", 1);
  ::setenv("GTK_A11Y", "none", 1);
  ::unsetenv("GTK_MODULES");
  ::unsetenv("GDK_SCALE");
  ::unsetenv("GDK_DPI_SCALE");
  ::unsetenv("GTK_THEME");
  const int result = RUN_ALL_TESTS();
  std::system(("rm -rf '" + std::string(home) + "'").c_str());
  return result;
}
