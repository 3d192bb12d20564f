// A private X server (Xvfb) for one test program: started on a free display
// number (Xvfb picks it and tells it through -displayfd), made the process's
// DISPLAY, stopped at the end. Start-up is bounded: a server that does not
// answer within the limit counts as not startable.
#pragma once

#include <string>
#include <sys/types.h>

namespace qarvex::testing {

class XvfbDisplay {
 public:
  // Starts the server; check Started() and, if not, Reason().
  explicit XvfbDisplay(int startSeconds = 15);
  ~XvfbDisplay();
  XvfbDisplay(const XvfbDisplay&) = delete;
  XvfbDisplay& operator=(const XvfbDisplay&) = delete;

  bool Started() const { return !display_.empty(); }
  const std::string& Reason() const { return reason_; }
  const std::string& Display() const { return display_; }  // ":N"

 private:
  pid_t pid_ = -1;
  std::string display_;
  std::string reason_;
};

}  // namespace qarvex::testing
