// What the simulator received, in order, shared between the thread that
// serves a line or connection and the tests that wait for it.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <mutex>
#include <utility>
#include <vector>

namespace vorn::sim {

template <typename Entry> class WaitableLog {
public:
    // Adds an entry that counts `weight` towards size(): a packet counts 1,
    // a chunk of bytes its length.
    void append(Entry entry, std::size_t weight)
    {
        {
            std::lock_guard lock(mutex_);
            entries_.push_back(std::move(entry));
            total_ += weight;
        }
        changed_.notify_all();
    }

    std::vector<Entry> entries() const
    {
        std::lock_guard lock(mutex_);
        return entries_;
    }

    std::size_t size() const
    {
        std::lock_guard lock(mutex_);
        return total_;
    }

    void clear()
    {
        std::lock_guard lock(mutex_);
        entries_.clear();
        total_ = 0;
    }

    // Blocks until size() reaches `count`, or `timeout` passed.
    bool waitFor(std::size_t count, std::chrono::milliseconds timeout) const
    {
        std::unique_lock lock(mutex_);
        return changed_.wait_for(lock, timeout, [&] { return total_ >= count; });
    }

protected:
    // Runs reader(entries, size()) under the lock.
    template <typename Reader> auto read(Reader&& reader) const
    {
        std::lock_guard lock(mutex_);
        return reader(entries_, total_);
    }

private:
    mutable std::mutex mutex_;
    mutable std::condition_variable changed_;
    std::vector<Entry> entries_;
    std::size_t total_ = 0;
};

} // namespace vorn::sim
