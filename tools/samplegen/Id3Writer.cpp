#include "samplegen/Id3Writer.h"

#include "samplegen/TextEncoding.h"

#include <algorithm>
#include <cstring>

namespace velmora::samplegen {

namespace {

// Taggers leave zero bytes after the last frame so the tag can grow in place;
// readers have to stop at them, so the samples carry some.
constexpr int kPaddingBytes = 16;
// Largest value four 7-bit bytes can hold.
constexpr qsizetype kMaxSynchsafe = 0x0FFFFFFF;

bool IsLatin1(const QString &text)
{
    return std::all_of(text.cbegin(), text.cend(), [](QChar c) { return c.unicode() <= 0xFF; });
}

void AppendBigEndian32(QByteArray &out, quint32 value)
{
    for (int shift = 24; shift >= 0; shift -= 8)
        out.append(char((value >> shift) & 0xFF));
}

void AppendSynchsafe(QByteArray &out, quint32 value)
{
    for (int shift = 21; shift >= 0; shift -= 7)
        out.append(char((value >> shift) & 0x7F));
}

QByteArray TextContent(const QString &text)
{
    if (IsLatin1(text))
        return QByteArray(1, '\0') + text.toLatin1();
    return QByteArray(1, '\1') + Utf16WithMark(text);
}

// Encoding, language, an empty short description with its terminator, then the text.
QByteArray CommentContent(const QString &text)
{
    if (IsLatin1(text))
        return QByteArray(1, '\0') + QByteArrayLiteral("eng") + QByteArray(1, '\0') + text.toLatin1();
    return QByteArray(1, '\1') + QByteArrayLiteral("eng") + Utf16WithMark(QString())
        + QByteArray(2, '\0') + Utf16WithMark(text);
}

void AppendFrame(QByteArray &body, const char *id, const QByteArray &content)
{
    body.append(id, 4);
    AppendBigEndian32(body, quint32(content.size()));
    body.append(2, '\0'); // frame flags
    body.append(content);
}

void AppendTextFrame(QByteArray &body, const char *id, const QString &text)
{
    if (!text.isEmpty())
        AppendFrame(body, id, TextContent(text));
}

QByteArray FrameBody(const SId3Fields &fields)
{
    QByteArray body;
    AppendTextFrame(body, "TIT2", fields.title);
    AppendTextFrame(body, "TPE1", fields.artist);
    AppendTextFrame(body, "TALB", fields.album);
    if (fields.year > 0)
        AppendTextFrame(body, "TYER", QString::number(fields.year));
    if (fields.track > 0)
        AppendTextFrame(body, "TRCK", QString::number(fields.track));
    AppendTextFrame(body, "TCON", fields.genre);
    if (!fields.comment.isEmpty())
        AppendFrame(body, "COMM", CommentContent(fields.comment));
    return body;
}

// Copies the ISO-8859-1 form of text into a fixed field; the rest stays zero.
void PutField(QByteArray &tag, int offset, int width, const QString &text)
{
    const QByteArray bytes = text.toLatin1().left(width);
    std::memcpy(tag.data() + offset, bytes.constData(), size_t(bytes.size()));
}

} // namespace

QByteArray MakeId3v23Tag(const SId3Fields &fields)
{
    QByteArray body = FrameBody(fields);
    body.append(kPaddingBytes, '\0');
    if (body.size() > kMaxSynchsafe)
        return {};

    QByteArray tag = QByteArrayLiteral("ID3");
    tag.append(char(3)).append(char(0)); // version 2.3.0
    tag.append(char(0));                 // flags
    AppendSynchsafe(tag, quint32(body.size()));
    return tag + body;
}

QByteArray MakeId3v1Tag(const SId3Fields &fields)
{
    QByteArray tag(kId3v1Bytes, '\0');
    std::memcpy(tag.data(), "TAG", 3);
    PutField(tag, 3, 30, fields.title);
    PutField(tag, 33, 30, fields.artist);
    PutField(tag, 63, 30, fields.album);
    if (fields.year > 0)
        PutField(tag, 93, 4, QString::number(fields.year));
    PutField(tag, 97, 28, fields.comment);
    // Byte 125 stays zero: that is what marks byte 126 as a track number (version 1.1).
    tag[126] = char(fields.track >= 1 && fields.track <= 255 ? fields.track : 0);
    tag[127] = char(fields.genreIndex >= 0 && fields.genreIndex <= 255 ? fields.genreIndex : 255);
    return tag;
}

} // namespace velmora::samplegen
