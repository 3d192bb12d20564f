#include "platform/os_description.h"

#include <sys/utsname.h>

#include <fstream>
#include <string>

namespace qarvex::platform {
namespace {

// PRETTY_NAME of os-release, unquoted; empty when there is none.
std::string DistributionName() {
  for (const char* file : {"/etc/os-release", "/usr/lib/os-release"}) {
    std::ifstream in(file);
    std::string line;
    while (std::getline(in, line)) {
      if (line.rfind("PRETTY_NAME=", 0) != 0) continue;
      std::string value = line.substr(12);
      if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
        value = value.substr(1, value.size() - 2);
      return value;
    }
  }
  return {};
}

}  // namespace

// "<distribution> <kernel release>"; the kernel's own name stands in for a
// missing os-release, and "Unknown " (with its blank) when the kernel cannot
// be asked.
WString OsDescription() {
  utsname system{};
  if (::uname(&system) != 0) return u"Unknown ";
  std::string name = DistributionName();
  if (name.empty()) name = system.sysname;
  return FromUtf8(name + " " + system.release);
}

}  // namespace qarvex::platform
