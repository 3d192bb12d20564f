#include "fuzz/checking_host.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace qarvex::fuzz {

namespace {

constexpr std::uint16_t kCodeMask = 0xFFF;

long ComQueryInterface(void*, const void*, void** out) {
  if (out != nullptr) *out = nullptr;
  return static_cast<long>(0x80004002L);  // E_NOINTERFACE
}
unsigned long ComAddRef(void* self) { return static_cast<unsigned long>(++static_cast<FakeComObject*>(self)->references); }
unsigned long ComRelease(void* self) {
  auto* object = static_cast<FakeComObject*>(self);
  if (object->references <= 0) Breach("an interface was released more often than it was handed over");
  const int left = --object->references;
  if (left == 0) delete object;
  return static_cast<unsigned long>(left);
}

void* g_comTable[] = {reinterpret_cast<void*>(&ComQueryInterface), reinterpret_cast<void*>(&ComAddRef),
                      reinterpret_cast<void*>(&ComRelease)};

// The units of a zero-terminated host text, never reading past `limit` units.
bool TerminatedWithin(const napi::WCHAR_T* text, std::size_t limitUnits) {
  for (std::size_t i = 0; i < limitUnits; ++i)
    if (text[i] == 0) return true;
  return false;
}

}  // namespace

FakeComObject* FakeComObject::Make() { return new FakeComObject{g_comTable, 1}; }

void Breach(const std::string& what) {
  std::fprintf(stderr, "\n==host check== %s\n", what.c_str());
  std::fflush(stderr);
  std::abort();
}

bool CheckingMemory::AllocMemory(void** pMemory, unsigned long ulCountByte) {
  if (pMemory == nullptr) Breach("AllocMemory was given no place for the pointer");
  if (refuse || ulCountByte > kLargestGrant) return false;
  *pMemory = Allocate(ulCountByte);
  return true;
}

void CheckingMemory::FreeMemory(void** pMemory) {
  if (pMemory == nullptr) Breach("FreeMemory was given no place of a pointer");
  if (*pMemory == nullptr) Breach("FreeMemory of a null block");
  Release(*pMemory, "FreeMemory");
  *pMemory = nullptr;
}

void* CheckingMemory::Allocate(std::size_t bytes) {
  // malloc'd exactly to size, so the address sanitizer sees any access past it.
  void* block = std::malloc(bytes != 0 ? bytes : 1);
  if (block == nullptr) Breach("the fuzzer's own memory ran out");
  blocks_[block] = bytes;
  return block;
}

void CheckingMemory::Release(void* block, const char* what) {
  const auto found = blocks_.find(block);
  if (found == blocks_.end())
    Breach(std::string(what) + ": a block that is not a live block of the host (foreign, or freed already)");
  blocks_.erase(found);
  std::free(block);
}

std::size_t CheckingMemory::SizeOf(const void* block) const {
  const auto found = blocks_.find(block);
  return found == blocks_.end() ? 0 : found->second;
}

bool CheckingMessageBox::Confirm(const napi::WCHAR_T* queryText, napi::tVariant* retValue) {
  if (queryText == nullptr) Breach("Confirm without a question");
  if (retValue == nullptr) Breach("Confirm without a place for the answer");
  std::size_t n = 0;
  while (queryText[n] != 0) ++n;  // the sanitizer catches a text without its terminator
  switch (mode) {
    case 0: return false;
    case 3: std::memset(retValue, 0, sizeof *retValue); return true;
    case 4:
      std::memset(retValue, 0, sizeof *retValue);
      retValue->vt = napi::VTYPE_I4;
      retValue->lVal = 6;
      return true;
    default:
      std::memset(retValue, 0, sizeof *retValue);
      retValue->vt = napi::VTYPE_BOOL;
      retValue->bVal = mode == 1;
      return true;
  }
}

bool CheckingMessageBox::Alert(const napi::WCHAR_T* text) {
  if (text == nullptr) Breach("Alert without a text");
  return true;
}

bool CheckingCallback::AddError(unsigned short, const napi::WCHAR_T* source, const napi::WCHAR_T* descr, long) {
  if (source == nullptr || descr == nullptr) Breach("AddError without its source or description");
  std::size_t n = 0;
  while (source[n] != 0) ++n;
  for (n = 0; descr[n] != 0;) ++n;
  return true;
}

napi::IInterface* CheckingCallback::GetInterface(napi::Interfaces iface) {
  if (iface == napi::eIMsgBox && offerBox) return &box;
  return nullptr;
}

void TakeBack(napi::tVariant& v, CheckingMemory& memory, const char* what) {
  const std::uint16_t code = v.vt & kCodeMask;
  if (code == napi::VTYPE_PWSTR || code == napi::VTYPE_PSTR || code == napi::VTYPE_BLOB) {
    void* block = code == napi::VTYPE_PWSTR ? static_cast<void*>(v.vtRecWideString.pwstrVal)
                                             : static_cast<void*>(v.vtRecString.pstrVal);
    if (block != nullptr) {
      if (!memory.IsLive(block))
        Breach(std::string(what) + ": a value whose block is not a live host block (type " + std::to_string(v.vt) + ")");
      const std::size_t size = memory.SizeOf(block);
      if (code == napi::VTYPE_PWSTR) {
        const std::uint64_t need = (static_cast<std::uint64_t>(v.vtRecWideString.wstrLen) + 1) * 2;
        if (need > size || v.vtRecWideString.pwstrVal[v.vtRecWideString.wstrLen] != 0)
          Breach(std::string(what) + ": a text whose length and terminator do not fit its block");
      } else if (code == napi::VTYPE_PSTR) {
        if (v.vtRecString.strLen + 1ull > size || v.vtRecString.pstrVal[v.vtRecString.strLen] != 0)
          Breach(std::string(what) + ": a byte string whose length and terminator do not fit its block");
      } else if (v.vtRecString.strLen > size) {
        Breach(std::string(what) + ": binary data longer than its block");
      }
      memory.Release(block, what);
    }
  } else if (code == napi::VTYPE_INTERFACE && v.vtRecInterface.pInterfaceVal != nullptr) {
    ComRelease(v.vtRecInterface.pInterfaceVal);
  }
  std::memset(&v, 0, sizeof v);
}

void TakeBackName(const napi::WCHAR_T* name, CheckingMemory& memory, const char* what) {
  if (name == nullptr) return;
  if (!memory.IsLive(name)) Breach(std::string(what) + ": a name that is not a live host block");
  const std::size_t size = memory.SizeOf(name);
  if (size < 2 || !TerminatedWithin(name, size / 2)) Breach(std::string(what) + ": a name without its terminator");
  memory.Release(const_cast<napi::WCHAR_T*>(name), what);
}

}  // namespace qarvex::fuzz
