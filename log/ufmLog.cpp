#include "log/ufmLog.h"

#include <algorithm>

#include "common/error.h"
#include "log/Common.Log.h"
#include "platform/folder_listing.h"
#include "resources/resource_strings.h"

namespace qarvex {

WString TfrmLog::Caption() const { return ResString(StringId::LogViewerCaption); }
namespace {

// Lower case of the letters file names of the log use (Latin and Russian).
char16_t FoldCase(char16_t c) {
  if (c >= u'A' && c <= u'Z') return static_cast<char16_t>(c + 32);
  if (c >= u'А' && c <= u'Я') return static_cast<char16_t>(c + 32);
  if (c == u'Ё') return u'ё';
  return c;
}

WString Folded(WStringView text) {
  WString folded(text);
  std::transform(folded.begin(), folded.end(), folded.begin(), FoldCase);
  return folded;
}

bool IsLogFileName(WStringView name) {
  const std::size_t dot = name.rfind(u'.');
  return dot != WStringView::npos && Folded(name.substr(dot)) == u".log";
}

// The text box shows CR LF line ends whatever ends the file's lines.
WString AsTextBoxLines(std::string_view utf8) {
  if (utf8.substr(0, 3) == "\xEF\xBB\xBF") utf8.remove_prefix(3);
  const WString text = FromUtf8(utf8);
  WString lines;
  lines.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char16_t c = text[i];
    if (c == u'\r' || c == u'\n') {
      lines += u"\r\n";
      if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') ++i;
    } else {
      lines += c;
    }
  }
  return lines;
}

}  // namespace

TfrmLog::TfrmLog(platform::IWindows& windows) : FWindows(windows) {}

void TfrmLog::ShowModal() { FWindows.ShowLogViewer(*this); }

void TfrmLog::FormCreate(platform::ILogView& view) {
  FLogDirectory = TLog::GetAbsolutePath(true);
  FillLogFileList(view);
  if (view.FileCount() > 0) view.SelectFile(view.FileCount() - 1);
  LoadLogFile(view);
}

void TfrmLog::FillLogFileList(platform::ILogView& view) {
  std::vector<WString> names;
  for (platform::FolderEntry& entry : platform::ListFolder(FLogDirectory)) {
    if (!entry.isFolder && IsLogFileName(entry.name)) names.push_back(std::move(entry.name));
  }
  std::stable_sort(names.begin(), names.end(),
                   [](const WString& a, const WString& b) { return Folded(a) < Folded(b); });
  view.SetFileNames(names);
}

void TfrmLog::LoadLogFile(platform::ILogView& view) {
  const WString shown = view.ShownFileName();
  if (shown.empty()) return;
  const WString path = FLogDirectory + shown;
  std::int64_t stamp = 0;
  if (!platform::TryGetLastWriteTime(path, stamp)) throw Failure("File not found: \"" + ToUtf8(path) + "\"");
  FLogLastWriteTime = stamp;
  view.SetLogText(AsTextBoxLines(platform::ReadWholeFile(path)));
}

void TfrmLog::tmrCheckFileTimer(platform::ILogView& view) {
  const WString shown = view.ShownFileName();
  if (shown.empty()) return;
  std::int64_t stamp = 0;
  if (!platform::TryGetLastWriteTime(FLogDirectory + shown, stamp)) return;
  if (stamp <= FLogLastWriteTime) return;
  const std::size_t caret = view.CaretOffset();
  LoadLogFile(view);
  view.RestoreCaret(caret);
}

void TfrmLog::btnOpenDirClick(platform::ILogView& view) { view.ExploreFolder(TLog::GetAbsolutePath(true)); }

}  // namespace qarvex
