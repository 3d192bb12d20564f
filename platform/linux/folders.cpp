#include "platform/folders.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "common/error.h"
#include "platform/linux/system_error.h"

namespace qarvex::platform {
namespace {

using linux_impl::NativePath;

constexpr char16_t kDelimiter = u'/';

WString EnvironmentPath(const char* name) {
  const char* value = std::getenv(name);
  return value ? FromUtf8(value) : WString();
}

// The first absolute entry of $XDG_DATA_DIRS; relative entries are invalid
// there and skipped.
WString MachineDataFolder() {
  const WString dirs = EnvironmentPath("XDG_DATA_DIRS");
  size_t start = 0;
  while (start <= dirs.size()) {
    size_t end = dirs.find(u':', start);
    if (end == WString::npos) end = dirs.size();
    const WStringView entry = WStringView(dirs).substr(start, end - start);
    if (!entry.empty() && entry.front() == kDelimiter) return WString(entry);
    start = end + 1;
  }
  return u"/usr/local/share";
}

WString UserDataFolder() {
  const WString dataHome = EnvironmentPath("XDG_DATA_HOME");
  if (!dataHome.empty() && dataHome.front() == kDelimiter) return dataHome;
  const WString home = EnvironmentPath("HOME");
  if (home.empty()) return {};
  return IncludeTrailingDelimiter(home) + u".local/share";
}

// The effective user may create entries in the folder.
bool Writable(WStringView folder) {
  return ::faccessat(AT_FDCWD, NativePath(folder).c_str(), W_OK | X_OK, AT_EACCESS) == 0;
}

// The machine-wide folder is usable for `subFolder` when the sub-folder is
// there and writable, or is missing and could be created. The sub-folder
// itself is not created here, so that its creator can tell a new folder
// from an existing one.
bool UsableFor(const WString& base, WStringView subFolder) {
  if (subFolder.empty()) return ForceDirectories(base);
  // The usual case first: the log asks for every line.
  const WString sub = base + WString(subFolder);
  if (DirectoryExists(sub)) return Writable(sub);
  if (!ForceDirectories(base)) return false;
  struct stat info {};
  // Another process starting at the same moment may have created it since.
  if (::stat(NativePath(sub).c_str(), &info) == 0) return S_ISDIR(info.st_mode) && Writable(sub);
  return Writable(base);
}

}  // namespace

char16_t PathDelimiter() { return kDelimiter; }

WString IncludeTrailingDelimiter(WStringView path) {
  WString result(path);
  if (result.empty() || result.back() != kDelimiter) result += kDelimiter;
  return result;
}

WString CommonAppDataFolder(WStringView subFolder) {
  const WString machine = IncludeTrailingDelimiter(MachineDataFolder());
  if (UsableFor(machine, subFolder)) return machine;
  const WString user = UserDataFolder();
  if (!user.empty()) {
    const WString folder = IncludeTrailingDelimiter(user);
    if (ForceDirectories(folder)) return folder;
  }
  throw Failure("Neither the machine-wide data folder \"" + NativePath(machine) +
                "\" nor the user's data folder \"" + NativePath(user) + "\" can be used");
}

bool DirectoryExists(WStringView path) {
  struct stat info {};
  return !path.empty() && ::stat(NativePath(path).c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

WString ExpandPath(WStringView path) {
  if (path.empty()) throw Failure("The path is empty");
  if (path.find(u'\0') != WStringView::npos)
    throw Failure("The path \"" + NativePath(path) + "\" contains a NUL character");
  if (path.front() == kDelimiter) return WString(path);
  std::error_code error;
  const std::filesystem::path current = std::filesystem::current_path(error);
  if (error) linux_impl::ThrowSystemError("Cannot make the path absolute", path, error.value());
  return IncludeTrailingDelimiter(FromUtf8(current.native())) + WString(path);
}

bool ForceDirectories(WStringView path) {
  if (path.empty()) return false;
  std::error_code error;
  std::filesystem::create_directories(std::filesystem::path(NativePath(path)), error);
  return !error && DirectoryExists(path);
}

WString ExtractFileName(WStringView path) {
  const size_t slash = path.rfind(kDelimiter);
  return WString(slash == WStringView::npos ? path : path.substr(slash + 1));
}

WString ExtractFilePath(WStringView path) {
  const size_t slash = path.rfind(kDelimiter);
  return slash == WStringView::npos ? WString() : WString(path.substr(0, slash + 1));
}

}  // namespace qarvex::platform
