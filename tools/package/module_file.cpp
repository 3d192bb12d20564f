#include "tools/package/module_file.h"

#include <cstring>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string_view>

namespace qarvex::package {
namespace {

// Little-endian reads that stay inside the file: a field past its end reads
// as absent rather than as whatever lies beyond.
class Bytes {
 public:
  explicit Bytes(std::string_view data) : data_(data) {}
  size_t size() const { return data_.size(); }
  std::string_view view() const { return data_; }
  std::optional<std::uint64_t> Read(std::uint64_t offset, int width) const {
    if (offset > data_.size() || data_.size() - offset < static_cast<std::uint64_t>(width)) return std::nullopt;
    std::uint64_t value = 0;
    for (int i = width - 1; i >= 0; --i) value = value << 8 | static_cast<unsigned char>(data_[offset + i]);
    return value;
  }
  std::uint64_t At(std::uint64_t offset, int width) const { return Read(offset, width).value_or(0); }

 private:
  std::string_view data_;  // not owned
};

// --- ELF ----------------------------------------------------------------------

constexpr std::uint16_t kElfSharedObject = 3;  // ET_DYN
constexpr std::uint16_t kElfMachineI386 = 3, kElfMachineX86_64 = 62, kElfMachineAarch64 = 183;
constexpr std::string_view kStampSection = "qarvex_version_stamp";
// The stamp the build puts into that section: a 16-byte key, the four
// numbers, a check word over them.
constexpr unsigned char kStampKey[16] = {0x7F, 'q', 'a', 'r', 'v', 'e', 'x', 0x1E,
                                         'f',  'i', 'l', 'e', 'v', 'e', 'r', 0x01};

// Where the fields the packager reads lie in the headers of a 32-bit and of
// a 64-bit ELF file.
struct ElfLayout {
  int word;  // width of addresses and offsets
  std::uint64_t programTable, sectionTable, programEntrySize, programCount, sectionEntrySize, sectionCount,
      namesIndex;  // in the file header
  std::uint64_t sectionOffset, sectionSize;  // in a section header
};
constexpr ElfLayout kElf32{4, 0x1C, 0x20, 0x2A, 0x2C, 0x2E, 0x30, 0x32, 0x10, 0x14};
constexpr ElfLayout kElf64{8, 0x20, 0x28, 0x36, 0x38, 0x3A, 0x3C, 0x3E, 0x18, 0x20};

std::optional<ModuleVersion> ElfVersionStamp(const Bytes& file, const ElfLayout& elf) {
  const std::uint64_t sectionTable = file.At(elf.sectionTable, elf.word);
  const std::uint64_t entrySize = file.At(elf.sectionEntrySize, 2);
  const std::uint64_t count = file.At(elf.sectionCount, 2);
  const std::uint64_t namesIndex = file.At(elf.namesIndex, 2);
  if (sectionTable == 0 || entrySize < elf.sectionSize + elf.word || namesIndex >= count) return std::nullopt;
  const std::uint64_t names = file.At(sectionTable + namesIndex * entrySize + elf.sectionOffset, elf.word);
  for (std::uint64_t i = 0; i < count; ++i) {
    const std::uint64_t header = sectionTable + i * entrySize;
    const std::uint64_t nameAt = names + file.At(header, 4);
    if (nameAt >= file.size()) continue;
    const std::string_view rest = file.view().substr(nameAt);
    if (rest.substr(0, rest.find('\0')) != kStampSection) continue;
    const std::uint64_t at = file.At(header + elf.sectionOffset, elf.word);
    if (file.At(header + elf.sectionSize, elf.word) < sizeof kStampKey + 10 || !file.Read(at, sizeof kStampKey + 10))
      return std::nullopt;
    if (std::memcmp(file.view().data() + at, kStampKey, sizeof kStampKey) != 0) return std::nullopt;
    ModuleVersion v{};
    for (int n = 0; n < 4; ++n) v[n] = static_cast<std::uint16_t>(file.At(at + 16 + 2 * n, 2));
    const auto check = static_cast<std::uint16_t>(0x5A17 ^ v[0] ^ (v[1] << 1) ^ (v[2] << 2) ^ (v[3] << 3));
    if (file.At(at + 24, 2) != check) return std::nullopt;
    return v;
  }
  return std::nullopt;
}

// A position-independent program is of the shared-object type too; what
// tells it from a library is the program interpreter it asks for.
bool HasInterpreter(const Bytes& file, const ElfLayout& elf) {
  constexpr std::uint64_t kInterpreterSegment = 3;  // PT_INTERP
  const std::uint64_t table = file.At(elf.programTable, elf.word), entrySize = file.At(elf.programEntrySize, 2),
                      count = file.At(elf.programCount, 2);
  for (std::uint64_t i = 0; i < count; ++i)
    if (file.At(table + i * entrySize, 4) == kInterpreterSegment) return true;
  return false;
}

ModuleFile ReadElf(const Bytes& file) {
  struct Known {
    int elfClass;  // 1: 32-bit, 2: 64-bit
    std::uint64_t machine;
    ModuleKind kind;
    const char* name;
  };
  static constexpr Known kKnown[] = {
      {1, kElfMachineI386, ModuleKind::ElfI386SharedObject, "i386"},
      {2, kElfMachineX86_64, ModuleKind::ElfX86_64SharedObject, "x86-64"},
      {2, kElfMachineAarch64, ModuleKind::ElfAarch64SharedObject, "AArch64"},
  };
  ModuleFile module;
  const auto elfClass = file.At(4, 1);
  const bool little = file.At(5, 1) == 1;
  const ElfLayout& elf = elfClass == 1 ? kElf32 : kElf64;
  const auto type = file.At(0x10, 2), machine = file.At(0x12, 2);
  const Known* known = nullptr;
  for (const Known& k : kKnown)
    if (little && k.elfClass == static_cast<int>(elfClass) && k.machine == machine) known = &k;
  if (!known) {
    module.kindDetail = "an ELF file for another processor (class " + std::to_string(elfClass) + ", machine " +
                        std::to_string(machine) + ")";
    return module;
  }
  if (type != kElfSharedObject) {
    module.kindDetail = std::string("an ELF ") + known->name + " file that is not a shared object";
  } else if (HasInterpreter(file, elf)) {
    module.kindDetail = std::string("an ELF ") + known->name + " program, not a shared library";
  } else {
    module.kind = known->kind;
  }
  module.version = ElfVersionStamp(file, elf);
  return module;
}

// --- PE -----------------------------------------------------------------------

constexpr std::uint16_t kPeMachineI386 = 0x014C;
constexpr std::uint16_t kPeMachineAmd64 = 0x8664;
constexpr std::uint16_t kPeOptional32 = 0x10B, kPeOptional64 = 0x20B;
constexpr std::uint16_t kPeDllFlag = 0x2000;

// The fixed part of the version resource starts with the signature
// 0xFEEF04BD and its structure version, then the file version as two
// 32-bit words (major.minor, release.build). A module has one such block.
std::optional<ModuleVersion> PeFileVersion(const Bytes& file) {
  constexpr char kSignature[] = "\xBD\x04\xEF\xFE";
  const std::string_view data = file.view();
  for (size_t at = data.find(kSignature, 0, 4); at != std::string_view::npos; at = data.find(kSignature, at + 1, 4)) {
    if (at % 4 != 0 || !file.Read(at + 16, 4)) continue;
    const std::uint64_t high = file.At(at + 8, 4), low = file.At(at + 12, 4);
    return ModuleVersion{static_cast<std::uint16_t>(high >> 16), static_cast<std::uint16_t>(high),
                         static_cast<std::uint16_t>(low >> 16), static_cast<std::uint16_t>(low)};
  }
  return std::nullopt;
}

ModuleFile ReadPe(const Bytes& file) {
  ModuleFile module;
  const std::uint64_t pe = file.At(0x3C, 4);
  if (file.At(pe, 4) != 0x00004550) {  // "PE\0\0"
    module.kindDetail = "an MS-DOS program, not a Windows module";
    return module;
  }
  const auto machine = file.At(pe + 4, 2), flags = file.At(pe + 22, 2), optional = file.At(pe + 24, 2);
  const bool dll = (flags & kPeDllFlag) != 0;
  if (machine == kPeMachineI386 && optional == kPeOptional32 && dll) {
    module.kind = ModuleKind::Pe32I386Dll;
  } else if (machine == kPeMachineAmd64 && optional == kPeOptional64 && dll) {
    module.kind = ModuleKind::Pe32PlusX86_64Dll;
  } else if (!dll) {
    module.kindDetail = "a Windows program, not a DLL";
  } else {
    char text[64];
    std::snprintf(text, sizeof text, "a Windows DLL for another processor (machine 0x%04X)", static_cast<unsigned>(machine));
    module.kindDetail = text;
  }
  module.version = PeFileVersion(file);
  return module;
}

}  // namespace

std::string KindName(ModuleKind kind) {
  switch (kind) {
    case ModuleKind::ElfI386SharedObject: return "ELF i386 shared object";
    case ModuleKind::ElfX86_64SharedObject: return "ELF x86-64 shared object";
    case ModuleKind::ElfAarch64SharedObject: return "ELF AArch64 shared object";
    case ModuleKind::Pe32I386Dll: return "PE32 i386 DLL";
    case ModuleKind::Pe32PlusX86_64Dll: return "PE32+ x86-64 DLL";
    case ModuleKind::Other: break;
  }
  return "not a component module";
}

std::string VersionText(const ModuleVersion& v) {
  return std::to_string(v[0]) + "." + std::to_string(v[1]) + "." + std::to_string(v[2]) + "." + std::to_string(v[3]);
}

ModuleFile ReadModuleFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream content;
  if (!in || !(content << in.rdbuf())) throw std::runtime_error("cannot read " + path.string());
  const std::string bytes = std::move(content).str();
  const Bytes file(bytes);
  if (file.view().substr(0, 4) == "\x7F" "ELF") return ReadElf(file);
  if (file.view().substr(0, 2) == "MZ") return ReadPe(file);
  ModuleFile module;
  module.kindDetail = "neither an ELF nor a Windows module";
  return module;
}

}  // namespace qarvex::package
