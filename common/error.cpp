#include "common/error.h"

namespace qarvex {

WString MessageOf(const std::exception& e) {
  const char* what = e.what();
  if (what == nullptr || *what == '\0') return kNoMessageText;
  return FromUtf8(what);
}

WString MessageOfCurrentException() {
  try {
    throw;
  } catch (const std::exception& e) {
    return MessageOf(e);
  } catch (...) {
    return kNoMessageText;
  }
}

}  // namespace qarvex
