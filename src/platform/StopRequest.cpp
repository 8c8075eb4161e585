#include "platform/StopRequest.h"

#include <atomic>

namespace velmora {

namespace {
std::atomic<bool> g_raised{false};
static_assert(std::atomic<bool>::is_always_lock_free, "raised from signal handlers");
}

void CStopRequest::Raise()
{
    g_raised.store(true);
}

void CStopRequest::Clear()
{
    g_raised.store(false);
}

bool CStopRequest::IsRaised()
{
    return g_raised.load();
}

} // namespace velmora
