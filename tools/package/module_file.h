// What the packager needs to know of a component binary before it goes into
// the add-in package: which system and processor it is built for, whether
// it is a dynamic library at all, and the file version its build stamped
// into it. Read from the file's own headers, independently of the
// component's code, so a wrong file is caught before a user installs it.
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

namespace qarvex::package {

enum class ModuleKind {
  ElfI386SharedObject,     // Linux i386 shared library
  ElfX86_64SharedObject,   // Linux x86_64 shared library
  ElfAarch64SharedObject,  // Linux ARM64 shared library
  Pe32I386Dll,            // Windows x86 DLL
  Pe32PlusX86_64Dll,      // Windows x64 DLL
  Other,                  // anything else: another processor, an executable, not a module
};

// "ELF x86-64 shared object", "PE32 i386 DLL", ...
std::string KindName(ModuleKind kind);

using ModuleVersion = std::array<std::uint16_t, 4>;  // major, minor, release, build

// "1.0.6.15"
std::string VersionText(const ModuleVersion& version);

struct ModuleFile {
  ModuleKind kind = ModuleKind::Other;
  std::string kindDetail;                // for Other: what the file turned out to be
  std::optional<ModuleVersion> version;  // nullopt: the file carries no version block
};

// Reads a module file's kind and version. Throws std::runtime_error when
// the file cannot be read.
ModuleFile ReadModuleFile(const std::filesystem::path& path);

}  // namespace qarvex::package
