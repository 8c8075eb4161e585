#include "legacy/TempoMap.h"

#include <algorithm>
#include <climits>

namespace velmora {

namespace {

qint64 ClampTick(qint64 tick)
{
    return std::clamp<qint64>(tick, 0, kMaxMidiTick);
}

// Milliseconds of a number of ticks at one tempo, truncated.
qint64 SpanMilliseconds(qint64 ticks, quint32 microsPerQuarter, int ticksPerQuarter)
{
    const qint64 micros = std::min<qint64>(microsPerQuarter, kMaxMicrosPerQuarter);
    return ClampTick(ticks) * micros / ticksPerQuarter / 1000;
}

} // namespace

void BuildTempoMap(QList<tagTempoInfo> &tempos, qint64 songEndTick, int ticksPerQuarter)
{
    // Tempo events of later tracks, or an unsorted WRK list, would otherwise give negative
    // lengths; for a list in order the stable sort changes nothing.
    std::stable_sort(tempos.begin(), tempos.end(), [](const tagTempoInfo &a, const tagTempoInfo &b) {
        return a.nStartTick < b.nStartTick;
    });
    qint64 startMs = 0;
    for (qsizetype i = 0; i < tempos.size(); ++i) {
        tagTempoInfo &tempo = tempos[i];
        tempo.nStartTick = ClampTick(tempo.nStartTick);
        const qint64 nextTick = i + 1 < tempos.size() ? ClampTick(tempos[i + 1].nStartTick) : ClampTick(songEndTick);
        tempo.nLengthTicks = std::max<qint64>(nextTick - tempo.nStartTick, 0);
        tempo.nStartMs = startMs;
        if (ticksPerQuarter > 0)
            startMs += SpanMilliseconds(tempo.nLengthTicks, tempo.nMicrosPerQuarter, ticksPerQuarter);
    }
}

qint64 TickToMilliseconds(const QList<tagTempoInfo> &tempos, qint64 tick, int ticksPerQuarter)
{
    // The division is the divisor of every step: without one there is no playing time.
    if (tempos.isEmpty() || ticksPerQuarter <= 0)
        return 0;
    tick = ClampTick(tick);
    const auto holds = [tick](const tagTempoInfo &tempo) {
        return tick >= tempo.nStartTick && tick - tempo.nStartTick < tempo.nLengthTicks;
    };
    const auto found = std::find_if(tempos.cbegin(), tempos.cend() - 1, holds);
    // A tick before the first change (only when the song ends there) counts from the change.
    const qint64 offset = std::max<qint64>(tick - found->nStartTick, 0);
    return found->nStartMs + SpanMilliseconds(offset, found->nMicrosPerQuarter, ticksPerQuarter);
}

void MeasureMidiDuration(MidiSongInfo &info)
{
    BuildTempoMap(info.tempos, info.nSongEndTick, info.nTicksPerQuarter);
    info.nDurationMs = TickToMilliseconds(info.tempos, info.nSongEndTick, info.nTicksPerQuarter);
    info.nDurationSeconds = int(std::min<qint64>(info.nDurationMs / 1000, INT_MAX));
}

} // namespace velmora
