// Shared inside the platform layer only: slow preparation (decoding
// picture files) handed to worker threads, so that it overlaps the game's
// start-up. The game's thread waits for a piece of work only when it needs
// its result; the game itself never sees a thread.
#pragma once

struct BackgroundJob {
    void (*run)(BackgroundJob* job) = nullptr;
    // Kept by the queue.
    BackgroundJob* next = nullptr;
    int stage = 0;
};

// Queues job for a worker, which calls job->run(job) on its own thread
// (on a machine of one core, this thread, before returning).
void StartBackgroundJob(BackgroundJob* job);

// Returns once the job has run, running it on this thread when no worker
// has taken it yet; whatever run wrote is visible afterwards. With
// dropIfWaiting, a job still in the queue is taken out and never runs.
void FinishBackgroundJob(BackgroundJob* job, bool dropIfWaiting = false);
