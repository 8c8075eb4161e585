#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <functional>

namespace velmora {

// Starts program with arguments in a process group of its own, with no input and its
// output and errors into one pipe. A worker thread reads the pipe in blocks of at most
// blockSize bytes and hands each to onBlock, until the pipe ends. When that takes longer
// than timeLimitMs the whole group is killed. Returns true when the child started and its
// output ended within the limit; the child is always reaped.
bool RunChildCollectingOutput(const QString &program, const QStringList &arguments, qsizetype blockSize,
                              int timeLimitMs, const std::function<void(const QByteArray &)> &onBlock);

} // namespace velmora
