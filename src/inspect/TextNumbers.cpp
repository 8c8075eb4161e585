#include "inspect/TextNumbers.h"

#include <limits>

namespace velmora {

int LeadingInteger(QStringView text)
{
    qsizetype i = 0;
    while (i < text.size() && (text.at(i) == u' ' || text.at(i) == u'\t'))
        ++i;
    bool negative = false;
    if (i < text.size() && (text.at(i) == u'-' || text.at(i) == u'+'))
        negative = text.at(i++) == u'-';
    qint64 value = 0;
    const qint64 limit = qint64(std::numeric_limits<int>::max()) + (negative ? 1 : 0);
    for (; i < text.size() && text.at(i) >= u'0' && text.at(i) <= u'9'; ++i)
        value = std::min(limit, value * 10 + (text.at(i).unicode() - u'0'));
    return int(negative ? -value : value);
}

} // namespace velmora
