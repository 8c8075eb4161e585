#include "platform/MessagePump.h"

#include <utility>

namespace velmora {

namespace {
std::function<void()> &Hook()
{
    static std::function<void()> hook;
    return hook;
}
}

void SetMessagePumpHook(std::function<void()> hook)
{
    Hook() = std::move(hook);
}

void PumpMessages()
{
    if (Hook())
        Hook()();
}

} // namespace velmora
