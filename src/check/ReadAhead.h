#pragma once

#include "platform/MessagePump.h"

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

namespace velmora {

// Computes work(0), work(1), ... work(count - 1) on up to jobs threads, ahead of a consumer
// that takes the results in index order with Take(i). With one job nothing runs ahead:
// Take(i) computes work(i) itself, exactly as a serial loop would. work must not touch
// anything the consumer touches meanwhile.
template <typename T>
class CReadAhead
{
public:
    CReadAhead(int count, int jobs, std::function<T(int)> work)
        : m_work(std::move(work)), m_results(size_t(std::max(count, 0)))
    {
        if (jobs <= 1)
            return;
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
                                 [&] { return m_results[size_t(index)].has_value(); })) {
            lock.unlock();
            PumpMessages();
            lock.lock();
        }
        T result = std::move(*m_results[size_t(index)]);
        m_results[size_t(index)].reset();
        m_taken = index + 1;
        m_room.notify_all();
        return result;
    }

private:
    // Workers stay at most this far ahead, so a huge folder does not hold every result.
    static constexpr int kMaxAhead = 256;
    static constexpr int kPumpStepMs = 50;

    void RunWorker()
    {
        while (true) {
            int index = 0;
            {
                std::unique_lock<std::mutex> lock(m_mutex);
                m_room.wait(lock, [&] { return m_stop || m_next - m_taken < kMaxAhead; });
                if (m_stop || m_next >= int(m_results.size()))
                    return;
                index = m_next++;
            }
            T result = m_work(index);
            const std::lock_guard<std::mutex> lock(m_mutex);
            m_results[size_t(index)] = std::move(result);
            m_ready.notify_all();
        }
    }

    std::function<T(int)> m_work;
    std::vector<std::optional<T>> m_results;
    std::vector<std::thread> m_workers;
    std::mutex m_mutex;
    std::condition_variable m_ready;
    std::condition_variable m_room;
    int m_next = 0;
    int m_taken = 0;
    bool m_stop = false;
};

} // namespace velmora
