// Prints a host session with the component the way a cashier's log would
// show it: each call with its parameters, the questions the component put,
// the return value, the out-parameters, the last error of a failed call and
// every slip. Also keeps the tally of expectations the session checks.
//
// Ownership: borrows the component and the host; both must outlive the
// calls made through it. Threading: one thread.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "tools/host/replacement_host.h"

namespace qarvex::cashier {

class SessionPrinter {
 public:
  void SetComponent(nativehost::Component* component, nativehost::ReplacementHost* host);

  void Heading(const std::string& text);
  void Note(const std::string& text);
  // A slip or report, line by line, indented.
  void Slip(std::u16string_view text);

  // Writes a property by its host name and reads it back.
  void SetProperty(std::u16string_view name, const nativehost::HostValue& value);
  // Calls a method by its host name; `roles` name the parameters in order.
  // Prints the call and its outcome; `expected` is the return value the day
  // expects (a failure is followed by the last error).
  void Call(std::u16string_view name, std::vector<nativehost::HostValue>& params,
            std::initializer_list<std::u16string_view> roles, bool expected);
  // A card method (seven parameters); the slip is printed as a block.
  void CardCall(std::u16string_view name, std::vector<nativehost::HostValue>& params, bool expected);

  // Records one expectation of the day and prints it when it does not hold.
  void Expect(bool holds, const std::string& what);
  // Prints the tally; 0 when every expectation held, 1 otherwise.
  int Summary() const;

 private:
  void CallWithRoles(std::u16string_view name, std::vector<nativehost::HostValue>& params,
                     const std::vector<std::u16string_view>& roles, bool expected);
  void PrintParams(const std::vector<nativehost::HostValue>& params, const std::vector<std::u16string_view>& roles,
                   std::u16string_view skipRole);
  void PrintNewQuestions();
  std::u16string LastError();

  nativehost::Component* component_ = nullptr;
  nativehost::ReplacementHost* host_ = nullptr;
  std::size_t questionsShown_ = 0;
  int checks_ = 0;
  int failures_ = 0;
};

}  // namespace qarvex::cashier
