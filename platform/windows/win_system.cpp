#include "platform/windows/win_system.h"

#include "common/error.h"

namespace qarvex::platform::windows_impl {

std::string SystemErrorText(DWORD error) {
  wchar_t* buffer = nullptr;
  const DWORD length = ::FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error,
      0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
  WString text;
  if (length != 0 && buffer) text = TrimBlanksAndControls(FromWide(buffer, length));
  if (buffer) ::LocalFree(buffer);
  if (text.empty()) return "System error " + std::to_string(error);
  return ToUtf8(text);
}

void ThrowSystemError(std::string_view what, WStringView path, DWORD error) {
  std::string message(what);
  message += " \"";
  message += ToUtf8(path);
  message += "\": ";
  message += SystemErrorText(error);
  throw Failure(message);
}

void ThrowSystemError(std::string_view what, DWORD error) {
  throw Failure(std::string(what) + ": " + SystemErrorText(error));
}

HMODULE OwnModule() {
  static const HMODULE module = [] {
    HMODULE handle = nullptr;
    // Any address inside this module names it; the reference count is left
    // alone because the module cannot be unloaded while its code runs.
    ::GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                         reinterpret_cast<LPCWSTR>(&OwnModule), &handle);
    return handle;
  }();
  return module;
}

}  // namespace qarvex::platform::windows_impl
