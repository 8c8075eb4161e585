#pragma once

#include "platform/MessagePump.h"

#include <chrono>
#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

namespace velmora {

// Computes work(0), work(1), ... work(count - 1) on up to jobs threads, ahead of a consumer
// that takes each result once, in index order, with Take(i). With one job nothing runs ahead:
// Take(i) computes work(i) itself, exactly as a serial loop would. work must not touch
// anything the consumer touches meanwhile.
template <typename T>
class CReadAhead
{
public:
    CReadAhead(int count, int jobs, std::function<T(int)> work)
        : m_work(std::move(work)), m_count(std::max(count, 0))
    {
        if (jobs <= 1 || m_count == 0)
            return;
        m_slots.resize(size_t(std::min(m_count, kMaxAhead)));
        for (int i = 0; i < jobs; ++i)
            m_workers.emplace_back([this] { RunWorker(); });
    }
    ~CReadAhead()
    {
        {
            const std::lock_guard<std::mutex> lock(m_mutex);
            m_stop = true;
        }
        m_room.notify_all();
        for (std::thread &worker : m_workers)
            worker.join();
    }
    CReadAhead(const CReadAhead &) = delete;
    CReadAhead &operator=(const CReadAhead &) = delete;

    // While it waits for a worker, the interface thread keeps handling its messages, so
    // that Stop can be pressed while a worker's tool hangs.
    T Take(int index)
    {
        if (m_workers.empty())
            return m_work(index);
        std::unique_lock<std::mutex> lock(m_mutex);
        while (!m_ready.wait_for(lock, std::chrono::milliseconds(kPumpStepMs),
                                 [&] { return SlotOf(index).has_value(); })) {
            lock.unlock();
            PumpMessages();
            lock.lock();
        }
        T result = std::move(*SlotOf(index));
        SlotOf(index).reset();
        m_taken = index + 1;
        if (m_waitingWorkers > 0 && m_next - m_taken <= kResumeAhead)
            m_room.notify_all();
        return result;
    }

private:
    // Workers stay at most this far ahead, so a huge folder does not hold every result.
    // Once there, they rest until the consumer has taken half: results from the cache take
    // microseconds, and waking them for every single free place cost two thread switches
    // a row.
    static constexpr int kMaxAhead = 256;
    static constexpr int kResumeAhead = kMaxAhead / 2;
    static constexpr int kLongestRun = 32;
    static constexpr std::chrono::milliseconds kQuickRun{1};
    static constexpr int kPumpStepMs = 50;

    // Items that take microseconds (answers from the results cache) are claimed and handed
    // over in runs, one lock and one wake-up a run: waking the consumer for each of them
    // cost it a thread switch a row. A run doubles while it stays quick; once one turns
    // slow, its items are handed over one by one as they are done and the next run is of
    // one item. A stop is heard before each item, as it was with one item a claim.
    void RunWorker()
    {
        int run = 1;
        while (true) {
            int first = 0;
            int last = 0;
            {
                std::unique_lock<std::mutex> lock(m_mutex);
                if (!m_stop && m_next - m_taken >= kMaxAhead) {
                    ++m_waitingWorkers;
                    m_room.wait(lock, [&] { return m_stop || m_next - m_taken <= kResumeAhead; });
                    --m_waitingWorkers;
                }
                if (m_stop || m_next >= m_count)
                    return;
                first = m_next;
                last = std::min({m_next + run, m_count, m_taken + kMaxAhead});
                m_next = last;
            }
            const ERunEnd end = WorkRun(first, last);
            if (end == ERunEnd::Stopped)
                return;
            run = end == ERunEnd::Quick ? std::min(run * 2, kLongestRun) : 1;
        }
    }

    enum class ERunEnd { Quick, Slow, Stopped };

    // Works items [first, last) and hands them over.
    ERunEnd WorkRun(int first, int last)
    {
        const auto start = std::chrono::steady_clock::now();
        bool quick = true;
        std::vector<T> done;
        int from = first;
        for (int index = first; index < last; ++index) {
            if (m_stop)
                return ERunEnd::Stopped;
            done.push_back(m_work(index));
            quick = quick && std::chrono::steady_clock::now() - start <= kQuickRun;
            if (!quick) {
                HandOver(from, done);
                from = index + 1;
            }
        }
        HandOver(from, done);
        return quick ? ERunEnd::Quick : ERunEnd::Slow;
    }

    void HandOver(int from, std::vector<T> &done)
    {
        if (done.empty())
            return;
        const std::lock_guard<std::mutex> lock(m_mutex);
        for (size_t i = 0; i < done.size(); ++i)
            SlotOf(from + int(i)) = std::move(done[i]);
        done.clear();
        m_ready.notify_all();
    }

    // Items in work lie between the last taken and kMaxAhead past it, so each has a slot of
    // its own in a ring of kMaxAhead: results for a whole folder are never held at once.
    std::optional<T> &SlotOf(int index) { return m_slots[size_t(index) % m_slots.size()]; }

    std::function<T(int)> m_work;
    const int m_count;
    std::vector<std::optional<T>> m_slots;
    std::vector<std::thread> m_workers;
    std::mutex m_mutex;
    std::condition_variable m_ready;
    std::condition_variable m_room;
    int m_next = 0;
    int m_taken = 0;
    int m_waitingWorkers = 0;
    std::atomic<bool> m_stop = false;
};

} // namespace velmora
