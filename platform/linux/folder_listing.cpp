#include "platform/folder_listing.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/linux/system_error.h"

namespace qarvex::platform {

std::vector<FolderEntry> ListFolder(WStringView folder) {
  std::vector<FolderEntry> entries;
  const std::string native = linux_impl::NativePath(folder);
  DIR* dir = ::opendir(native.empty() ? "." : native.c_str());
  if (dir == nullptr) return entries;
  while (const dirent* entry = ::readdir(dir)) {
    if (std::strcmp(entry->d_name, ".") == 0 || std::strcmp(entry->d_name, "..") == 0) continue;
    struct stat info {};
    const bool isFolder = ::fstatat(::dirfd(dir), entry->d_name, &info, 0) == 0 && S_ISDIR(info.st_mode);
    entries.push_back(FolderEntry{FromUtf8(entry->d_name), isFolder});
  }
  ::closedir(dir);
  return entries;
}

bool TryGetLastWriteTime(WStringView path, std::int64_t& stamp) {
  struct stat info {};
  if (::stat(linux_impl::NativePath(path).c_str(), &info) != 0 || S_ISDIR(info.st_mode)) return false;
  stamp = static_cast<std::int64_t>(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec;
  return true;
}

std::string ReadWholeFile(WStringView path) {
  const int fd = ::open(linux_impl::NativePath(path).c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) linux_impl::ThrowSystemError("Cannot open file", path, errno);
  std::string bytes;
  char buffer[65536];
  for (;;) {
    const ssize_t got = ::read(fd, buffer, sizeof buffer);
    if (got == 0) break;
    if (got < 0) {
      if (errno == EINTR) continue;
      const int error = errno;
      ::close(fd);
      linux_impl::ThrowSystemError("Cannot read file", path, error);
    }
    bytes.append(buffer, static_cast<std::size_t>(got));
  }
  ::close(fd);
  return bytes;
}

}  // namespace qarvex::platform
