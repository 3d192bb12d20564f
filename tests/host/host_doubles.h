// Stand-ins for the host's memory manager in unit tests. Built on the
// replacement host's own layout of the platform's interfaces
// (tools/host/host_side.h), not on abi.h, so the host binding calls it
// exactly as it calls a host and a mistake in abi.h shows.
#pragma once

#include <cstdlib>
#include <string>
#include <vector>

#include "host/host_services.h"
#include "tools/host/host_side.h"

namespace qarvex::testing {

// Records every request; refuses while `refuse` is set.
class RecordingMemory : private nativehost::HostSide {
 public:
  ~RecordingMemory() override {
    for (void* block : live) std::free(block);
  }

  host::TV8MemoryManager Manager() { return host::TV8MemoryManager(MemoryManager()); }

  bool refuse = false;
  std::vector<unsigned long> allocSizes;
  std::vector<void**> freedAddresses;  // the addresses FreeMemory received
  std::vector<void*> freedBlocks;
  std::vector<void*> live;
  std::vector<std::string> events;  // "alloc" / "free" in call order

 private:
  bool Alloc(void** block, unsigned long size) override {
    events.push_back("alloc");
    if (refuse) return false;
    allocSizes.push_back(size);
    *block = std::malloc(size ? size : 1);
    live.push_back(*block);
    return true;
  }
  void Free(void** block) override {
    events.push_back("free");
    freedAddresses.push_back(block);
    freedBlocks.push_back(*block);
    for (auto it = live.begin(); it != live.end(); ++it) {
      if (*it == *block) {
        live.erase(it);
        std::free(*block);
        return;
      }
    }
  }
};

}  // namespace qarvex::testing
