#include "log/Common.Log.h"

#include <mutex>
#include <string>

#include "common/error.h"
#include "log/Common.BaseSecurity.h"
#include "log/log_testing.h"
#include "platform/clock.h"
#include "platform/data_folder.h"
#include "platform/file_io.h"
#include "platform/folders.h"
#include "platform/module_info.h"
#include "platform/os_description.h"
#include "platform/regional_settings.h"

namespace qarvex {

std::atomic<std::uint8_t> TLog::LogLevel{0};

namespace {

// LogLock: held while one line goes into the file, so lines of this
// process's threads never mix, and while the remembered place (Place()) is
// read or changed; never while a folder is looked up, created or granted.
// Other processes are kept apart by the append-only write of the platform
// layer. Built by Load, like Place().
std::mutex& LogLock() {
  static std::mutex lock;
  return lock;
}

std::atomic<bool> started{false};

// LogName and where its lines go: the name's bare form and its folder, looked
// up once and again only when a line finds the folder gone. Written at
// registration and at unload, read on every line. Built by Load, first thing
// at library start-up, so it is still there for the stop line at unload.
struct LogPlace {
  WString name;      // LogName as registered
  WString baseName;  // its file-name part without extension
  WString folder;    // empty until looked up
  // The file of the day lines went to last, in `folder`.
  LocalDateTime day{};
  platform::SystemFileName dayFile;
  std::string line;  // the bytes of the line being written (LogLock held)
};
LogPlace& Place() {
  static LogPlace place;
  return place;
}

// A line is laid out once, by LayOut below, into either encoding: UTF-16
// for the tests' FormatLogString, UTF-8 straight into the bytes a file line takes (the
// figures and words are ASCII, only caption and message need converting),
// since a line is written for every host call while logging is on.
void Put(WString& out, char16_t c) { out += c; }
void Put(std::string& out, char16_t c) {
  if (c < 0x80) out += static_cast<char>(c);
  else AppendUtf8(out, WStringView(&c, 1));
}
void PutText(WString& out, WStringView text) { out += text; }
void PutText(std::string& out, WStringView text) { AppendUtf8(out, text); }
void PutAscii(WString& out, std::string_view text) {
  for (char c : text) out += static_cast<char16_t>(c);
}
void PutAscii(std::string& out, std::string_view text) { out += text; }
// A non-negative number zero-padded to `digits` digits.
template <class Out>
void PutNumber(Out& out, int value, int digits) {
  char buffer[16];
  char* const end = buffer + sizeof buffer;
  char* first = end;
  unsigned magnitude = value < 0 ? 0u : static_cast<unsigned>(value);  // clock fields are never negative
  do {
    *--first = static_cast<char>('0' + magnitude % 10);
    magnitude /= 10;
  } while (magnitude != 0);
  while (end - first < digits && first > buffer) *--first = '0';
  PutAscii(out, std::string_view(first, static_cast<size_t>(end - first)));
}

// "yyyy.mm.dd"
template <class Out>
void AppendDateText(Out& out, const LocalDateTime& t) {
  PutNumber(out, t.year, 4);
  Put(out, u'.');
  PutNumber(out, t.month, 2);
  Put(out, u'.');
  PutNumber(out, t.day, 2);
}

bool SameDay(const LocalDateTime& a, const LocalDateTime& b) {
  return a.year == b.year && a.month == b.month && a.day == b.day;
}

// The file-name part of a log name without its extension.
WString BaseNameOf(WStringView logName) {
  WString name = platform::ExtractFileName(logName);
  const size_t dot = name.rfind(u'.');
  if (dot != WString::npos) name.erase(dot);
  return name;
}

// The log folder of `baseName`, created when missing. Only a folder this
// process creates is opened to everyone: an existing one keeps the rights
// somebody gave it.
WString FindLogFolder(WStringView baseName) {
  const WString folder = platform::ComponentDataFolder(baseName);
  if (!platform::DirectoryExists(folder)) {
    const WString absolute = platform::ExpandPath(folder);
    if (!platform::ForceDirectories(absolute))
      throw Failure("Cannot create the log folder \"" + ToUtf8(absolute) + "\"");
    GrantEveryoneFullAccess(absolute);
  }
  return folder;
}

// Looks the folder up for the current name and remembers it, unless the
// name changed meanwhile.
LogPlace RefreshPlace() {
  LogPlace place;
  {
    std::lock_guard<std::mutex> hold(LogLock());
    place = Place();
  }
  place.folder = FindLogFolder(place.baseName);
  std::lock_guard<std::mutex> hold(LogLock());
  if (Place().name == place.name && Place().folder != place.folder) {
    Place().folder = place.folder;
    Place().dayFile = {};
  }
  return place;
}

WString FileOf(const LogPlace& place, const LocalDateTime& day) {
  WString file = place.folder + place.baseName + u"_";
  AppendDateText(file, day);
  return file + u".log";
}

std::string_view TypeWord(TLog::TMsgType type) {
  switch (type) {
    case TLog::mtInfo: return "INFO";
    case TLog::mtDebug: return "DEBUG";
    case TLog::mtError: return "ERROR";
  }
  return "";
}

template <class Out>
void LayOut(Out& line, const LocalDateTime& t, WStringView caption, WStringView message, TLog::TMsgType type) {
  const char16_t colon = platform::CurrentRegionalSettings().timeSeparator;
  line.reserve(line.size() + 40 + caption.size() + message.size());
  AppendDateText(line, t);
  Put(line, u' ');
  PutNumber(line, t.hour, 2);
  Put(line, colon);
  PutNumber(line, t.minute, 2);
  Put(line, colon);
  PutNumber(line, t.second, 2);
  Put(line, u'.');
  PutNumber(line, t.millisecond, 3);
  Put(line, u'\t');
  PutAscii(line, TypeWord(type));
  Put(line, u'\t');
  PutText(line, TrimmedOfBlanksAndControls(caption));
  if (!message.empty()) {
    PutAscii(line, ": \t");
    PutText(line, TrimmedOfBlanksAndControls(message));
  }
}

WString FormatLine(const LocalDateTime& t, WStringView caption, WStringView message, TLog::TMsgType type) {
  WString line;
  LayOut(line, t, caption, message, type);
  return line;
}

// One line into the file of the day `when` falls on: `fill` writes the
// line's bytes (with its line end) into the place's reused buffer, under the
// lock, so a line costs no allocation of its own. The folder is not checked
// before every line: a line that finds it gone has it looked up, created and
// granted again (without the lock), and is then written.
template <class Fill>
void WriteLog(const LocalDateTime& when, Fill&& fill) {
  std::string bytes;  // only for a line that finds the folder gone
  {
    std::lock_guard<std::mutex> hold(LogLock());
    LogPlace& place = Place();
    place.line.clear();
    fill(place.line);
    if (!place.folder.empty()) {
      if (place.dayFile.empty() || !SameDay(place.day, when)) {
        place.dayFile = platform::SystemFileName(FileOf(place, when));
        place.day = when;
      }
      if (platform::AppendToFileIfFolderExists(place.dayFile, place.line)) return;
    }
    bytes = place.line;
  }
  const WString path = FileOf(RefreshPlace(), when);
  std::lock_guard<std::mutex> hold(LogLock());
  platform::AppendToFile(path, bytes);
}

// A line of the banner or the stop line, with its line end.
void WriteLogLine(WStringView text) {
  WriteLog(platform::NowLocal(), [&](std::string& bytes) {
    AppendUtf8(bytes, text);
    AppendUtf8(bytes, kLineEnd);
  });
}

}  // namespace

void TLog::AppendLine(WStringView caption, WStringView message, TMsgType type) {
  Start();
  // One reading of the clock stamps the line and picks its file, so a line
  // never lands in the file of another day than the one it shows.
  const LocalDateTime now = platform::NowLocal();
  WriteLog(now, [&](std::string& bytes) {
    LayOut(bytes, now, caption, message, type);
    bytes += "\r\n";
  });
}

void TLog::Start() {
  if (LogLevel.load() == 0 || started.load()) return;
  // Not LogLock: the banner's lines take that one each.
  static std::mutex bannerLock;
  const std::lock_guard<std::mutex> hold(bannerLock);
  if (started.load()) return;
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

// Checks the folder every time: callers list or write files in it.
WString TLog::GetAbsolutePath(bool onlyDirectory) {
  const LogPlace place = RefreshPlace();
  if (onlyDirectory) return place.folder;
  return FileOf(place, platform::NowLocal());
}

void TLog::SetLogName(WStringView name) {
  std::lock_guard<std::mutex> hold(LogLock());
  LogPlace& place = Place();
  place.name = name;
  place.baseName = BaseNameOf(name);
  place.folder.clear();
  place.dayFile = {};
}

void TLog::Load() {
  LogLock();
  Place();
}

void TLog::Unload() noexcept {
  try {
    Stop();
  } catch (...) {
  }
  try {
    SetLogName({});
  } catch (...) {
  }
}

namespace log_testing {

void ResetLogState() {
  TLog::LogLevel.store(0);
  started.store(false);
  TLog::SetLogName({});
}

bool BannerWritten() { return started.load(); }

WString LogName() {
  std::lock_guard<std::mutex> hold(LogLock());
  return Place().name;
}

WString FormatLogString(WStringView caption, WStringView message, TLog::TMsgType type) {
  return FormatLine(platform::NowLocal(), caption, message, type);
}

}  // namespace log_testing

}  // namespace qarvex
