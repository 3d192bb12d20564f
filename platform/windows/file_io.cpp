#include "platform/file_io.h"

#include <windows.h>

#include "platform/windows/shared_append.h"
#include "platform/windows/win_system.h"

namespace qarvex::platform {
namespace windows_impl {
namespace {

// Closes the handle on every path out of a routine.
class FileHandle {
 public:
  explicit FileHandle(HANDLE h) : h_(h) {}
  ~FileHandle() { if (h_ != INVALID_HANDLE_VALUE) ::CloseHandle(h_); }
  FileHandle(const FileHandle&) = delete;
  FileHandle& operator=(const FileHandle&) = delete;
  HANDLE get() const { return h_; }
  HANDLE release() { HANDLE h = h_; h_ = INVALID_HANDLE_VALUE; return h; }

 private:
  HANDLE h_;
};

// Opens for reading and writing, creating the file when missing (`disposition`
// OPEN_ALWAYS or CREATE_ALWAYS); others may only read meanwhile. Sharing
// violations are retried for up to `retryMilliseconds` with a short,
// growing pause. A missing folder gives INVALID_HANDLE_VALUE when
// `missingFolderIsError` is false.
HANDLE OpenShared(const std::wstring& name, DWORD disposition, WStringView path, DWORD retryMilliseconds,
                  bool missingFolderIsError = true) {
  const ULONGLONG start = ::GetTickCount64();
  DWORD pause = 1;
  for (;;) {
    HANDLE h = ::CreateFileW(name.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr, disposition,
                             FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h != INVALID_HANDLE_VALUE) return h;
    const DWORD error = ::GetLastError();
    if (error == ERROR_PATH_NOT_FOUND && !missingFolderIsError) return INVALID_HANDLE_VALUE;
    if (error != ERROR_SHARING_VIOLATION || ::GetTickCount64() - start >= retryMilliseconds)
      ThrowSystemError("Cannot open file", path, error);
    ::Sleep(pause);
    if (pause < 16) pause *= 2;
  }
}

void WriteAll(HANDLE h, std::string_view bytes, WStringView path) {
  while (!bytes.empty()) {
    const DWORD chunk = bytes.size() > 0x40000000 ? 0x40000000 : static_cast<DWORD>(bytes.size());
    DWORD written = 0;
    if (!::WriteFile(h, bytes.data(), chunk, &written, nullptr)) ThrowSystemError("Cannot write file", path, ::GetLastError());
    if (written == 0) ThrowSystemError("Cannot write file", path, ERROR_DISK_FULL);
    bytes.remove_prefix(written);
  }
}

void CloseChecked(FileHandle& file, WStringView path) {
  if (!::CloseHandle(file.release())) ThrowSystemError("Cannot write file", path, ::GetLastError());
}

}  // namespace

bool AppendToFileWithin(WStringView path, std::string_view bytes, DWORD retryMilliseconds,
                        bool missingFolderIsError) {
  FileHandle file(OpenShared(Wide(path), OPEN_ALWAYS, path, retryMilliseconds, missingFolderIsError));
  if (file.get() == INVALID_HANDLE_VALUE) return false;
  LARGE_INTEGER zero{};
  if (!::SetFilePointerEx(file.get(), zero, nullptr, FILE_END)) ThrowSystemError("Cannot write file", path, ::GetLastError());
  WriteAll(file.get(), bytes, path);
  CloseChecked(file, path);
  return true;
}

}  // namespace windows_impl

// No other writer can have the file open while this one appends, so the
// line lands whole at the end of the file.
void AppendToFile(WStringView path, std::string_view bytes) {
  windows_impl::AppendToFileWithin(path, bytes, windows_impl::kSharingRetryMilliseconds);
}

// The UTF-16 path is the system's own form: nothing to convert.
SystemFileName::SystemFileName(WStringView path) : path_(path) {}

bool AppendToFileIfFolderExists(const SystemFileName& file, std::string_view bytes) {
  return windows_impl::AppendToFileWithin(file.path(), bytes, windows_impl::kSharingRetryMilliseconds, false);
}

void WriteWholeFile(WStringView path, std::string_view bytes) {
  using namespace windows_impl;
  FileHandle file(OpenShared(Wide(path), CREATE_ALWAYS, path, kSharingRetryMilliseconds));
  WriteAll(file.get(), bytes, path);
  CloseChecked(file, path);
}

bool FileExists(WStringView path) {
  const DWORD attributes = ::GetFileAttributesW(windows_impl::Wide(path).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace qarvex::platform
