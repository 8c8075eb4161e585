#include "inspect/Id3v2Tag.h"

#include "base/ByteReader.h"
#include "inspect/Id3Text.h"
#include "inspect/Id3v2FrameCursor.h"

#include <algorithm>
#include <optional>

namespace velmora {

namespace {

// A frame's content goes through a zero-filled buffer of 520 bytes: longer frames are cut
// to 519 bytes, so a text always ends inside it.
constexpr qsizetype kContentBuffer = 520;
constexpr qsizetype kContentLimit = kContentBuffer - 1;
constexpr qsizetype kLanguageCode = 3;

// Frame format flags of versions 2.3 and 2.4.
constexpr quint8 kCompressed23 = 0x80, kEncrypted23 = 0x40, kGrouped23 = 0x20;
constexpr quint8 kGrouped24 = 0x40, kCompressed24 = 0x08, kEncrypted24 = 0x04, kUnsynchronised24 = 0x02,
                 kDataLength24 = 0x01;

// The value slot of a frame id; -1 for frames that are not shown. TIME and TBPM carry
// nothing the checker shows, so they are skipped like any other frame. Version 2.4 moved
// the year into TDRC, whose text begins with it.
int ValueOf(QByteArrayView id)
{
    static constexpr struct { const char *id; int value; } kFrames[] = {
        {"TIT2", Id3v2Title}, {"TPE1", Id3v2Artist}, {"TALB", Id3v2Album}, {"TYER", Id3v2Year},
        {"TDRC", Id3v2Year},  {"TRCK", Id3v2Track},  {"TCON", Id3v2Genre}, {"COMM", Id3v2Comment},
    };
    for (const auto &frame : kFrames) {
        if (id == QByteArrayView(frame.id))
            return frame.value;
    }
    return -1;
}

// Unsynchronisation put a zero byte after every 0xFF; taking those out gives the real bytes.
QByteArray RemoveUnsynchronisation(QByteArrayView bytes)
{
    QByteArray plain;
    plain.reserve(bytes.size());
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        plain.append(bytes.at(i));
        if (quint8(bytes.at(i)) == 0xFF && i + 1 < bytes.size() && bytes.at(i + 1) == 0)
            ++i;
    }
    return plain;
}

// Versions 2.2 and 2.3 unsynchronise the whole tag, version 2.4 each frame.
bool WholeTagUnsynchronised(quint16 wVersion, quint8 nFlags)
{
    return wVersion < 0x0400 && (nFlags & kId3v2Unsynchronised);
}

// Bytes some frame flags put in front of the content (group id, encryption method, data
// length); nullopt when the content is compressed or encrypted and so holds no text.
std::optional<qsizetype> ContentPrefix(quint8 formatFlags, quint16 wVersion)
{
    if (wVersion < 0x0300)
        return 0;
    if (wVersion < 0x0400) {
        if (formatFlags & (kCompressed23 | kEncrypted23))
            return std::nullopt;
        return (formatFlags & kGrouped23) ? 1 : 0;
    }
    if (formatFlags & (kCompressed24 | kEncrypted24))
        return std::nullopt;
    return ((formatFlags & kGrouped24) ? 1 : 0) + ((formatFlags & kDataLength24) ? 4 : 0);
}

// The frame's content as it lands in the content buffer.
std::optional<QByteArray> BufferedContent(const SId3v2Frame &frame, quint16 wVersion, quint8 nTagFlags)
{
    const std::optional<qsizetype> prefix = ContentPrefix(frame.nFormatFlags, wVersion);
    if (!prefix)
        return std::nullopt;
    const QByteArrayView content = frame.content.sliced(std::min(*prefix, frame.content.size()));
    const bool unsynchronised = wVersion >= 0x0400
        && ((frame.nFormatFlags & kUnsynchronised24) || (nTagFlags & kId3v2Unsynchronised));
    if (!unsynchronised)
        return content.first(std::min(content.size(), kContentLimit)).toByteArray();
    // Every buffered byte takes at most two stored ones.
    return RemoveUnsynchronisation(content.first(std::min(content.size(), 2 * kContentLimit))).left(kContentLimit);
}

// A comment starts with its language code and a short description; the text follows.
QString FrameText(int value, QByteArrayView content)
{
    if (content.isEmpty())
        return {};
    const quint8 encoding = quint8(content.at(0));
    QByteArrayView text = content.sliced(1);
    if (value == Id3v2Comment) {
        text = text.sliced(std::min(kLanguageCode, text.size()));
        text = AfterId3Terminator(encoding, text);
    }
    return DecodeId3Text(encoding, text);
}

} // namespace

SId3v2Header ReadId3v2Header(QByteArrayView data)
{
    SId3v2Header header;
    CByteReader reader(data.first(std::min(data.size(), kId3v2HeaderSize)));
    if (!reader.HasAt(0, "ID3"))
        return header;
    reader.Skip(3);
    header.wVersion = reader.Get_B2();
    header.nFlags = reader.Get_B1();
    const QByteArrayView size = reader.Get_Bytes(4);
    if (!reader.Ok())
        return {};
    // Synchsafe: seven bits from each byte; a stray high bit is dropped, not trusted.
    for (const char byte : size)
        header.nBodySize = header.nBodySize << 7 | (quint8(byte) & 0x7F);
    header.bFound = true;
    return header;
}

QByteArrayView Id3v2Body(QByteArrayView image, const SId3v2Header &header)
{
    if (!header.bFound || image.size() <= kId3v2HeaderSize)
        return {};
    const qsizetype available = image.size() - kId3v2HeaderSize;
    return image.sliced(kId3v2HeaderSize, std::min<qint64>(header.nBodySize, available));
}

QStringList ReadId3v2Frames(QByteArrayView body, quint16 wVersion, quint8 nFlags)
{
    QStringList values(Id3v2ValueCount);
    QByteArray resynchronised;
    if (WholeTagUnsynchronised(wVersion, nFlags)) {
        resynchronised = RemoveUnsynchronisation(body);
        body = resynchronised;
    }
    CId3v2FrameCursor cursor(body, wVersion, nFlags);
    SId3v2Frame frame;
    while (cursor.NextFrame(frame)) {
        const int value = ValueOf(frame.id);
        if (value < 0)
            continue;
        if (const std::optional<QByteArray> content = BufferedContent(frame, wVersion, nFlags))
            values[value] = FrameText(value, *content);
    }
    return values;
}

} // namespace velmora
