#include "platform/writer_turnstile.h"

#include <fcntl.h>
#include <pthread.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdint>
#include <ctime>
#include <thread>

#include "platform/linux/system_error.h"

namespace qarvex::platform {

namespace {

// The queue file's contents. A new file is all zeros: `phase` kUnset. The
// first process to move it to kPreparing sets the mutex up and publishes it
// with kReady; a queue in any other phase is not used.
struct SharedQueue {
  enum : std::uint32_t { kUnset = 0, kPreparing = 1, kReady = 0x71A7E503 };
  std::atomic<std::uint32_t> phase;
  std::uint32_t reserved;
  pthread_mutex_t mutex;
};
static_assert(std::atomic<std::uint32_t>::is_always_lock_free, "the phase word is shared between processes");

bool PrepareMutex(pthread_mutex_t* mutex) {
  pthread_mutexattr_t attributes;
  if (pthread_mutexattr_init(&attributes) != 0) return false;
  // Robust: a writer killed in its turn does not block the others for good.
  // Error-checking: a thread asking again for the turn it holds is told so
  // instead of waiting for itself. Priority inheritance for its hand-over:
  // the system gives a leaving writer's turn straight to the writer that has
  // waited longest, so one arriving at that moment (typically the one that
  // has just left, back with its next payment) cannot take it first and send
  // the sleeper to the back of the queue.
  const bool set = pthread_mutexattr_setpshared(&attributes, PTHREAD_PROCESS_SHARED) == 0 &&
                   pthread_mutexattr_setrobust(&attributes, PTHREAD_MUTEX_ROBUST) == 0 &&
                   pthread_mutexattr_setprotocol(&attributes, PTHREAD_PRIO_INHERIT) == 0 &&
                   pthread_mutexattr_settype(&attributes, PTHREAD_MUTEX_ERRORCHECK) == 0 &&
                   pthread_mutex_init(mutex, &attributes) == 0;
  pthread_mutexattr_destroy(&attributes);
  return set;
}

timespec RealTimeOf(std::chrono::steady_clock::time_point deadline) {
  const auto left = std::chrono::duration_cast<std::chrono::nanoseconds>(deadline - std::chrono::steady_clock::now());
  timespec now{};
  clock_gettime(CLOCK_REALTIME, &now);
  const long long total = static_cast<long long>(now.tv_nsec) + (left.count() > 0 ? left.count() : 0);
  timespec at{};
  at.tv_sec = now.tv_sec + static_cast<time_t>(total / 1000000000LL);
  at.tv_nsec = static_cast<long>(total % 1000000000LL);
  return at;
}

}  // namespace

struct WriterTurnstile::State {
  SharedQueue* queue = nullptr;  // mapped; null when unusable
  bool failed = false;           // opening failed once: not tried again

  ~State() {
    if (queue != nullptr) ::munmap(queue, sizeof(SharedQueue));
  }

  // Maps the queue file, creating and preparing it when new.
  bool Open(const WString& file, std::chrono::steady_clock::time_point deadline) {
    if (queue != nullptr) return true;
    if (failed) return false;
    failed = true;
    const int fd = ::open(linux_impl::NativePath(file).c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    if (fd < 0) return false;
    struct stat info{};
    bool sized = ::fstat(fd, &info) == 0;
    if (sized && info.st_size == 0) ::fchmod(fd, 0666);  // whatever the umask: every account's cashiers share it
    if (sized && info.st_size < static_cast<off_t>(sizeof(SharedQueue)))
      sized = ::ftruncate(fd, sizeof(SharedQueue)) == 0;  // zeros, the kUnset phase
    void* mapped = sized ? ::mmap(nullptr, sizeof(SharedQueue), PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0) : MAP_FAILED;
    ::close(fd);
    if (mapped == MAP_FAILED) return false;
    auto* shared = static_cast<SharedQueue*>(mapped);

    std::uint32_t phase = SharedQueue::kUnset;
    if (shared->phase.compare_exchange_strong(phase, SharedQueue::kPreparing)) {
      phase = PrepareMutex(&shared->mutex) ? SharedQueue::kReady : SharedQueue::kPreparing;
      shared->phase.store(phase);
    }
    // Another process is preparing it: a matter of microseconds (one that
    // died doing so leaves it unusable, and that is found out once).
    const auto preparedBy = std::min(deadline, std::chrono::steady_clock::now() + std::chrono::milliseconds(100));
    while (phase == SharedQueue::kPreparing && std::chrono::steady_clock::now() < preparedBy) {
      std::this_thread::sleep_for(std::chrono::microseconds(100));
      phase = shared->phase.load();
    }
    if (phase != SharedQueue::kReady) {
      ::munmap(mapped, sizeof(SharedQueue));
      return false;
    }
    queue = shared;
    failed = false;
    return true;
  }
};

WriterTurnstile::WriterTurnstile(WString queueFile) : queueFile_(std::move(queueFile)) {}

WriterTurnstile::~WriterTurnstile() { Leave(); }

bool WriterTurnstile::Enter(std::chrono::steady_clock::time_point deadline) noexcept {
  if (held_) return true;
  try {
    if (!state_) state_ = std::make_unique<State>();
  } catch (...) {
    return false;
  }
  if (!state_->Open(queueFile_, deadline)) return false;
  const timespec at = RealTimeOf(deadline);
  int rc = pthread_mutex_timedlock(&state_->queue->mutex, &at);
  if (rc == EOWNERDEAD) rc = pthread_mutex_consistent(&state_->queue->mutex);
  held_ = rc == 0;
  return held_;
}

void WriterTurnstile::Leave() noexcept {
  if (!held_) return;
  held_ = false;
  pthread_mutex_unlock(&state_->queue->mutex);
}

}  // namespace qarvex::platform
