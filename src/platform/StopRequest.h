#pragma once

namespace velmora {

// The user's request to end the work that runs now: the window's Stop, and a command line's
// interrupt. It is one flag for the whole process, so that an outside tool waited for deep
// inside a check ends at once, whoever asked. Raising it is safe from a signal handler.
class CStopRequest
{
public:
    static void Raise();
    static void Clear();
    static bool IsRaised();
};

} // namespace velmora
