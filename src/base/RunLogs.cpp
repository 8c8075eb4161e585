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
    m_directoryLog.Create(UserDataPath(u"directory.log"_s));
    m_errorLog.Create(UserDataPath(u"error.log"_s));
}

void CRunLogs::CloseRunLogs()
{
    m_directoryLog.Close();
    m_errorLog.Close();
}

void CRunLogs::Record(int kind, const QString &text)
{
    // Names that were not valid UTF-8 on disk would put lone surrogates into the UTF-16
    // logs; their bytes are written as "\xHH" instead.
    const QString message = PrintableNativeName(text, false);
    if (m_sink)
        m_sink->AddTraceLine(TracePaneLine(QTime::currentTime(), message), kind);
    m_directoryLog.Append(message);
    if (GoesToErrorLog(kind))
        m_errorLog.Append(message);
}

void SetActiveRunLogs(CRunLogs *logs)
{
    g_activeLogs = logs;
}

CRunLogs *ActiveRunLogs()
{
    return g_activeLogs;
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
