#include "playlist/UnicodePlaylist.h"

#include "base/StdioFileEx.h"

namespace velmora {

using namespace Qt::Literals::StringLiterals;

namespace {

// Each record is a data line plus the following lines that complete its separators.
EPlaylistOutcome DeliverRecords(CStdioFileEx &file, qsizetype separators, bool recordNeedsBar,
                                const SongLineSink &sink)
{
    file.Seek(0, CStdioFileEx::begin);
    QString line;
    QString next;
    while (file.ReadString(line)) {
        if (!IsDataLine(line) || (recordNeedsBar && !line.contains(u'|')))
            continue;
        QString record = line;
        qsizetype bars = record.count(u'|');
        while (bars < separators && record.size() < kMaxRecordUnits && file.ReadString(next)) {
            ChopTrailingBlanks(record);
            record += next;
            bars += next.count(u'|');
        }
        if (!sink(record))
            return EPlaylistOutcome::SinkFailed;
    }
    return EPlaylistOutcome::Songs;
}

} // namespace

EHeaderKind ClassifyHeaderComment(const QString &comment)
{
    const QString lower = comment.toLower();
    if (!lower.contains(u"header"_s))
        return EHeaderKind::NotHeader;
    if (lower.contains(u"naming"_s))
        return EHeaderKind::Naming;
    if (lower.contains(u"record"_s) || lower.contains(u"playlist"_s))
        return EHeaderKind::Record;
    return EHeaderKind::Unusable;
}

qsizetype HeaderSeparatorCount(const QString &header)
{
    // Without a ":" the whole comment is taken as the field list.
    const QStringView fields = QStringView(header).sliced(header.lastIndexOf(u':') + 1);
    return fields.count(u',') + fields.count(u'.');
}

EPlaylistOutcome ReadUnicodePlaylist(CStdioFileEx &file, bool recordNeedsBar, const SongLineSink &sink)
{
    QString line;
    while (file.ReadString(line)) {
        if (!IsCommentLine(line))
            return EPlaylistOutcome::InvalidUnicode;
        switch (ClassifyHeaderComment(line)) {
        case EHeaderKind::NotHeader:
            continue;
        case EHeaderKind::Naming:
            return EPlaylistOutcome::Naming;
        case EHeaderKind::Unusable:
            return EPlaylistOutcome::InvalidUnicode;
        case EHeaderKind::Record:
            return DeliverRecords(file, HeaderSeparatorCount(line), recordNeedsBar, sink);
        }
    }
    return EPlaylistOutcome::InvalidUnicode;
}

} // namespace velmora
