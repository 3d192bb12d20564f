// Inside the component block (layout in component.h): where the object and
// the tables live, and how an entry point reached through any of the three
// interfaces finds its object.
#pragma once

#include "host/user_object.h"

namespace qarvex::host {

inline constexpr int kBlockWords = 7;
inline constexpr int kObjectWord = 4;  // words 4, 5 and 6 hold the object

// The object four words past the interface pointer; null once the object was
// destroyed through a complete-object destructor entry.
inline TV8UserObject* ObjectOf(void* iface) {
  return static_cast<TV8UserObject*>(static_cast<void**>(iface)[kObjectWord]);
}

// The start of the three interface tables, in block order (IInitDoneBase,
// ILanguageExtenderBase, LocaleBase); built at compile time, never freed.
void* InterfaceTableAddress(int which);

// Destroys the object of the block (once) and, when asked, frees the block.
// Never throws.
void ReleaseBlock(void** block, bool freeBlock) noexcept;

}  // namespace qarvex::host
