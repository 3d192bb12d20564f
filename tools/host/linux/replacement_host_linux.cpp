// The replacement host on Linux: the platform's interfaces are implemented as
// the C++ classes of native_api.h and the library is loaded with dlopen.
#include <dlfcn.h>

#include <cstdlib>
#include <cstring>
#include <deque>
#include <map>
#include <set>
#include <stdexcept>

#include "tools/host/linux/native_api.h"
#include "tools/host/replacement_host.h"
#include "tools/host/variant_exchange.h"

namespace qarvex::nativehost {
namespace {

using namespace napi;

std::string Hex(const void* p) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%p", p);
  return buffer;
}

// Tracks every block. Freed blocks are kept back from the C library for a
// while so that a second free of the same address is told apart from the
// free of a block that happens to reuse it.
class TrackingMemoryManager final : public IMemoryManager {
 public:
  ~TrackingMemoryManager() override {
    for (auto& [block, size] : live_) std::free(block);
    for (void* block : quarantine_) std::free(block);
  }

  bool AllocMemory(void** pMemory, unsigned long ulCountByte) override {
    if (pMemory == nullptr) {
      report_.faults.push_back("AllocMemory with a null address");
      return false;
    }
    if (refusals_.Refuses(report_)) return false;
    *pMemory = Allocate(ulCountByte);
    return true;
  }

  void FreeMemory(void** pMemory) override {
    if (pMemory == nullptr) {
      report_.faults.push_back("FreeMemory with a null address");
      return;
    }
    Release(*pMemory);
  }

  // The host's own blocks (parameters it passes) and its own frees (values it
  // read back) go through the same books.
  void* Allocate(std::size_t size) {
    void* block = std::calloc(size == 0 ? 1 : size, 1);
    if (block == nullptr) throw std::bad_alloc();
    live_[block] = size;
    ++report_.allocations;
    ++report_.liveBlocks;
    return block;
  }
  void Release(void* block) {
    if (block == nullptr) {
      report_.faults.push_back("FreeMemory of a null pointer");
      return;
    }
    auto it = live_.find(block);
    if (it == live_.end()) {
      report_.faults.push_back((freed_.count(block) ? "double free of " : "free of a foreign pointer ") +
                               Hex(block));
      return;
    }
    live_.erase(it);
    ++report_.frees;
    --report_.liveBlocks;
    quarantine_.push_back(block);
    freed_.insert(block);
    if (quarantine_.size() > kQuarantine) {
      freed_.erase(quarantine_.front());
      std::free(quarantine_.front());
      quarantine_.pop_front();
    }
  }
  std::size_t SizeOf(const void* block) const {
    auto it = live_.find(const_cast<void*>(block));
    return it == live_.end() ? 0 : it->second;
  }

  MemoryReport report_;
  AllocationRefusals refusals_;

 private:
  static constexpr std::size_t kQuarantine = 4096;
  std::map<void*, std::size_t> live_;
  std::deque<void*> quarantine_;
  std::set<void*> freed_;
};

class ScriptedMsgBox final : public IMsgBox {
 public:
  bool Confirm(const WCHAR_T* queryText, tVariant* retValue) override {
    questions_.push_back(queryText ? std::u16string(queryText) : std::u16string());
    MsgBoxAnswer answer = defaultAnswer_;
    if (!script_.empty()) {
      answer = script_.front();
      script_.pop_front();
    } else if (answerer_) {
      // Nothing may unwind through the component's frames.
      try {
        answer = answerer_(questions_.back());
      } catch (...) {
        answer = MsgBoxAnswer::CannotShow;
      }
    }
    if (answer == MsgBoxAnswer::CannotShow || retValue == nullptr) return false;
    std::memset(retValue, 0, sizeof *retValue);
    retValue->vt = VTYPE_BOOL;
    retValue->bVal = answer == MsgBoxAnswer::Yes;
    return true;
  }
  bool Alert(const WCHAR_T*) override { return true; }

  std::deque<MsgBoxAnswer> script_;
  MsgBoxAnswer defaultAnswer_ = MsgBoxAnswer::CannotShow;
  ReplacementHost::Answerer answerer_;
  std::vector<std::u16string> questions_;
};

class RecordingCallbacks final : public ErrorsAndMsgBoxOnly {
 public:
  explicit RecordingCallbacks(ScriptedMsgBox& box) : ErrorsAndMsgBoxOnly(box) {}
  bool AddError(unsigned short wcode, const WCHAR_T* source, const WCHAR_T* descr,
                long scode) override {
    errors_.push_back({wcode, source ? source : u"", descr ? descr : u"",
                       static_cast<std::int64_t>(static_cast<unsigned long>(scode))});  // zero-extended
    return true;
  }

  std::vector<ErrorRecord> errors_;
};

}  // namespace

struct ReplacementHost::Impl {
  void* library = nullptr;
  GetClassNamesFn getClassNames = nullptr;
  GetClassObjectFn getClassObject = nullptr;
  DestroyObjectFn destroyObject = nullptr;
  TrackingMemoryManager memory;
  ScriptedMsgBox box;
  RecordingCallbacks callbacks{box};
  long lastCreateAnswer = 0;
  bool lastCreateLeftPointer = true;

  void Fill(tVariant& v, const HostValue& value);
  HostValue Take(tVariant& v);  // reads the value and frees its host block
};

struct Component::Impl {
  ReplacementHost::Impl* host = nullptr;
  IComponentBase* component = nullptr;
  bool destroyed = false;

  IComponentBase& Live() const {
    if (destroyed) throw std::logic_error("the component was already destroyed");
    return *component;
  }
  std::optional<std::u16string> TakeName(const WCHAR_T* name) {
    if (name == nullptr) return std::nullopt;
    std::u16string text(name);
    host->memory.Release(const_cast<WCHAR_T*>(name));
    return text;
  }
  CallResult Call(long index, std::vector<HostValue>& params, bool function);
};

void ReplacementHost::Impl::Fill(tVariant& v, const HostValue& value) { FillVariant(v, value, memory); }

HostValue ReplacementHost::Impl::Take(tVariant& v) { return TakeVariant(v, memory); }

ReplacementHost::ReplacementHost(const std::string& libraryPath) : impl_(std::make_unique<Impl>()) {
  impl_->library = dlopen(libraryPath.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (impl_->library == nullptr) throw std::runtime_error(std::string("cannot load: ") + dlerror());
  auto find = [&](const char* name) {
    void* symbol = dlsym(impl_->library, name);
    if (symbol == nullptr) {
      dlclose(impl_->library);
      throw std::runtime_error(std::string("missing export ") + name);
    }
    return symbol;
  };
  impl_->getClassNames = reinterpret_cast<GetClassNamesFn>(find("GetClassNames"));
  impl_->getClassObject = reinterpret_cast<GetClassObjectFn>(find("GetClassObject"));
  impl_->destroyObject = reinterpret_cast<DestroyObjectFn>(find("DestroyObject"));
}

ReplacementHost::~ReplacementHost() { dlclose(impl_->library); }

std::u16string ReplacementHost::ClassNamesText() {
  const WCHAR_T* names = impl_->getClassNames();
  if (names == nullptr) throw std::runtime_error("GetClassNames returned null");
  return names;
}

std::unique_ptr<Component> ReplacementHost::Create(std::u16string_view className) {
  std::u16string name(className);
  auto* const sentinel = reinterpret_cast<IComponentBase*>(&impl_->lastCreateAnswer);
  IComponentBase* component = sentinel;
  impl_->lastCreateAnswer = impl_->getClassObject(name.c_str(), &component);
  impl_->lastCreateLeftPointer = component == sentinel;
  if (impl_->lastCreateAnswer != 1 || component == sentinel || component == nullptr) return nullptr;
  auto impl = std::make_unique<Component::Impl>();
  impl->host = impl_.get();
  impl->component = component;
  return std::make_unique<Component>(std::move(impl));
}

long ReplacementHost::LastCreateAnswer() const { return impl_->lastCreateAnswer; }
bool ReplacementHost::LastCreateLeftPointer() const { return impl_->lastCreateLeftPointer; }
MemoryReport ReplacementHost::Memory() const { return impl_->memory.report_; }
void ReplacementHost::RefuseAllocations(bool refuse) { impl_->memory.refusals_.RefuseAll(refuse); }
void ReplacementHost::RefuseAllocationNumber(std::size_t n) { impl_->memory.refusals_.RefuseNumber(n); }
const std::vector<ErrorRecord>& ReplacementHost::Errors() const { return impl_->callbacks.errors_; }
void ReplacementHost::ClearErrors() { impl_->callbacks.errors_.clear(); }
void ReplacementHost::ScriptAnswers(std::initializer_list<MsgBoxAnswer> answers) {
  impl_->box.script_.insert(impl_->box.script_.end(), answers.begin(), answers.end());
}
void ReplacementHost::SetDefaultAnswer(MsgBoxAnswer answer) { impl_->box.defaultAnswer_ = answer; }
void ReplacementHost::SetAnswerer(Answerer answerer) { impl_->box.answerer_ = std::move(answerer); }
const std::vector<std::u16string>& ReplacementHost::Questions() const { return impl_->box.questions_; }

Component::Component(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}

Component::~Component() {
  if (!impl_->destroyed) Destroy();
}

bool Component::SetMemManager() { return impl_->Live().setMemManager(&impl_->host->memory); }
bool Component::Init() {
  return impl_->Live().Init(static_cast<IAddInDefBaseEx*>(&impl_->host->callbacks));
}
long Component::GetInfo() { return impl_->Live().GetInfo(); }
void Component::Done() { impl_->Live().Done(); }
void Component::SetLocale(std::u16string_view locale) {
  std::u16string text(locale);
  static_cast<LocaleBase&>(impl_->Live()).SetLocale(text.c_str());
}

bool Component::RegisterExtensionAs(std::optional<std::u16string>& name) {
  WCHAR_T* text = reinterpret_cast<WCHAR_T*>(&impl_);  // must be overwritten
  bool result = impl_->Live().RegisterExtensionAs(&text);
  if (text == reinterpret_cast<WCHAR_T*>(&impl_)) throw std::runtime_error("RegisterExtensionAs left its out-pointer unset");
  name = impl_->TakeName(text);
  return result;
}

long Component::GetNProps() { return impl_->Live().GetNProps(); }
long Component::FindProp(std::u16string_view name) {
  std::u16string text(name);
  return impl_->Live().FindProp(text.c_str());
}
std::optional<std::u16string> Component::GetPropName(long index, long alias) {
  return impl_->TakeName(impl_->Live().GetPropName(index, alias));
}
CallResult Component::GetPropVal(long index) {
  tVariant v{};
  CallResult result;
  result.ok = impl_->Live().GetPropVal(index, &v);
  result.value = impl_->host->Take(v);
  return result;
}
bool Component::SetPropVal(long index, const HostValue& value) {
  tVariant v;
  impl_->host->Fill(v, value);
  bool ok = impl_->Live().SetPropVal(index, &v);
  impl_->host->Take(v);
  return ok;
}
bool Component::IsPropReadable(long index) { return impl_->Live().IsPropReadable(index); }
bool Component::IsPropWritable(long index) { return impl_->Live().IsPropWritable(index); }
long Component::GetNMethods() { return impl_->Live().GetNMethods(); }
long Component::FindMethod(std::u16string_view name) {
  std::u16string text(name);
  return impl_->Live().FindMethod(text.c_str());
}
std::optional<std::u16string> Component::GetMethodName(long index, long alias) {
  return impl_->TakeName(impl_->Live().GetMethodName(index, alias));
}
long Component::GetNParams(long index) { return impl_->Live().GetNParams(index); }
CallResult Component::GetParamDefValue(long method, long param) {
  tVariant v{};
  CallResult result;
  result.ok = impl_->Live().GetParamDefValue(method, param, &v);
  // A default value belongs to the component: it is read, never freed.
  if (result.ok) {
    tVariant copy = v;
    if (copy.vt == VTYPE_PWSTR && copy.vtRecWideString.pwstrVal != nullptr)
      result.value = HostValue(std::u16string(copy.vtRecWideString.pwstrVal));
    else if (copy.vt != VTYPE_PSTR && copy.vt != VTYPE_BLOB && copy.vt != VTYPE_PWSTR)
      result.value = impl_->host->Take(copy);
  }
  return result;
}
bool Component::HasRetVal(long index) { return impl_->Live().HasRetVal(index); }

CallResult Component::Impl::Call(long index, std::vector<HostValue>& params, bool function) {
  std::vector<tVariant> block(params.size());
  for (std::size_t i = 0; i < params.size(); ++i) host->Fill(block[i], params[i]);
  tVariant ret{};
  CallResult result;
  tVariant* first = block.empty() ? nullptr : block.data();
  long count = static_cast<long>(block.size());
  result.ok = function ? Live().CallAsFunc(index, &ret, first, count)
                       : Live().CallAsProc(index, first, count);
  result.value = host->Take(ret);
  for (std::size_t i = 0; i < params.size(); ++i) params[i] = host->Take(block[i]);
  return result;
}

CallResult Component::CallAsProc(long index, std::vector<HostValue>& params) {
  return impl_->Call(index, params, false);
}
CallResult Component::CallAsFunc(long index, std::vector<HostValue>& params) {
  return impl_->Call(index, params, true);
}

long Component::Destroy() {
  impl_->Live();
  impl_->destroyed = true;
  IComponentBase* component = impl_->component;
  return impl_->host->destroyObject(&component);
}

void Component::DeleteThroughInterface(int which) {
  IComponentBase* component = &impl_->Live();
  impl_->destroyed = true;
  switch (which) {
    case 0: delete static_cast<IInitDoneBase*>(component); break;
    case 1: delete static_cast<ILanguageExtenderBase*>(component); break;
    default: delete static_cast<LocaleBase*>(component); break;
  }
}

bool Component::Destroyed() const { return impl_->destroyed; }
const void* Component::Block() const { return impl_->component; }
std::uintptr_t Component::BlockWord(int index) const {
  return reinterpret_cast<const std::uintptr_t*>(impl_->component)[index];
}

}  // namespace qarvex::nativehost
