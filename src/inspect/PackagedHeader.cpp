#include "inspect/PackagedHeader.h"

#include "base/ByteReader.h"
#include "inspect/FileBytes.h"
#include "inspect/MediaAnalysis.h"

namespace velmora {

using namespace Qt::Literals::StringLiterals;

namespace {

constexpr qsizetype kHeaderSize = 16;
// The info text is read into a zeroed buffer of 260 bytes, so it is at most 259 bytes
// long and ends at its first zero byte.
constexpr qsizetype kInfoBuffer = 260;

// "X-(215,128,2001,3,Pop)" → 215, 128, 2001, 3, Pop into targetSlots 0, 1, 6, 7 and 8.
void TakeNumbers(const QString &field, QStringList &result)
{
    const QString trimmed = field.trimmed();
    if (!trimmed.contains(u'(') || !trimmed.contains(u')'))
        return;
    const qsizetype dash = trimmed.indexOf(u'-');
    QString inner = dash < 0 ? trimmed : trimmed.mid(dash + 1);
    while (inner.startsWith(u'('))
        inner.remove(0, 1);
    while (inner.endsWith(u')'))
        inner.chop(1);
    const QStringList values = inner.split(u',');
    const int targetSlots[] = {SlotDuration, SlotBitRate, SlotYear, SlotTrack, SlotGenre};
    for (qsizetype i = 0; i < values.size() && i < 5; ++i)
        result[targetSlots[i]] = values.at(i);
}

} // namespace

bool ReadPackagedHeaderBytes(QByteArrayView bytes, QStringList &result)
{
    result.clear();
    CByteReader reader(bytes);
    const bool tagged = reader.HasAt(0, "PCGH");
    reader.Seek(12);
    const quint32 length = reader.Get_L4();
    if (!reader.Ok() || !tagged || length == 0)
        return false;
    QByteArray info = bytes.sliced(kHeaderSize).first(std::min<qsizetype>(bytes.size() - kHeaderSize, length)).toByteArray();
    info.truncate(kInfoBuffer - 1);
    const qsizetype zero = info.indexOf('\0');
    if (zero >= 0)
        info.truncate(zero);
    const QStringList fields = QString::fromUtf8(info).split(u'|');
    result = QStringList(kFullAnalysisSlots);
    result[SlotTitle] = fields.value(1);
    result[SlotArtist] = fields.value(2);
    result[SlotAlbum] = fields.value(3);
    TakeNumbers(fields.value(4), result);
    return true;
}

bool ReadPackagedHeader(const QString &path, QStringList &result)
{
    result.clear();
    const auto ends = ReadFileEnds(path, kHeaderSize + kInfoBuffer, 0);
    return ends && ReadPackagedHeaderBytes(ends->head, result);
}

} // namespace velmora
