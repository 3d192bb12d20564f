// A minimal in-process host for driver unit tests: a memory manager that
// counts its blocks and a callback interface that records errors and answers
// the message box as told. Its interface tables are laid out as abi.h says
// the platform's are, so the host binding calls it exactly as it calls the
// real host.
#pragma once

#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "host/abi.h"
#include "host/user_object.h"
#include "host/v8variant.h"

namespace qarvex::testing {

class FakeHost {
 public:
  FakeHost() {
    memoryTable_[host::kDestructorEntries + 0] = reinterpret_cast<void*>(&Alloc);
    memoryTable_[host::kDestructorEntries + 1] = reinterpret_cast<void*>(&Free);
    callbackTable_[host::kDestructorEntries + 0] = reinterpret_cast<void*>(&AddError);
    callbackTable_[host::kDestructorEntries + 10] = reinterpret_cast<void*>(&GetInterface);
    boxTable_[0] = reinterpret_cast<void*>(&Confirm);
  }
  FakeHost(const FakeHost&) = delete;
  FakeHost& operator=(const FakeHost&) = delete;

  // Hands the object this host's memory manager and callback interface.
  void Attach(host::TV8UserObject& object) {
    object.V8MM = host::TV8MemoryManager(&memory_);
    object.V8 = host::TV8AddInDefBaseEx(&callback_);
  }

  // The message box's answer; nullopt: the box cannot be shown.
  std::optional<bool> answer;
  std::vector<std::u16string> questions;
  std::vector<std::u16string> errors;
  int liveBlocks = 0;

 private:
  template <int N>
  struct Iface {
    void** table;
    FakeHost* owner;
  };
  struct Box {
    void** table;
    FakeHost* owner;
  };

  static bool V8_ENTRY Alloc(void* self, void** block, host::HostULong size) {
    *block = std::malloc(size);
    ++static_cast<Iface<0>*>(self)->owner->liveBlocks;
    return true;
  }
  static void V8_ENTRY Free(void* self, void** block) {
    std::free(*block);
    *block = nullptr;
    --static_cast<Iface<0>*>(self)->owner->liveBlocks;
  }
  static bool V8_ENTRY AddError(void* self, unsigned short, const host::WCHAR_T*,
                                const host::WCHAR_T* descr, host::HostLong) {
    static_cast<Iface<1>*>(self)->owner->errors.emplace_back(descr);
    return true;
  }
  static void* V8_ENTRY GetInterface(void* self, int) {
    FakeHost* owner = static_cast<Iface<1>*>(self)->owner;
    return reinterpret_cast<void**>(&owner->box_) - host::kMsgBoxOffsetFromInterface;
  }
  static bool V8_ENTRY Confirm(void* self, const host::WCHAR_T* question, host::V8Variant* result) {
    FakeHost* owner = static_cast<Box*>(self)->owner;
    owner->questions.emplace_back(question);
    if (!owner->answer) return false;
    result->bVal = *owner->answer;
    result->vt = host::VTYPE_BOOL;
    return true;
  }

  void* memoryTable_[host::kDestructorEntries + 2] = {};
  void* callbackTable_[host::kDestructorEntries + 11] = {};
  void* boxTable_[1] = {};
  Iface<0> memory_{memoryTable_, this};
  Iface<1> callback_{callbackTable_, this};
  Box box_{boxTable_, this};
};

}  // namespace qarvex::testing
