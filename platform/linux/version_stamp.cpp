#include "platform/linux/version_stamp.h"

#include <elf.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "qarvex_version.h"

namespace qarvex::platform::linux_impl {
namespace {

struct VersionStamp {
  unsigned char key[16];
  std::uint16_t numbers[4];  // major, minor, release, build
  std::uint16_t check;
};

constexpr std::uint16_t CheckWord(std::uint16_t a, std::uint16_t b, std::uint16_t c, std::uint16_t d) {
  return static_cast<std::uint16_t>(0x5A17 ^ a ^ (b << 1) ^ (c << 2) ^ (d << 3));
}

#define QARVEX_STAMP_SECTION "qarvex_version_stamp"
constexpr char kStampSection[] = QARVEX_STAMP_SECTION;

// Not const: the debug information would otherwise carry a second copy of
// a constant's value.
[[gnu::used, gnu::retain, gnu::section(QARVEX_STAMP_SECTION)]]
constinit VersionStamp kStamp = {
    {0x7F, 'q', 'a', 'r', 'v', 'e', 'x', 0x1E, 'f', 'i', 'l', 'e', 'v', 'e', 'r', 0x01},
    {QARVEX_VERSION_MAJOR, QARVEX_VERSION_MINOR, QARVEX_VERSION_RELEASE, QARVEX_VERSION_BUILD},
    CheckWord(QARVEX_VERSION_MAJOR, QARVEX_VERSION_MINOR, QARVEX_VERSION_RELEASE, QARVEX_VERSION_BUILD)};

// The key read through an opaque pointer: otherwise the compiler may copy it
// into the code as immediates or a second constant, and the search would
// find that copy too.
const unsigned char* StampKey() {
  const unsigned char* key = kStamp.key;
  asm("" : "+r"(key));
  return key;
}

}  // namespace

FileVersion OwnVersionStamp() {
  const VersionStamp* stamp = &kStamp;
  asm("" : "+r"(stamp));
  return {stamp->numbers[0], stamp->numbers[1], stamp->numbers[2], stamp->numbers[3]};
}

std::optional<FileVersion> FindVersionStamp(std::string_view bytes) {
  const unsigned char* key = StampKey();
  const std::string_view keyText(reinterpret_cast<const char*>(key), sizeof kStamp.key);
  const std::boyer_moore_horspool_searcher searcher(keyText.begin(), keyText.end());
  auto from = bytes.begin();
  for (;;) {
    const auto found = std::search(from, bytes.end(), searcher);
    if (found == bytes.end()) return std::nullopt;
    const size_t at = static_cast<size_t>(found - bytes.begin());
    if (bytes.size() - at < sizeof(VersionStamp)) return std::nullopt;
    VersionStamp stamp;
    std::memcpy(&stamp, bytes.data() + at, sizeof stamp);
    const auto* n = stamp.numbers;
    if (stamp.check == CheckWord(n[0], n[1], n[2], n[3])) return FileVersion{n[0], n[1], n[2], n[3]};
    from = found + 1;
  }
}

namespace {

// Exactly `size` bytes at `offset`, or false.
bool ReadAt(int fd, void* into, std::uint64_t size, std::uint64_t offset) {
  auto* bytes = static_cast<char*>(into);
  while (size > 0) {
    const ssize_t got = ::pread(fd, bytes, size, static_cast<off_t>(offset));
    if (got <= 0) return false;
    bytes += got;
    size -= static_cast<std::uint64_t>(got);
    offset += static_cast<std::uint64_t>(got);
  }
  return true;
}

// Section tables beyond this are not a module of ours (a guard against a
// damaged header asking for gigabytes).
constexpr std::uint64_t kMaxSections = 1 << 16;
constexpr std::uint64_t kMaxNameTable = 1 << 20;

}  // namespace

namespace {

// The section table of a 32-bit or a 64-bit file (Ehdr, Shdr: the class's
// header types), searched for the stamp section.
template <class Ehdr, class Shdr>
ElfStampLookup ReadStampSection(int fd, const Ehdr& header) {
  ElfStampLookup result;
  if (header.e_shoff == 0 || header.e_shentsize != sizeof(Shdr)) return result;
  // Counts too large for the header live in the first section header.
  Shdr first{};
  if (!ReadAt(fd, &first, sizeof first, header.e_shoff)) return result;
  const std::uint64_t count = header.e_shnum != 0 ? header.e_shnum : first.sh_size;
  const std::uint64_t namesIndex = header.e_shstrndx != SHN_XINDEX ? header.e_shstrndx : first.sh_link;
  if (count == 0 || count > kMaxSections || namesIndex >= count) return result;
  std::vector<Shdr> sections(count);
  if (!ReadAt(fd, sections.data(), count * sizeof(Shdr), header.e_shoff)) return result;
  const Shdr& namesSection = sections[namesIndex];
  if (namesSection.sh_type != SHT_STRTAB || namesSection.sh_size > kMaxNameTable) return result;
  std::string names(namesSection.sh_size, '\0');
  if (!ReadAt(fd, names.data(), names.size(), namesSection.sh_offset)) return result;

  result.elf = true;
  const std::string_view wanted(kStampSection, sizeof kStampSection);  // with its terminator
  for (const Shdr& section : sections) {
    if (section.sh_name >= names.size() || names.compare(section.sh_name, wanted.size(), wanted) != 0) continue;
    if (section.sh_type == SHT_NOBITS || section.sh_size < sizeof(VersionStamp)) return result;
    std::string bytes(std::min<std::uint64_t>(section.sh_size, 4096), '\0');
    if (ReadAt(fd, bytes.data(), bytes.size(), section.sh_offset)) result.version = FindVersionStamp(bytes);
    return result;
  }
  return result;
}

}  // namespace

ElfStampLookup ReadElfVersionStamp(int fd) {
  // The identification bytes and the class decide which header follows.
  unsigned char ident[EI_NIDENT] = {};
  if (!ReadAt(fd, ident, sizeof ident, 0) || std::memcmp(ident, ELFMAG, SELFMAG) != 0 ||
      ident[EI_DATA] != ELFDATA2LSB)
    return {};
  if (ident[EI_CLASS] == ELFCLASS64) {
    Elf64_Ehdr header{};
    if (!ReadAt(fd, &header, sizeof header, 0)) return {};
    return ReadStampSection<Elf64_Ehdr, Elf64_Shdr>(fd, header);
  }
  if (ident[EI_CLASS] == ELFCLASS32) {
    Elf32_Ehdr header{};
    if (!ReadAt(fd, &header, sizeof header, 0)) return {};
    return ReadStampSection<Elf32_Ehdr, Elf32_Shdr>(fd, header);
  }
  return {};
}

const void* VersionStampAddress() { return &kStamp; }

}  // namespace qarvex::platform::linux_impl
