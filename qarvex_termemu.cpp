// The main module: the library's three exports and what happens when the
// host loads and unloads the library.
#include <memory>

#include "driver/uCustomDriver.h"
#include "emulator/uDriver.h"
#include "host/abi.h"
#include "host/component.h"
#include "host/registry.h"
#include "log/Common.Log.h"
#include "resources/resource_strings.h"

using qarvex::host::HostLong;
using qarvex::host::WCHAR_T;

namespace {

// Registers every class the host may create. Runs once at load, after the
// registry exists.
void RegisterComponentClasses() {
  using qarvex::emulator::TDriver;
  TDriver::RegisterDriver(TDriver::ClassInfo(), u"qarvex_termemu",
                          qarvex::ResString(qarvex::StringId::DriverName),
                          qarvex::ResString(qarvex::StringId::DriverDescription));
}

// Load and unload of the library. Everything it uses at start-up is
// constant-initialised or a function-local static, so the order in which the
// library's static objects are built does not matter.
struct LibraryLifetime {
  LibraryLifetime() {
    // An exception here would end the host process while it loads us; a
    // library whose registration failed lists no class instead.
    try {
      qarvex::host::StartUp();
      RegisterComponentClasses();
    } catch (...) {
      try {
        qarvex::host::ShutDown();
        qarvex::host::StartUp();
      } catch (...) {
      }
    }
  }
  ~LibraryLifetime() {
    try {
      qarvex::TLog::Stop();
    } catch (...) {
      // An unload must not fail because the stop line could not be written.
    }
    qarvex::TLog::ResetForUnload();
    qarvex::driver::ExtensionName.clear();
    qarvex::host::ShutDown();
  }
};

LibraryLifetime g_library;

}  // namespace

V8_EXPORT const WCHAR_T* GetClassNames() { return qarvex::host::GetClassNamesImpl(); }

V8_EXPORT HostLong GetClassObject(const WCHAR_T* name, void** component) {
  return qarvex::host::GetClassObjectImpl(name, component);
}

V8_EXPORT HostLong DestroyObject(void** component) {
  return qarvex::host::DestroyObjectImpl(component);
}
