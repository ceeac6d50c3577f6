#include "WorkProgress.h"

namespace ra7 {

void WorkProgress::Begin(std::string what, std::int64_t total)
{
    {
        const std::lock_guard lock(mutex_);
        what_ = std::move(what);
    }
    done_.store(0);
    total_.store(total);
    observe();
    CheckCancel();
}

void WorkProgress::Reach(std::int64_t done)
{
    done_.store(done, std::memory_order_relaxed);
    observe();
    CheckCancel();
}

void WorkProgress::CheckCancel() const
{
    if (cancelled_.load())
        throw WorkCancelled();
}

WorkProgress::State WorkProgress::Read() const
{
    State state;
    {
        const std::lock_guard lock(mutex_);
        state.what = what_;
    }
    state.done = done_.load(std::memory_order_relaxed);
    state.total = total_.load();
    return state;
}

void WorkProgress::observe()
{
    if (Observer)
        Observer(Read());
}

} // namespace ra7
