#pragma once

#include "check/DirectoryWalk.h"

#include <QString>

#include <atomic>
#include <condition_variable>
#include <exception>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace velmora {

// A folder tree listed on a thread of its own, so that the caller can meanwhile load what it
// needs, and so that the window keeps turning and Stop is heard while a large or slow tree
// is listed.
class CTreeListing
{
public:
    explicit CTreeListing(const QString &folder);
    // Asks the thread to stop and waits for it.
    ~CTreeListing();
    CTreeListing(const CTreeListing &) = delete;
    CTreeListing &operator=(const CTreeListing &) = delete;

    // Waits for the listing, handling the window's messages meanwhile. Once stopRequested()
    // says so, the listing ends after the folder it is in, and the files found so far are
    // given. What the listing threw is thrown here. Called once.
    std::vector<SListedFile> Take(const std::function<bool()> &stopRequested);

private:
    void List(const QString &folder);

    std::atomic<bool> m_bStop = false;
    std::mutex m_mutex;
    std::condition_variable m_done;
    bool m_bDone = false;
    std::vector<SListedFile> m_files;
    std::exception_ptr m_failure;
    std::thread m_thread;
};

} // namespace velmora
