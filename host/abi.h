// ABI traits of the Native API per target: the only place that knows how the
// platform's compiler lays out its interfaces. Everything else in host/ is
// written in terms of these names.
//
//                          Windows x86   Windows x64   Linux x86_64, ARM64   Linux i386
//   destructor entries          1             1       2 (complete, deleting)      2
//   entry convention        __stdcall      default           default             cdecl
//   C long                    32-bit        32-bit            64-bit             32-bit
//   tVariant size / vt at     48 / 44       48 / 44           64 / 60            52 / 48
//   broken-down time         9 ints        9 ints      struct tm (56 bytes)  struct tm (44)
//   IMsgBox vs IInterface  one ptr before one ptr before     same address       same address
//
// On Linux i386, doubles and 64-bit integers are 4-byte aligned inside
// structures, so the variant's value part ends at 44 (glibc's struct tm)
// rather than at a multiple of 8.
#pragma once

#include <cstddef>
#include <cstdint>
#include <ctime>

namespace qarvex::host {

using WCHAR_T = char16_t;  // host text is UTF-16 on every target

#if defined(_WIN32)
#  if defined(__i386__) || defined(_M_IX86)
#    define V8_ENTRY __stdcall
#    define V8_DELETING_DTOR __attribute__((thiscall))
#  else
#    define V8_ENTRY
#    define V8_DELETING_DTOR
#  endif
inline constexpr int kDestructorEntries = 1;
using HostLong = std::int32_t;
using HostULong = std::uint32_t;
inline constexpr std::size_t kVariantSize = 48;
inline constexpr std::size_t kVariantTypeOffset = 44;
inline constexpr std::size_t kTmSize = 36;
inline constexpr int kMsgBoxOffsetFromInterface = -1;  // in pointers
#else
#  define V8_ENTRY
#  define V8_DELETING_DTOR
inline constexpr int kDestructorEntries = 2;
using HostLong = long;
using HostULong = unsigned long;
#  if defined(__i386__)
inline constexpr std::size_t kVariantSize = 52;
inline constexpr std::size_t kVariantTypeOffset = 48;
inline constexpr std::size_t kTmSize = 44;
#  else
inline constexpr std::size_t kVariantSize = 64;
inline constexpr std::size_t kVariantTypeOffset = 60;
inline constexpr std::size_t kTmSize = 56;
#  endif
inline constexpr int kMsgBoxOffsetFromInterface = 0;
#endif

// The platform's broken-down time is the C library's struct tm on every
// target (mingw's is nine ints, glibc's adds tm_gmtoff and tm_zone).
using V8Tm = std::tm;
static_assert(sizeof(V8Tm) == kTmSize, "broken-down time does not match the platform");

// E_FAIL as the platform's `long`: on the 64-bit Linux targets the positive
// 64-bit value.
inline constexpr HostLong kEFail = static_cast<HostLong>(0x80004005UL);

// The destructor entries at the head of each of the component's interface
// tables. `Release(iface, freeBlock)` destroys the object behind `iface` and,
// when asked, frees the component block; it never throws.
using V8ReleaseFn = void (*)(void* iface, bool freeBlock) noexcept;
#if defined(_WIN32)
// MSVC's scalar deleting destructor: `this` plus flags, bit 0 asking for the
// memory to be freed; it answers `this`.
template <V8ReleaseFn Release>
struct V8DestructorEntries {
  static void* V8_DELETING_DTOR Deleting(void* iface, unsigned flags) {
    Release(iface, (flags & 1u) != 0);
    return iface;
  }
  void* (V8_DELETING_DTOR* deleting)(void*, unsigned) = &Deleting;
};
#else
// Itanium: the complete-object destructor, then the deleting destructor.
template <V8ReleaseFn Release>
struct V8DestructorEntries {
  static void Complete(void* iface) { Release(iface, false); }
  static void Deleting(void* iface) { Release(iface, true); }
  void (*complete)(void*) = &Complete;
  void (*deleting)(void*) = &Deleting;
};
#endif

// Exported functions of the library: plain C, cdecl, undecorated names.
#if defined(_WIN32)
#  define V8_EXPORT extern "C" __declspec(dllexport)
#else
#  define V8_EXPORT extern "C" __attribute__((visibility("default")))
#endif

// Entry of a host interface method, reached by its index past the destructor
// entries (for example AllocMemory is method 0 of IMemoryManager).
inline void* HostMethodEntry(void* iface, int methodIndex) {
  void** table = *static_cast<void***>(iface);
  return table[kDestructorEntries + methodIndex];
}

}  // namespace qarvex::host
