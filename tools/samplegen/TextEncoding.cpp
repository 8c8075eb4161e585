#include "samplegen/TextEncoding.h"

namespace velmora::samplegen {

QByteArray Utf16WithMark(const QString &text)
{
    QByteArray out;
    out.reserve(2 + text.size() * 2);
    out.append(char(0xFF)).append(char(0xFE));
    for (const QChar unit : text)
        out.append(char(unit.unicode() & 0xFF)).append(char(unit.unicode() >> 8));
    return out;
}

} // namespace velmora::samplegen
