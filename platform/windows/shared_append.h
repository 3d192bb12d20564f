// Appending under the log's sharing rule: while one opener appends, others
// may read the file but not open it for writing. Openers that meet a writer
// wait a little instead of failing, because each writer holds the file only
// for one line.
#pragma once

#include <windows.h>

#include <string_view>

#include "common/text.h"

namespace qarvex::platform::windows_impl {

// How long an opener keeps retrying a file another opener is writing.
inline constexpr DWORD kSharingRetryMilliseconds = 2000;

// AppendToFile with an explicit retry bound. After `retryMilliseconds` of
// sharing violations the violation is thrown like any other failure. A
// missing folder is thrown too, unless `missingFolderIsError` is false: then
// nothing is written and the result is false.
bool AppendToFileWithin(WStringView path, std::string_view bytes, DWORD retryMilliseconds,
                        bool missingFolderIsError = true);

}  // namespace qarvex::platform::windows_impl
