#include "check/TreeListing.h"

#include "platform/MessagePump.h"

#include <chrono>
#include <system_error>
#include <utility>

namespace velmora {

namespace {

// How often the waiting thread turns the window and looks for Stop.
constexpr std::chrono::milliseconds kPumpStep(50);

} // namespace

CTreeListing::CTreeListing(const QString &folder)
{
    try {
        m_thread = std::thread([this, folder] { List(folder); });
    } catch (const std::system_error &) {
        // No thread to be had: the listing is made here and now.
        List(folder);
    }
}

CTreeListing::~CTreeListing()
{
    m_bStop = true;
    if (m_thread.joinable())
        m_thread.join();
}

void CTreeListing::List(const QString &folder)
{
    std::vector<SListedFile> files;
    std::exception_ptr failure;
    try {
        files = ListFolderTree(folder, &m_bStop);
    } catch (...) {
        failure = std::current_exception(); // taken up by Take, on the caller's thread
    }
    const std::lock_guard<std::mutex> lock(m_mutex);
    m_files = std::move(files);
    m_failure = failure;
    m_bDone = true;
    m_done.notify_all();
}

std::vector<SListedFile> CTreeListing::Take(const std::function<bool()> &stopRequested)
{
    std::unique_lock<std::mutex> lock(m_mutex);
    if (stopRequested())
        m_bStop = true;
    while (!m_done.wait_for(lock, kPumpStep, [this] { return m_bDone; })) {
        lock.unlock();
        PumpMessages();
        if (stopRequested())
            m_bStop = true;
        lock.lock();
    }
    if (m_failure)
        std::rethrow_exception(std::exchange(m_failure, nullptr));
    return std::move(m_files);
}

} // namespace velmora
