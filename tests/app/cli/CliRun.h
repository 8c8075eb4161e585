#pragma once

#include "TestSupport.h"

#include <QByteArray>
#include <QDir>
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
inline SRun RunVelmora(const QStringList &arguments, const QProcessEnvironment &environment,
                       int timeoutMs = 60000)
{
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(QString::fromUtf8(VELMORA_BINARY), arguments);
    process.waitForFinished(timeoutMs);
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            process.readAllStandardOutput(), process.readAllStandardError()};
}

inline SRun RunVelmora(const QStringList &arguments)
{
    return RunVelmora(arguments, QProcessEnvironment::systemEnvironment());
}

// A check's printed rows and both run logs, as its data folder holds them afterwards: what
// must be byte-identical however the check was run.
struct SCheckOutcome
{
    int exitCode = -1;
    QByteArray rows;
    QByteArray directoryLog;
    QByteArray errorLog;
    friend bool operator==(const SCheckOutcome &, const SCheckOutcome &) = default;
};

inline SCheckOutcome RunCheckWithLogs(const QStringList &arguments, const QString &dataFolder, int timeoutMs = 60000)
{
    const SRun run = RunVelmora(arguments, QProcessEnvironment::systemEnvironment(), timeoutMs);
    const QDir data(dataFolder);
    return {run.exitCode, run.out, ReadBytes(data.filePath(QStringLiteral("directory.log"))),
            ReadBytes(data.filePath(QStringLiteral("error.log")))};
}

} // namespace velmora::test
