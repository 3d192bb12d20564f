// The component's three interface tables, laid out one after the other in a
// single constant table as the platform's compiler would lay them out for
// IComponentBase (abi.h gives the destructor entries and the convention).
//
// Every entry is a choke point: it finds its object four words past the
// interface pointer and lets no exception out. A component whose object is
// gone (destroyed through a complete-object destructor entry) answers like
// an empty registration: 0, -1, false or null.
#include <utility>

#include "host/component_block.h"
#include "host/dispatch.h"

namespace qarvex::host {
namespace {

template <typename Result, typename Body>
Result Guarded(void* iface, Result fallback, Body&& body) noexcept {
  try {
    TV8UserObject* self = iface ? ObjectOf(iface) : nullptr;
    if (self == nullptr) return fallback;
    return std::forward<Body>(body)(*self);
  } catch (...) {
    return fallback;
  }
}

template <typename Body>
void GuardedVoid(void* iface, Body&& body) noexcept {
  try {
    TV8UserObject* self = iface ? ObjectOf(iface) : nullptr;
    if (self != nullptr) std::forward<Body>(body)(*self);
  } catch (...) {
  }
}

// Destructor entries of the table at block word `word`.
template <int word>
void Release(void* iface, bool freeBlock) noexcept {
  ReleaseBlock(static_cast<void**>(iface) - word, freeBlock);
}

// IInitDoneBase.
bool V8_ENTRY Init(void* iface, void* disp) {
  return Guarded(iface, false, [&](TV8UserObject& o) {
    o.V8 = TV8AddInDefBaseEx(disp);  // taken to be IAddInDefBaseEx without asking
    return o.Init();
  });
}
bool V8_ENTRY SetMemManager(void* iface, void* memory) {
  return Guarded(iface, false, [&](TV8UserObject& o) {
    o.V8MM = TV8MemoryManager(memory);
    return o.SetMemManager();
  });
}
HostLong V8_ENTRY GetInfo(void* iface) {
  return Guarded(iface, HostLong{0}, [](TV8UserObject& o) { return o.GetInfo(); });
}
void V8_ENTRY Done(void* iface) {
  GuardedVoid(iface, [](TV8UserObject& o) { o.Done(); });
}

// ILanguageExtenderBase.
bool V8_ENTRY RegisterExtensionAs(void* iface, WCHAR_T** name) {
  return Guarded(iface, false, [&](TV8UserObject& o) { return dispatch::RegisterExtensionAs(o, name); });
}
HostLong V8_ENTRY GetNProps(void* iface) {
  return Guarded(iface, HostLong{0}, [](TV8UserObject& o) { return dispatch::GetNProps(o); });
}
HostLong V8_ENTRY FindProp(void* iface, const WCHAR_T* name) {
  return Guarded(iface, HostLong{-1}, [&](TV8UserObject& o) { return dispatch::FindProp(o, name); });
}
const WCHAR_T* V8_ENTRY GetPropName(void* iface, HostLong index, HostLong alias) {
  return Guarded(iface, static_cast<const WCHAR_T*>(nullptr),
                 [&](TV8UserObject& o) { return dispatch::GetPropName(o, index, alias); });
}
bool V8_ENTRY GetPropVal(void* iface, HostLong index, V8Variant* value) {
  return Guarded(iface, false, [&](TV8UserObject& o) { return dispatch::GetPropVal(o, index, value); });
}
bool V8_ENTRY SetPropVal(void* iface, HostLong index, V8Variant* value) {
  return Guarded(iface, false, [&](TV8UserObject& o) { return dispatch::SetPropVal(o, index, value); });
}
bool V8_ENTRY IsPropReadable(void* iface, HostLong index) {
  return Guarded(iface, false, [&](TV8UserObject& o) { return dispatch::IsPropReadable(o, index); });
}
bool V8_ENTRY IsPropWritable(void* iface, HostLong index) {
  return Guarded(iface, false, [&](TV8UserObject& o) { return dispatch::IsPropWritable(o, index); });
}
HostLong V8_ENTRY GetNMethods(void* iface) {
  return Guarded(iface, HostLong{0}, [](TV8UserObject& o) { return dispatch::GetNMethods(o); });
}
HostLong V8_ENTRY FindMethod(void* iface, const WCHAR_T* name) {
  return Guarded(iface, HostLong{-1}, [&](TV8UserObject& o) { return dispatch::FindMethod(o, name); });
}
const WCHAR_T* V8_ENTRY GetMethodName(void* iface, HostLong index, HostLong alias) {
  return Guarded(iface, static_cast<const WCHAR_T*>(nullptr),
                 [&](TV8UserObject& o) { return dispatch::GetMethodName(o, index, alias); });
}
HostLong V8_ENTRY GetNParams(void* iface, HostLong index) {
  return Guarded(iface, HostLong{0}, [&](TV8UserObject& o) { return dispatch::GetNParams(o, index); });
}
bool V8_ENTRY GetParamDefValue(void* iface, HostLong method, HostLong param, V8Variant* value) {
  return Guarded(iface, false,
                 [&](TV8UserObject& o) { return dispatch::GetParamDefValue(o, method, param, value); });
}
bool V8_ENTRY HasRetVal(void* iface, HostLong index) {
  return Guarded(iface, false, [&](TV8UserObject& o) { return dispatch::HasRetVal(o, index); });
}
bool V8_ENTRY CallAsProc(void* iface, HostLong index, V8Variant* params, HostLong count) {
  return Guarded(iface, false,
                 [&](TV8UserObject& o) { return dispatch::CallAsProc(o, index, params, count); });
}
bool V8_ENTRY CallAsFunc(void* iface, HostLong index, V8Variant* ret, V8Variant* params,
                         HostLong count) {
  return Guarded(iface, false,
                 [&](TV8UserObject& o) { return dispatch::CallAsFunc(o, index, ret, params, count); });
}

// LocaleBase.
void V8_ENTRY SetLocale(void* iface, const WCHAR_T* locale) {
  GuardedVoid(iface, [&](TV8UserObject& o) {
    o.locale = locale ? WString(locale) : WString();
    o.SetLocale();
  });
}

struct InitDoneTable {
  V8DestructorEntries<&Release<0>> destructor;
  bool(V8_ENTRY* init)(void*, void*) = &Init;
  bool(V8_ENTRY* setMemManager)(void*, void*) = &SetMemManager;
  HostLong(V8_ENTRY* getInfo)(void*) = &GetInfo;
  void(V8_ENTRY* done)(void*) = &Done;
};

struct LanguageExtenderTable {
  V8DestructorEntries<&Release<1>> destructor;
  bool(V8_ENTRY* registerExtensionAs)(void*, WCHAR_T**) = &RegisterExtensionAs;
  HostLong(V8_ENTRY* getNProps)(void*) = &GetNProps;
  HostLong(V8_ENTRY* findProp)(void*, const WCHAR_T*) = &FindProp;
  const WCHAR_T*(V8_ENTRY* getPropName)(void*, HostLong, HostLong) = &GetPropName;
  bool(V8_ENTRY* getPropVal)(void*, HostLong, V8Variant*) = &GetPropVal;
  bool(V8_ENTRY* setPropVal)(void*, HostLong, V8Variant*) = &SetPropVal;
  bool(V8_ENTRY* isPropReadable)(void*, HostLong) = &IsPropReadable;
  bool(V8_ENTRY* isPropWritable)(void*, HostLong) = &IsPropWritable;
  HostLong(V8_ENTRY* getNMethods)(void*) = &GetNMethods;
  HostLong(V8_ENTRY* findMethod)(void*, const WCHAR_T*) = &FindMethod;
  const WCHAR_T*(V8_ENTRY* getMethodName)(void*, HostLong, HostLong) = &GetMethodName;
  HostLong(V8_ENTRY* getNParams)(void*, HostLong) = &GetNParams;
  bool(V8_ENTRY* getParamDefValue)(void*, HostLong, HostLong, V8Variant*) = &GetParamDefValue;
  bool(V8_ENTRY* hasRetVal)(void*, HostLong) = &HasRetVal;
  bool(V8_ENTRY* callAsProc)(void*, HostLong, V8Variant*, HostLong) = &CallAsProc;
  bool(V8_ENTRY* callAsFunc)(void*, HostLong, V8Variant*, V8Variant*, HostLong) = &CallAsFunc;
};

struct LocaleTable {
  V8DestructorEntries<&Release<2>> destructor;
  void(V8_ENTRY* setLocale)(void*, const WCHAR_T*) = &SetLocale;
};

struct InterfaceTables {
  InitDoneTable initDone;
  LanguageExtenderTable languageExtender;
  LocaleTable locale;
};

constexpr std::size_t kEntry = sizeof(void*);
static_assert(sizeof(InitDoneTable) == (kDestructorEntries + 4) * kEntry);
static_assert(sizeof(LanguageExtenderTable) == (kDestructorEntries + 16) * kEntry);
static_assert(sizeof(LocaleTable) == (kDestructorEntries + 1) * kEntry);

// Built by the compiler: ready before any code of the library runs, and
// read-only, so no host can overwrite an entry.
constexpr InterfaceTables g_tables{};

}  // namespace

void* InterfaceTableAddress(int which) {
  switch (which) {
    case 0: return const_cast<InitDoneTable*>(&g_tables.initDone);
    case 1: return const_cast<LanguageExtenderTable*>(&g_tables.languageExtender);
    default: return const_cast<LocaleTable*>(&g_tables.locale);
  }
}

}  // namespace qarvex::host
