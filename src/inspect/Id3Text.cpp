#include "inspect/Id3Text.h"

#include "platform/CodePage.h"

namespace velmora {

namespace {

bool IsWide(quint8 encoding)
{
    return encoding == Id3Utf16 || encoding == Id3Utf16Be;
}

// Length of the text in front of the first terminator (the whole view when there is none).
// Wide terminators count only on code-unit boundaries.
qsizetype TextLength(quint8 encoding, QByteArrayView bytes)
{
    const qsizetype step = IsWide(encoding) ? 2 : 1;
    for (qsizetype i = 0; i + step <= bytes.size(); i += step) {
        if (bytes.at(i) == 0 && (step == 1 || bytes.at(i + 1) == 0))
            return i;
    }
    return step == 1 ? bytes.size() : bytes.size() - bytes.size() % 2;
}

QString Utf16Units(QByteArrayView bytes, bool bigEndian)
{
    QString text;
    text.reserve(bytes.size() / 2);
    for (qsizetype i = 0; i + 1 < bytes.size(); i += 2) {
        const quint8 first = quint8(bytes.at(i));
        const quint8 second = quint8(bytes.at(i + 1));
        text.append(QChar(bigEndian ? char16_t(first << 8 | second) : char16_t(second << 8 | first)));
    }
    // A frame cut to the content buffer can end between the halves of a pair.
    if (!text.isEmpty() && text.back().isHighSurrogate())
        text.chop(1);
    return text;
}

// The mark decides the byte order and is not part of the text; a text without one is
// taken as little-endian, the order Windows taggers write.
QString DecodeMarkedUtf16(QByteArrayView bytes)
{
    if (bytes.startsWith("\xFE\xFF"))
        return Utf16Units(bytes.sliced(2), true);
    if (bytes.startsWith("\xFF\xFE"))
        return Utf16Units(bytes.sliced(2), false);
    return Utf16Units(bytes, false);
}

QString DecodeBigEndianUtf16(QByteArrayView bytes)
{
    // Some taggers put a mark in front anyway; it is no character of the text.
    return Utf16Units(bytes.startsWith("\xFE\xFF") ? bytes.sliced(2) : bytes, true);
}

} // namespace

QString DecodeId3Narrow(QByteArrayView bytes)
{
    const QByteArray text = bytes.first(TextLength(Id3Latin, bytes)).toByteArray();
    bool ok = false;
    const QString decoded = DecodeCodePage(text, AnsiCodePage(), &ok);
    return ok ? decoded : QString::fromLatin1(text);
}

QString DecodeId3Text(quint8 encoding, QByteArrayView bytes)
{
    const QByteArrayView text = bytes.first(TextLength(encoding, bytes));
    switch (encoding) {
    case Id3Latin:
        return DecodeId3Narrow(text);
    case Id3Utf16:
        return DecodeMarkedUtf16(text);
    case Id3Utf16Be:
        return DecodeBigEndianUtf16(text);
    case Id3Utf8:
        return QString::fromUtf8(text);
    default:
        return {};
    }
}

QByteArrayView AfterId3Terminator(quint8 encoding, QByteArrayView bytes)
{
    const qsizetype length = TextLength(encoding, bytes);
    const qsizetype terminator = IsWide(encoding) ? 2 : 1;
    if (length + terminator > bytes.size())
        return {};
    return bytes.sliced(length + terminator);
}

} // namespace velmora
