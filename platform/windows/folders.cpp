#include "platform/folders.h"

#include <windows.h>
#include <shlobj.h>

#include "common/error.h"
#include "platform/windows/win_system.h"

namespace qarvex::platform {
namespace {

using windows_impl::FromWide;
using windows_impl::Wide;

constexpr char16_t kDelimiter = u'\\';

bool IsDelimiter(char16_t c) { return c == u'\\' || c == u'/'; }

// A shell folder, created when missing; empty when the shell cannot supply it.
WString ShellFolder(int csidl) {
  wchar_t buffer[MAX_PATH + 1] = {};
  if (!::SHGetSpecialFolderPathW(nullptr, buffer, csidl, TRUE) || buffer[0] == 0) return {};
  return FromWide(buffer);
}

[[noreturn]] void ThrowBadPath(WStringView path, const char* reason) {
  throw Failure("The path \"" + ToUtf8(path) + "\" " + reason);
}

// Rejects what the file system would misread: characters no file name may
// hold, and a colon anywhere but after the drive letter (or inside the
// "\\?\" prefix).
void CheckPathCharacters(WStringView path) {
  WStringView rest = path;
  if (rest.substr(0, 4) == u"\\\\?\\") rest.remove_prefix(4);
  for (size_t i = 0; i < rest.size(); ++i) {
    const char16_t c = rest[i];
    if (c < 32 || c == u'<' || c == u'>' || c == u'"' || c == u'|' || c == u'?' || c == u'*')
      ThrowBadPath(path, "contains invalid characters");
    if (c == u':' && i != 1) ThrowBadPath(path, "has an unsupported format");
  }
}

}  // namespace

char16_t PathDelimiter() { return kDelimiter; }

WString IncludeTrailingDelimiter(WStringView path) {
  WString result(path);
  if (result.empty() || !IsDelimiter(result.back())) result += kDelimiter;
  return result;
}

// The Windows folders do not depend on the sub-folder: the machine-wide one
// is used whenever the shell supplies it.
WString CommonAppDataFolder(WStringView) {
  WString folder = ShellFolder(CSIDL_COMMON_APPDATA);
  if (folder.empty()) folder = ShellFolder(CSIDL_APPDATA);
  if (folder.empty()) throw Failure("Neither the common nor the user's application-data folder is available");
  return IncludeTrailingDelimiter(folder);
}

bool DirectoryExists(WStringView path) {
  if (path.empty()) return false;
  const DWORD attributes = ::GetFileAttributesW(Wide(path).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

WString ExpandPath(WStringView path) {
  if (path.empty()) ThrowBadPath(path, "is empty");
  CheckPathCharacters(path);
  const std::wstring name = Wide(path);
  const DWORD needed = ::GetFullPathNameW(name.c_str(), 0, nullptr, nullptr);
  if (needed == 0) windows_impl::ThrowSystemError("Cannot make the path absolute", path, ::GetLastError());
  std::wstring full(needed, L'\0');
  const DWORD length = ::GetFullPathNameW(name.c_str(), needed, full.data(), nullptr);
  if (length == 0 || length >= needed) windows_impl::ThrowSystemError("Cannot make the path absolute", path, ::GetLastError());
  full.resize(length);
  // A drive letter that names no drive.
  if (full.size() >= 3 && full[1] == L':' && IsDelimiter(static_cast<char16_t>(full[2]))) {
    const std::wstring root = full.substr(0, 3);
    if (::GetDriveTypeW(root.c_str()) == DRIVE_NO_ROOT_DIR) ThrowBadPath(path, "names a drive that does not exist");
  }
  return FromWide(full.data(), full.size());
}

bool ForceDirectories(WStringView path) {
  if (path.empty()) return false;
  WString folder(path);
  while (folder.size() > 1 && IsDelimiter(folder.back())) folder.pop_back();
  if (DirectoryExists(folder)) return true;
  const WString parent = ExtractFilePath(folder);
  // Stops at a root ("C:\", "\\server\share\") or a bare name.
  if (!parent.empty() && parent.size() < folder.size() && !DirectoryExists(parent)) {
    WString trimmed = parent;
    while (trimmed.size() > 1 && IsDelimiter(trimmed.back())) trimmed.pop_back();
    if (trimmed.size() < folder.size() && trimmed.back() != u':' && !ForceDirectories(trimmed)) return false;
  }
  // Another process may create it at the same moment.
  return ::CreateDirectoryW(Wide(folder).c_str(), nullptr) || DirectoryExists(folder);
}

WString ExtractFileName(WStringView path) {
  const size_t at = path.find_last_of(u"\\/:");
  return WString(at == WStringView::npos ? path : path.substr(at + 1));
}

WString ExtractFilePath(WStringView path) {
  const size_t at = path.find_last_of(u"\\/:");
  return at == WStringView::npos ? WString() : WString(path.substr(0, at + 1));
}

}  // namespace qarvex::platform
