#pragma once

#include <QByteArray>
#include <QProcess>
#include <QProcessEnvironment>
#include <QStringList>

namespace velmora::test {

// One run of the built program: its exit status (-1 when it crashed), stdout and stderr.
struct SRun
{
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

// The same with an environment of the caller's (a temporary folder, a settings folder).
inline SRun RunVelmora(const QStringList &arguments, const QProcessEnvironment &environment)
{
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(QString::fromUtf8(VELMORA_BINARY), arguments);
    process.waitForFinished(60000);
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            process.readAllStandardOutput(), process.readAllStandardError()};
}

inline SRun RunVelmora(const QStringList &arguments)
{
    return RunVelmora(arguments, QProcessEnvironment::systemEnvironment());
}

} // namespace velmora::test
