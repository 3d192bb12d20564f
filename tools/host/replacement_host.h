// The replacement host: loads the component library the way the 1C platform
// does and drives it through the Native API, so end-to-end tests and the
// command-line host can run the component without the platform.
//
// This header knows nothing of how the platform lays out its interfaces; one
// implementation per target provides it (Linux: replacement_host_linux.cpp,
// with the interfaces declared as ordinary C++ classes).
//
// Memory: the host's memory manager tracks every block it hands out. A free
// of a pointer it never gave out, a second free of a block and a block still
// live when checked are recorded as faults (Memory()). Values that come back
// from the component (names, results, out-parameters) are read into C++
// values and their host blocks freed at once, as the platform does.
//
// Threading: one thread at a time. Ownership: a Component must be destroyed
// before its ReplacementHost.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "tools/host/host_value.h"

namespace qarvex::nativehost {

// One AddError call the component made.
struct ErrorRecord {
  unsigned short code = 0;
  std::u16string source;
  std::u16string description;
  std::int64_t scode = 0;  // as the host's `long` received it, zero-extended
};

enum class MsgBoxAnswer { Yes, No, CannotShow };

struct MemoryReport {
  std::size_t allocations = 0;  // blocks handed out so far
  std::size_t frees = 0;        // blocks taken back so far
  std::size_t liveBlocks = 0;   // handed out and not taken back
  std::size_t requests = 0;     // AllocMemory requests the component made
  std::size_t refusals = 0;     // requests refused (see RefuseAllocations)
  std::vector<std::string> faults;  // foreign frees, double frees, null frees

  // No fault and no live block.
  bool Balanced() const { return faults.empty() && liveBlocks == 0; }
  std::string Describe() const;
};

// Result of a property read, a default-value query or a method call: the
// slot's Boolean answer and the value it left in the host's variant.
struct CallResult {
  bool ok = false;
  HostValue value;
};

// Which of the component's AllocMemory requests the host refuses; every
// target's memory manager asks it before granting one.
class AllocationRefusals {
 public:
  void RefuseAll(bool refuse) { all_ = refuse; }
  void RefuseNumber(std::size_t n) {
    refuseAt_ = n;
    seen_ = 0;
  }
  // Counts the request in `report` and tells whether to refuse it.
  bool Refuses(MemoryReport& report) {
    ++report.requests;
    ++seen_;
    const bool refuse = all_ || seen_ == refuseAt_;
    if (refuse) ++report.refusals;
    return refuse;
  }

 private:
  bool all_ = false;
  std::size_t refuseAt_ = 0;
  std::size_t seen_ = 0;
};

class Component;

class ReplacementHost {
 public:
  // Loads the library and finds its three exports. Throws std::runtime_error
  // with the loader's message when either fails.
  explicit ReplacementHost(const std::string& libraryPath);
  ~ReplacementHost();  // unloads the library
  ReplacementHost(const ReplacementHost&) = delete;
  ReplacementHost& operator=(const ReplacementHost&) = delete;

  // GetClassNames as returned, and split on "|".
  std::u16string ClassNamesText();
  std::vector<std::u16string> ClassNames();

  // GetClassObject: a component when it answered 1, else null. Either way
  // the raw answer and whether the out-pointer was left as it was are kept
  // in LastCreateAnswer / LastCreateLeftPointer.
  std::unique_ptr<Component> Create(std::u16string_view className);
  long LastCreateAnswer() const;
  bool LastCreateLeftPointer() const;

  // Memory manager.
  MemoryReport Memory() const;
  // While set, every AllocMemory answers false.
  void RefuseAllocations(bool refuse);
  // Only the n-th AllocMemory request from now answers false (1: the next
  // one), as a host that runs short once in the middle of a call; 0 refuses
  // none.
  void RefuseAllocationNumber(std::size_t n);

  // Callback interface: every AddError so far.
  const std::vector<ErrorRecord>& Errors() const;
  void ClearErrors();

  // Message box: answers are taken from the script in order; when the
  // script is used up, DefaultAnswer (initially CannotShow) is given.
  void ScriptAnswers(std::initializer_list<MsgBoxAnswer> answers);
  void SetDefaultAnswer(MsgBoxAnswer answer);
  // When set, asked for every question the script does not answer, in place
  // of the default answer (a command-line host puts it to a person). Called
  // on the host's thread inside the component's call; it must not call the
  // component. An empty function restores the default answer.
  using Answerer = std::function<MsgBoxAnswer(std::u16string_view question)>;
  void SetAnswerer(Answerer answerer);
  // Every question the component put (shown or not), in order.
  const std::vector<std::u16string>& Questions() const;

  struct Impl;

 private:
  std::unique_ptr<Impl> impl_;
};

// One component created by the host. Indices are passed to the component
// unchecked, so tests can probe out-of-range answers.
class Component {
 public:
  ~Component();  // DestroyObject, unless already destroyed
  Component(const Component&) = delete;
  Component& operator=(const Component&) = delete;

  // IInitDoneBase.
  bool SetMemManager();  // hands over the host's memory manager
  bool Init();           // hands over the host's callback interface
  long GetInfo();
  void Done();
  // setMemManager then Init; true when both answered true.
  bool Handshake();
  // LocaleBase.
  void SetLocale(std::u16string_view locale);

  // ILanguageExtenderBase. Names come back as text, or nullopt for null.
  bool RegisterExtensionAs(std::optional<std::u16string>& name);
  std::optional<std::u16string> ExtensionName();  // the name only
  long GetNProps();
  long FindProp(std::u16string_view name);
  std::optional<std::u16string> GetPropName(long index, long alias);
  CallResult GetPropVal(long index);
  bool SetPropVal(long index, const HostValue& value);
  bool IsPropReadable(long index);
  bool IsPropWritable(long index);
  long GetNMethods();
  long FindMethod(std::u16string_view name);
  std::optional<std::u16string> GetMethodName(long index, long alias);
  long GetNParams(long index);
  CallResult GetParamDefValue(long method, long param);
  bool HasRetVal(long index);
  // The parameters are passed in host variants (texts in host memory) and
  // read back afterwards, so `params` holds the out-values on return.
  CallResult CallAsProc(long index, std::vector<HostValue>& params);
  CallResult CallAsFunc(long index, std::vector<HostValue>& params);
  // FindMethod, then the call; throws std::runtime_error for an unknown name.
  CallResult CallFunc(std::u16string_view name, std::vector<HostValue>& params);
  CallResult CallProc(std::u16string_view name, std::vector<HostValue>& params);
  // FindProp, then the access; throws std::runtime_error for an unknown name.
  CallResult GetProp(std::u16string_view name);
  bool SetProp(std::u16string_view name, const HostValue& value);

  // Release: DestroyObject's answer; the component is gone afterwards.
  long Destroy();
  // Release as script engines do: `delete` through the interface with index
  // `which` (0 IInitDoneBase, 1 ILanguageExtenderBase, 2 LocaleBase).
  void DeleteThroughInterface(int which);
  bool Destroyed() const;

  // The block the host received, as pointer-size words (for layout checks).
  const void* Block() const;
  std::uintptr_t BlockWord(int index) const;

  struct Impl;
  explicit Component(std::unique_ptr<Impl> impl);

 private:
  std::unique_ptr<Impl> impl_;
};

}  // namespace qarvex::nativehost
