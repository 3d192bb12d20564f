#include "xvfb_display.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <string>

#include "monotonic_clock.h"

namespace qarvex::testing {

XvfbDisplay::XvfbDisplay(int startSeconds) {
  int fds[2];
  if (::pipe2(fds, O_CLOEXEC) != 0) {
    reason_ = "no pipe for Xvfb";
    return;
  }
  pid_ = ::fork();
  if (pid_ == 0) {
    ::fcntl(fds[1], F_SETFD, 0);  // the server writes its display number here
    const int quiet = ::open("/dev/null", O_WRONLY);
    ::dup2(quiet, 1);
    ::dup2(quiet, 2);
    const std::string fd = std::to_string(fds[1]);
    ::execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "1280x1024x24", "-dpi", "96", "-nolisten",
             "tcp", "-noreset", static_cast<char*>(nullptr));
    ::_exit(127);
  }
  ::close(fds[1]);
  if (pid_ < 0) {
    ::close(fds[0]);
    reason_ = "cannot fork for Xvfb";
    return;
  }
  std::string number;
  const long long deadline = NowMs() + startSeconds * 1000LL;
  for (;;) {
    const long long left = deadline - NowMs();
    if (left <= 0) break;
    pollfd p{fds[0], POLLIN, 0};
    if (::poll(&p, 1, static_cast<int>(left)) <= 0) {
      if (errno == EINTR) continue;
      break;
    }
    char c = 0;
    if (::read(fds[0], &c, 1) != 1) break;
    if (c == '\n') {
      if (!number.empty()) display_ = ":" + number;
      break;
    }
    number += c;
  }
  ::close(fds[0]);
  if (display_.empty()) {
    reason_ = "Xvfb could not be started (is the xvfb package installed?)";
    return;
  }
  ::setenv("DISPLAY", display_.c_str(), 1);
  ::unsetenv("WAYLAND_DISPLAY");
}

XvfbDisplay::~XvfbDisplay() {
  if (pid_ <= 0) return;
  ::kill(pid_, SIGTERM);
  for (int i = 0; i < 100; ++i) {
    if (::waitpid(pid_, nullptr, WNOHANG) == pid_) return;
    ::usleep(20000);
  }
  ::kill(pid_, SIGKILL);
  ::waitpid(pid_, nullptr, 0);
}

}  // namespace qarvex::testing
