#pragma once

#include <functional>

namespace velmora {

// Long checks run on the interface thread; they call PumpMessages() after every run-log
// line and every 256 walk entries, and while they wait for an outside tool or for a worker.
// The window installs a hook that processes pending events; headless, nothing is installed
// and the call does nothing. Only the thread that installed the hook pumps: on any other
// thread (a check's workers) the call does nothing.
void SetMessagePumpHook(std::function<void()> hook);
void PumpMessages();

} // namespace velmora
