// The C++ library's floating-point from_chars where it has one; older ones
// (GCC 10's, which the portable Linux builds link) lack it, and there the C
// library's strtod runs in a "C" locale object of its own, never touching
// the process's locale.
#include "common/c_number.h"

#include <charconv>
#include <system_error>

#if !defined(__cpp_lib_to_chars)
#include <cerrno>
#include <cstdlib>
#include <string>

#include <locale.h>
#endif

namespace qarvex {

bool ParseCNumber(std::string_view text, double& out) {
  if (text.empty()) return false;
#if defined(__cpp_lib_to_chars)
  double value = 0;
  const char* last = text.data() + text.size();
  auto [stop, error] = std::from_chars(text.data(), last, value, std::chars_format::general);
  if (error != std::errc() || stop != last) return false;
  out = value;
  return true;
#else
  // What from_chars refuses and strtod would take: a leading "+" or blank,
  // hexadecimal.
  const char first = text.front();
  if (first == '+' || first == ' ' || (first >= '\t' && first <= '\r')) return false;
  if (text.find_first_of("xX") != std::string_view::npos) return false;
  static const locale_t cLocale = ::newlocale(LC_ALL_MASK, "C", locale_t{});
  if (cLocale == locale_t{}) return false;
  const std::string copy(text);  // strtod needs the terminating zero
  char* stop = nullptr;
  errno = 0;
  const double value = ::strtod_l(copy.c_str(), &stop, cLocale);
  if (errno == ERANGE || stop != copy.c_str() + copy.size()) return false;
  out = value;
  return true;
#endif
}

}  // namespace qarvex
