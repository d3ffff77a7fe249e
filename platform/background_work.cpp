// A fixed set of worker threads over one queue, made at the first job.
// The threads are never joined: they only ever wait for work, and the
// jobs they run belong to objects that finish them before going away.
#include "platform/background_work.h"

#include <malloc.h>

#include <algorithm>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace {
enum Stage { Waiting = 1, Running, Done };

// Blocks this large or larger come straight from the system and go back
// to it when freed (malloc's own starting threshold).
constexpr int LargeBlockBytes = 128 * 1024;

// The game's thread works too when it waits; beyond this many workers the
// start-up's pictures gain nothing.
constexpr unsigned MaxWorkers = 7;

struct Queue {
    std::mutex lock;
    std::condition_variable work;  // a job was queued
    std::condition_variable done;  // a job finished
    BackgroundJob* first = nullptr;  // the newest
    unsigned workers = 0;
};

// Made once and never destroyed: a worker may still wait on it while the
// program's statics are torn down.
Queue& TheQueue() {
    static Queue* queue = [] {
        // Each worker allocates from its own malloc arena. By default malloc
        // raises its threshold for large blocks once one is freed, and later
        // large blocks (file contents, decoder scratch) would then stay in
        // those arenas after use; a fixed threshold gives them back.
        mallopt(M_MMAP_THRESHOLD, LargeBlockBytes);
        return new Queue;
    }();
    return *queue;
}

// Takes job out of the queue; the lock is held.
void Unlink(Queue& queue, BackgroundJob* job) {
    BackgroundJob** link = &queue.first;
    while (*link != job) link = &(*link)->next;
    *link = job->next;
    job->next = nullptr;
}

void Run(Queue& queue, BackgroundJob* job, std::unique_lock<std::mutex>& held) {
    job->stage = Running;
    held.unlock();
    job->run(job);
    held.lock();
    job->stage = Done;
    queue.done.notify_all();
}

void Work(Queue* queue) {
    std::unique_lock<std::mutex> held(queue->lock);
    for (;;) {
        queue->work.wait(held, [queue] { return queue->first != nullptr; });
        BackgroundJob* job = queue->first;
        Unlink(*queue, job);
        Run(*queue, job, held);
    }
}

unsigned WorkerCount() {
    const unsigned cores = std::thread::hardware_concurrency();
    return cores > 1 ? std::min(cores - 1, MaxWorkers) : 0;
}
}  // namespace

void StartBackgroundJob(BackgroundJob* job) {
    Queue& queue = TheQueue();
    std::unique_lock<std::mutex> held(queue.lock);
    // Newest first: what is asked for last is usually what is shown first
    // (a game loads its title's pictures after the rest).
    job->next = queue.first;
    job->stage = Waiting;
    queue.first = job;
    if (queue.workers == 0) {
        queue.workers = WorkerCount();
        for (unsigned i = 0; i < queue.workers; ++i) std::thread(Work, &queue).detach();
    }
    if (queue.workers == 0) {
        // One core: the work is done here and now.
        Unlink(queue, job);
        Run(queue, job, held);
        return;
    }
    queue.work.notify_one();
}

void FinishBackgroundJob(BackgroundJob* job, bool dropIfWaiting) {
    Queue& queue = TheQueue();
    std::unique_lock<std::mutex> held(queue.lock);
    if (job->stage == Waiting) {
        Unlink(queue, job);
        if (dropIfWaiting) {
            job->stage = Done;
            return;
        }
        Run(queue, job, held);
    }
    queue.done.wait(held, [job] { return job->stage == Done; });
}
