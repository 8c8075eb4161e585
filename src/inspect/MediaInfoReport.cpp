#include "inspect/MediaInfoReport.h"

#include "inspect/TextNumbers.h"

#include <algorithm>
#include <limits>

namespace velmora {

using namespace Qt::Literals::StringLiterals;

// The report parser arrives with the media tool; until then no summary is learnt.
SToolSummaries ParseToolReport(const QStringList &)
{
    return {};
}

namespace {

// Reads the leading integer of one unit ("h", "mn") and moves past the first blank.
qint64 TakeUnit(QString &text, QStringView unit, int factor)
{
    if (!text.contains(unit))
        return 0;
    const qint64 value = qint64(LeadingInteger(text)) * factor;
    const qsizetype blank = text.indexOf(u' ');
    text = blank < 0 ? QString() : text.mid(blank + 1);
    return value;
}

} // namespace

int DurationTextToSeconds(const QString &text)
{
    QString rest = text;
    qint64 total = TakeUnit(rest, u"h", 3600);
    total += TakeUnit(rest, u"mn", 60);
    if (rest.contains(u's'))
        total += LeadingInteger(rest);
    return int(std::clamp<qint64>(total, 0, std::numeric_limits<int>::max()));
}

} // namespace velmora
