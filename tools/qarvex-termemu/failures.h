// The two kinds of failure that end a run of qarvex-termemu before the
// component has given its answer. Both carry a message for standard error
// and end the run with exit status 2; everything the component answers
// itself (a False return value) ends with status 1 instead.
#pragma once

#include <stdexcept>
#include <string>

namespace qarvex::cli {

inline constexpr int kExitTrue = 0;     // the operation returned True
inline constexpr int kExitFalse = 1;    // it returned False (last error on stderr)
inline constexpr int kExitFailure = 2;  // usage error or host-level failure

// The command line cannot be carried out as written. Raised before the
// library is loaded or the journal opened, so a usage error changes nothing.
class UsageError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The library or the host interface failed: the library is missing or not
// loadable, the component could not be created, a slot answered false, or
// the component sent the host an error report.
class HostFailure : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

}  // namespace qarvex::cli
