#include "platform/writer_turnstile.h"

#include <windows.h>

#include <cstdint>
#include <cwctype>
#include <string>

#include "platform/windows/win_system.h"

namespace qarvex::platform {

namespace {

// The mutex of a path: the same for every spelling of it that differs only
// in letter case, as the file system sees them as one file.
std::wstring MutexNameOf(const WString& path) {
  std::uint64_t hash = 1469598103934665603ULL;  // FNV-1a over the lower-cased UTF-16 units
  for (char16_t unit : path) {
    hash ^= static_cast<std::uint64_t>(std::towlower(static_cast<wint_t>(unit)));
    hash *= 1099511628211ULL;
  }
  wchar_t digits[17];
  for (int i = 15; i >= 0; --i, hash >>= 4) digits[i] = L"0123456789abcdef"[hash & 0xF];
  digits[16] = L'\0';
  return std::wstring(L"Local\\qarvex_termemu.writers.") + digits;
}

}  // namespace

struct WriterTurnstile::State {
  HANDLE mutex = nullptr;
  bool failed = false;
  ~State() {
    if (mutex != nullptr) ::CloseHandle(mutex);
  }
};

WriterTurnstile::WriterTurnstile(WString queueFile) : queueFile_(std::move(queueFile)) {}

WriterTurnstile::~WriterTurnstile() { Leave(); }

bool WriterTurnstile::Enter(std::chrono::steady_clock::time_point deadline) noexcept {
  if (held_) return true;
  try {
    if (!state_) state_ = std::make_unique<State>();
    if (state_->mutex == nullptr && !state_->failed) {
      state_->mutex = ::CreateMutexW(nullptr, FALSE, MutexNameOf(queueFile_).c_str());
      state_->failed = state_->mutex == nullptr;
    }
  } catch (...) {
    return false;
  }
  if (state_->mutex == nullptr) return false;
  const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
  const DWORD wait = left.count() > 0 ? static_cast<DWORD>(left.count()) : 0;
  // An abandoned mutex (its writer ended in its turn) is ours all the same.
  const DWORD result = ::WaitForSingleObject(state_->mutex, wait);
  held_ = result == WAIT_OBJECT_0 || result == WAIT_ABANDONED;
  return held_;
}

void WriterTurnstile::Leave() noexcept {
  if (!held_) return;
  held_ = false;
  ::ReleaseMutex(state_->mutex);
}

}  // namespace qarvex::platform
