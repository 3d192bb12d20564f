// The component block the host receives as its IComponentBase pointer, and
// the three library exports behind the main module's exported functions.
//
// Block layout (words of pointer size): 0 IInitDoneBase table,
// 1 ILanguageExtenderBase table, 2 LocaleBase table, 3 zero, 4..6 the object.
// Every entry finds its object four words past the pointer it is called with.
#pragma once

#include "host/abi.h"

namespace qarvex::host {

// The class-name list; never null, valid until unload.
const WCHAR_T* GetClassNamesImpl();
// 1 and a new block in *component, or 0 with *component untouched.
HostLong GetClassObjectImpl(const WCHAR_T* name, void** component);
// Destroys the object and frees the block; always 0.
HostLong DestroyObjectImpl(void** component);

}  // namespace qarvex::host
