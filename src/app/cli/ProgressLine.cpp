#include "app/cli/ProgressLine.h"

#include "app/ProgressEstimate.h"

#include <cstdio>
#include <sys/ioctl.h>
#include <unistd.h>

namespace velmora {

using namespace Qt::Literals::StringLiterals;

namespace {

constexpr auto kRedrawInterval = std::chrono::milliseconds(100);

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
    QString text = phase + u": "_s + GroupedNumber(done);
    if (total >= 0)
        text += u" of "_s + GroupedNumber(total);
    text += done == 1 && total < 0 ? u" file"_s : u" files"_s;
    const SProgressEstimate estimate = EstimateProgress(done, total, elapsedSeconds);
    if (estimate.bHasRate)
        text += u", "_s + GroupedNumber(qint64(estimate.dFilesPerSecond + 0.5)) + u" files/s"_s;
    if (estimate.nSecondsLeft >= 0)
        text += u", "_s + ClockText(estimate.nSecondsLeft) + u" left"_s;
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
