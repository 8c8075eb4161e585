#include "inspect/MediaInfoReport.h"

#include <algorithm>
#include <limits>

namespace velmora {

using namespace Qt::Literals::StringLiterals;

namespace {

enum class ESection { None, General, Video, Audio };

ESection SectionNamed(const QString &line)
{
    if (line.compare(u"General"_s, Qt::CaseInsensitive) == 0)
        return ESection::General;
    if (line.compare(u"Video"_s, Qt::CaseInsensitive) == 0)
        return ESection::Video;
    if (line.compare(u"Audio"_s, Qt::CaseInsensitive) == 0)
        return ESection::Audio;
    return ESection::None;
}

bool IsKeyOf(ESection section, const QString &key)
{
    static const QStringList general{u"Format"_s, u"Format profile"_s, u"Format version"_s, u"Format/Info"_s,
                                     u"Codec ID"_s, u"File size"_s, u"Duration"_s};
    static const QStringList video{u"Format"_s, u"Format profile"_s, u"Format version"_s, u"Codec ID"_s,
                                   u"Duration"_s, u"Bit rate"_s, u"Width"_s, u"Height"_s};
    static const QStringList audio{u"Format"_s, u"Format profile"_s, u"Format version"_s, u"Codec ID"_s,
                                   u"Codec ID/Hint"_s, u"Duration"_s, u"Bit rate"_s, u"Channel(s)"_s};
    const QStringList &keys = section == ESection::General ? general : section == ESection::Video ? video : audio;
    return section != ESection::None && keys.contains(key, Qt::CaseInsensitive);
}

QString &SummaryOf(SToolSummaries &summaries, ESection section)
{
    return section == ESection::General ? summaries.strGeneral
         : section == ESection::Video   ? summaries.strVideo
                                        : summaries.strAudio;
}

QString TrimmedEnd(QStringView text)
{
    qsizetype end = text.size();
    while (end > 0 && text.at(end - 1).isSpace())
        --end;
    return text.first(end).toString();
}

void TakeKeyLine(SToolSummaries &summaries, ESection section, const QString &line)
{
    const qsizetype colon = line.indexOf(u':');
    const QString key = TrimmedEnd(QStringView(line).first(colon));
    if (!IsKeyOf(section, key))
        return;
    QString value = TrimmedEnd(QStringView(line).sliced(std::min(colon + 2, line.size())));
    if (section == ESection::General && key.compare(u"File size"_s, Qt::CaseInsensitive) == 0)
        value.replace(u"MiB"_s, u"MB"_s);
    if (section == ESection::General && key.compare(u"Duration"_s, Qt::CaseInsensitive) == 0)
        summaries.strDuration = value;
    QString &summary = SummaryOf(summaries, section);
    if (!summary.isEmpty())
        summary += u", "_s;
    summary += value;
}

qint64 UnitSeconds(QStringView unit)
{
    if (unit == u"h")
        return 3600;
    if (unit == u"mn" || unit == u"min")
        return 60;
    if (unit == u"s")
        return 1;
    return 0; // "ms" and anything unknown add nothing
}

} // namespace

SToolSummaries ParseToolReport(const QStringList &lines)
{
    SToolSummaries summaries;
    ESection section = ESection::None;
    for (const QString &rawLine : lines) {
        const QString line = rawLine.trimmed();
        if (line.isEmpty())
            section = ESection::None;
        else if (!line.contains(u':')) {
            if (const ESection named = SectionNamed(line); named != ESection::None)
                section = named;
        } else if (section != ESection::None) {
            TakeKeyLine(summaries, section, line);
        }
    }
    return summaries;
}

int DurationTextToSeconds(const QString &text)
{
    // Each number counts with the unit that follows it, with or without a blank between.
    qint64 total = 0;
    qsizetype i = 0;
    while (i < text.size()) {
        if (!text.at(i).isDigit()) {
            ++i;
            continue;
        }
        qint64 number = 0;
        for (; i < text.size() && text.at(i).isDigit(); ++i)
            number = std::min<qint64>(number * 10 + text.at(i).digitValue(), std::numeric_limits<int>::max());
        while (i < text.size() && text.at(i) == u' ')
            ++i;
        const qsizetype unitStart = i;
        while (i < text.size() && text.at(i).isLetter())
            ++i;
        total += number * UnitSeconds(QStringView(text).sliced(unitStart, i - unitStart));
        total = std::min<qint64>(total, std::numeric_limits<int>::max());
    }
    return int(total);
}

} // namespace velmora
