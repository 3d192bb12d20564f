// Test access to the log's load-time state. Tests only: a library is loaded
// once, so nothing else ever needs to return the log to its start.
#pragma once

#include "common/text.h"
#include "log/Common.Log.h"

namespace qarvex::log_testing {

// LogLevel 0, banner not written, LogName empty: the state after loading.
void ResetLogState();

bool BannerWritten();
WString LogName();
// One log line as it goes into the file, as UTF-16 and without its line end.
WString FormatLogString(WStringView caption, WStringView message, TLog::TMsgType type);

}  // namespace qarvex::log_testing
