// The file version the build stamps into every module that links the
// platform library, and how it is read back: from its section of an ELF
// file, or by a search through any other file's bytes.
//
// The stamp is a key of 16 bytes followed by the four version numbers and a
// check word. It sits in its own section, marked used and retained, so
// neither the compiler nor the linker's garbage collection drops it; the
// search takes its key from the stamp in memory, so the key occurs in a
// module file exactly once: in the stamp.
#pragma once

#include <optional>
#include <string_view>

#include "platform/module_info.h"

namespace qarvex::platform::linux_impl {

// The version stamped into this module.
FileVersion OwnVersionStamp();

// The first well-formed stamp in `bytes`, or nullopt.
std::optional<FileVersion> FindVersionStamp(std::string_view bytes);

// The stamp of an ELF file, read from its stamp section alone (a few small
// reads, wherever the section lies). `elf` is false when the file is not a
// 64-bit little-endian ELF file with section headers, so the caller has to
// look through its bytes instead; otherwise `version` is the section's
// well-formed stamp, or nullopt when the file has no such section.
struct ElfStampLookup {
  bool elf = false;
  std::optional<FileVersion> version;
};
ElfStampLookup ReadElfVersionStamp(int fd);

// An address inside this module's stamp, for dladdr.
const void* VersionStampAddress();

}  // namespace qarvex::platform::linux_impl
