// The replacement host on Windows: the platform's interfaces are built as
// the explicit tables of native_api_windows.h and the DLL is loaded with
// LoadLibraryW. Every call into the component goes through a table entry
// with the platform's convention, so a mismatch in the component's own
// tables shows up here as a crash or a wrong answer.
#include <windows.h>
// windows.h's A/W macros would rename the host's own methods.
#undef GetProp
#undef SetProp

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <map>
#include <set>
#include <stdexcept>

#include "tools/host/replacement_host.h"
#include "tools/host/variant_exchange.h"
#include "tools/host/windows/native_api_windows.h"

namespace qarvex::nativehost {
namespace {

using namespace winapi;

std::string Hex(const void* p) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%p", p);
  return buffer;
}

std::wstring WidePath(const std::string& utf8) {
  const int length = ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(length), L'\0');
  ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(), length);
  return wide;
}

std::u16string Text(const WCHAR_T* text) { return text ? std::u16string(text) : std::u16string(); }

// Every block the host hands out, with the sizes. Freed blocks are held back
// for a while so that a second free of an address is told apart from the
// free of a new block at a reused address.
class MemoryBooks {
 public:
  ~MemoryBooks() {
    for (auto& [block, size] : live_) std::free(block);
    for (void* block : quarantine_) std::free(block);
  }
  void* Allocate(std::size_t size) {
    void* block = std::calloc(size == 0 ? 1 : size, 1);
    if (!block) throw std::bad_alloc();
    live_[block] = size;
    ++report.allocations;
    ++report.liveBlocks;
    return block;
  }
  void Release(void* block) {
    if (!block) {
      report.faults.push_back("FreeMemory of a null pointer");
      return;
    }
    auto it = live_.find(block);
    if (it == live_.end()) {
      report.faults.push_back((freed_.count(block) ? "double free of " : "free of a foreign pointer ") + Hex(block));
      return;
    }
    live_.erase(it);
    ++report.frees;
    --report.liveBlocks;
    quarantine_.push_back(block);
    freed_.insert(block);
    if (quarantine_.size() > 4096) {
      freed_.erase(quarantine_.front());
      std::free(quarantine_.front());
      quarantine_.pop_front();
    }
  }

  MemoryReport report;
  AllocationRefusals refusals;

 private:
  std::map<void*, std::size_t> live_;
  std::deque<void*> quarantine_;
  std::set<void*> freed_;
};

}  // namespace

struct ReplacementHost::Impl {
  // The three host objects the component receives: a table pointer first.
  struct MemoryObject {
    const MemoryManagerTable* table;
    Impl* host;
  };
  struct CallbackObject {
    const AddInDefBaseExTable* table;
    Impl* host;
  };
  struct MsgBoxObject {
    const MsgBoxTable* table;
    void* interfacePart;  // the IInterface sub-object: GetInterface's answer
    Impl* host;
  };

  HMODULE library = nullptr;
  GetClassNamesFn getClassNames = nullptr;
  GetClassObjectFn getClassObject = nullptr;
  DestroyObjectFn destroyObject = nullptr;
  MemoryBooks memory;
  std::vector<ErrorRecord> errors;
  std::deque<MsgBoxAnswer> script;
  MsgBoxAnswer defaultAnswer = MsgBoxAnswer::CannotShow;
  ReplacementHost::Answerer answerer;
  std::vector<std::u16string> questions;
  Long lastCreateAnswer = 0;
  bool lastCreateLeftPointer = true;

  MemoryObject memoryObject{&kMemoryTable, this};
  CallbackObject callbackObject{&kCallbackTable, this};
  MsgBoxObject msgBoxObject{&kMsgBoxTable, nullptr, this};

  void Fill(tVariant& v, const HostValue& value);
  HostValue Take(tVariant& v);  // reads the value and frees its host block

  // --- the host's entries, in the platform's convention ---
  static void* QARVEX_NAPI_DTOR NeverDestroyed(void* self, unsigned) { return self; }

  static bool QARVEX_NAPI AllocMemory(void* self, void** pMemory, ULong size) {
    Impl* host = static_cast<MemoryObject*>(self)->host;
    if (!pMemory) {
      host->memory.report.faults.push_back("AllocMemory with a null address");
      return false;
    }
    if (host->memory.refusals.Refuses(host->memory.report)) return false;
    *pMemory = host->memory.Allocate(size);
    return true;
  }
  static void QARVEX_NAPI FreeMemory(void* self, void** pMemory) {
    Impl* host = static_cast<MemoryObject*>(self)->host;
    if (!pMemory) {
      host->memory.report.faults.push_back("FreeMemory with a null address");
      return;
    }
    host->memory.Release(*pMemory);
  }

  static bool QARVEX_NAPI AddError(void* self, unsigned short wcode, const WCHAR_T* source, const WCHAR_T* descr,
                                   Long scode) {
    Impl* host = static_cast<CallbackObject*>(self)->host;
    // The platform's long is 32-bit here: reported zero-extended, as the
    // header promises.
    host->errors.push_back({wcode, Text(source), Text(descr),
                            static_cast<std::int64_t>(static_cast<std::uint32_t>(scode))});
    return true;
  }
  static void* QARVEX_NAPI GetInterface(void* self, int iface) {
    Impl* host = static_cast<CallbackObject*>(self)->host;
    return iface == kMsgBoxInterfaceId ? &host->msgBoxObject.interfacePart : nullptr;
  }

  static bool QARVEX_NAPI Confirm(void* self, const WCHAR_T* queryText, tVariant* retValue) {
    Impl* host = static_cast<MsgBoxObject*>(self)->host;
    host->questions.push_back(Text(queryText));
    MsgBoxAnswer answer = host->defaultAnswer;
    if (!host->script.empty()) {
      answer = host->script.front();
      host->script.pop_front();
    } else if (host->answerer) {
      // Nothing may unwind through the component's frames.
      try {
        answer = host->answerer(host->questions.back());
      } catch (...) {
        answer = MsgBoxAnswer::CannotShow;
      }
    }
    if (answer == MsgBoxAnswer::CannotShow || !retValue) return false;
    std::memset(retValue, 0, sizeof *retValue);
    retValue->vt = VTYPE_BOOL;
    retValue->bVal = answer == MsgBoxAnswer::Yes;
    return true;
  }
  static bool QARVEX_NAPI Alert(void*, const WCHAR_T*) { return true; }

  static constexpr MemoryManagerTable kMemoryTable{&NeverDestroyed, &AllocMemory, &FreeMemory};
  static constexpr AddInDefBaseExTable kCallbackTable =
      ErrorsAndMsgBoxOnlyTable(&NeverDestroyed, &AddError, &GetInterface);
  static constexpr MsgBoxTable kMsgBoxTable{&Confirm, &Alert};
};

struct Component::Impl {
  ReplacementHost::Impl* host = nullptr;
  void* block = nullptr;  // the component block; interface k is at block + k pointers
  bool destroyed = false;

  void* Interface(int which) const {
    if (destroyed) throw std::logic_error("the component was already destroyed");
    return static_cast<void**>(block) + which;
  }
  void* InitDone() const { return Interface(0); }
  void* Extender() const { return Interface(1); }
  void* Locale() const { return Interface(2); }

  std::optional<std::u16string> TakeName(const WCHAR_T* name) {
    if (!name) return std::nullopt;
    std::u16string text(name);
    host->memory.Release(const_cast<WCHAR_T*>(name));
    return text;
  }
  CallResult Call(Long index, std::vector<HostValue>& params, bool function);
};

void ReplacementHost::Impl::Fill(tVariant& v, const HostValue& value) { FillVariant(v, value, memory); }

HostValue ReplacementHost::Impl::Take(tVariant& v) { return TakeVariant(v, memory); }

ReplacementHost::ReplacementHost(const std::string& libraryPath) : impl_(std::make_unique<Impl>()) {
  impl_->library = ::LoadLibraryW(WidePath(libraryPath).c_str());
  if (!impl_->library)
    throw std::runtime_error("cannot load " + libraryPath + ": error " + std::to_string(::GetLastError()));
  auto find = [&](const char* name) {
    FARPROC symbol = ::GetProcAddress(impl_->library, name);
    if (!symbol) {
      ::FreeLibrary(impl_->library);
      throw std::runtime_error(std::string("missing export ") + name);
    }
    return reinterpret_cast<void*>(symbol);
  };
  impl_->getClassNames = reinterpret_cast<GetClassNamesFn>(find("GetClassNames"));
  impl_->getClassObject = reinterpret_cast<GetClassObjectFn>(find("GetClassObject"));
  impl_->destroyObject = reinterpret_cast<DestroyObjectFn>(find("DestroyObject"));
}

ReplacementHost::~ReplacementHost() { ::FreeLibrary(impl_->library); }

std::u16string ReplacementHost::ClassNamesText() {
  const WCHAR_T* names = impl_->getClassNames();
  if (!names) throw std::runtime_error("GetClassNames returned null");
  return names;
}

std::unique_ptr<Component> ReplacementHost::Create(std::u16string_view className) {
  const std::u16string name(className);
  void* const sentinel = &impl_->lastCreateAnswer;
  void* block = sentinel;
  impl_->lastCreateAnswer = impl_->getClassObject(name.c_str(), &block);
  impl_->lastCreateLeftPointer = block == sentinel;
  if (impl_->lastCreateAnswer != 1 || block == sentinel || !block) return nullptr;
  auto impl = std::make_unique<Component::Impl>();
  impl->host = impl_.get();
  impl->block = block;
  return std::make_unique<Component>(std::move(impl));
}

long ReplacementHost::LastCreateAnswer() const { return impl_->lastCreateAnswer; }
bool ReplacementHost::LastCreateLeftPointer() const { return impl_->lastCreateLeftPointer; }
MemoryReport ReplacementHost::Memory() const { return impl_->memory.report; }
void ReplacementHost::RefuseAllocations(bool refuse) { impl_->memory.refusals.RefuseAll(refuse); }
void ReplacementHost::RefuseAllocationNumber(std::size_t n) { impl_->memory.refusals.RefuseNumber(n); }
const std::vector<ErrorRecord>& ReplacementHost::Errors() const { return impl_->errors; }
void ReplacementHost::ClearErrors() { impl_->errors.clear(); }
void ReplacementHost::ScriptAnswers(std::initializer_list<MsgBoxAnswer> answers) {
  impl_->script.insert(impl_->script.end(), answers.begin(), answers.end());
}
void ReplacementHost::SetDefaultAnswer(MsgBoxAnswer answer) { impl_->defaultAnswer = answer; }
void ReplacementHost::SetAnswerer(Answerer answerer) { impl_->answerer = std::move(answerer); }
const std::vector<std::u16string>& ReplacementHost::Questions() const { return impl_->questions; }

Component::Component(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}

Component::~Component() {
  if (!impl_->destroyed) Destroy();
}

namespace ide = winapi::init_done;
namespace lex = winapi::language_extender;
namespace loc = winapi::locale_base;

bool Component::SetMemManager() {
  void* i = impl_->InitDone();
  return Entry<ide::SetMemManager>(i, ide::kSetMemManager)(i, &impl_->host->memoryObject);
}
bool Component::Init() {
  void* i = impl_->InitDone();
  return Entry<ide::Init>(i, ide::kInit)(i, &impl_->host->callbackObject);
}
long Component::GetInfo() {
  void* i = impl_->InitDone();
  return Entry<ide::GetInfo>(i, ide::kGetInfo)(i);
}
void Component::Done() {
  void* i = impl_->InitDone();
  Entry<ide::Done>(i, ide::kDone)(i);
}
void Component::SetLocale(std::u16string_view locale) {
  const std::u16string text(locale);
  void* i = impl_->Locale();
  Entry<loc::SetLocale>(i, loc::kSetLocale)(i, text.c_str());
}

bool Component::RegisterExtensionAs(std::optional<std::u16string>& name) {
  WCHAR_T* const untouched = reinterpret_cast<WCHAR_T*>(&impl_);
  WCHAR_T* text = untouched;  // must be overwritten
  void* i = impl_->Extender();
  const bool result = Entry<lex::RegisterExtensionAs>(i, lex::kRegisterExtensionAs)(i, &text);
  if (text == untouched) throw std::runtime_error("RegisterExtensionAs left its out-pointer unset");
  name = impl_->TakeName(text);
  return result;
}

long Component::GetNProps() {
  void* i = impl_->Extender();
  return Entry<lex::Count>(i, lex::kGetNProps)(i);
}
long Component::FindProp(std::u16string_view name) {
  const std::u16string text(name);
  void* i = impl_->Extender();
  return Entry<lex::Find>(i, lex::kFindProp)(i, text.c_str());
}
std::optional<std::u16string> Component::GetPropName(long index, long alias) {
  void* i = impl_->Extender();
  return impl_->TakeName(Entry<lex::Name>(i, lex::kGetPropName)(i, static_cast<Long>(index), static_cast<Long>(alias)));
}
CallResult Component::GetPropVal(long index) {
  tVariant v{};
  CallResult result;
  void* i = impl_->Extender();
  result.ok = Entry<lex::Value>(i, lex::kGetPropVal)(i, static_cast<Long>(index), &v);
  result.value = impl_->host->Take(v);
  return result;
}
bool Component::SetPropVal(long index, const HostValue& value) {
  tVariant v;
  impl_->host->Fill(v, value);
  void* i = impl_->Extender();
  const bool ok = Entry<lex::Value>(i, lex::kSetPropVal)(i, static_cast<Long>(index), &v);
  impl_->host->Take(v);
  return ok;
}
bool Component::IsPropReadable(long index) {
  void* i = impl_->Extender();
  return Entry<lex::Flag>(i, lex::kIsPropReadable)(i, static_cast<Long>(index));
}
bool Component::IsPropWritable(long index) {
  void* i = impl_->Extender();
  return Entry<lex::Flag>(i, lex::kIsPropWritable)(i, static_cast<Long>(index));
}
long Component::GetNMethods() {
  void* i = impl_->Extender();
  return Entry<lex::Count>(i, lex::kGetNMethods)(i);
}
long Component::FindMethod(std::u16string_view name) {
  const std::u16string text(name);
  void* i = impl_->Extender();
  return Entry<lex::Find>(i, lex::kFindMethod)(i, text.c_str());
}
std::optional<std::u16string> Component::GetMethodName(long index, long alias) {
  void* i = impl_->Extender();
  return impl_->TakeName(
      Entry<lex::Name>(i, lex::kGetMethodName)(i, static_cast<Long>(index), static_cast<Long>(alias)));
}
long Component::GetNParams(long index) {
  void* i = impl_->Extender();
  return Entry<lex::NParams>(i, lex::kGetNParams)(i, static_cast<Long>(index));
}
CallResult Component::GetParamDefValue(long method, long param) {
  tVariant v{};
  CallResult result;
  void* i = impl_->Extender();
  result.ok = Entry<lex::ParamDefValue>(i, lex::kGetParamDefValue)(i, static_cast<Long>(method),
                                                                   static_cast<Long>(param), &v);
  // A default value belongs to the component: it is read, never freed.
  if (result.ok) {
    tVariant copy = v;
    if (copy.vt == VTYPE_PWSTR && copy.vtRecWideString.pwstrVal)
      result.value = HostValue(std::u16string(copy.vtRecWideString.pwstrVal));
    else if (copy.vt != VTYPE_PSTR && copy.vt != VTYPE_BLOB && copy.vt != VTYPE_PWSTR)
      result.value = impl_->host->Take(copy);
  }
  return result;
}
bool Component::HasRetVal(long index) {
  void* i = impl_->Extender();
  return Entry<lex::Flag>(i, lex::kHasRetVal)(i, static_cast<Long>(index));
}

CallResult Component::Impl::Call(Long index, std::vector<HostValue>& params, bool function) {
  std::vector<tVariant> values(params.size());
  for (std::size_t k = 0; k < params.size(); ++k) host->Fill(values[k], params[k]);
  tVariant ret{};
  CallResult result;
  tVariant* first = values.empty() ? nullptr : values.data();
  const Long count = static_cast<Long>(values.size());
  void* i = Extender();
  result.ok = function ? Entry<lex::CallAsFunc>(i, lex::kCallAsFunc)(i, index, &ret, first, count)
                       : Entry<lex::CallAsProc>(i, lex::kCallAsProc)(i, index, first, count);
  result.value = host->Take(ret);
  for (std::size_t k = 0; k < params.size(); ++k) params[k] = host->Take(values[k]);
  return result;
}

CallResult Component::CallAsProc(long index, std::vector<HostValue>& params) {
  return impl_->Call(static_cast<Long>(index), params, false);
}
CallResult Component::CallAsFunc(long index, std::vector<HostValue>& params) {
  return impl_->Call(static_cast<Long>(index), params, true);
}

long Component::Destroy() {
  void* block = impl_->InitDone();
  impl_->destroyed = true;
  return impl_->host->destroyObject(&block);
}

// As `delete p` compiles on the platform: the scalar deleting destructor,
// entry 0 of the interface's table, with flags 1 (free the memory).
void Component::DeleteThroughInterface(int which) {
  void* i = impl_->Interface(which < 0 || which > 2 ? 2 : which);
  impl_->destroyed = true;
  Entry<DeletingDestructor>(i, 0)(i, 1);
}

bool Component::Destroyed() const { return impl_->destroyed; }
const void* Component::Block() const { return impl_->block; }
std::uintptr_t Component::BlockWord(int index) const {
  return static_cast<const std::uintptr_t*>(impl_->block)[index];
}

}  // namespace qarvex::nativehost
