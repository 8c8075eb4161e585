#pragma once

#include "base/Format.h"
#include "base/LogKind.h"
#include "base/RunLogFile.h"

#include <QString>
#include <QTime>

namespace velmora {

class ITraceSink;

// The two run logs, directory.log (every line) and error.log (Plain and Problem lines),
// and the trace pane they are mirrored to. Owned by whatever plays the main frame: the
// window, the command line, or a test.
class CRunLogs
{
public:
    CRunLogs() = default;
    ~CRunLogs();
    CRunLogs(const CRunLogs &) = delete;
    CRunLogs &operator=(const CRunLogs &) = delete;

    // Closes both logs, then creates both anew and empty in the user data folder. A log that
    // cannot be created stays closed; logging goes on to the other file and the trace pane.
    void OpenRunLogs();
    void CloseRunLogs();

    void SetTraceSink(ITraceSink *sink) { m_sink = sink; }
    bool IsDirectoryLogOpen() const { return m_directoryLog.IsOpen(); }
    bool IsErrorLogOpen() const { return m_errorLog.IsOpen(); }

    void Record(int kind, const QString &message);

private:
    CRunLogFile m_directoryLog;
    CRunLogFile m_errorLog;
    ITraceSink *m_sink = nullptr;
};

// The run logs that WriteLog writes to; null means lines go nowhere.
void SetActiveRunLogs(CRunLogs *logs);
CRunLogs *ActiveRunLogs();

// The trace-pane form of a line: "hh:mm:ss-mmm message", at most 1023 characters.
QString TracePaneLine(const QTime &time, const QString &message);

void WriteLogMessage(int kind, const QString &message);

template <typename... Args>
void WriteLog(int kind, QStringView format, const Args &...args)
{
    WriteLogMessage(kind, Format(format, args...));
}

} // namespace velmora
