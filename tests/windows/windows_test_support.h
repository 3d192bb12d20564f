// Helpers of the Windows tests: a temporary folder under the system's
// temporary path (inside the wine prefix when run under wine), and the
// folder's DACL read back.
#pragma once

#include <windows.h>
#include <aclapi.h>
#include <shlobj.h>
// windows.h's A/W macros would rename the replacement host's methods.
#undef GetProp
#undef SetProp

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/text.h"

namespace qarvex::testing {

inline std::wstring W(const WString& text) { return std::wstring(text.begin(), text.end()); }
inline WString U(const std::wstring& text) { return WString(text.begin(), text.end()); }

// The whole file, read while others may still write it; "<cannot open>"
// when it cannot be opened.
inline std::string ReadSharedFile(const std::wstring& path) {
  HANDLE h = ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                           0, nullptr);
  if (h == INVALID_HANDLE_VALUE) return "<cannot open>";
  std::string text;
  char buffer[4096];
  DWORD read = 0;
  while (::ReadFile(h, buffer, sizeof buffer, &read, nullptr) && read > 0) text.append(buffer, read);
  ::CloseHandle(h);
  return text;
}

class WindowsTempFolder {
 public:
  WindowsTempFolder() {
    wchar_t base[MAX_PATH + 1] = {};
    ::GetTempPathW(MAX_PATH, base);
    wchar_t name[MAX_PATH + 1] = {};
    ::GetTempFileNameW(base, L"qvx", 0, name);  // creates a file: replaced by a folder
    ::DeleteFileW(name);
    ::CreateDirectoryW(name, nullptr);
    path_ = name;
  }
  ~WindowsTempFolder() { RemoveTree(path_); }
  WindowsTempFolder(const WindowsTempFolder&) = delete;
  WindowsTempFolder& operator=(const WindowsTempFolder&) = delete;

  // The folder with a trailing delimiter, as UTF-16.
  WString Path() const { return U(path_) + u"\\"; }
  WString operator/(const char16_t* name) const { return Path() + name; }

 private:
  static void RemoveTree(const std::wstring& folder) {
    WIN32_FIND_DATAW entry;
    HANDLE find = ::FindFirstFileW((folder + L"\\*").c_str(), &entry);
    if (find != INVALID_HANDLE_VALUE) {
      do {
        const std::wstring name = entry.cFileName;
        if (name == L"." || name == L"..") continue;
        const std::wstring full = folder + L"\\" + name;
        if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) RemoveTree(full);
        else ::DeleteFileW(full.c_str());
      } while (::FindNextFileW(find, &entry));
      ::FindClose(find);
    }
    ::RemoveDirectoryW(folder.c_str());
  }
  std::wstring path_;
};

// One entry of a DACL: kind, flags, mask and whether its SID is Everyone.
struct AceSummary {
  BYTE type = 0;
  BYTE flags = 0;
  ACCESS_MASK mask = 0;
  bool everyone = false;
};

// Everyone may read, write and delete through an inheritable allowed entry:
// GENERIC_ALL as written, or the file rights it maps to (wine keeps a
// folder's rights as Unix mode bits and reads them back as file rights).
inline bool EveryoneHasInheritableFullAccess(const std::vector<AceSummary>& dacl) {
  constexpr ACCESS_MASK kFull = FILE_GENERIC_READ | FILE_GENERIC_WRITE | FILE_GENERIC_EXECUTE;
  constexpr BYTE kInheritedByAll = OBJECT_INHERIT_ACE | CONTAINER_INHERIT_ACE;
  for (const AceSummary& e : dacl) {
    if (!e.everyone || e.type != ACCESS_ALLOWED_ACE_TYPE) continue;
    if ((e.flags & kInheritedByAll) != kInheritedByAll) continue;
    if ((e.mask & GENERIC_ALL) || (e.mask & kFull) == kFull) return true;
  }
  return false;
}

inline std::vector<AceSummary> ReadDacl(const WString& folder) {
  std::vector<AceSummary> entries;
  PACL dacl = nullptr;
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  const DWORD rc = ::GetNamedSecurityInfoW(W(folder).c_str(), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr,
                                           nullptr, &dacl, nullptr, &descriptor);
  if (rc != ERROR_SUCCESS) {
    ADD_FAILURE() << "GetNamedSecurityInfoW failed with " << rc;
    return entries;
  }
  SID_IDENTIFIER_AUTHORITY world = SECURITY_WORLD_SID_AUTHORITY;
  PSID everyone = nullptr;
  ::AllocateAndInitializeSid(&world, 1, SECURITY_WORLD_RID, 0, 0, 0, 0, 0, 0, 0, &everyone);
  for (DWORD i = 0; dacl && i < dacl->AceCount; ++i) {
    void* raw = nullptr;
    if (!::GetAce(dacl, i, &raw)) continue;
    const auto* ace = static_cast<ACCESS_ALLOWED_ACE*>(raw);
    entries.push_back({ace->Header.AceType, ace->Header.AceFlags, ace->Mask,
                       ::EqualSid(const_cast<DWORD*>(&ace->SidStart), everyone) != FALSE});
  }
  ::FreeSid(everyone);
  ::LocalFree(descriptor);
  return entries;
}

}  // namespace qarvex::testing
