#include "host/dispatch.h"

#include <algorithm>
#include <limits>

#include "common/error.h"
#include "host/registry.h"
#include "log/Common.Log.h"

namespace qarvex::host::dispatch {
namespace {

constexpr unsigned short kErrorCode = 1006;
constexpr char16_t kErrorSource[] = u"Внешняя компонента";

void ReportToHost(const TV8UserObject& self, const WString& message) {
  self.V8.AddError(kErrorCode, kErrorSource, message.c_str(), kEFail);
}

TPropReg* PropAt(TV8UserObject& self, HostLong index) {
  return self.ClassReg ? self.ClassReg->Prop(index) : nullptr;
}

TMethReg* MethodAt(TV8UserObject& self, HostLong index) {
  return self.ClassReg ? self.ClassReg->Method(index) : nullptr;
}

// A property's or method's name in host memory: alias 0 the English one,
// any other the localized one.
const WCHAR_T* NameOf(const TV8UserObject& self, HostLong alias, const WString& english, const WString& localized) {
  return V8NewWString(self.V8MM, alias == 0 ? english : localized);
}

HostLong Find(const TV8UserObject& self, const WCHAR_T* name, std::int32_t (TClassReg::*lookup)(WStringView) const) {
  if (self.ClassReg == nullptr || name == nullptr) return -1;
  return (self.ClassReg->*lookup)(name);
}

bool AccessProperty(TV8UserObject& self, HostLong index, V8Variant* value, bool get) {
  TPropReg* prop = PropAt(self, index);
  if (prop == nullptr || !prop->PropGetSet) return false;
  try {
    return prop->PropGetSet(self, prop->PropName, value, get, self.V8);
  } catch (...) {
    ReportToHost(self, MessageOfCurrentException());
    return false;
  }
}

// The count the registered code receives: the host's, within 32 bits. A
// missing parameter block is traced as no parameters.
std::int32_t CodeCount(HostLong count) {
  return static_cast<std::int32_t>(std::clamp<HostLong>(count, 0, std::numeric_limits<std::int32_t>::max()));
}

WString ParamsText(const V8Variant* params, HostLong count) {
  return V8ParamsToStr(params, static_cast<long>(count));
}

// A function method always gets a return variant: when the host calls it as
// a procedure (or passes none), it writes into a scratch variant whose host
// memory is given back afterwards, instead of writing through null.
class ScratchReturn {
 public:
  ScratchReturn(const TV8UserObject& self, V8Variant* hostRet, bool isFunction)
      : self_(self), target_(hostRet ? hostRet : isFunction ? &scratch_ : nullptr) {}
  ~ScratchReturn() {
    if (target_ == &scratch_) self_.V8ClearVar(&scratch_);
  }
  V8Variant* get() const { return target_; }

 private:
  const TV8UserObject& self_;
  V8Variant scratch_{};
  V8Variant* target_;
};

bool Call(TV8UserObject& self, HostLong index, V8Variant* ret, V8Variant* params, HostLong count) {
  TMethReg* method = MethodAt(self, index);
  if (method == nullptr) return false;
  try {
    const WString& name = method->MethName;
    // The trace texts are built even with logging off: a parameter they
    // cannot convert fails the call whether or not it is logged, so a call
    // does not succeed or fail by the log switch.
    TLog::Append(u"> " + name, u"Params: " + ParamsText(params, count), TLog::mtDebug);
    ScratchReturn methodRet(self, ret, method->IsFunction);
    bool result = method->Execute
                      ? method->Execute(self, methodRet.get(), params, CodeCount(count), self.V8)
                      : false;
    // The return value first, then the parameters again, so out-parameters
    // show what the method wrote.
    WString exitMessage;
    if (ret != nullptr) exitMessage = u"Result=" + V8ToStr(ret);
    exitMessage += u"; Params: " + ParamsText(params, count);
    TLog::Append(u"< " + name, exitMessage, TLog::mtDebug);
    return result;
  } catch (...) {
    const WString message = MessageOfCurrentException();
    ReportToHost(self, message);
    TLog::Append(u"EXCEPTION", message, TLog::mtError);
    return false;
  }
}

}  // namespace

bool RegisterExtensionAs(TV8UserObject& self, WCHAR_T** name) {
  if (name == nullptr) return true;
  *name = self.ClassReg ? V8NewWString(self.V8MM, self.ClassReg->RegisterExtensionAs) : nullptr;
  return true;
}

HostLong GetNProps(TV8UserObject& self) { return self.ClassReg ? self.ClassReg->PropCount() : 0; }

HostLong FindProp(TV8UserObject& self, const WCHAR_T* name) { return Find(self, name, &TClassReg::FindProp); }

const WCHAR_T* GetPropName(TV8UserObject& self, HostLong index, HostLong alias) {
  const TPropReg* prop = PropAt(self, index);
  return prop ? NameOf(self, alias, prop->PropName, prop->PropNameLoc) : nullptr;
}

bool GetPropVal(TV8UserObject& self, HostLong index, V8Variant* value) {
  return AccessProperty(self, index, value, true);
}

bool SetPropVal(TV8UserObject& self, HostLong index, V8Variant* value) {
  return AccessProperty(self, index, value, false);
}

bool IsPropReadable(TV8UserObject& self, HostLong index) {
  TPropReg* prop = PropAt(self, index);
  return prop != nullptr && prop->IsReadable;
}

bool IsPropWritable(TV8UserObject& self, HostLong index) {
  TPropReg* prop = PropAt(self, index);
  return prop != nullptr && prop->IsWritable;
}

HostLong GetNMethods(TV8UserObject& self) { return self.ClassReg ? self.ClassReg->MethCount() : 0; }

HostLong FindMethod(TV8UserObject& self, const WCHAR_T* name) { return Find(self, name, &TClassReg::FindMethod); }

const WCHAR_T* GetMethodName(TV8UserObject& self, HostLong index, HostLong alias) {
  const TMethReg* method = MethodAt(self, index);
  return method ? NameOf(self, alias, method->MethName, method->MethNameLoc) : nullptr;
}

HostLong GetNParams(TV8UserObject& self, HostLong index) {
  TMethReg* method = MethodAt(self, index);
  return method ? method->ParamCount : 0;
}

bool GetParamDefValue(TV8UserObject& self, HostLong method, HostLong param, V8Variant* value) {
  TMethReg* entry = MethodAt(self, method);
  if (entry == nullptr || value == nullptr) return false;
  if (param < 0 || param > std::numeric_limits<std::int32_t>::max()) return false;
  const V8Variant* found = entry->DefParams.Find(static_cast<std::int32_t>(param));
  if (found == nullptr) return false;
  *value = *found;  // handed over unchanged
  return true;
}

bool HasRetVal(TV8UserObject& self, HostLong index) {
  TMethReg* method = MethodAt(self, index);
  return method != nullptr && method->IsFunction;
}

bool CallAsProc(TV8UserObject& self, HostLong index, V8Variant* params, HostLong count) {
  return Call(self, index, nullptr, params, count);
}

bool CallAsFunc(TV8UserObject& self, HostLong index, V8Variant* ret, V8Variant* params,
                HostLong count) {
  return Call(self, index, ret, params, count);
}

}  // namespace qarvex::host::dispatch
