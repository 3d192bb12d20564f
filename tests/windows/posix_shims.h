// The few POSIX calls the project's test fixtures use, mapped onto the
// Microsoft C runtime so that the same fixtures compile for the Windows
// builds. Force-included into the test programs of the Windows builds only
// (cmake/WineTests.cmake); nothing of the component includes it.
#pragma once

#ifdef _WIN32
#include <direct.h>
#include <stdlib.h>
#include <process.h>
#include <time.h>

#ifdef __cplusplus
#include <cstring>
#include <string>

inline int setenv(const char* name, const char* value, int overwrite) {
  if (!overwrite && ::getenv(name)) return 0;
  return ::_putenv_s(name, value);
}

inline int unsetenv(const char* name) {
  return ::_putenv_s(name, "");
}

inline struct tm* localtime_r(const time_t* time, struct tm* result) {
  return ::localtime_s(result, time) == 0 ? result : nullptr;
}

inline int mkdir(const char* path, int /*mode*/) { return ::_mkdir(path); }

// Replaces the trailing XXXXXX and creates the folder (and a missing parent,
// such as C:\tmp for "/tmp/...").
inline char* mkdtemp(char* pattern) {
  const std::size_t length = std::strlen(pattern);
  if (length < 6 || std::strcmp(pattern + length - 6, "XXXXXX") != 0) return nullptr;
  std::string parent(pattern, length);
  const std::size_t slash = parent.find_last_of("/\\");
  if (slash != std::string::npos && slash > 0) {
    parent.resize(slash);
    ::_mkdir(parent.c_str());
  }
  static unsigned counter = 0;
  for (int attempt = 0; attempt < 100; ++attempt) {
    unsigned seed = static_cast<unsigned>(::_getpid()) * 7919u + static_cast<unsigned>(::clock()) +
                    static_cast<unsigned>(::time(nullptr)) + (++counter) * 104729u;
    for (std::size_t i = length - 6; i < length; ++i) {
      pattern[i] = "abcdefghijklmnopqrstuvwxyz0123456789"[seed % 36];
      seed = seed / 36 + 2654435761u * static_cast<unsigned>(i);
    }
    if (::_mkdir(pattern) == 0) return pattern;
  }
  return nullptr;
}
#endif  // __cplusplus
#endif  // _WIN32
