#include "base/RunLogs.h"

#include "base/LocalClock.h"
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
        const std::scoped_lock lock(m_fileMutex, m_pendingMutex);
        m_directoryLog.Create(UserDataPath(u"directory.log"_s));
        m_errorLog.Create(UserDataPath(u"error.log"_s));
    }
    if (m_directoryLog.IsOpen() || m_errorLog.IsOpen())
        StartFlusher();
}

void CRunLogs::CloseRunLogs()
{
    StopFlusher();
    const std::scoped_lock lock(m_fileMutex, m_pendingMutex);
    m_directoryLog.Close();
    m_errorLog.Close();
    m_bPending = false;
}

void CRunLogs::Flush()
{
    const std::lock_guard<std::mutex> fileLock(m_fileMutex);
    QString directoryBlock;
    QString errorBlock;
    {
        const std::lock_guard<std::mutex> lock(m_pendingMutex);
        directoryBlock = m_directoryLog.TakePending();
        errorBlock = m_errorLog.TakePending();
        m_bPending = false;
        m_bFlushNow = false;
    }
    m_directoryLog.Write(directoryBlock);
    m_errorLog.Write(errorBlock);
}

bool CRunLogs::WriteFileBytes(ELogFile file, QByteArrayView bytes)
{
    Flush();
    const std::lock_guard<std::mutex> fileLock(m_fileMutex);
    return (file == ELogFile::Directory ? m_directoryLog : m_errorLog).WriteBytes(bytes);
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
        const std::lock_guard<std::mutex> lock(m_pendingMutex);
        m_bStopFlusher = true;
    }
    m_wake.notify_all();
    m_flusher.join();
}

// Waits for a first pending line, then until it is kFlushDelay old or much has gathered,
// and writes what is pending by then.
void CRunLogs::RunFlusher()
{
    std::unique_lock<std::mutex> lock(m_pendingMutex);
    while (true) {
        m_wake.wait(lock, [this] { return m_bStopFlusher || m_bPending; });
        if (m_bStopFlusher)
            return;
        const auto due = m_firstPending + kFlushDelay;
        if (m_wake.wait_until(lock, due, [this] { return m_bStopFlusher || m_bFlushNow; }) && m_bStopFlusher)
            return;
        lock.unlock();
        Flush();
        lock.lock();
    }
}

void CRunLogs::Record(int kind, const QString &text)
{
    // Names that were not valid UTF-8 on disk would put lone surrogates into the UTF-16
    // logs; their bytes are written as "\xHH" instead.
    const QString message = PrintableNativeName(text, false);
    if (m_sink)
        m_sink->AddTraceLine(TracePaneLine(LocalTimeNow(), message), kind);
    qsizetype pending = 0;
    {
        const std::lock_guard<std::mutex> lock(m_pendingMutex);
        m_directoryLog.Append(message);
        if (GoesToErrorLog(kind))
            m_errorLog.Append(message);
        pending = std::max(m_directoryLog.PendingSize(), m_errorLog.PendingSize());
        if (pending == 0)
            return;
        if (!m_bPending) {
            m_bPending = true;
            m_firstPending = std::chrono::steady_clock::now();
            m_wake.notify_all();
        }
        if (pending >= kFlushSize && !m_bFlushNow) {
            m_bFlushNow = true;
            m_wake.notify_all();
        }
    }
    // The logs' thread cannot keep up (or there is none): this thread writes.
    if (pending >= kBackPressureSize || !m_flusher.joinable())
        Flush();
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
