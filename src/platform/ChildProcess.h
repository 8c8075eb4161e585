#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <functional>

namespace velmora {

// How a child's run ended.
enum class EChildEnd {
    Finished,   // its output ended within the time limit
    NotStarted, // no pipe or no process
    TimedOut,   // killed at the time limit
    Stopped,    // killed because the user asked the work to stop (CStopRequest)
};

// What a run may ask for beyond its program and arguments.
struct SChildOptions
{
    EChildEnd *pEnd = nullptr; // receives how the run ended
    int nPassedFd = -1;        // an open file the child gets as descriptor 3 ("/dev/fd/3")
    // The child runs in the C.UTF-8 locale (LC_ALL), so that it takes its arguments and
    // writes its output as UTF-8 whatever the user's locale.
    bool bUtf8Locale = false;
};

// Starts program with arguments in a process group of its own, with no input and its
// output and errors into one pipe. A worker thread reads the pipe in blocks of at most
// blockSize bytes and hands each to onBlock, until the pipe ends. When that takes longer
// than timeLimitMs, or a stop is requested meanwhile, the whole group is killed; on the
// interface thread messages are pumped while it waits, so Stop can be pressed. Returns true
// when the child started and its output ended within the limit; the child is always reaped.
bool RunChildCollectingOutput(const QString &program, const QStringList &arguments, qsizetype blockSize,
                              int timeLimitMs, const std::function<void(const QByteArray &)> &onBlock,
                              const SChildOptions &options = {});

} // namespace velmora
