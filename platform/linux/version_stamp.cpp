#include "platform/linux/version_stamp.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <functional>

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

// Not const: the debug information would otherwise carry a second copy of
// a constant's value.
[[gnu::used, gnu::retain, gnu::section("qarvex_version_stamp")]]
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

const void* VersionStampAddress() { return &kStamp; }

}  // namespace qarvex::platform::linux_impl
