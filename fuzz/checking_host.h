// The host side of the fuzzer: a memory manager, a callback interface and a
// message box declared as the platform declares them (tools/host's
// native_api.h), each checking what the component does with them. Any
// breach ends the process at once with a message (libFuzzer then keeps the
// input that caused it):
//
// - FreeMemory of anything but a live block of this manager (a foreign
//   pointer, a second free, a null block);
// - a text, byte string or binary value the component hands back (return
//   value, parameter, property value, default value, name) whose pointer is
//   not a live block of this manager, or whose length and terminator do not
//   fit inside its block;
// - an interface released more often than it was handed over;
// - blocks still live once every component is gone (lost host memory).
//
// Threading: one thread. The fuzzer owns one CheckingHost for its lifetime.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <string>

#include "tools/host/linux/native_api.h"

namespace qarvex::fuzz {

namespace napi = nativehost::napi;

// A COM-style interface object the host can put into a variant: entries
// QueryInterface, AddRef, Release. Counts its references.
struct FakeComObject {
  void** table;
  int references;
  static FakeComObject* Make();  // one reference
};

[[noreturn]] void Breach(const std::string& what);

class CheckingMemory final : public napi::IMemoryManager {
 public:
  bool AllocMemory(void** pMemory, unsigned long ulCountByte) override;
  void FreeMemory(void** pMemory) override;

  // A host block holding `bytes` (for values the host hands over).
  void* Allocate(std::size_t bytes);
  // Gives back a host block the host itself owns again. Breach if not live.
  void Release(void* block, const char* what);
  bool IsLive(const void* block) const { return blocks_.count(block) != 0; }
  std::size_t SizeOf(const void* block) const;
  std::size_t LiveBlocks() const { return blocks_.size(); }

  // While set, every AllocMemory answers false.
  bool refuse = false;
  // Requests above this are refused (a component asking for more is not
  // wrong, but the fuzzer's memory is bounded).
  static constexpr std::size_t kLargestGrant = 64u << 20;

 private:
  std::map<const void*, std::size_t> blocks_;
};

class CheckingMessageBox final : public napi::IMsgBox {
 public:
  bool Confirm(const napi::WCHAR_T* queryText, napi::tVariant* retValue) override;
  bool Alert(const napi::WCHAR_T* text) override;
  // 0: cannot show; 1: yes; 2: no; 3: shown, the answer left empty;
  // 4: shown, the answer an integer.
  int mode = 1;
};

class CheckingCallback final : public napi::IAddInDefBaseEx {
 public:
  bool AddError(unsigned short wcode, const napi::WCHAR_T* source, const napi::WCHAR_T* descr,
                long scode) override;
  bool Read(napi::WCHAR_T*, napi::tVariant*, long*, napi::WCHAR_T**) override { return false; }
  bool Write(napi::WCHAR_T*, napi::tVariant*) override { return false; }
  bool RegisterProfileAs(napi::WCHAR_T*) override { return false; }
  bool SetEventBufferDepth(long) override { return false; }
  long GetEventBufferDepth() override { return 0; }
  bool ExternalEvent(napi::WCHAR_T*, napi::WCHAR_T*, napi::WCHAR_T*) override { return false; }
  void CleanEventBuffer() override {}
  bool SetStatusLine(napi::WCHAR_T*) override { return false; }
  void ResetStatusLine() override {}
  napi::IInterface* GetInterface(napi::Interfaces iface) override;

  CheckingMessageBox box;
  bool offerBox = true;  // false: GetInterface answers null
};

// Checks a value the component left in a host variant and gives its block
// back; the variant is empty afterwards. Interfaces in it are released.
void TakeBack(napi::tVariant& v, CheckingMemory& memory, const char* what);

// Checks a name the component handed back (null allowed) and frees it.
void TakeBackName(const napi::WCHAR_T* name, CheckingMemory& memory, const char* what);

}  // namespace qarvex::fuzz
