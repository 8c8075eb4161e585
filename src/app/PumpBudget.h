#pragma once

#include <QtGlobal>

#include <functional>

namespace velmora {

// When a long task on the interface thread (a check, a playlist load) lets the window run.
// Each turn of the window repaints what changed; taken after every run-log line, the
// repainting alone costs many times the task. A turn is due once the task has had
// kTaskShare times as long as the last turn took, but at least kMinGap and at most kMaxGap:
// the window then runs several times a second and takes about a tenth of the time.
class CPumpBudget
{
public:
    static constexpr qint64 kMinGapNs = 40'000'000;
    static constexpr qint64 kMaxGapNs = 250'000'000;
    static constexpr qint64 kTaskShare = 9;

    // now: a monotonic clock in nanoseconds; the steady clock unless a test gives its own.
    explicit CPumpBudget(std::function<qint64()> now = {});
    void SetClock(std::function<qint64()> now);

    bool IsDue() const;
    // Runs turn when one is due and times it; returns whether it ran. Never due again inside
    // a turn: the window does not run within its own turn.
    bool RunIfDue(const std::function<void()> &turn);
    // The time the task gets before the next turn.
    qint64 GapNs() const { return m_gapNs; }

private:
    std::function<qint64()> m_now;
    qint64 m_lastTurnEnd;
    qint64 m_gapNs = kMinGapNs;
    bool m_bInTurn = false;
};

} // namespace velmora
