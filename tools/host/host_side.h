// The host's own objects for unit tests of the host binding: a memory
// manager and a callback interface with its message box, laid out as the
// replacement host lays out the platform's (linux/native_api.h,
// windows/native_api_windows.h) and not as the component's abi.h says. A
// test that hands these to the component therefore catches a mistake in
// abi.h instead of repeating it.
//
// Ownership: the objects live as long as the HostSide; the component gets
// their addresses only. Threading: none; calls arrive on the caller's thread.
#pragma once

#include <memory>

namespace qarvex::nativehost {

class HostSide {
 public:
  HostSide();
  virtual ~HostSide();
  HostSide(const HostSide&) = delete;
  HostSide& operator=(const HostSide&) = delete;

  // The host's IMemoryManager and IAddInDefBaseEx as the component receives
  // them (setMemManager's and Init's argument).
  void* MemoryManager();
  void* Callback();

 protected:
  // What the component's calls do. The defaults: blocks from the C library,
  // errors accepted, a message box that cannot be shown.
  virtual bool Alloc(void** block, unsigned long size);
  virtual void Free(void** block);
  virtual bool AddError(unsigned short code, const char16_t* source, const char16_t* description, long long scode);
  // The cashier's answer in `yes`; false when the box cannot be shown.
  virtual bool Confirm(const char16_t* question, bool& yes);

 private:
  struct Objects;  // per system
  std::unique_ptr<Objects> objects_;
};

}  // namespace qarvex::nativehost
