// TfrmLog: the log viewer window. A drop-down list of the log files in the
// log folder, the chosen file's text following the file while it grows
// (re-read once a second when its last-write time has moved forward, the
// caret kept where the user left it), and a button opening the folder in
// the system's file browser. Errors are not caught here: the window shows
// them in its error message box and stays open.
//
// Ownership: created for one showing by its caller. Threading: the host's
// user-interface thread (the timer runs there too).
#pragma once

#include <cstdint>

#include "common/text.h"
#include "platform/ui.h"

namespace qarvex {

class TfrmLog final : public platform::ILogForm {
 public:
  explicit TfrmLog(platform::IWindows& windows = platform::SystemWindows());

  // Shows the window modally (FormCreate runs once it exists); returns when
  // it is closed.
  void ShowModal();

  WString Caption() const override;
  // Fixes the log folder (created when missing), lists its files and shows
  // the newest one.
  void FormCreate(platform::ILogView& view) override;
  void cbbLogFilesDropDown(platform::ILogView& view) override { FillLogFileList(view); }
  void cbbLogFilesChange(platform::ILogView& view) override { LoadLogFile(view); }
  void tmrCheckFileTimer(platform::ILogView& view) override;
  void btnOpenDirClick(platform::ILogView& view) override;

  const WString& LogDirectory() const { return FLogDirectory; }

 private:
  // The names in the folder whose extension, lower-cased, is ".log", in
  // case-insensitive order (which puts the daily files in date order);
  // nothing selected afterwards.
  void FillLogFileList(platform::ILogView& view);
  // The shown file's text and last-write time; nothing when none is shown.
  void LoadLogFile(platform::ILogView& view);

  platform::IWindows& FWindows;
  WString FLogDirectory;  // with a trailing delimiter; fixed at creation
  // Last-write time of the file shown, as read when it was loaded; compared
  // only with later readings of the same clock.
  std::int64_t FLogLastWriteTime = 0;
};

}  // namespace qarvex
