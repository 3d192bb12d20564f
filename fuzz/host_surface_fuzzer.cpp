// libFuzzer target over everything a host can reach: the three exports, and
// every slot of the component's three interfaces, called in any order with
// indices in and out of range, 0 to 10 parameters of every variant type
// (flag bits in the type word, random contents, impossible broken-down
// times, unpaired surrogates, empty and very long texts, interfaces), with
// host memory that may be refused and a message box that may answer
// anything. The checking host (checking_host.h) ends the run on any misuse
// of host memory; the sanitizers on any fault of the component's own.
//
// The component is linked in (its main module and libraries), so its code is
// instrumented like the target's. Each input starts with empty data folders
// (journal and logs) under a temporary folder, so inputs replay alike.
#include <fuzzer/FuzzedDataProvider.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "fuzz/checking_host.h"

extern "C" {
const qarvex::fuzz::napi::WCHAR_T* GetClassNames();
long GetClassObject(const qarvex::fuzz::napi::WCHAR_T* name, qarvex::fuzz::napi::IComponentBase** component);
long DestroyObject(qarvex::fuzz::napi::IComponentBase** component);
}

namespace qarvex::fuzz {
namespace {

using napi::tVariant;
using napi::WCHAR_T;

constexpr int kMaxOperations = 48;
constexpr int kMaxParams = 10;

std::filesystem::path g_dataRoot;
CheckingMemory* g_memory = nullptr;
CheckingCallback* g_callback = nullptr;
std::vector<std::u16string> g_methodNames, g_propNames;
const bool g_trace = std::getenv("QARVEX_FUZZ_TRACE") != nullptr;  // each slot called, on stderr

// Text of up to `maxUnits` UTF-16 units: mostly readable, with Cyrillic,
// digits, separators, unpaired surrogates and embedded zeros mixed in.
std::u16string MakeText(FuzzedDataProvider& in, std::size_t maxUnits) {
  std::u16string text;
  const std::size_t length = in.ConsumeIntegralInRange<std::size_t>(0, maxUnits);
  static constexpr char16_t kAlphabet[] = u"0123456789.,-:; /\\\"'%*Оплата€abcXYZ \t\r\n";
  while (text.size() < length && in.remaining_bytes() > 0) {
    const std::uint8_t pick = in.ConsumeIntegral<std::uint8_t>();
    if (pick < 200) text += kAlphabet[pick % (sizeof kAlphabet / sizeof kAlphabet[0] - 1)];
    else if (pick < 215) text += static_cast<char16_t>(0xD800 + (pick & 0x3FF));  // lone high surrogate
    else if (pick < 230) text += static_cast<char16_t>(0xDC00 + pick);           // lone low surrogate
    else if (pick < 240) text += in.ConsumeIntegral<char16_t>();
    else text += u'\0';
  }
  return text;
}

// A long text made cheaply from a short one (texts of up to 200,000 units).
std::u16string MakeLongOrShortText(FuzzedDataProvider& in) {
  if (in.ConsumeIntegralInRange<int>(0, 15) != 0) return MakeText(in, 40);
  std::u16string seed = MakeText(in, 8);
  if (seed.empty()) seed = u"9";
  const std::size_t repeat = in.ConsumeIntegralInRange<std::size_t>(1, 200000 / seed.size());
  std::u16string text;
  text.reserve(seed.size() * repeat);
  for (std::size_t i = 0; i < repeat; ++i) text += seed;
  return text;
}

// A host block holding the text and its terminator; embedded zeros stay.
WCHAR_T* HostText(const std::u16string& text) {
  auto* block = static_cast<WCHAR_T*>(g_memory->Allocate((text.size() + 1) * 2));
  std::memcpy(block, text.c_str(), (text.size() + 1) * 2);
  return block;
}

std::u16string NameFor(FuzzedDataProvider& in, const std::vector<std::u16string>& known) {
  if (!known.empty() && in.ConsumeBool()) return known[in.ConsumeIntegralInRange<std::size_t>(0, known.size() - 1)];
  return MakeText(in, 24);
}

void FillVariant(FuzzedDataProvider& in, tVariant& v) {
  std::memset(&v, 0, sizeof v);
  static constexpr std::uint16_t kCodes[] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19,
                                             20, 21, 22, 23, 24, 0xFFF};
  std::uint16_t vt = kCodes[in.ConsumeIntegralInRange<std::size_t>(0, sizeof kCodes / sizeof kCodes[0] - 1)];
  const int flags = in.ConsumeIntegralInRange<int>(0, 9);
  if (flags == 0) vt |= 0x1000 << in.ConsumeIntegralInRange<int>(0, 3);  // a flag bit
  if (flags == 1) vt = in.ConsumeIntegral<std::uint16_t>();               // any type word
  v.vt = vt;
  if (in.ConsumeIntegralInRange<int>(0, 15) == 0) v.cbElements = in.ConsumeIntegral<std::uint32_t>();
  if (in.ConsumeIntegralInRange<int>(0, 31) == 0) {
    // The two bytes after the type word (the upper half of a 32-bit word).
    const std::uint16_t upper = in.ConsumeIntegral<std::uint16_t>();
    std::memcpy(reinterpret_cast<char*>(&v) + offsetof(tVariant, vt) + 2, &upper, 2);
  }
  switch (vt & 0xFFF) {
    case napi::VTYPE_PWSTR: {
      const std::u16string text = MakeLongOrShortText(in);
      v.vtRecWideString.pwstrVal = HostText(text);
      v.vtRecWideString.wstrLen = static_cast<std::uint32_t>(text.size());
      break;
    }
    case napi::VTYPE_PSTR:
    case napi::VTYPE_BLOB: {
      const std::string bytes = in.ConsumeRandomLengthString(64);
      auto* block = static_cast<char*>(g_memory->Allocate(bytes.size() + 1));
      std::memcpy(block, bytes.c_str(), bytes.size() + 1);
      v.vtRecString.pstrVal = block;
      v.vtRecString.strLen = static_cast<std::uint32_t>(bytes.size());
      break;
    }
    case napi::VTYPE_INTERFACE:
      if (in.ConsumeBool()) v.vtRecInterface.pInterfaceVal = FakeComObject::Make();
      break;
    case napi::VTYPE_TM: {
      // Ordinary times, impossible ones and the ends of the int range.
      int* fields[] = {&v.tmVal.tm_sec,  &v.tmVal.tm_min,  &v.tmVal.tm_hour, &v.tmVal.tm_mday, &v.tmVal.tm_mon,
                       &v.tmVal.tm_year, &v.tmVal.tm_wday, &v.tmVal.tm_yday, &v.tmVal.tm_isdst};
      static constexpr int kTypical[] = {0, 1, 11, 12, 23, 24, 28, 29, 30, 31, 32, 59, 60, 99, 100, 124, 200, 8099,
                                         8100, 65535, 65536, -1, -1900, 2147483647, -2147483647 - 1};
      for (int* field : fields)
        *field = in.ConsumeBool() ? kTypical[in.ConsumeIntegralInRange<std::size_t>(0, sizeof kTypical / sizeof(int) - 1)]
                                  : in.ConsumeIntegral<int>();
      break;
    }
    case napi::VTYPE_R8:
    case napi::VTYPE_DATE:
      v.dblVal = in.ConsumeBool() ? in.ConsumeFloatingPoint<double>() : in.ConsumeIntegral<int>() / 100.0;
      break;
    case 4:  // float
    {
      const float f = in.ConsumeFloatingPoint<float>();
      std::memcpy(&v, &f, sizeof f);
      break;
    }
    case 12:  // a pointer to a variant, and others the component has no business reading through
    case 13:
      break;
    default: {
      // Random contents of the value part.
      const std::vector<std::uint8_t> bytes = in.ConsumeBytes<std::uint8_t>(in.ConsumeIntegralInRange<std::size_t>(0, 16));
      if (!bytes.empty()) std::memcpy(&v, bytes.data(), bytes.size());
      break;
    }
  }
}

std::unique_ptr<tVariant[]> MakeParams(FuzzedDataProvider& in, long& count) {
  count = in.ConsumeIntegralInRange<long>(0, kMaxParams);
  if (count == 0 && in.ConsumeBool()) return nullptr;
  std::unique_ptr<tVariant[]> params(new tVariant[static_cast<std::size_t>(count)]);
  for (long i = 0; i < count; ++i) FillVariant(in, params[static_cast<std::size_t>(i)]);
  return params;
}

void TakeBackParams(tVariant* params, long count) {
  for (long i = 0; params != nullptr && i < count; ++i) TakeBack(params[i], *g_memory, "a parameter after the call");
}

// With QARVEX_FUZZ_TRACE set: the call, its answer and what each parameter
// holds afterwards (type word, block, whether the block is the host's).
void TraceCall(const char* slot, long method, const tVariant* params, long count, bool answered) {
  if (!g_trace) return;
  std::fprintf(stderr, "  %s(%ld, %ld parameters) = %d, live blocks %zu:", slot, method, count, answered,
               g_memory->LiveBlocks());
  for (long i = 0; params != nullptr && i < count; ++i) {
    const void* block = params[i].vtRecWideString.pwstrVal;
    std::fprintf(stderr, " [%u %p%s]", params[i].vt, block, g_memory->IsLive(block) ? " live" : "");
  }
  std::fprintf(stderr, "\n");
}

long IndexFor(FuzzedDataProvider& in, long count) {
  switch (in.ConsumeIntegralInRange<int>(0, 7)) {
    case 0: return in.ConsumeIntegral<long>();
    case 1: return -1;
    case 2: return count;
    default: return in.ConsumeIntegralInRange<long>(0, count > 0 ? count - 1 : 0);
  }
}

// One slot of one interface, chosen by the input.
void CallOneSlot(FuzzedDataProvider& in, napi::IComponentBase& c) {
  napi::IInitDoneBase& init = c;
  napi::ILanguageExtenderBase& language = c;
  napi::LocaleBase& locale = c;
  const long methods = static_cast<long>(g_methodNames.size()), props = static_cast<long>(g_propNames.size());
  const int slot = in.ConsumeIntegralInRange<int>(0, 25);
  if (g_trace) std::fprintf(stderr, "slot %d, live blocks %zu\n", slot, g_memory->LiveBlocks());
  switch (slot) {
    case 0: init.setMemManager(in.ConsumeIntegralInRange<int>(0, 7) != 0 ? g_memory : nullptr); break;
    case 1: init.Init(in.ConsumeIntegralInRange<int>(0, 7) != 0 ? static_cast<napi::IAddInDefBase*>(g_callback) : nullptr); break;
    case 2: init.GetInfo(); break;
    case 3: init.Done(); break;
    case 4: {
      const std::u16string text = MakeText(in, 12);
      locale.SetLocale(text.c_str());
      break;
    }
    case 5: {
      WCHAR_T* name = nullptr;
      language.RegisterExtensionAs(&name);
      TakeBackName(name, *g_memory, "RegisterExtensionAs");
      break;
    }
    case 6: language.GetNProps(); break;
    case 7: {
      const std::u16string name = NameFor(in, g_propNames);
      language.FindProp(name.c_str());
      break;
    }
    case 8: TakeBackName(language.GetPropName(IndexFor(in, props), in.ConsumeIntegralInRange<long>(-1, 2)), *g_memory, "GetPropName"); break;
    case 9: {
      tVariant value;
      FillVariant(in, value);
      language.GetPropVal(IndexFor(in, props), &value);
      TakeBack(value, *g_memory, "GetPropVal");
      break;
    }
    case 10: {
      tVariant value;
      FillVariant(in, value);
      language.SetPropVal(IndexFor(in, props), &value);
      TakeBack(value, *g_memory, "the value after SetPropVal");
      break;
    }
    case 11: language.IsPropReadable(IndexFor(in, props)); break;
    case 12: language.IsPropWritable(IndexFor(in, props)); break;
    case 13: language.GetNMethods(); break;
    case 14: {
      const std::u16string name = NameFor(in, g_methodNames);
      language.FindMethod(name.c_str());
      break;
    }
    case 15: TakeBackName(language.GetMethodName(IndexFor(in, methods), in.ConsumeIntegralInRange<long>(-1, 2)), *g_memory, "GetMethodName"); break;
    case 16: language.GetNParams(IndexFor(in, methods)); break;
    case 17: {
      tVariant value;
      FillVariant(in, value);
      language.GetParamDefValue(IndexFor(in, methods), in.ConsumeIntegralInRange<long>(-2, kMaxParams), &value);
      TakeBack(value, *g_memory, "GetParamDefValue");
      break;
    }
    case 18: language.HasRetVal(IndexFor(in, methods)); break;
    case 19:
    case 20:
    case 21: {
      const long method = IndexFor(in, methods);
      long count = 0;
      auto params = MakeParams(in, count);
      const bool answered = language.CallAsProc(method, params.get(), count);
      TraceCall("CallAsProc", method, params.get(), count, answered);
      TakeBackParams(params.get(), count);
      break;
    }
    case 22:
    case 23: {
      const long method = IndexFor(in, methods);
      long count = 0;
      auto params = MakeParams(in, count);
      tVariant result;
      FillVariant(in, result);
      const bool answered = language.CallAsFunc(method, &result, params.get(), count);
      TraceCall("CallAsFunc", method, params.get(), count, answered);
      TakeBack(result, *g_memory, "CallAsFunc's result");
      TakeBackParams(params.get(), count);
      break;
    }
    case 24: g_memory->refuse = in.ConsumeIntegralInRange<int>(0, 3) == 0; break;
    case 25:
      g_callback->box.mode = in.ConsumeIntegralInRange<int>(0, 4);
      g_callback->offerBox = in.ConsumeIntegralInRange<int>(0, 7) != 0;
      break;
  }
}

// The component's names, asked once (they are the same for every object).
void LearnNames() {
  napi::IComponentBase* c = nullptr;
  if (GetClassObject(u"qarvex_termemu", &c) != 1 || c == nullptr) return;
  c->setMemManager(g_memory);
  for (long i = 0; i < c->GetNMethods(); ++i)
    for (long alias : {0L, 1L}) {
      const WCHAR_T* name = c->GetMethodName(i, alias);
      if (name != nullptr) g_methodNames.emplace_back(name);
      if (g_trace && name != nullptr && alias == 0) {
        std::fprintf(stderr, "method %ld: ", i);
        for (const WCHAR_T* p = name; *p; ++p) std::fputc(static_cast<char>(*p), stderr);  // English names
        std::fprintf(stderr, "\n");
      }
      TakeBackName(name, *g_memory, "GetMethodName");
    }
  for (long i = 0; i < c->GetNProps(); ++i)
    for (long alias : {0L, 1L}) {
      const WCHAR_T* name = c->GetPropName(i, alias);
      if (name != nullptr) g_propNames.emplace_back(name);
      TakeBackName(name, *g_memory, "GetPropName");
    }
  DestroyObject(&c);
}

// Ends a component the way the input says: DestroyObject, or a delete
// through one of its interfaces as script engines do.
void Release(FuzzedDataProvider& in, napi::IComponentBase*& c) {
  switch (in.ConsumeIntegralInRange<int>(0, 5)) {
    case 0: delete static_cast<napi::IInitDoneBase*>(c); break;
    case 1: delete static_cast<napi::ILanguageExtenderBase*>(c); break;
    case 2: delete static_cast<napi::LocaleBase*>(c); break;
    default: DestroyObject(&c); break;
  }
  c = nullptr;
}

}  // namespace
}  // namespace qarvex::fuzz

using namespace qarvex::fuzz;

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  // Data folders of its own (on a memory file system where there is one:
  // the journal syncs its file on every write); no window system, so no
  // window can open and wait for a person.
  const std::filesystem::path base = std::filesystem::exists("/dev/shm") ? "/dev/shm" : std::filesystem::temp_directory_path();
  g_dataRoot = base / ("qarvex-fuzz-" + std::to_string(::getpid()));
  ::setenv("XDG_DATA_DIRS", (g_dataRoot / "machine").c_str(), 1);
  ::setenv("XDG_DATA_HOME", (g_dataRoot / "user").c_str(), 1);
  ::setenv("LC_ALL", "C", 1);
  ::unsetenv("DISPLAY");
  ::unsetenv("WAYLAND_DISPLAY");
  g_memory = new CheckingMemory;
  g_callback = new CheckingCallback;
  LearnNames();
  std::atexit([] {
    std::error_code ignored;
    std::filesystem::remove_all(g_dataRoot, ignored);
  });
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider in(data, size);
  std::error_code ignored;
  std::filesystem::remove_all(g_dataRoot, ignored);
  std::filesystem::create_directories(g_dataRoot / "machine", ignored);
  g_memory->refuse = false;
  g_callback->box.mode = 1;
  g_callback->offerBox = true;

  const WCHAR_T* names = GetClassNames();
  if (names == nullptr) Breach("GetClassNames answered null");
  napi::IComponentBase* components[2] = {nullptr, nullptr};
  for (int op = 0; op < kMaxOperations && in.remaining_bytes() > 0; ++op) {
    const int which = in.ConsumeIntegralInRange<int>(0, 1);
    napi::IComponentBase*& c = components[which];
    const int kind = in.ConsumeIntegralInRange<int>(0, 15);
    if (c == nullptr || kind == 0) {
      if (c != nullptr) Release(in, c);
      const std::u16string name = in.ConsumeIntegralInRange<int>(0, 7) != 0 ? std::u16string(u"qarvex_termemu")
                                                                            : MakeText(in, 16);
      napi::IComponentBase* created = nullptr;
      if (GetClassObject(name.c_str(), &created) == 1) {
        if (created == nullptr) Breach("GetClassObject answered 1 without a component");
        c = created;
      } else if (created != nullptr) {
        Breach("GetClassObject answered 0 but handed out a component");
      }
      continue;
    }
    CallOneSlot(in, *c);
  }
  for (napi::IComponentBase*& c : components)
    if (c != nullptr) Release(in, c);
  g_memory->refuse = false;
  if (g_memory->LiveBlocks() != 0)
    Breach(std::to_string(g_memory->LiveBlocks()) + " host block(s) still live after every component was released");
  return 0;
}
