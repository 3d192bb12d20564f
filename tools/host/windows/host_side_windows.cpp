// The host's objects as the explicit tables of native_api_windows.h: a table
// pointer first, entries in the platform's calling convention.
#include <cstring>

#include "tools/host/host_side.h"
#include "tools/host/windows/native_api_windows.h"

namespace qarvex::nativehost {

using namespace winapi;

struct HostSide::Objects {
  struct MemoryObject {
    const MemoryManagerTable* table;
    HostSide* owner;
  };
  struct CallbackObject {
    const AddInDefBaseExTable* table;
    HostSide* owner;
  };
  struct MsgBoxObject {
    const MsgBoxTable* table;
    void* interfacePart;  // the IInterface sub-object: GetInterface's answer
    HostSide* owner;
  };

  static void* QARVEX_NAPI_DTOR NeverDestroyed(void* self, unsigned) { return self; }
  static bool QARVEX_NAPI AllocMemory(void* self, void** pMemory, ULong size) {
    return static_cast<MemoryObject*>(self)->owner->Alloc(pMemory, size);
  }
  static void QARVEX_NAPI FreeMemory(void* self, void** pMemory) { static_cast<MemoryObject*>(self)->owner->Free(pMemory); }
  static bool QARVEX_NAPI AddError(void* self, unsigned short wcode, const WCHAR_T* source, const WCHAR_T* descr,
                                   Long scode) {
    // The platform's long is 32-bit here: handed on zero-extended.
    return static_cast<CallbackObject*>(self)->owner->AddError(wcode, source, descr,
                                                               static_cast<std::uint32_t>(scode));
  }
  static void* QARVEX_NAPI GetInterface(void* self, int iface) {
    Objects& objects = *static_cast<CallbackObject*>(self)->owner->objects_;
    return iface == kMsgBoxInterfaceId ? &objects.box.interfacePart : nullptr;
  }
  static bool QARVEX_NAPI Confirm(void* self, const WCHAR_T* queryText, tVariant* retValue) {
    bool yes = false;
    if (!static_cast<MsgBoxObject*>(self)->owner->Confirm(queryText, yes)) return false;
    std::memset(retValue, 0, sizeof *retValue);
    retValue->vt = VTYPE_BOOL;
    retValue->bVal = yes;
    return true;
  }
  static bool QARVEX_NAPI Alert(void*, const WCHAR_T*) { return true; }

  static constexpr MemoryManagerTable kMemoryTable{&NeverDestroyed, &AllocMemory, &FreeMemory};
  static constexpr AddInDefBaseExTable kCallbackTable =
      ErrorsAndMsgBoxOnlyTable(&NeverDestroyed, &AddError, &GetInterface);
  static constexpr MsgBoxTable kMsgBoxTable{&Confirm, &Alert};

  explicit Objects(HostSide& owner)
      : memory{&kMemoryTable, &owner}, callback{&kCallbackTable, &owner}, box{&kMsgBoxTable, nullptr, &owner} {}
  MemoryObject memory;
  CallbackObject callback;
  MsgBoxObject box;
};

HostSide::HostSide() : objects_(std::make_unique<Objects>(*this)) {}
HostSide::~HostSide() = default;

void* HostSide::MemoryManager() { return &objects_->memory; }
void* HostSide::Callback() { return &objects_->callback; }

}  // namespace qarvex::nativehost
