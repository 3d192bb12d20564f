// What the component's ILanguageExtenderBase slots do, on the component's
// object, answering from the registration of the object's class. The ABI
// entries (interface_tables.cpp) call these; an index outside the
// registration answers safely (-1, false, 0 or null) instead of crashing.
//
// Property accesses and method calls catch every failure of the registered
// code (and, for methods, of the call traces) and report it to the host:
// AddError 1006 "Внешняя компонента" with the message and E_FAIL, result
// false. The other slots raise nothing for the registrations they read.
#pragma once

#include "host/abi.h"
#include "host/user_object.h"
#include "host/v8variant.h"

namespace qarvex::host::dispatch {

bool RegisterExtensionAs(TV8UserObject& self, WCHAR_T** name);
HostLong GetNProps(TV8UserObject& self);
HostLong FindProp(TV8UserObject& self, const WCHAR_T* name);
const WCHAR_T* GetPropName(TV8UserObject& self, HostLong index, HostLong alias);
bool GetPropVal(TV8UserObject& self, HostLong index, V8Variant* value);
bool SetPropVal(TV8UserObject& self, HostLong index, V8Variant* value);
bool IsPropReadable(TV8UserObject& self, HostLong index);
bool IsPropWritable(TV8UserObject& self, HostLong index);
HostLong GetNMethods(TV8UserObject& self);
HostLong FindMethod(TV8UserObject& self, const WCHAR_T* name);
const WCHAR_T* GetMethodName(TV8UserObject& self, HostLong index, HostLong alias);
HostLong GetNParams(TV8UserObject& self, HostLong index);
bool GetParamDefValue(TV8UserObject& self, HostLong method, HostLong param, V8Variant* value);
bool HasRetVal(TV8UserObject& self, HostLong index);
bool CallAsProc(TV8UserObject& self, HostLong index, V8Variant* params, HostLong count);
bool CallAsFunc(TV8UserObject& self, HostLong index, V8Variant* ret, V8Variant* params,
                HostLong count);

}  // namespace qarvex::host::dispatch
