#include "base/RunLogs.h"

#include "base/TraceSink.h"
#include "base/UserPaths.h"
#include "platform/MessagePump.h"
#include "platform/NativeName.h"

namespace velmora {

using namespace Qt::Literals::StringLiterals;

namespace {
CRunLogs *g_activeLogs = nullptr;
constexpr qsizetype kTracePaneLineMax = 1023;
}

CRunLogs::~CRunLogs()
{
    CloseRunLogs();
    if (g_activeLogs == this)
        g_activeLogs = nullptr;
}

void CRunLogs::OpenRunLogs()
{
    CloseRunLogs();
    {
        const std::lock_guard<std::mutex> lock(m_mutex);
        m_directoryLog.Create(UserDataPath(u"directory.log"_s));
        m_errorLog.Create(UserDataPath(u"error.log"_s));
    }
    if (m_directoryLog.IsOpen() || m_errorLog.IsOpen())
        StartFlusher();
}

void CRunLogs::CloseRunLogs()
{
    StopFlusher();
    const std::lock_guard<std::mutex> lock(m_mutex);
    m_directoryLog.Close();
    m_errorLog.Close();
    m_bPending = false;
}

void CRunLogs::Flush()
{
    const std::lock_guard<std::mutex> lock(m_mutex);
    FlushLocked();
}

void CRunLogs::FlushLocked()
{
    m_directoryLog.Flush();
    m_errorLog.Flush();
    m_bPending = false;
}

void CRunLogs::StartFlusher()
{
    m_bStopFlusher = false;
    m_flusher = std::thread([this] { RunFlusher(); });
}

void CRunLogs::StopFlusher()
{
    if (!m_flusher.joinable())
        return;
    {
        const std::lock_guard<std::mutex> lock(m_mutex);
        m_bStopFlusher = true;
    }
    m_wake.notify_all();
    m_flusher.join();
}

// Waits for a first pending line, then until it is kFlushDelay old, and writes what has
// gathered by then.
void CRunLogs::RunFlusher()
{
    std::unique_lock<std::mutex> lock(m_mutex);
    while (true) {
        m_wake.wait(lock, [this] { return m_bStopFlusher || m_bPending; });
        if (m_bStopFlusher)
            return;
        const auto due = m_firstPending + kFlushDelay;
        if (m_wake.wait_until(lock, due, [this] { return m_bStopFlusher; }))
            return;
        FlushLocked();
    }
}

void CRunLogs::Record(int kind, const QString &text)
{
    // Names that were not valid UTF-8 on disk would put lone surrogates into the UTF-16
    // logs; their bytes are written as "\xHH" instead.
    const QString message = PrintableNativeName(text, false);
    if (m_sink)
        m_sink->AddTraceLine(TracePaneLine(QTime::currentTime(), message), kind);
    const std::lock_guard<std::mutex> lock(m_mutex);
    m_directoryLog.Append(message);
    if (GoesToErrorLog(kind))
        m_errorLog.Append(message);
    if (m_directoryLog.PendingSize() >= kFlushSize || m_errorLog.PendingSize() >= kFlushSize) {
        FlushLocked();
    } else if (!m_bPending && (m_directoryLog.PendingSize() > 0 || m_errorLog.PendingSize() > 0)) {
        m_bPending = true;
        m_firstPending = std::chrono::steady_clock::now();
        m_wake.notify_all();
    }
}

void SetActiveRunLogs(CRunLogs *logs)
{
    g_activeLogs = logs;
}

CRunLogs *ActiveRunLogs()
{
    return g_activeLogs;
}

void FlushActiveRunLogs()
{
    if (g_activeLogs)
        g_activeLogs->Flush();
}

QString TracePaneLine(const QTime &time, const QString &message)
{
    const QString line = Format(u"%02u:%02u:%02u-%03u %s", time.hour(), time.minute(),
                                time.second(), time.msec(), message);
    return line.left(kTracePaneLineMax);
}

void WriteLogMessage(int kind, const QString &message)
{
    if (g_activeLogs)
        g_activeLogs->Record(kind, message);
    PumpMessages();
}

} // namespace velmora
