#pragma once

#include <atomic>
#include <functional>

// Lets a solve run on a worker thread: another thread may cancel it and
// follow its progress. The solve checks the cancel flag every few thousand
// pairs (well within 10 ms on the largest boxes) and then returns false at
// once, leaving the result without an answer.
namespace pigmora {

class SolveControl
{
public:
    // Progress runs from 0 to kProgressDone.
    static constexpr int kProgressDone = 1000;

    // Called on the solving thread each time the progress rises (optional).
    std::function<void(int progress)> onProgress;

    // Any thread.
    void cancel() noexcept { m_cancelled.store(true, std::memory_order_relaxed); }
    bool isCancelled() const noexcept { return m_cancelled.load(std::memory_order_relaxed); }
    int progress() const noexcept { return m_progress.load(std::memory_order_relaxed); }

    // The solving thread: raises the progress (never lowers it) and tells onProgress.
    void advance(int progress)
    {
        if (progress <= m_progress.load(std::memory_order_relaxed))
            return;
        m_progress.store(progress, std::memory_order_relaxed);
        if (onProgress)
            onProgress(progress);
    }

private:
    std::atomic<bool> m_cancelled{false};
    std::atomic<int> m_progress{0};
};

} // namespace pigmora
