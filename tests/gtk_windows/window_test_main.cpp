// The window tests' main: a quiet desktop session for GTK (no accessibility
// bus, settings in memory) on the program's own X server.
#include <gtest/gtest.h>
#include <stdlib.h>

#include "window_fixture.h"

namespace qarvex::testing {

XvfbDisplay& TestDisplay() {
  static XvfbDisplay display;
  return display;
}

}  // namespace qarvex::testing

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  ::setenv("NO_AT_BRIDGE", "1", 1);
  ::setenv("GSETTINGS_BACKEND", "memory", 1);
  ::setenv("GTK_A11Y", "none", 1);
  ::unsetenv("GTK_MODULES");
  ::unsetenv("GDK_SCALE");
  ::unsetenv("GDK_DPI_SCALE");
  ::unsetenv("GTK_THEME");
  return RUN_ALL_TESTS();
}
