// The worker pool behind SetMaxThreads: MaxThreads - 1 workers that wait for a batch of tasks,
// take them one by one together with the calling thread, and go back to waiting.
//
// One batch runs at a time; a mutex serialises ParallelFor calls from different application
// threads, so that each batch sees the whole pool.
#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <exception>
#include <mutex>
#include <thread>
#include <vector>

#include "zeq/base/internal/thread_pool.h"
#include "zeq/base/threads.h"

namespace zeq {

namespace {

class TPool {
 public:
  ~TPool() { Resize(1); }

  void Resize(int32_t Threads) {
    std::lock_guard Batch(FBatchMutex);
    Stop();
    FThreads = Threads;
    // A new worker waits for the next batch: it must not take the last one, which has ended,
    // for new work (its count of finished workers would then be one too many).
    const uint64_t Seen = FGeneration;
    for (int32_t i = 1; i < Threads; ++i) FWorkers.emplace_back([this, Seen] { Work(Seen); });
  }

  int32_t Threads() const { return FThreads; }

  void Run(size_t Count, const std::function<void(size_t)>& Task) {
    std::lock_guard Batch(FBatchMutex);
    if (FWorkers.empty() || Count < 2) {
      for (size_t i = 0; i < Count; ++i) Task(i);
      return;
    }
    {
      std::lock_guard Lock(FMutex);
      FTask = &Task;
      FCount = Count;
      FNext = 0;
      FBusy = FWorkers.size();
      FError = nullptr;
      ++FGeneration;
    }
    FWake.notify_all();
    TakeTasks();
    std::unique_lock Lock(FMutex);
    FDone.wait(Lock, [this] { return FBusy == 0; });
    FTask = nullptr;
    if (FError) std::rethrow_exception(FError);
  }

 private:
  // Takes tasks until none is left; a task's exception is kept (the first one) and ends
  // nothing else.
  void TakeTasks() {
    for (size_t i; (i = FNext.fetch_add(1)) < FCount;) {
      try {
        (*FTask)(i);
      } catch (...) {
        std::lock_guard Lock(FMutex);
        if (!FError) FError = std::current_exception();
      }
    }
  }

  // Seen: the last batch this worker has taken part in, or that ran before it started.
  void Work(uint64_t Seen) {
    for (;;) {
      {
        std::unique_lock Lock(FMutex);
        FWake.wait(Lock, [&] { return FQuit || FGeneration != Seen; });
        if (FQuit) return;
        Seen = FGeneration;
      }
      TakeTasks();
      std::lock_guard Lock(FMutex);
      if (--FBusy == 0) FDone.notify_one();
    }
  }

  void Stop() {
    {
      std::lock_guard Lock(FMutex);
      FQuit = true;
    }
    FWake.notify_all();
    for (std::thread& T : FWorkers) T.join();
    FWorkers.clear();
    FQuit = false;
  }

  std::mutex FBatchMutex;  // one batch (or resize) at a time
  std::mutex FMutex;       // the batch's state below
  std::condition_variable FWake, FDone;
  std::vector<std::thread> FWorkers;
  int32_t FThreads = 1;
  bool FQuit = false;
  uint64_t FGeneration = 0;
  const std::function<void(size_t)>* FTask = nullptr;
  size_t FCount = 0;
  std::atomic<size_t> FNext = 0;
  size_t FBusy = 0;
  std::exception_ptr FError;
};

TPool& Pool() {
  static TPool P;
  return P;
}

}  // namespace

void SetMaxThreads(int32_t N) {
  if (N == 0) N = static_cast<int32_t>(std::max(1u, std::thread::hardware_concurrency()));
  Pool().Resize(std::max(N, 1));
}

int32_t MaxThreads() { return Pool().Threads(); }

namespace detail {

void ParallelFor(size_t Count, const std::function<void(size_t)>& Task) { Pool().Run(Count, Task); }

}  // namespace detail

}  // namespace zeq
