// The component loaded by the replacement host in a process with its own
// X server (Xvfb): tests open the component's windows through
// "ВыполнитьДополнительноеДействие" and act on them from a Script that runs
// in the windows' own loops.
//
// Two kinds of host: one that runs GTK itself and calls the component from
// inside its main loop (the platform's client), and one that never touches
// GTK (a script host), where the component starts GTK on its own.
//
// Bounded: a step that waits too long fails and closes the windows; a
// watchdog ends a test that hangs anyway.
#pragma once

#include <signal.h>
#include <unistd.h>

#include <string>

#include "desktop.h"
#include "e2e_terminal/terminal_fixture.h"
#include "xvfb_display.h"

namespace qarvex::testing {

// What every window test uses of the desktop.
using desktop::BoxInWindow;
using desktop::Click;
using desktop::FindChild;
using desktop::Screenshot;
using desktop::Script;
using desktop::TextOf;

// The process's X server, started before the first test.
XvfbDisplay& TestDisplay();

class WindowTest : public TerminalTest {
 protected:
  void SetUp() override {
    if (!TestDisplay().Started()) GTEST_SKIP() << "no X server for the window tests: " << TestDisplay().Reason();
    ::signal(SIGALRM, [](int) {
      static const char message[] = "window test watchdog: the test hung and was ended\n";
      (void)!::write(2, message, sizeof message - 1);
      ::_exit(3);
    });
    ::alarm(120);
    TerminalTest::SetUp();
  }
  void TearDown() override {
    if (!IsSkipped()) TerminalTest::TearDown();  // nothing was loaded
    ::alarm(0);
  }

  // The host runs GTK: initialised, and the call made from inside its
  // running main loop, as the platform's client makes it.
  bool CallFromHostLoop(std::u16string_view method, std::vector<HostValue>& params) {
    EXPECT_TRUE(gtk_init_check(nullptr, nullptr));
    struct Call {
      WindowTest* test;
      std::u16string_view method;
      std::vector<HostValue>* params;
      GMainLoop* loop;
      bool result = false;
    } call{this, method, &params, g_main_loop_new(nullptr, FALSE)};
    g_idle_add(
        [](gpointer data) -> gboolean {
          auto* c = static_cast<Call*>(data);
          c->result = c->test->Call(*c->test->driver, c->method, *c->params);
          g_main_loop_quit(c->loop);
          return G_SOURCE_REMOVE;
        },
        &call);
    g_main_loop_run(call.loop);
    g_main_loop_unref(call.loop);
    return call.result;
  }

  // Runs an additional action by name while `script` acts on its windows.
  // The script must have closed them by its end.
  bool RunAction(const char16_t* action, desktop::Script& script, bool hostRunsGtk) {
    std::vector<HostValue> params{HostValue(action)};
    script.Start();
    const bool result = hostRunsGtk ? CallFromHostLoop(u"ВыполнитьДополнительноеДействие", params)
                                    : Call(*driver, u"ВыполнитьДополнительноеДействие", params);
    // Steps after the last window closed (waiting for it to be gone) finish now.
    for (int i = 0; i < 100 && !script.Finished() && !script.Failed(); ++i) {
      while (g_main_context_iteration(nullptr, FALSE)) {
      }
      ::usleep(20000);
    }
    EXPECT_TRUE(script.Finished() || script.Failed()) << "the action returned with the script unfinished";
    return result;
  }
};

}  // namespace qarvex::testing
