#pragma once

#include <QByteArray>
#include <QStringList>
#include <functional>

namespace velmora::test {

// One run of the built program with its stderr on a pseudo-terminal, as in a user's
// terminal window, and its stdout in a file.
struct STerminalRun
{
    int exitCode = -1;   // -1 when it was ended by a signal or did not end in time
    int endSignal = 0;   // the signal that ended it, if one did
    QByteArray terminal; // everything written to the terminal
    QByteArray out;      // stdout
};

// watch is called with the terminal output so far whenever more arrives, and gets the
// child's process id to send signals to; it returns false once it has nothing more to do.
STerminalRun RunOnTerminal(const QStringList &arguments, const QStringList &environment,
                           const std::function<bool(const QByteArray &terminal, int pid)> &watch = {});

} // namespace velmora::test
