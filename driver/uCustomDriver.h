// TCustomDriver: the base of every driver class. It registers a driver class
// with the host from the class's member table (driver_class.h), serves the
// exported properties by name, keeps the result of the last exported call
// and provides the two endings every exported method finishes with.
//
// Threading: the host calls one object from one thread at a time; nothing
// here locks. RegisterDriver runs once at library start-up.
#pragma once

#include <cstdint>
#include <exception>
#include <utility>

#include "common/error.h"
#include "common/text.h"
#include "driver/driver_class.h"
#include "driver/host_params.h"
#include "host/user_object.h"

namespace qarvex::driver {

// The result of the last exported call of a driver object.
struct TResult {
  WString ErrorDescription;  // empty after success
  bool BoolResult = true;

  void SetSuccess() {
    ErrorDescription.clear();
    BoolResult = true;
  }
  void SetError(WStringView AText) {
    ErrorDescription.assign(AText);
    BoolResult = false;
  }
};

// The extension name given at registration; names the component's data
// folder. Held by the library's state: written once at start-up, gone at
// unload.
WString& ExtensionName();

class TCustomDriver : public host::TV8UserObject {
 public:
  TCustomDriver() { FLastResult.SetSuccess(); }

  // Registers AClass with the library's class registry under AExtension
  // (used as both extension and class name): every member marked
  // ExportMethAttribute as a host function, every member marked
  // ExportPropAttribute as a host property, in member order. Then records
  // the extension name and names the log after it.
  static void RegisterDriver(const TDriverClass& AClass, WStringView AExtension);

  // Reads (Get) or writes the exported property whose English name is
  // exactly PropName. Returns true or raises Failure ("Property not found: ",
  // "Property is read-only: ", "Property type unacceptable", "Value type
  // unacceptable"). A refused access leaves the property and the host value
  // untouched. `v8` is not used.
  bool PropertyGetSet(const WString& PropName, host::V8Variant* propValue, bool Get,
                      host::TV8AddInDefBaseEx* v8);
  bool PropertySet(const WString& PropName, host::V8Variant* propValue) {
    return PropertyGetSet(PropName, propValue, false, nullptr);
  }

  const TResult& LastResult() const { return FLastResult; }

  // The descriptor of the object's own class.
  virtual const TDriverClass& DriverClass() const { return ClassInfo(); }
  static const TDriverClass& ClassInfo();

  // Puts a yes/no question to the user through the host's message box; true
  // means yes. Raises "Could not display dialog box" when the host cannot
  // show it.
  bool AskConfirmation(WStringView AText);

 protected:
  // The success ending: last result success, RetValue (when present) True.
  void EndWithSuccess(host::V8Variant* RetValue);
  // The failure ending: last result holds the message, RetValue (when
  // present) False, then one "Exception" error line in the log. A failure
  // writing that line is not caught.
  void EndWithException(WStringView AMessage, host::V8Variant* RetValue);

  // Runs the work of an exported method and ends it the common way: success
  // when the work returns, failure with the exception's message when it
  // raises. Always true: the call was handled.
  template <class Work>
  bool Guarded(host::V8Variant* RetValue, Work&& work) {
    try {
      std::forward<Work>(work)();
    } catch (...) {
      EndWithException(MessageOfCurrentException(), RetValue);
      return true;
    }
    EndWithSuccess(RetValue);
    return true;
  }

  // Writes text the host is to receive; false when the host refused the
  // memory for it. An object the host never gave a memory manager cannot
  // hand text over at all: the text is skipped and counts as written, so its
  // methods still run.
  bool PutText(host::V8Variant* AOut, WStringView AValue) const;
  // PutText for a call that is not done unless the host has the text: a
  // refusal raises the failure the host reads back from the last result.
  void HandOverText(host::V8Variant* AOut, WStringView AValue) const;

  // Reads or writes one exported property; raises as PropertyGetSet does.
  void AccessProperty(const TMember& AProperty, host::V8Variant* propValue, bool Get);
  void ReadPropertyValue(const TMember& AProperty, host::V8Variant* propValue);
  void WritePropertyValue(const TMember& AProperty, const host::V8Variant* propValue);

 private:
  TResult FLastResult;
};

}  // namespace qarvex::driver
