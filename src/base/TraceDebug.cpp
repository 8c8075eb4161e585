#include "base/TraceDebug.h"

#include "platform/DebugChannel.h"

namespace velmora {

using namespace Qt::Literals::StringLiterals;

namespace {
CDebugChannel *g_channel = nullptr;
constexpr qsizetype kChannelBufferUnits = 4096;
}

void SetActiveDebugChannel(CDebugChannel *channel)
{
    g_channel = channel;
}

QString DebugChannelText(const QString &message)
{
    QString text = message;
    text.remove(u'\r');
    text.replace(u"\n"_s, u"\r\n"_s);
    qsizetype end = text.size();
    while (end > 0 && text.at(end - 1).isSpace())
        --end;
    text.truncate(std::min(end, kChannelBufferUnits - 1));
    return text;
}

void TraceDebugMessage(const QString &message)
{
    if (g_channel)
        g_channel->Send(DebugChannelText(message));
}

} // namespace velmora
