#pragma once

namespace velmora {

// Ctrl+C (SIGINT) and SIGTERM ask the running command to stop between two files, as the
// window's Stop does, so the rows so far are printed and the logs closed; a second signal
// ends the program at once. The handlers are in place for the object's lifetime.
class CStopSignals
{
public:
    CStopSignals();
    ~CStopSignals();
    CStopSignals(const CStopSignals &) = delete;
    CStopSignals &operator=(const CStopSignals &) = delete;

    // The first signal received while installed, or 0.
    static int Received();
    // The shell's status for a program ended by that signal: 130 for SIGINT, 143 for SIGTERM.
    static int ExitStatus();
};

} // namespace velmora
