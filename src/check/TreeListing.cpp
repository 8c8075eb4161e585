#include "check/TreeListing.h"

#include "platform/MessagePump.h"

#include <chrono>

namespace velmora {

namespace {

// How often the waiting thread turns the window and looks for Stop.
constexpr std::chrono::milliseconds kPumpStep(50);

} // namespace

CTreeListing::CTreeListing(const QString &folder)
{
    m_thread = std::thread([this, folder] {
        std::vector<SListedFile> files = ListFolderTree(folder, &m_bStop);
        const std::lock_guard<std::mutex> lock(m_mutex);
        m_files = std::move(files);
        m_bDone = true;
        m_done.notify_all();
    });
}

CTreeListing::~CTreeListing()
{
    m_bStop = true;
    m_thread.join();
}

std::vector<SListedFile> CTreeListing::Take(const std::function<bool()> &stopRequested)
{
    std::unique_lock<std::mutex> lock(m_mutex);
    while (!m_done.wait_for(lock, kPumpStep, [this] { return m_bDone; })) {
        lock.unlock();
        PumpMessages();
        if (stopRequested())
            m_bStop = true;
        lock.lock();
    }
    return std::move(m_files);
}

} // namespace velmora
