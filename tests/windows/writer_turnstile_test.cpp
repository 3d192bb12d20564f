// The writers' turnstile on Windows (a named mutex of the session, named
// after the journal's path): one turn at a time with a bounded wait, the
// same turnstile whatever the letter case of the path, and the turn of a
// writer that ended in it taken over.
#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <thread>

#include "platform/writer_turnstile.h"

namespace qarvex::platform {
namespace {

using std::chrono::milliseconds;
using Clock = std::chrono::steady_clock;

Clock::time_point In(milliseconds ms) { return Clock::now() + ms; }

bool EnterElsewhere(const WString& name, milliseconds wait) {
  return std::async(std::launch::async, [&] {
           WriterTurnstile other(name);
           return other.Enter(In(wait));
         }).get();
}

TEST(WriterTurnstileWindows, OneTurnAtATimeForEverySpellingOfThePath) {
  const WString name = u"C:\\ProgramData\\qarvex_termemu\\OperJournal\\turnstile-test-1.db3.writers";
  WriterTurnstile first(name);
  ASSERT_TRUE(first.Enter(In(milliseconds(1000))));
  const auto from = Clock::now();
  EXPECT_FALSE(EnterElsewhere(u"c:\\programdata\\QARVEX_TERMEMU\\operjournal\\TURNSTILE-TEST-1.db3.writers",
                              milliseconds(150)));
  EXPECT_GE(Clock::now() - from, milliseconds(140));
  EXPECT_TRUE(EnterElsewhere(u"C:\\elsewhere\\turnstile-test-1.db3.writers", milliseconds(150)))
      << "another file has its own";
  first.Leave();
  EXPECT_TRUE(EnterElsewhere(name, milliseconds(1000)));
}

TEST(WriterTurnstileWindows, TheTurnOfAWriterThatEndedInItIsTakenOver) {
  const WString name = u"C:\\ProgramData\\qarvex_termemu\\OperJournal\\turnstile-test-2.db3.writers";
  std::thread([&] {
    auto* abandoned = new WriterTurnstile(name);  // never left, never destroyed
    EXPECT_TRUE(abandoned->Enter(In(milliseconds(1000))));
  }).join();
  EXPECT_TRUE(EnterElsewhere(name, milliseconds(1000)));
}

}  // namespace
}  // namespace qarvex::platform
