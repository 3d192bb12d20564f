// The Everyone group and the check that decides whether a folder already
// grants it everything.
#pragma once

#include <windows.h>

namespace qarvex::platform::windows_impl {

// Owns the security identifier S-1-1-0 (Everyone).
class EveryoneSid {
 public:
  // Throws Failure with the system's text when the SID cannot be built.
  EveryoneSid();
  ~EveryoneSid();
  EveryoneSid(const EveryoneSid&) = delete;
  EveryoneSid& operator=(const EveryoneSid&) = delete;
  PSID get() const { return sid_; }

 private:
  PSID sid_ = nullptr;
};

// True when an entry of `dacl` names `everyone` with the access mask
// GENERIC_ALL, whatever the entry's kind.
bool AclGrantsEveryoneAll(const ACL* dacl, PSID everyone);

}  // namespace qarvex::platform::windows_impl
