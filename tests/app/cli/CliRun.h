#pragma once

#include <QByteArray>
#include <QProcess>
#include <QStringList>

namespace velmora::test {

// One run of the built program: its exit status (-1 when it crashed), stdout and stderr.
struct SRun
{
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

inline SRun RunVelmora(const QStringList &arguments)
{
    QProcess process;
    process.start(QString::fromUtf8(VELMORA_BINARY), arguments);
    process.waitForFinished(60000);
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            process.readAllStandardOutput(), process.readAllStandardError()};
}

} // namespace velmora::test
