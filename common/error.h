// Failures are exceptions carrying a message. The message is kept as UTF-8 in
// what(), so any std::exception can be reported the same way; it is turned
// back into UTF-16 only where it reaches the host or the log.
#pragma once

#include <exception>
#include <stdexcept>
#include <string>

#include "common/text.h"

namespace qarvex {

class Failure : public std::runtime_error {
 public:
  explicit Failure(const std::string& utf8Message) : std::runtime_error(utf8Message) {}
  explicit Failure(const char* utf8Message) : std::runtime_error(utf8Message) {}
  explicit Failure(WStringView message) : std::runtime_error(ToUtf8(message)) {}
};

// The message of a caught exception as UTF-16. An exception without a
// message text is described by kNoMessageText.
inline constexpr char16_t kNoMessageText[] = u"Unknown error";
WString MessageOf(const std::exception& e);
// For catch (...): the message of the exception in flight, or kNoMessageText.
WString MessageOfCurrentException();

}  // namespace qarvex
