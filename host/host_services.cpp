#include "host/host_services.h"

namespace qarvex::host {
namespace {

// Entry types of the host's interfaces, called with the interface first.
using AllocMemoryEntry = bool(V8_ENTRY*)(void* self, void** block, HostULong byteCount);
using FreeMemoryEntry = void(V8_ENTRY*)(void* self, void** block);
using AddErrorEntry = bool(V8_ENTRY*)(void* self, unsigned short wcode, const WCHAR_T* source,
                                      const WCHAR_T* descr, HostLong scode);
using GetInterfaceEntry = void*(V8_ENTRY*)(void* self, int iface);
// IMsgBox has no destructor entry: Confirm is the first entry of its table.
using ConfirmEntry = bool(V8_ENTRY*)(void* self, const WCHAR_T* question, V8Variant* answer);

constexpr int kAllocMemory = 0, kFreeMemory = 1;
constexpr int kAddError = 0, kGetInterface = 10;

template <typename Entry>
Entry EntryOf(void* iface, int methodIndex) {
  return reinterpret_cast<Entry>(HostMethodEntry(iface, methodIndex));
}

}  // namespace

bool TV8MemoryManager::AllocMemory(void** block, HostULong byteCount) const {
  if (iface_ == nullptr || block == nullptr) return false;
  return EntryOf<AllocMemoryEntry>(iface_, kAllocMemory)(iface_, block, byteCount);
}

void TV8MemoryManager::FreeMemory(void** block) const {
  if (iface_ == nullptr || block == nullptr || *block == nullptr) return;
  EntryOf<FreeMemoryEntry>(iface_, kFreeMemory)(iface_, block);
}

bool TV8AddInDefBaseEx::AddError(unsigned short wcode, const WCHAR_T* source, const WCHAR_T* descr,
                                 HostLong scode) const {
  if (iface_ == nullptr) return false;
  return EntryOf<AddErrorEntry>(iface_, kAddError)(iface_, wcode, source, descr, scode);
}

void* TV8AddInDefBaseEx::GetInterface(int iface) const {
  if (iface_ == nullptr) return nullptr;
  return EntryOf<GetInterfaceEntry>(iface_, kGetInterface)(iface_, iface);
}

bool TV8AddInDefBaseEx::Confirm(const WCHAR_T* question, V8Variant* answer) const {
  void* iface = GetInterface(0);
  if (iface == nullptr) return false;
  // Where IMsgBox starts relative to the IInterface pointer differs per target.
  void* box = static_cast<void**>(iface) + kMsgBoxOffsetFromInterface;
  auto confirm = reinterpret_cast<ConfirmEntry>((*static_cast<void***>(box))[0]);
  return confirm(box, question, answer);
}

}  // namespace qarvex::host
