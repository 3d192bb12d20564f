#include "host/user_object.h"

#include <cstring>

namespace qarvex::host {
namespace {

// COM's IUnknown::Release: entry 2 of the interface's table (no destructor
// entries: COM tables start with QueryInterface).
using ReleaseEntry = unsigned long(V8_ENTRY*)(void* self);

void ReleaseInterface(void* iface) {
  auto release = reinterpret_cast<ReleaseEntry>((*static_cast<void***>(iface))[2]);
  release(iface);
}

}  // namespace

bool TV8UserObject::V8ClearVar(V8Variant* v) const {
  switch (V8TypeCode(v)) {
    case VTYPE_PSTR:
    case VTYPE_BLOB:
      if (v->vtRecString.pstrVal != nullptr) {
        if (!V8MM) return false;
        V8MM.FreeMemory(reinterpret_cast<void**>(&v->vtRecString.pstrVal));
      }
      break;
    case VTYPE_PWSTR:
      if (v->vtRecWideString.pwstrVal != nullptr) {
        if (!V8MM) return false;
        V8MM.FreeMemory(reinterpret_cast<void**>(&v->vtRecWideString.pwstrVal));
      }
      break;
    case VTYPE_INTERFACE:
      if (v->vtRecInterface.pInterfaceVal != nullptr) {
        ReleaseInterface(v->vtRecInterface.pInterfaceVal);
        v->vtRecInterface.pInterfaceVal = nullptr;
      }
      break;
    default:
      break;
  }
  std::memset(static_cast<void*>(v), 0, sizeof *v);
  return true;
}

void TV8UserObject::V8SetBool(V8Variant* v, bool value) const {
  if (!V8ClearVar(v)) return;
  v->vt = VTYPE_BOOL;
  v->bVal = value;
}

void TV8UserObject::V8SetInt(V8Variant* v, std::int32_t value) const {
  if (!V8ClearVar(v)) return;
  v->vt = VTYPE_I4;
  v->lVal = value;
}

void TV8UserObject::V8SetDouble(V8Variant* v, double value) const {
  if (!V8ClearVar(v)) return;
  v->vt = VTYPE_R8;
  v->dblVal = value;
}

void TV8UserObject::V8SetDate(V8Variant* v, TDateTime value) const {
  if (!V8ClearVar(v)) return;
  v->vt = VTYPE_DATE;
  v->date = value;
}

bool TV8UserObject::V8SetWString(V8Variant* v, WStringView value) const {
  if (!V8ClearVar(v)) return false;
  v->vt = VTYPE_PWSTR;
  const std::size_t bytes = (value.size() + 1) * sizeof(WCHAR_T);
  void* block = nullptr;
  if (!V8MM.AllocMemory(&block, static_cast<HostULong>(bytes)) || block == nullptr) return false;
  auto* text = static_cast<WCHAR_T*>(block);
  std::memcpy(text, value.data(), value.size() * sizeof(WCHAR_T));
  text[value.size()] = 0;
  v->vtRecWideString.pwstrVal = text;
  v->vtRecWideString.wstrLen = static_cast<std::uint32_t>(value.size());
  return true;
}

bool TV8UserObject::V8SetString(V8Variant* v, std::string_view value) const {
  // Bytes up to the first zero byte, as for a zero-terminated text.
  return V8SetPChar(v, std::string(value.substr(0, value.find('\0'))).c_str());
}

bool TV8UserObject::V8SetPChar(V8Variant* v, const char* value) const {
  if (value == nullptr) return true;
  if (!V8ClearVar(v)) return false;
  v->vt = VTYPE_PSTR;
  const std::size_t length = std::strlen(value);
  void* block = nullptr;
  if (!V8MM.AllocMemory(&block, static_cast<HostULong>(length + 1)) || block == nullptr) return false;
  std::memcpy(block, value, length + 1);
  v->vtRecString.pstrVal = static_cast<char*>(block);
  v->vtRecString.strLen = static_cast<std::uint32_t>(length);
  return true;
}

bool TV8UserObject::V8SetBlob(V8Variant* v, const void* value, std::uint32_t length) const {
  if (value == nullptr) return true;
  if (!V8ClearVar(v)) return false;
  v->vt = VTYPE_BLOB;
  void* block = nullptr;
  if (!V8MM.AllocMemory(&block, length) || block == nullptr) return false;
  std::memcpy(block, value, length);
  v->vtRecString.pstrVal = static_cast<char*>(block);
  v->vtRecString.strLen = length;
  return true;
}

WCHAR_T* V8NewWString(const TV8MemoryManager& mm, WStringView text) {
  void* block = nullptr;
  const std::size_t bytes = (text.size() + 1) * sizeof(WCHAR_T);
  if (!mm.AllocMemory(&block, static_cast<HostULong>(bytes)) || block == nullptr) return nullptr;
  auto* copy = static_cast<WCHAR_T*>(block);
  std::memcpy(copy, text.data(), text.size() * sizeof(WCHAR_T));
  copy[text.size()] = 0;
  return copy;
}

}  // namespace qarvex::host
