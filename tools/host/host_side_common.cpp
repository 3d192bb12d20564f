#include <cstdlib>

#include "tools/host/host_side.h"

namespace qarvex::nativehost {

bool HostSide::Alloc(void** block, unsigned long size) {
  *block = std::malloc(size == 0 ? 1 : size);
  return *block != nullptr;
}

void HostSide::Free(void** block) {
  std::free(*block);
  *block = nullptr;
}

bool HostSide::AddError(unsigned short, const char16_t*, const char16_t*, long long) { return true; }

bool HostSide::Confirm(const char16_t*, bool&) { return false; }

}  // namespace qarvex::nativehost
