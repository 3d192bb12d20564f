// The main module: the library's three exports and what happens when the
// host loads and unloads the library.
#include "emulator/uDriver.h"
#include "host/abi.h"
#include "host/component.h"
#include "host/registry.h"
#include "resources/resource_strings.h"

using qarvex::host::HostLong;
using qarvex::host::WCHAR_T;

namespace {

// Registers every class the host may create. Runs once, at load.
void RegisterComponentClasses() {
  using qarvex::emulator::TDriver;
  TDriver::RegisterDriver(TDriver::ClassInfo(), u"qarvex_termemu",
                          qarvex::ResString(qarvex::StringId::DriverName),
                          qarvex::ResString(qarvex::StringId::DriverDescription));
}

// Load of the library: the registration, after the library's state (built
// by its first use here) has started up. The unload is the state's own
// destructor.
struct LibraryStartUp {
  LibraryStartUp() {
    // An exception here would end the host process while it loads us; a
    // library whose registration failed lists no class instead.
    try {
      RegisterComponentClasses();
    } catch (...) {
      try {
        qarvex::host::ClassRegistry().Clear();
      } catch (...) {
      }
    }
  }
};

LibraryStartUp g_startUp;

}  // namespace

V8_EXPORT const WCHAR_T* GetClassNames() { return qarvex::host::GetClassNamesImpl(); }

V8_EXPORT HostLong GetClassObject(const WCHAR_T* name, void** component) {
  return qarvex::host::GetClassObjectImpl(name, component);
}

V8_EXPORT HostLong DestroyObject(void** component) {
  return qarvex::host::DestroyObjectImpl(component);
}
