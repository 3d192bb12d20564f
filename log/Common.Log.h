// TLog: the process-wide log. One per loaded library, shared by every
// component object; never instantiated. Daily UTF-8 files (no BOM, CR LF)
// named "<folder><LogName>_yyyy.mm.dd.log" in the log folder under the
// machine-wide application-data folder.
//
// Threading: Append may be called from any thread; LogLock serialises the
// appending of one line. LogLevel is read without the lock.
// Failures: nothing here catches; file-system errors reach the caller as
// qarvex::Failure.
#pragma once

#include <atomic>
#include <cstdint>

#include "common/text.h"

namespace qarvex {

class TLog {
 public:
  enum TMsgType : std::uint8_t { mtInfo = 0, mtDebug = 1, mtError = 2 };

  TLog() = delete;

  // 0: nothing is written by any operation; 3: every message type is written.
  static std::atomic<std::uint8_t> LogLevel;

  // Logging off costs this one test.
  static void Append(WStringView caption, WStringView message, TMsgType type) {
    if (LogLevel.load(std::memory_order_relaxed) == 0) return;
    AppendLine(caption, message, type);
  }

  // The banner, once per load, when logging is on; of threads that log at
  // once, one writes it and the others wait for it.
  static void Start();
  static void Stop();  // the stop line, when logging is on and the banner was written
  // The log folder with a trailing delimiter, or today's file; creates the
  // folder (granting everyone full access) when missing.
  static WString GetAbsolutePath(bool onlyDirectory);

  static void SetLogName(WStringView name);  // set at registration

  // Library load: builds the lock and the empty LogName; logging is off.
  // Called first by the library's start-up, so that what it builds outlives
  // the library's other state.
  static void Load();
  // Library unload: Stop, whose failure is dropped (an unload cannot fail),
  // then LogName cleared.
  static void Unload() noexcept;

 private:
  static void AppendLine(WStringView caption, WStringView message, TMsgType type);
};

}  // namespace qarvex
