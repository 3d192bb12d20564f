#include "host/component.h"

#include <new>

#include "host/component_block.h"
#include "host/registry.h"

namespace qarvex::host {

const WCHAR_T* GetClassNamesImpl() {
  try {
    return ClassRegistry().ClassNames().c_str();
  } catch (...) {
    return u"";
  }
}

HostLong GetClassObjectImpl(const WCHAR_T* name, void** component) {
  if (name == nullptr || component == nullptr) return 0;
  try {
    TClassReg* reg = ClassRegistry().FindClass(name);
    if (reg == nullptr || reg->UserClass == nullptr) return 0;
    std::unique_ptr<TV8UserObject> object = reg->UserClass();
    if (!object) return 0;
    // From the library's own heap, zero-filled.
    auto** block = new (std::nothrow) void* [kBlockWords] {};
    if (block == nullptr) return 0;
    for (int i = 0; i < 3; ++i) block[i] = InterfaceTableAddress(i);
    object->ClassReg = reg;
    TV8UserObject* raw = object.release();
    for (int i = kObjectWord; i < kBlockWords; ++i) block[i] = raw;
    *component = block;
    return 1;
  } catch (...) {
    // A constructor that fails is not reported anywhere: no component.
    return 0;
  }
}

void ReleaseBlock(void** block, bool freeBlock) noexcept {
  auto* object = static_cast<TV8UserObject*>(block[kObjectWord]);
  // Cleared first, so that nothing reaches a half-destroyed object and a
  // later release does not destroy it twice.
  for (int i = kObjectWord; i < kBlockWords; ++i) block[i] = nullptr;
  // Destructors cannot throw (they are noexcept), so the block is always
  // freed after the object.
  delete object;
  if (freeBlock) delete[] block;
}

HostLong DestroyObjectImpl(void** component) {
  if (component == nullptr || *component == nullptr) return 0;
  ReleaseBlock(static_cast<void**>(*component), true);
  return 0;
}

}  // namespace qarvex::host
