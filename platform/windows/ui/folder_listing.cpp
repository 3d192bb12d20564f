#include "platform/folder_listing.h"

#include <windows.h>

#include "platform/windows/win_system.h"

namespace qarvex::platform {

using windows_impl::Wide;

std::vector<FolderEntry> ListFolder(WStringView folder) {
  std::vector<FolderEntry> entries;
  WIN32_FIND_DATAW found{};
  HANDLE search = ::FindFirstFileW(Wide(WString(folder) + u"*.*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return entries;
  do {
    const std::wstring_view name(found.cFileName);
    if (name == L"." || name == L"..") continue;
    entries.push_back(FolderEntry{windows_impl::FromWide(found.cFileName),
                                  (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0});
  } while (::FindNextFileW(search, &found));
  ::FindClose(search);
  return entries;
}

bool TryGetLastWriteTime(WStringView path, std::int64_t& stamp) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!::GetFileAttributesExW(Wide(path).c_str(), GetFileExInfoStandard, &data)) return false;
  if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return false;
  stamp = static_cast<std::int64_t>((static_cast<std::uint64_t>(data.ftLastWriteTime.dwHighDateTime) << 32) |
                                    data.ftLastWriteTime.dwLowDateTime);
  return true;
}

std::string ReadWholeFile(WStringView path) {
  // Others may go on writing and even renaming or deleting the file.
  HANDLE file = ::CreateFileW(Wide(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) windows_impl::ThrowSystemError("Cannot open file", path, ::GetLastError());
  std::string bytes;
  char buffer[65536];
  for (;;) {
    DWORD got = 0;
    if (!::ReadFile(file, buffer, sizeof buffer, &got, nullptr)) {
      const DWORD error = ::GetLastError();
      ::CloseHandle(file);
      windows_impl::ThrowSystemError("Cannot read file", path, error);
    }
    if (got == 0) break;
    bytes.append(buffer, got);
  }
  ::CloseHandle(file);
  return bytes;
}

}  // namespace qarvex::platform
