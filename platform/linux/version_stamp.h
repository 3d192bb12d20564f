// The file version the build stamps into every module that links the
// platform library, and the search for it in a file's bytes.
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

// An address inside this module's stamp, for dladdr.
const void* VersionStampAddress();

}  // namespace qarvex::platform::linux_impl
