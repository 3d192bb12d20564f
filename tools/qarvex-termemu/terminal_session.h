// One component of the loaded library, set up as the platform sets it up
// (memory manager, callbacks, locale, extension name, then the settings the
// command line gives) and called through the Native API only.
//
// Ownership: the session owns the host and the component; the answerer is
// borrowed and must outlive the session. Threading: one thread.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "tools/host/replacement_host.h"
#include "tools/qarvex-termemu/call_report.h"
#include "tools/qarvex-termemu/command_line.h"
#include "tools/qarvex-termemu/question_answerer.h"

namespace qarvex::cli {

struct MethodInfo {
  long index = -1;
  std::u16string englishName;
  std::u16string hostName;
  long parameterCount = 0;
  bool returnsValue = false;
};

class TerminalSession {
 public:
  // Loads the library (call.library, or the default one) and prepares the
  // component. Raises HostFailure when any step fails.
  TerminalSession(const Invocation& call, QuestionAnswerer& answerer);
  ~TerminalSession();
  TerminalSession(const TerminalSession&) = delete;
  TerminalSession& operator=(const TerminalSession&) = delete;

  // The method named so (either name); nullopt when there is none.
  std::optional<MethodInfo> FindMethod(std::u16string_view name);
  std::vector<MethodInfo> Methods();

  // The value passed for a parameter left out: the component's default
  // value for it, or an empty value when it has none.
  nativehost::HostValue DefaultValue(const MethodInfo& method, long parameter);

  // Calls the method with these parameters (read back afterwards), then
  // reads the last error. Raises HostFailure for an unknown method.
  CallReport Call(std::u16string_view name, std::vector<nativehost::HostValue> params);
  CallReport Call(const MethodInfo& method, std::vector<nativehost::HostValue> params);

  // "Подключить" / "Отключить" with the run's device identifier.
  CallReport Connect();
  CallReport Disconnect();

  // Reads a property by either name; empty when the read is refused.
  nativehost::HostValue Property(std::u16string_view name);

  // Ends the component (Done, DestroyObject) and reports the host memory's
  // books: a component that leaks or double-frees host blocks is a fault.
  nativehost::MemoryReport Finish();

  const std::string& LibraryPath() const { return libraryPath_; }

 private:
  void WriteSetting(std::u16string_view name, const nativehost::HostValue& value, const std::string& option);

  std::string libraryPath_;
  std::u16string device_;
  QuestionAnswerer& answerer_;
  std::unique_ptr<nativehost::ReplacementHost> host_;
  std::unique_ptr<nativehost::Component> component_;
};

}  // namespace qarvex::cli
