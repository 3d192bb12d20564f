// The platform's Native API as its Windows compiler lays it out, written as
// explicit tables so that nothing depends on how mingw lays out C++ classes
// (mingw gives a class with a virtual destructor two destructor entries; the
// platform's compiler gives one):
//   - every interface object starts with a pointer to its table;
//   - entry 0 of every table is the scalar deleting destructor, called as a
//     member function (thiscall on x86: object in ECX, flags on the stack);
//   - the other entries are the interface's methods in declaration order,
//     __stdcall on x86 with the interface pointer as the first argument, the
//     one Windows x64 convention there;
//   - C `long` is 32-bit; the variant is 48 bytes with the type word at 44.
// Written for the replacement host only; the component never includes this.
#pragma once

#include <cstddef>
#include <cstdint>

namespace qarvex::nativehost::winapi {

#if defined(__i386__)
#  define QARVEX_NAPI __stdcall
#  define QARVEX_NAPI_DTOR __attribute__((thiscall))
#else
#  define QARVEX_NAPI
#  define QARVEX_NAPI_DTOR
#endif

using WCHAR_T = char16_t;
using Long = std::int32_t;
using ULong = std::uint32_t;
using TYPEVAR = std::uint16_t;

enum : TYPEVAR {
  VTYPE_EMPTY = 0,
  VTYPE_I4 = 3,
  VTYPE_R8 = 5,
  VTYPE_DATE = 6,
  VTYPE_TM = 7,
  VTYPE_PSTR = 8,
  VTYPE_BOOL = 11,
  VTYPE_PWSTR = 22,
  VTYPE_BLOB = 23,
};

// The C library's broken-down time on Windows: nine ints.
struct Tm {
  std::int32_t tm_sec, tm_min, tm_hour, tm_mday, tm_mon, tm_year, tm_wday, tm_yday, tm_isdst;
};

struct tVariant {
  union alignas(8) {
    std::int32_t lVal;
    double dblVal;
    bool bVal;
    double date;
    Tm tmVal;
    struct {
      char* pstrVal;
      std::uint32_t strLen;
    } vtRecString;
    struct {
      WCHAR_T* pwstrVal;
      std::uint32_t wstrLen;
    } vtRecWideString;
  };
  std::uint32_t cbElements;
  TYPEVAR vt;
};
static_assert(sizeof(Tm) == 36);
static_assert(sizeof(tVariant) == 48);
static_assert(offsetof(tVariant, cbElements) == 40);
static_assert(offsetof(tVariant, vt) == 44);

using DeletingDestructor = void*(QARVEX_NAPI_DTOR*)(void* self, unsigned flags);

// --- host side: tables the host builds for the component to call ---------

struct MemoryManagerTable {
  DeletingDestructor destructor;
  bool(QARVEX_NAPI* AllocMemory)(void* self, void** pMemory, ULong ulCountByte);
  void(QARVEX_NAPI* FreeMemory)(void* self, void** pMemory);
};

struct AddInDefBaseExTable {
  DeletingDestructor destructor;
  bool(QARVEX_NAPI* AddError)(void* self, unsigned short wcode, const WCHAR_T* source, const WCHAR_T* descr,
                              Long scode);
  bool(QARVEX_NAPI* Read)(void* self, WCHAR_T* propName, tVariant* value, Long* errCode, WCHAR_T** errDescr);
  bool(QARVEX_NAPI* Write)(void* self, WCHAR_T* propName, tVariant* value);
  bool(QARVEX_NAPI* RegisterProfileAs)(void* self, WCHAR_T* profileName);
  bool(QARVEX_NAPI* SetEventBufferDepth)(void* self, Long depth);
  Long(QARVEX_NAPI* GetEventBufferDepth)(void* self);
  bool(QARVEX_NAPI* ExternalEvent)(void* self, WCHAR_T* source, WCHAR_T* message, WCHAR_T* data);
  void(QARVEX_NAPI* CleanEventBuffer)(void* self);
  bool(QARVEX_NAPI* SetStatusLine)(void* self, WCHAR_T* statusLine);
  void(QARVEX_NAPI* ResetStatusLine)(void* self);
  void*(QARVEX_NAPI* GetInterface)(void* self, int iface);
};

// The entries of the callback table for a host that offers only errors and
// the message box: each answers as a host without the service does.
struct UnusedCallbackEntries {
  static bool QARVEX_NAPI Read(void*, WCHAR_T*, tVariant*, Long*, WCHAR_T**) { return false; }
  static bool QARVEX_NAPI Write(void*, WCHAR_T*, tVariant*) { return false; }
  static bool QARVEX_NAPI RegisterProfileAs(void*, WCHAR_T*) { return false; }
  static bool QARVEX_NAPI SetEventBufferDepth(void*, Long) { return false; }
  static Long QARVEX_NAPI GetEventBufferDepth(void*) { return 0; }
  static bool QARVEX_NAPI ExternalEvent(void*, WCHAR_T*, WCHAR_T*, WCHAR_T*) { return false; }
  static void QARVEX_NAPI CleanEventBuffer(void*) {}
  static bool QARVEX_NAPI SetStatusLine(void*, WCHAR_T*) { return false; }
  static void QARVEX_NAPI ResetStatusLine(void*) {}
};

// The callback table of such a host, from its three entries of its own.
constexpr AddInDefBaseExTable ErrorsAndMsgBoxOnlyTable(DeletingDestructor destructor,
                                                       decltype(AddInDefBaseExTable::AddError) addError,
                                                       decltype(AddInDefBaseExTable::GetInterface) getInterface) {
  using U = UnusedCallbackEntries;
  return {destructor,           addError,          &U::Read,          &U::Write,
          &U::RegisterProfileAs, &U::SetEventBufferDepth, &U::GetEventBufferDepth, &U::ExternalEvent,
          &U::CleanEventBuffer,  &U::SetStatusLine,  &U::ResetStatusLine, getInterface};
}

// IMsgBox has no destructor entry: Confirm is entry 0. Its object is the
// table pointer followed by the (empty) IInterface part, whose address is
// what GetInterface hands out.
struct MsgBoxTable {
  bool(QARVEX_NAPI* Confirm)(void* self, const WCHAR_T* queryText, tVariant* retValue);
  bool(QARVEX_NAPI* Alert)(void* self, const WCHAR_T* text);
};

inline constexpr int kMsgBoxInterfaceId = 0;  // eIMsgBox

// --- component side: entries the host calls, by table position ----------

namespace init_done {  // IInitDoneBase
using Init = bool(QARVEX_NAPI*)(void* self, void* disp);
using SetMemManager = bool(QARVEX_NAPI*)(void* self, void* memory);
using GetInfo = Long(QARVEX_NAPI*)(void* self);
using Done = void(QARVEX_NAPI*)(void* self);
enum Entry { kDestructor = 0, kInit, kSetMemManager, kGetInfo, kDone };
}  // namespace init_done

namespace language_extender {  // ILanguageExtenderBase
using RegisterExtensionAs = bool(QARVEX_NAPI*)(void* self, WCHAR_T** name);
using Count = Long(QARVEX_NAPI*)(void* self);
using Find = Long(QARVEX_NAPI*)(void* self, const WCHAR_T* name);
using Name = const WCHAR_T*(QARVEX_NAPI*)(void* self, Long index, Long alias);
using Value = bool(QARVEX_NAPI*)(void* self, Long index, tVariant* value);
using Flag = bool(QARVEX_NAPI*)(void* self, Long index);
using NParams = Long(QARVEX_NAPI*)(void* self, Long index);
using ParamDefValue = bool(QARVEX_NAPI*)(void* self, Long method, Long param, tVariant* value);
using CallAsProc = bool(QARVEX_NAPI*)(void* self, Long method, tVariant* params, Long count);
using CallAsFunc = bool(QARVEX_NAPI*)(void* self, Long method, tVariant* ret, tVariant* params, Long count);
enum Entry {
  kDestructor = 0, kRegisterExtensionAs, kGetNProps, kFindProp, kGetPropName, kGetPropVal, kSetPropVal,
  kIsPropReadable, kIsPropWritable, kGetNMethods, kFindMethod, kGetMethodName, kGetNParams,
  kGetParamDefValue, kHasRetVal, kCallAsProc, kCallAsFunc
};
}  // namespace language_extender

namespace locale_base {  // LocaleBase
using SetLocale = void(QARVEX_NAPI*)(void* self, const WCHAR_T* locale);
enum Entry { kDestructor = 0, kSetLocale };
}  // namespace locale_base

// The library's exports: plain C, cdecl.
extern "C" {
using GetClassNamesFn = const WCHAR_T*(__cdecl*)();
using GetClassObjectFn = Long(__cdecl*)(const WCHAR_T* name, void** component);
using DestroyObjectFn = Long(__cdecl*)(void** component);
}

// Entry `index` of the table of the interface at `iface`, as type F.
template <typename F>
F Entry(void* iface, int index) {
  return reinterpret_cast<F>((*static_cast<void***>(iface))[index]);
}

}  // namespace qarvex::nativehost::winapi
