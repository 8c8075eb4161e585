#include "app/cli/ProgressLine.h"

#include <cstdio>
#include <sys/ioctl.h>
#include <unistd.h>

namespace velmora {

using namespace Qt::Literals::StringLiterals;

namespace {

constexpr auto kRedrawInterval = std::chrono::milliseconds(100);
// Before this, a rate says more about start-up than about the work.
constexpr double kSecondsBeforeRate = 1.0;
constexpr double kSecondsBeforeTimeLeft = 3.0;
constexpr qint64 kFilesBeforeTimeLeft = 10;

QString Grouped(qint64 number)
{
    QString digits = QString::number(number);
    for (qsizetype at = digits.size() - 3; at > 0 && digits.at(at - 1).isDigit(); at -= 3)
        digits.insert(at, u',');
    return digits;
}

QString Clock(qint64 seconds)
{
    const qint64 hours = seconds / 3600;
    const qint64 minutes = seconds / 60 % 60;
    const QString rest = u"%1:%2"_s.arg(minutes).arg(seconds % 60, 2, 10, QChar(u'0'));
    if (hours == 0)
        return rest;
    return u"%1:%2:%3"_s.arg(hours).arg(minutes, 2, 10, QChar(u'0')).arg(seconds % 60, 2, 10, QChar(u'0'));
}

int StderrColumns()
{
    winsize size{};
    if (::ioctl(STDERR_FILENO, TIOCGWINSZ, &size) == 0 && size.ws_col > 0)
        return size.ws_col;
    return 80;
}

void WriteStderr(const QByteArray &bytes)
{
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stderr);
    std::fflush(stderr);
}

} // namespace

QString ProgressText(const QString &phase, qint64 done, qint64 total, double elapsedSeconds, int width)
{
    QString text = phase + u": "_s + Grouped(done);
    if (total >= 0)
        text += u" of "_s + Grouped(total);
    text += done == 1 && total < 0 ? u" file"_s : u" files"_s;
    if (elapsedSeconds >= kSecondsBeforeRate && done > 0) {
        const double rate = double(done) / elapsedSeconds;
        text += u", "_s + Grouped(qint64(rate + 0.5)) + u" files/s"_s;
        if (total > done && elapsedSeconds >= kSecondsBeforeTimeLeft && done >= kFilesBeforeTimeLeft)
            text += u", "_s + Clock(qint64(double(total - done) / rate + 0.5)) + u" left"_s;
    }
    // The last column stays free: writing into it makes some terminals wrap the line.
    if (width > 1 && text.size() > width - 1)
        text.truncate(width - 1);
    return text;
}

CProgressLine::CProgressLine(bool enabled)
{
    if (enabled)
        m_terminal = {WriteStderr, StderrColumns, [] { return Clock::now(); }};
}

CProgressLine::CProgressLine(STerminal terminal)
    : m_terminal(std::move(terminal))
{
}

CProgressLine::~CProgressLine()
{
    Clear();
}

void CProgressLine::StartPhase(const QString &phase)
{
    if (!IsEnabled())
        return;
    m_phase = phase;
    m_phaseStart = m_terminal.now();
    m_done = 0;
    m_total = -1;
    m_bFreshPhase = true;
}

void CProgressLine::Update(qint64 done, qint64 total)
{
    if (!IsEnabled() || m_phase.isEmpty())
        return;
    m_done = done;
    m_total = total;
    if (m_bFreshPhase || !m_bShown || m_terminal.now() - m_lastDraw >= kRedrawInterval)
        Draw();
}

void CProgressLine::Clear()
{
    if (!m_bShown)
        return;
    m_terminal.write("\r\x1b[K");
    m_bShown = false;
}

void CProgressLine::Draw()
{
    m_lastDraw = m_terminal.now();
    const double elapsed = std::chrono::duration<double>(m_lastDraw - m_phaseStart).count();
    const QString text = ProgressText(m_phase, m_done, m_total, elapsed, m_terminal.columns());
    m_terminal.write("\r" + text.toUtf8() + "\x1b[K");
    m_bShown = true;
    m_bFreshPhase = false;
}

bool ProgressWanted(bool quiet)
{
    return !quiet && ::isatty(STDERR_FILENO) == 1;
}

} // namespace velmora
