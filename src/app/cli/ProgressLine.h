#pragma once

#include <QByteArray>
#include <QString>
#include <chrono>
#include <functional>

namespace velmora {

// The words of one progress line, cut to width columns: the phase, files done (of the
// total once it is known), the rate after the first second and the time left once the rate
// has settled. total < 0: not known yet.
QString ProgressText(const QString &phase, qint64 done, qint64 total, double elapsedSeconds, int width);

// One line on a terminal that rewrites itself while long work runs and is cleared at the
// end. It redraws at most ten times a second, so a fast loop pays for a clock read only.
class CProgressLine
{
public:
    using Clock = std::chrono::steady_clock;
    struct STerminal
    {
        std::function<void(const QByteArray &)> write;
        std::function<int()> columns;
        std::function<Clock::time_point()> now;
    };

    // Draws on stderr when enabled; a disabled line writes nothing at all.
    explicit CProgressLine(bool enabled);
    explicit CProgressLine(STerminal terminal);
    ~CProgressLine();
    CProgressLine(const CProgressLine &) = delete;
    CProgressLine &operator=(const CProgressLine &) = delete;

    bool IsEnabled() const { return bool(m_terminal.write); }
    // A new phase starts its own count and clock; its first update is drawn at once.
    void StartPhase(const QString &phase);
    const QString &Phase() const { return m_phase; }
    void Update(qint64 done, qint64 total);
    // Takes the line off the screen, for the end of the work or before other text is
    // written to the terminal; the next Update draws it again.
    void Clear();

private:
    void Draw();

    STerminal m_terminal;
    QString m_phase;
    Clock::time_point m_phaseStart;
    Clock::time_point m_lastDraw;
    qint64 m_done = 0;
    qint64 m_total = -1;
    bool m_bShown = false;
    bool m_bFreshPhase = false;
};

// Progress is drawn only for a person watching: stderr is a terminal and --quiet was not given.
bool ProgressWanted(bool quiet);

} // namespace velmora
