#include "platform/name_compare.h"

#include <windows.h>

namespace qarvex::platform {

// The user's locale decides equality (so canonically equivalent spellings
// match); no flags keeps it case-sensitive.
bool NamesEqual(WStringView a, WStringView b) {
  if (a.size() > 0x7FFFFFFF || b.size() > 0x7FFFFFFF) return false;
  return ::CompareStringW(LOCALE_USER_DEFAULT, 0, reinterpret_cast<const wchar_t*>(a.data()), static_cast<int>(a.size()),
                          reinterpret_cast<const wchar_t*>(b.data()), static_cast<int>(b.size())) == CSTR_EQUAL;
}

}  // namespace qarvex::platform
