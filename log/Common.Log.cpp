#include "log/Common.Log.h"

#include <mutex>
#include <string>

#include "common/error.h"
#include "log/Common.BaseSecurity.h"
#include "log/log_testing.h"
#include "platform/clock.h"
#include "platform/file_io.h"
#include "platform/folders.h"
#include "platform/module_info.h"
#include "platform/os_description.h"
#include "platform/regional_settings.h"

namespace qarvex {

std::atomic<std::uint8_t> TLog::LogLevel{0};

namespace {

// LogLock: held only while one line goes into the file, so lines of this
// process's threads never mix. Other processes are kept apart by the
// append-only write of the platform layer.
std::mutex& LogLock() {
  static std::mutex lock;
  return lock;
}

std::atomic<bool> started{false};

// LogName is written at registration and at unload, read on every line.
// Never destroyed, so a Stop from another module's static destruction at
// unload still finds it.
std::mutex nameLock;
// Built on first use: the main module's start-up code names the log before
// this unit's own dynamic initialisation may have run.
WString& LogNameText() {
  static WString& name = *new WString;
  return name;
}

constexpr char16_t kLineEnd[] = u"\r\n";

WString TwoDigits(int value) { return IntToText(value, 2); }

// "yyyy.mm.dd"
WString DateText(const LocalDateTime& t) {
  return IntToText(t.year, 4) + u"." + TwoDigits(t.month) + u"." + TwoDigits(t.day);
}

const char16_t* TypeWord(TLog::TMsgType type) {
  switch (type) {
    case TLog::mtInfo: return u"INFO";
    case TLog::mtDebug: return u"DEBUG";
    case TLog::mtError: return u"ERROR";
  }
  return u"";
}

// The file-name part of LogName without its extension.
WString BaseName() {
  WString name = platform::ExtractFileName(TLog::LogName());
  const size_t dot = name.rfind(u'.');
  if (dot != WString::npos) name.erase(dot);
  return name;
}

WString LogFolder() {
  const WString name = BaseName();
  const WString folder = platform::IncludeTrailingDelimiter(platform::CommonAppDataFolder(name) + name);
  if (!platform::DirectoryExists(folder)) {
    // Only a folder this process creates is opened to everyone: an existing
    // one keeps the rights somebody gave it.
    const WString absolute = platform::ExpandPath(folder);
    if (!platform::ForceDirectories(absolute))
      throw Failure("Cannot create the log folder \"" + ToUtf8(absolute) + "\"");
    GrantEveryoneFullAccess(absolute);
  }
  return folder;
}

WString LogFileOf(const LocalDateTime& day) {
  return LogFolder() + BaseName() + u"_" + DateText(day) + u".log";
}

WString FormatLine(const LocalDateTime& t, WStringView caption, WStringView message, TLog::TMsgType type) {
  const char16_t colon = platform::CurrentRegionalSettings().timeSeparator;
  WString line = DateText(t) + u" " + TwoDigits(t.hour) + colon + TwoDigits(t.minute) + colon +
                 TwoDigits(t.second) + u"." + IntToText(t.millisecond, 3);
  line += u'\t';
  line += TypeWord(type);
  line += u'\t';
  line += TrimBlanksAndControls(caption);
  if (!message.empty()) {
    line += u": \t";
    line += TrimBlanksAndControls(message);
  }
  return line;
}

// One line into the file of the day `when` falls on. The path (and the
// folder) is settled before the lock is taken.
void WriteLogLine(WStringView text, const LocalDateTime& when) {
  const WString path = LogFileOf(when);
  const std::string bytes = ToUtf8(WString(text) + kLineEnd);
  std::lock_guard<std::mutex> hold(LogLock());
  platform::AppendToFile(path, bytes);
}

void WriteLogLine(WStringView text) { WriteLogLine(text, platform::NowLocal()); }

}  // namespace

void TLog::AppendLine(WStringView caption, WStringView message, TMsgType type) {
  Start();
  // One reading of the clock stamps the line and picks its file, so a line
  // never lands in the file of another day than the one it shows.
  const LocalDateTime now = platform::NowLocal();
  WriteLogLine(FormatLine(now, caption, message, type), now);
}

void TLog::Start() {
  if (LogLevel.load() == 0 || started.load()) return;
  const WString version = platform::FileVersionText(platform::ReadFileVersion());
  const WString blanks(40, u' ');
  WriteLogLine(blanks);
  WriteLogLine(u"============Start log=============");
  WriteLogLine(u"OS version:\t" + platform::OsDescription());
  WriteLogLine(u"Application:\t" + platform::ExtractFileName(platform::ModuleFileName()));
  WriteLogLine(u"App. version:\t" + version);
  WriteLogLine(blanks);
  // Only a complete banner counts: after a failure the next line retries it.
  started.store(true);
}

void TLog::Stop() {
  if (LogLevel.load() == 0 || !started.load()) return;
  // The stop line carries its own line end, so an empty line follows it.
  WriteLogLine(u"============Stop log===============\r\n");
}

WString TLog::FormatLogString(WStringView caption, WStringView message, TMsgType type) {
  return FormatLine(platform::NowLocal(), caption, message, type);
}

WString TLog::GetAbsolutePath(bool onlyDirectory) {
  if (onlyDirectory) return LogFolder();
  return LogFileOf(platform::NowLocal());
}

void TLog::WriteTextFile(WStringView fileName, WStringView text) {
  if (LogLevel.load() == 0) return;
  platform::WriteWholeFile(GetAbsolutePath(true) + WString(fileName), ToUtf8(text));
}

void TLog::SetLogName(WStringView name) {
  std::lock_guard<std::mutex> hold(nameLock);
  LogNameText() = name;
}

WString TLog::LogName() {
  std::lock_guard<std::mutex> hold(nameLock);
  return LogNameText();
}

bool TLog::Started() { return started.load(); }

void TLog::ResetForUnload() { SetLogName({}); }

namespace log_testing {

void ResetLogState() {
  TLog::LogLevel.store(0);
  started.store(false);
  TLog::SetLogName({});
}

}  // namespace log_testing

}  // namespace qarvex
