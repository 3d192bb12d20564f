// Test access to the log's load-time state. Tests only: a library is loaded
// once, so nothing else ever needs to return the log to its start.
#pragma once

namespace qarvex::log_testing {

// LogLevel 0, banner not written, LogName empty: the state after loading.
void ResetLogState();

}  // namespace qarvex::log_testing
