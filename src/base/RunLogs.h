#pragma once

#include "base/Format.h"
#include "base/LogKind.h"
#include "base/RunLogFile.h"

#include <QString>
#include <QTime>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace velmora {

class ITraceSink;

// The two run logs, directory.log (every line) and error.log (Plain and Problem lines),
// and the trace pane they are mirrored to. Owned by whatever plays the main frame: the
// window, the command line, or a test.
//
// Lines reach the files in blocks: a line is on disk at most kFlushDelay after it was
// recorded (a thread of the logs writes it when the program is busy elsewhere), at once
// when much is pending, and always by Flush and CloseRunLogs. One write per line cost more
// than the rest of a check of an unchanged library.
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
    // Writes every pending line now.
    void Flush();

    enum class ELogFile { Directory, Error };
    // Appends bytes as they are to one log file: the logs of a check kept from an earlier
    // run, which already carry the file's mark and encoding. Not mirrored to the trace pane.
    // False when that log is not open or writing failed.
    bool WriteFileBytes(ELogFile file, QByteArrayView bytes);

    static constexpr std::chrono::milliseconds kFlushDelay{100};
    // Pending characters that are written at once rather than at the delay, by the logs'
    // thread; the recording thread writes itself only when far more waits.
    static constexpr qsizetype kFlushSize = 32768;
    static constexpr qsizetype kBackPressureSize = 16 * kFlushSize;

private:
    void StartFlusher();
    void StopFlusher();
    void RunFlusher();

    CRunLogFile m_directoryLog;
    CRunLogFile m_errorLog;
    ITraceSink *m_sink = nullptr;

    // Taken before m_pendingMutex when both are: blocks reach the files in the order they
    // were taken.
    std::mutex m_fileMutex;
    std::mutex m_pendingMutex; // guards the pending text and the fields below
    std::condition_variable m_wake;
    std::thread m_flusher;
    bool m_bStopFlusher = false;
    bool m_bPending = false;
    bool m_bFlushNow = false;
    std::chrono::steady_clock::time_point m_firstPending;
};

// The run logs that WriteLog writes to; null means lines go nowhere.
void SetActiveRunLogs(CRunLogs *logs);
CRunLogs *ActiveRunLogs();
// Writes the active logs' pending lines, before they are shown to the user.
void FlushActiveRunLogs();

// The trace-pane form of a line: "hh:mm:ss-mmm message", at most 1023 characters.
QString TracePaneLine(const QTime &time, const QString &message);

void WriteLogMessage(int kind, const QString &message);

template <typename... Args>
void WriteLog(int kind, QStringView format, const Args &...args)
{
    WriteLogMessage(kind, Format(format, args...));
}

} // namespace velmora
