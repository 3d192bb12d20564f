// A minimal in-process host for driver unit tests: a memory manager that
// counts its blocks and a callback interface that records errors and answers
// the message box as told. Its objects are the replacement host's own
// layout of the platform's interfaces (tools/host/host_side.h), so the host
// binding calls it exactly as it calls a real host, and a mistake in abi.h
// shows.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "host/host_services.h"
#include "host/user_object.h"
#include "tools/host/host_side.h"

namespace qarvex::testing {

class FakeHost : private nativehost::HostSide {
 public:
  // Hands the object this host's memory manager and callback interface.
  void Attach(host::TV8UserObject& object) {
    object.V8MM = host::TV8MemoryManager(MemoryManager());
    object.V8 = host::TV8AddInDefBaseEx(Callback());
  }

  // The message box's answer; nullopt: the box cannot be shown.
  std::optional<bool> answer;
  std::vector<std::u16string> questions;
  std::vector<std::u16string> errors;
  int liveBlocks = 0;

 private:
  bool Alloc(void** block, unsigned long size) override {
    if (!HostSide::Alloc(block, size)) return false;
    ++liveBlocks;
    return true;
  }
  void Free(void** block) override {
    HostSide::Free(block);
    --liveBlocks;
  }
  bool AddError(unsigned short, const char16_t*, const char16_t* description, long long) override {
    errors.emplace_back(description);
    return true;
  }
  bool Confirm(const char16_t* question, bool& yes) override {
    questions.emplace_back(question);
    if (!answer) return false;
    yes = *answer;
    return true;
  }
};

}  // namespace qarvex::testing
