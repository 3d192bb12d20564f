#include "platform/linux/system_error.h"

#include <cstring>

#include "common/error.h"

namespace qarvex::platform::linux_impl {

std::string SystemErrorText(int error) {
  char buffer[256];
  // GNU strerror_r may return a static string instead of filling the buffer.
  const char* text = strerror_r(error, buffer, sizeof buffer);
  return text ? std::string(text) : std::string("error ") + std::to_string(error);
}

void ThrowSystemError(std::string_view what, WStringView path, int error) {
  std::string message(what);
  message += " \"";
  message += NativePath(path);
  message += "\": ";
  message += SystemErrorText(error);
  throw Failure(message);
}

}  // namespace qarvex::platform::linux_impl
