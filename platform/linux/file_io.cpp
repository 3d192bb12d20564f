#include "platform/file_io.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "platform/linux/system_error.h"

namespace qarvex::platform {
namespace {

using linux_impl::NativePath;
using linux_impl::ThrowSystemError;

constexpr mode_t kEveryoneReadWrite = 0666;

// Closes the descriptor on every path out of a routine.
class FileDescriptor {
 public:
  explicit FileDescriptor(int fd) : fd_(fd) {}
  ~FileDescriptor() { if (fd_ >= 0) ::close(fd_); }
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;
  int get() const { return fd_; }
  int release() { const int fd = fd_; fd_ = -1; return fd; }

 private:
  int fd_;
};

// Opens the file with `flags`, creating it when missing; -1 when the folder
// it goes in does not exist. An existing file, the usual case, takes one
// open. A file this call creates is opened to every account whatever the
// process's umask; an existing file keeps its rights.
int OpenCreating(const std::string& name, int flags, WStringView path) {
  for (;;) {
    int fd = ::open(name.c_str(), flags | O_CLOEXEC);
    if (fd >= 0) return fd;
    if (errno == EINTR) continue;
    if (errno != ENOENT) ThrowSystemError("Cannot open file", path, errno);
    fd = ::open(name.c_str(), flags | O_CREAT | O_EXCL | O_CLOEXEC, kEveryoneReadWrite);
    if (fd >= 0) {
      ::fchmod(fd, kEveryoneReadWrite);  // best effort: the umask may have cut bits
      return fd;
    }
    if (errno == ENOENT) return -1;
    // EEXIST: another process created the file between the two opens.
    if (errno != EINTR && errno != EEXIST) ThrowSystemError("Cannot create file", path, errno);
  }
}

int OpenCreatingInExistingFolder(const std::string& name, int flags, WStringView path) {
  const int fd = OpenCreating(name, flags, path);
  if (fd < 0) ThrowSystemError("Cannot create file", path, ENOENT);
  return fd;
}

void WriteAll(int fd, std::string_view bytes, WStringView path) {
  while (!bytes.empty()) {
    const ssize_t written = ::write(fd, bytes.data(), bytes.size());
    if (written < 0) {
      if (errno == EINTR) continue;
      ThrowSystemError("Cannot write file", path, errno);
    }
    if (written == 0) ThrowSystemError("Cannot write file", path, ENOSPC);
    bytes.remove_prefix(static_cast<size_t>(written));
  }
}

}  // namespace

// O_APPEND makes the kernel position and write each call as one unit, so a
// line handed over in a single write() is never split by another process's
// line and nobody waits on or fails for anybody else's open file.
SystemFileName::SystemFileName(WStringView path) : path_(path), native_(NativePath(path)) {}

bool AppendToFileIfFolderExists(const SystemFileName& file, std::string_view bytes) {
  const WStringView path = file.path();
  const int opened = OpenCreating(file.native(), O_WRONLY | O_APPEND, path);
  if (opened < 0) return false;
  FileDescriptor fd(opened);
  WriteAll(fd.get(), bytes, path);
  // close() releases the descriptor whatever it returns; a delayed write
  // error (network file systems) is still a failed line.
  if (::close(fd.release()) != 0 && errno != EINTR) ThrowSystemError("Cannot write file", path, errno);
  return true;
}

void AppendToFile(WStringView path, std::string_view bytes) {
  if (!AppendToFileIfFolderExists(SystemFileName(path), bytes)) ThrowSystemError("Cannot create file", path, ENOENT);
}

void WriteWholeFile(WStringView path, std::string_view bytes) {
  FileDescriptor fd(OpenCreatingInExistingFolder(NativePath(path), O_WRONLY, path));
  if (::ftruncate(fd.get(), 0) != 0) ThrowSystemError("Cannot write file", path, errno);
  WriteAll(fd.get(), bytes, path);
}

bool FileExists(WStringView path) {
  struct stat info {};
  return ::stat(NativePath(path).c_str(), &info) == 0 && !S_ISDIR(info.st_mode);
}

}  // namespace qarvex::platform
