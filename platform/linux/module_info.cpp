#include "platform/module_info.h"

#include <dlfcn.h>
#include <fcntl.h>
#include <limits.h>
#include <stdlib.h>
#include <unistd.h>

#include <fstream>
#include <iterator>
#include <memory>
#include <string>

#include "platform/linux/system_error.h"
#include "platform/linux/version_stamp.h"

namespace qarvex::platform {
namespace {

std::string ResolvedPath(const char* name) {
  std::unique_ptr<char, decltype(&::free)> resolved(::realpath(name, nullptr), &::free);
  return resolved ? std::string(resolved.get()) : std::string();
}

}  // namespace

// The module holding the version stamp is the module holding this code.
WString ModuleFileName() {
  Dl_info info{};
  if (::dladdr(linux_impl::VersionStampAddress(), &info) != 0 && info.dli_fname && *info.dli_fname) {
    const std::string path = ResolvedPath(info.dli_fname);
    if (!path.empty()) return FromUtf8(path);
  }
  // The main program can be reported by the name it was started with;
  // the kernel knows its file.
  return FromUtf8(ResolvedPath("/proc/self/exe"));
}

// An ELF module is asked for its stamp section alone; any other file is
// searched through (the stamp may sit anywhere in it).
FileVersion ReadFileVersion(WStringView fileName) {
  const WString name = fileName.empty() ? ModuleFileName() : WString(fileName);
  if (name.empty()) return {};
  const int fd = ::open(linux_impl::NativePath(name).c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return {};
  const linux_impl::ElfStampLookup elf = linux_impl::ReadElfVersionStamp(fd);
  ::close(fd);
  if (elf.elf) return elf.version.value_or(FileVersion{});
  std::ifstream in(linux_impl::NativePath(name), std::ios::binary);
  if (!in) return {};
  const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  return linux_impl::FindVersionStamp(bytes).value_or(FileVersion{});
}

}  // namespace qarvex::platform
