// Stand-ins for the host's memory manager and callback interface in unit
// tests. Their tables are laid out the way abi.h says the platform lays out
// its interfaces, so the host binding calls them exactly as it calls a host.
#pragma once

#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include "host/abi.h"
#include "host/host_services.h"

namespace qarvex::testing {

// Records every request; refuses while `refuse` is set.
class RecordingMemory {
 public:
  RecordingMemory() {
    table_[host::kDestructorEntries + 0] = reinterpret_cast<void*>(&Alloc);
    table_[host::kDestructorEntries + 1] = reinterpret_cast<void*>(&Free);
  }
  ~RecordingMemory() {
    for (void* block : live) std::free(block);
  }
  RecordingMemory(const RecordingMemory&) = delete;
  RecordingMemory& operator=(const RecordingMemory&) = delete;

  host::TV8MemoryManager Manager() { return host::TV8MemoryManager(&self_); }

  bool refuse = false;
  std::vector<unsigned long> allocSizes;
  std::vector<void**> freedAddresses;  // the addresses FreeMemory received
  std::vector<void*> freedBlocks;
  std::vector<void*> live;
  std::vector<std::string> events;  // "alloc" / "free" in call order

 private:
  struct Self {
    void** table;
    RecordingMemory* owner;
  };
  static bool V8_ENTRY Alloc(void* self, void** block, host::HostULong size) {
    auto* owner = static_cast<Self*>(self)->owner;
    owner->events.push_back("alloc");
    if (owner->refuse) return false;
    owner->allocSizes.push_back(size);
    *block = std::malloc(size ? size : 1);
    owner->live.push_back(*block);
    return true;
  }
  static void V8_ENTRY Free(void* self, void** block) {
    auto* owner = static_cast<Self*>(self)->owner;
    owner->events.push_back("free");
    owner->freedAddresses.push_back(block);
    owner->freedBlocks.push_back(*block);
    for (auto it = owner->live.begin(); it != owner->live.end(); ++it) {
      if (*it == *block) {
        owner->live.erase(it);
        std::free(*block);
        return;
      }
    }
  }

  void* table_[host::kDestructorEntries + 2] = {};
  Self self_{table_, this};
};

}  // namespace qarvex::testing
