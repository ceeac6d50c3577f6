#pragma once
// Long work (reading a large model, converting, tangent space, writing many
// meshes) runs on a worker thread while the editor keeps drawing. The work
// reports here what it is doing and how far it is; the window that shows
// the progress reads it and may ask the work to stop. Stopping is cheap:
// the work throws WorkCancelled at its next report and leaves everything as
// it found it (staged files are removed, nothing was added to the engine).

#include <atomic>
#include <cstdint>
#include <exception>
#include <functional>
#include <mutex>
#include <string>

namespace ra7 {

class WorkCancelled : public std::exception {
public:
    const char* what() const noexcept override { return "Отменено пользователем"; }
};

class WorkProgress {
public:
    struct State {
        std::string what;       // "Чтение модели spider.obj"
        std::int64_t done = 0;  // units of the current phase finished
        std::int64_t total = 0; // units of the phase; 0 when unknown
    };

    // Worker: a new phase of the work, `total` units long.
    void Begin(std::string what, std::int64_t total);
    // Worker: `done` units of the phase are finished. Throws WorkCancelled
    // once a stop was asked.
    void Reach(std::int64_t done);
    void Advance() { Reach(done_.load(std::memory_order_relaxed) + 1); }
    // Worker: throws WorkCancelled once a stop was asked.
    void CheckCancel() const;

    // Any thread: asks the work to stop at its next report.
    void Cancel() { cancelled_.store(true); }
    bool CancelRequested() const { return cancelled_.load(); }
    State Read() const;

    // Called on the working thread after every Begin and Reach, before the
    // stop is checked; lets a test watch the work (or hold it at a chosen
    // point).
    std::function<void(const State&)> Observer;

private:
    void observe();

    mutable std::mutex mutex_; // guards what_
    std::string what_;
    std::atomic<std::int64_t> done_{0};
    std::atomic<std::int64_t> total_{0};
    std::atomic<bool> cancelled_{false};
};

// The calls for work that may run without anyone watching (progress null).
inline void BeginWork(WorkProgress* progress, std::string what, std::int64_t total)
{
    if (progress)
        progress->Begin(std::move(what), total);
}
inline void ReachWork(WorkProgress* progress, std::int64_t done)
{
    if (progress)
        progress->Reach(done);
}

} // namespace ra7
