#pragma once
// Threads for work that may wait on a device: a file-system call on a folder
// the user chose, which can hang for as long as a network share or a USB
// drive does not answer.
//
// Threads are reused while they come back; a job that never returns keeps
// its thread, and the next job gets another one (up to kMaxThreads, after
// which jobs wait for a thread to come back). Nothing ever waits for these
// threads: they are detached, and a process that ends takes any stuck one
// with it. Threads that have had nothing to do for a while end by
// themselves.
//
// Jobs of the background lane run at a lower priority, so that reading a
// folder again yields to the player starting the next file.
#include <functional>

namespace workerthreads {

constexpr int kMaxThreads = 64;

enum class Lane { Normal, Background };

// Runs job on a worker thread of the lane.
void run(std::function<void()> job, Lane lane = Lane::Normal);

// Threads of the lane alive now, busy or idle (for tests).
int threadCount(Lane lane = Lane::Normal);
// Jobs of the lane running or waiting for a thread now, stuck ones
// included (for tests and benchmarks).
int pendingCount(Lane lane = Lane::Normal);

} // namespace workerthreads
