// The media-information tool's text report: the summaries, the value lookup and durations.
#include "fuzz/FuzzTargets.h"

#include "inspect/MediaInfoLibrary.h"
#include "inspect/MediaInfoReport.h"

namespace velmora::fuzz {

using namespace Qt::Literals::StringLiterals;

namespace {

bool IsCleanValue(const QString &value)
{
    return !value.contains(u'\n') && !value.endsWith(u' ') && !value.endsWith(u'\r');
}

} // namespace

bool FuzzMediaInfoReport(QByteArrayView data)
{
    const QString report = QString::fromUtf8(data);
    const QStringList lines = report.split(u'\n');
    const SToolSummaries summaries = ParseToolReport(lines);
    if (DurationTextToSeconds(summaries.strDuration) < 0)
        return false;
    for (const QString &line : lines) {
        if (DurationTextToSeconds(line) < 0)
            return false;
    }
    // The lookups the checker makes in a library report.
    static const QString kLookups[][2] = {
        {u"General"_s, u"Duration"_s}, {u"Audio"_s, u"Duration"_s}, {u"Audio"_s, u"BitRate"_s},
        {u"Video"_s, u"Bit rate"_s},   {u"General"_s, u"Track name"_s}, {u"General"_s, u"Movie name"_s},
    };
    for (const auto &lookup : kLookups) {
        const QString value = ReportValueIn(report, lookup[0], lookup[1]);
        if (!IsCleanValue(value) || DurationTextToSeconds(value) < 0)
            return false;
    }
    return true;
}

} // namespace velmora::fuzz
