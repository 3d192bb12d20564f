// Views of the host's own interfaces, called through explicit entry numbers
// (see abi.h). Neither view owns the host object; both may be empty (null)
// until the host hands the pointer over.
#pragma once

#include "host/abi.h"
#include "host/v8variant.h"

namespace qarvex::host {

// A view of one of the host's interfaces: the pointer the host handed over,
// or null until it does.
class THostInterfaceView {
 public:
  THostInterfaceView() = default;
  explicit THostInterfaceView(void* hostInterface) : iface_(hostInterface) {}
  explicit operator bool() const { return iface_ != nullptr; }
  void* Interface() const { return iface_; }

 protected:
  void* iface_ = nullptr;
};

// The host's IMemoryManager: 0 AllocMemory, 1 FreeMemory (after the
// destructor entries).
class TV8MemoryManager : public THostInterfaceView {
 public:
  using THostInterfaceView::THostInterfaceView;

  // False (and *block untouched) when the host refuses or no manager is set.
  bool AllocMemory(void** block, HostULong byteCount) const;
  // `block` is the address of a non-null pointer from AllocMemory.
  void FreeMemory(void** block) const;
};

// The host's IAddInDefBaseEx: 0 AddError ... 9 ResetStatusLine, 10 GetInterface.
class TV8AddInDefBaseEx : public THostInterfaceView {
 public:
  using THostInterfaceView::THostInterfaceView;

  // Does nothing and answers false when no interface is set.
  bool AddError(unsigned short wcode, const WCHAR_T* source, const WCHAR_T* descr,
                HostLong scode) const;
  // The host's IInterface for `iface` (0 = message box), or null.
  void* GetInterface(int iface) const;

  // Puts a yes/no question through the host's message box (IMsgBox.Confirm,
  // reached from GetInterface(0) with the pointer adjustment of abi.h).
  // Returns false when the box could not be shown; `answer` then untouched.
  bool Confirm(const WCHAR_T* question, V8Variant* answer) const;
};

}  // namespace qarvex::host
