// The library's pool of worker threads (module-wide state of the base unit, sized by
// SetMaxThreads). Private to the library.
#pragma once

#include <cstddef>
#include <functional>

namespace zeq::detail {

// Runs Task(0) .. Task(Count - 1), spread over the pool and the calling thread, and returns
// when all have finished. The first exception a task raises is rethrown here (the other tasks
// still run to their end). Without a pool, or for one task, everything runs on the caller.
// Tasks must not call ParallelFor themselves.
void ParallelFor(size_t Count, const std::function<void(size_t)>& Task);

}  // namespace zeq::detail
