// TV8UserObject: base of every object the host can create. The host talks to
// it through the component block (component.h); its writers put values into
// host variants using the host's memory manager, so the host owns them.
//
// Threading: an object is used by one host thread at a time; nothing here
// locks.
#pragma once

#include <cstdint>
#include <string_view>

#include "common/datetime.h"
#include "common/text.h"
#include "host/host_services.h"
#include "host/v8variant.h"

namespace qarvex::host {

class TClassReg;

class TV8UserObject {
 public:
  TV8UserObject() = default;
  virtual ~TV8UserObject() = default;
  TV8UserObject(const TV8UserObject&) = delete;
  TV8UserObject& operator=(const TV8UserObject&) = delete;

  // Set by GetClassObject right after construction; not owned. A
  // constructor must therefore not use it, nor any host service.
  TClassReg* ClassReg = nullptr;
  TV8MemoryManager V8MM;  // set by setMemManager; empty until then
  TV8AddInDefBaseEx V8;   // set by Init; empty until then
  WString locale;         // last name passed to SetLocale

  // Host life-cycle hooks; no class of this component overrides them.
  virtual bool Init() { return true; }
  virtual HostLong GetInfo() { return 2000; }
  virtual void SetLocale() {}
  virtual void Done() {}
  virtual bool SetMemManager() { return true; }

  // Writers. Each clears the variant first (freeing host text it held).
  // Host text can only be given back through the host's memory manager: on
  // an object the host never gave one, a variant holding a host block is
  // left exactly as it was (V8ClearVar answers false, and the writers write
  // nothing, the text ones answering false), so the host keeps its block
  // instead of losing it.
  bool V8ClearVar(V8Variant* v) const;
  void V8SetBool(V8Variant* v, bool value) const;
  void V8SetInt(V8Variant* v, std::int32_t value) const;
  void V8SetDouble(V8Variant* v, double value) const;
  void V8SetDate(V8Variant* v, TDateTime value) const;
  // The Boolean results tell whether the host granted the memory.
  bool V8SetWString(V8Variant* v, WStringView value) const;
  bool V8SetString(V8Variant* v, std::string_view value) const;
  bool V8SetPChar(V8Variant* v, const char* value) const;  // null: true, untouched
  bool V8SetBlob(V8Variant* v, const void* value, std::uint32_t length) const;  // null: true, untouched
};

// A host-memory copy of the text with its terminating zero, or null when no
// manager is set or the host refuses.
WCHAR_T* V8NewWString(const TV8MemoryManager& mm, WStringView text);

}  // namespace qarvex::host
