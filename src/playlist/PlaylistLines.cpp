#include "playlist/PlaylistLines.h"

namespace velmora {

namespace {

bool IsBlank(QChar ch)
{
    return ch == u' ' || ch == u'\t';
}

} // namespace

bool IsCommentLine(const QString &line)
{
    for (const QChar ch : line) {
        if (!IsBlank(ch))
            return ch == u';';
    }
    return false;
}

bool IsDataLine(const QString &line)
{
    return line.size() > 3 && !IsCommentLine(line);
}

void ChopTrailingBlanks(QString &text)
{
    qsizetype end = text.size();
    while (end > 0 && IsBlank(text.at(end - 1)))
        --end;
    text.truncate(end);
}

} // namespace velmora
