// A turnstile for the writers of one shared file, across the processes of
// this machine: a writer waiting for its turn sleeps in the system and wakes
// as soon as the writer before it leaves, instead of polling the file's own
// locks (which wakes late, and lets a writer that has just finished take the
// lock again and again ahead of those that wait).
//
// Advisory only: the shared file's own locking still decides who writes, so
// correctness never depends on the turnstile (older copies of the component
// and other machines do not use it). When it cannot be had (no place for it,
// a damaged queue, the wait ran out) Enter answers false and the caller goes
// on without it.
//
// Linux: a robust process-shared mutex in a small file beside the shared one
// (readable and writable by every account); a writer killed in its turn
// hands the turn on. Windows: a named mutex of the session, named after the
// path; an abandoned mutex is taken over likewise.
//
// Ownership: the object owns its mapping or handle. Threading: one thread at
// a time per object; a turn is entered and left on the same thread.
#pragma once

#include <chrono>
#include <memory>

#include "common/text.h"

namespace qarvex::platform {

class WriterTurnstile {
 public:
  // `queueFile`: where the turnstile lives (Linux), or the name it is known
  // by (Windows). Nothing is opened before the first Enter.
  explicit WriterTurnstile(WString queueFile);
  ~WriterTurnstile();  // leaves a turn still held
  WriterTurnstile(const WriterTurnstile&) = delete;
  WriterTurnstile& operator=(const WriterTurnstile&) = delete;

  // Waits for this writer's turn until `deadline`. True: the turn is held
  // until Leave. False: no turn (timed out, or the turnstile is unusable).
  bool Enter(std::chrono::steady_clock::time_point deadline) noexcept;
  // Ends the turn; does nothing when none is held.
  void Leave() noexcept;
  bool Held() const { return held_; }

  struct State;  // per system

 private:
  WString queueFile_;
  std::unique_ptr<State> state_;
  bool held_ = false;
};

}  // namespace qarvex::platform
