#pragma once

#include <QtGlobal>

namespace velmora {

// A Win32-style file time: 100-nanosecond intervals since 1 January 1601 (UTC),
// split into two 32-bit words with the low word first.
struct SFileTime
{
    quint32 dwLowDateTime = 0;
    quint32 dwHighDateTime = 0;

    quint64 Ticks() const { return (quint64(dwHighDateTime) << 32) | dwLowDateTime; }
    static SFileTime FromTicks(quint64 ticks)
    {
        return SFileTime{quint32(ticks & 0xFFFFFFFFu), quint32(ticks >> 32)};
    }
    // Converts a Unix time (seconds and nanoseconds since 1970); times before 1601 become 0.
    static SFileTime FromUnix(qint64 seconds, qint64 nanoseconds);
    static SFileTime Now();

    friend bool operator==(const SFileTime &, const SFileTime &) = default;
};

} // namespace velmora
