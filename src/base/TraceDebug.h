#pragma once

#include "base/Format.h"

namespace velmora {

class CDebugChannel;

// The developer trace channel in use (owned by the application object); null = none.
void SetActiveDebugChannel(CDebugChannel *channel);

// Prepares a message for the channel: carriage returns removed, line feeds made CR LF,
// trailing white space trimmed, cut to 4095 units so the terminating zero fits.
QString DebugChannelText(const QString &message);

void TraceDebugMessage(const QString &message);

template <typename... Args>
void TraceDebug(QStringView format, const Args &...args)
{
    TraceDebugMessage(Format(format, args...));
}

} // namespace velmora
