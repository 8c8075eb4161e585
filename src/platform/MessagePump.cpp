#include "platform/MessagePump.h"

#include <thread>
#include <utility>

namespace velmora {

namespace {
struct SPumpHook
{
    std::function<void()> hook;
    std::thread::id owner;
};

SPumpHook &Hook()
{
    static SPumpHook hook;
    return hook;
}
}

void SetMessagePumpHook(std::function<void()> hook)
{
    Hook().owner = std::this_thread::get_id();
    Hook().hook = std::move(hook);
}

void PumpMessages()
{
    const SPumpHook &hook = Hook();
    if (hook.owner == std::this_thread::get_id() && hook.hook)
        hook.hook();
}

} // namespace velmora
