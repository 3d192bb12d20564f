#include "driver/uCustomDriver.h"

#include "host/library_state.h"
#include "host/registry.h"
#include "log/Common.Log.h"
#include "resources/resource_strings.h"

namespace qarvex::driver {

WString& ExtensionName() { return host::Library().ExtensionName; }

const TDriverClass& TCustomDriver::ClassInfo() {
  static const TDriverClass info{u"TCustomDriver", nullptr, {}, nullptr, nullptr};
  return info;
}

void TCustomDriver::RegisterDriver(const TDriverClass& AClass, WStringView AExtension) {
  host::TClassReg& reg = host::ClassRegistry().RegisterClass(AClass.Create, AExtension, AExtension);

  ForEachMember(AClass, [&](const TMember& m) {
    if (!m.ExportMeth) return;
    reg.AddFunc(m.Name, m.ExportMeth->NameLoc(), m.Method, m.ExportMeth->ParamCount());
  });
  // Each property's access goes straight to its member: the member tables
  // are constants that outlive the registry.
  ForEachMember(AClass, [&](const TMember& m) {
    if (!m.ExportProp) return;
    const TMember* member = &m;
    reg.AddProp(m.Name, m.ExportProp->NameLoc(), true, !m.ExportProp->ReadOnly(),
                [member](host::TV8UserObject& self, const WString&, host::V8Variant* value, bool Get,
                         host::TV8AddInDefBaseEx&) {
                  static_cast<TCustomDriver&>(self).AccessProperty(*member, value, Get);
                  return true;
                });
  });

  ExtensionName().assign(AExtension);
  TLog::SetLogName(AExtension);
  TLog::Start();
}

bool TCustomDriver::PropertyGetSet(const WString& PropName, host::V8Variant* propValue, bool Get,
                                   host::TV8AddInDefBaseEx* /*v8*/) {
  bool found = false;
  ForEachMember(DriverClass(), [&](const TMember& m) {
    if (!m.ExportProp || m.Name != PropName) return;
    AccessProperty(m, propValue, Get);
    found = true;
  });
  if (!found) throw Failure(u"Property not found: " + PropName);
  return true;
}

void TCustomDriver::AccessProperty(const TMember& AProperty, host::V8Variant* propValue, bool Get) {
  if (Get) {
    ReadPropertyValue(AProperty, propValue);
    return;
  }
  if (AProperty.ExportProp->ReadOnly()) throw Failure(u"Property is read-only: " + WString(AProperty.Name));
  WritePropertyValue(AProperty, propValue);
}

void TCustomDriver::ReadPropertyValue(const TMember& AProperty, host::V8Variant* propValue) {
  const TPropertyAccess& access = AProperty.Property;
  if (!IsAcceptedKind(access.Kind) || access.Read == nullptr)
    throw Failure("Property type unacceptable");
  const TPropValue value = access.Read(*this);
  switch (access.Kind) {
    case TValueKind::Int32:
      V8SetInt(propValue, std::get<std::int32_t>(value));
      break;
    case TValueKind::Int64:
      // The host is handed a 32-bit integer; wider values are cut to it.
      V8SetInt(propValue, static_cast<std::int32_t>(std::get<std::int64_t>(value)));
      break;
    case TValueKind::Float:
      V8SetDouble(propValue, std::get<double>(value));
      break;
    case TValueKind::Boolean:
      V8SetBool(propValue, std::get<bool>(value));
      break;
    case TValueKind::String:
      HandOverText(propValue, std::get<WString>(value));
      break;
    default:
      throw Failure("Property type unacceptable");
  }
}

void TCustomDriver::WritePropertyValue(const TMember& AProperty, const host::V8Variant* propValue) {
  const TPropertyAccess& access = AProperty.Property;
  if (!IsAcceptedKind(access.Kind)) throw Failure("Property type unacceptable");
  // Convert completely before storing: a refusal must leave the property as it was.
  TPropValue value;
  switch (access.Kind) {
    case TValueKind::Int32:
      value = host::V8AsInt(propValue);
      break;
    case TValueKind::Int64:
      value = static_cast<std::int64_t>(host::V8AsInt(propValue));
      break;
    case TValueKind::Float:
      value = host::V8AsDouble(propValue);
      break;
    case TValueKind::Boolean:
      value = host::V8AsBool(propValue);
      break;
    case TValueKind::String:
      if (!host::V8IsString(propValue)) throw Failure("Value type unacceptable");
      value = host::V8AsWString(propValue);
      break;
    default:
      throw Failure("Property type unacceptable");
  }
  // A marked property without a setter cannot take a value whatever its mark says.
  if (access.Write == nullptr) throw Failure(u"Property is read-only: " + WString(AProperty.Name));
  access.Write(*this, value);
}

bool TCustomDriver::PutText(host::V8Variant* AOut, WStringView AValue) const {
  return V8SetWString(AOut, AValue) || !V8MM;
}

void TCustomDriver::HandOverText(host::V8Variant* AOut, WStringView AValue) const {
  if (!PutText(AOut, AValue)) throw Failure(ResString(StringId::HostRefusedMemory));
}

void TCustomDriver::EndWithSuccess(host::V8Variant* RetValue) {
  FLastResult.SetSuccess();
  if (RetValue != nullptr) V8SetBool(RetValue, true);
}

void TCustomDriver::EndWithException(WStringView AMessage, host::V8Variant* RetValue) {
  const WString message = AMessage.empty() ? WString(kNoMessageText) : WString(AMessage);
  FLastResult.SetError(message);
  if (RetValue != nullptr) V8SetBool(RetValue, false);
  TLog::Append(u"Exception", message, TLog::mtError);
}

bool TCustomDriver::AskConfirmation(WStringView AText) {
  const WString question(AText);  // the host wants zero-terminated text
  host::V8Variant answer{};
  if (!V8.Confirm(question.c_str(), &answer)) throw Failure("Could not display dialog box");
  const bool yes = host::V8AsBool(&answer);
  V8ClearVar(&answer);  // gives back any host memory the answer holds
  return yes;
}

TParamType GetParamType(TValueKind AType) {
  switch (AType) {
    case TValueKind::Int32:
    case TValueKind::Int64:
    case TValueKind::Float:
      return ptNumber;
    case TValueKind::Boolean:
      return ptBoolean;
    case TValueKind::String:
    case TValueKind::Char:
      return ptString;
    default:
      return ptUnknown;
  }
}

WString ParamTypeName(TParamType AType) {
  switch (AType) {
    case ptString:
      return u"String";
    case ptNumber:
      return u"Number";
    case ptBoolean:
      return u"Boolean";
    case ptUnknown:
      return u"Unknown";
  }
  throw Failure("Enum value unacceptable");
}

}  // namespace qarvex::driver
