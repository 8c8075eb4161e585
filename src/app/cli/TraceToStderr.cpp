#include "app/cli/TraceToStderr.h"

#include "app/cli/ProgressLine.h"
#include "base/LogKind.h"

#include <cstdio>
#include <unistd.h>

namespace velmora {

using namespace Qt::Literals::StringLiterals;

namespace {
const char *ColourOf(int kind)
{
    switch (kind) {
    case Good: return "\x1b[32m";
    case Progress: return "\x1b[34m";
    case Problem: return "\x1b[31m";
    default: return "";
    }
}
}

CTraceToStderr::CTraceToStderr()
    : m_bColour(::isatty(STDERR_FILENO) == 1)
{
}

void CTraceToStderr::AddTraceLine(const QString &line, int kind)
{
    QString text = line;
    text.replace(u"\r\n"_s, u"\n"_s);
    if (!text.endsWith(u'\n'))
        text += u'\n';
    const QByteArray bytes = text.toUtf8();
    if (m_progress)
        m_progress->Clear();
    if (m_bColour && *ColourOf(kind))
        std::fprintf(stderr, "%s%s\x1b[0m", ColourOf(kind), bytes.constData());
    else
        std::fputs(bytes.constData(), stderr);
}

} // namespace velmora
