#include "app/PumpBudget.h"

#include <algorithm>
#include <chrono>
#include <limits>

namespace velmora {

namespace {
qint64 SteadyNanoseconds()
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}
} // namespace

CPumpBudget::CPumpBudget(std::function<qint64()> now)
    : m_now(now ? std::move(now) : std::function<qint64()>(SteadyNanoseconds))
    , m_lastTurnEnd(std::numeric_limits<qint64>::min() / 2)
{
}

void CPumpBudget::SetClock(std::function<qint64()> now)
{
    m_now = now ? std::move(now) : std::function<qint64()>(SteadyNanoseconds);
}

bool CPumpBudget::IsDue() const
{
    return !m_bInTurn && m_now() - m_lastTurnEnd >= m_gapNs;
}

bool CPumpBudget::RunIfDue(const std::function<void()> &turn)
{
    if (!IsDue())
        return false;
    const qint64 start = m_now();
    m_bInTurn = true;
    turn();
    m_bInTurn = false;
    m_lastTurnEnd = m_now();
    m_gapNs = std::clamp((m_lastTurnEnd - start) * kTaskShare, kMinGapNs, kMaxGapNs);
    return true;
}

} // namespace velmora
