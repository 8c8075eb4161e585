#include "playlist/ArchiveString.h"

#include "platform/CodePage.h"
#include "base/TextConversion.h"

#include <algorithm>

namespace velmora {

namespace {

constexpr quint16 kUnicodeMarker = 0xFFFE;

// The length after a 16-bit 0xFFFF escape: 32 bits, or the refused 64-bit form.
std::optional<quint64> WideLength(CByteReader &reader, quint16 word)
{
    if (word < 0xFFFF)
        return word;
    const quint32 length = reader.Get_L4();
    if (!reader.Ok() || length == 0xFFFFFFFFu)
        return std::nullopt;
    return length;
}

// The length prefix and the marker; the reader is left at the first character.
std::optional<SArchiveStringSpan> ReadArchiveStringHeader(CByteReader &reader)
{
    bool unicode = false;
    std::optional<quint64> length;
    const quint8 first = reader.Get_B1();
    if (first < 0xFF) {
        length = first;
    } else {
        quint16 word = reader.Get_L2();
        if (word == kUnicodeMarker) {
            unicode = true;
            const quint8 second = reader.Get_B1();
            if (second < 0xFF)
                length = second;
            else
                word = reader.Get_L2();
        }
        if (!length)
            length = WideLength(reader, word);
    }
    if (!reader.Ok() || !length)
        return std::nullopt;
    // The byte count is checked against what is left before anything is copied.
    const quint64 bytes = unicode ? *length * 2 : *length;
    if (bytes > quint64(reader.Remaining()))
        return std::nullopt;
    return SArchiveStringSpan{qsizetype(*length), unicode, {}};
}

} // namespace

std::optional<SArchiveStringSpan> SkipArchiveString(CByteReader &reader)
{
    std::optional<SArchiveStringSpan> span = ReadArchiveStringHeader(reader);
    if (!span)
        return std::nullopt;
    span->characters = reader.Get_Bytes(span->bUnicode ? span->nLength * 2 : span->nLength);
    if (!reader.Ok())
        return std::nullopt;
    return span;
}

QString DecodeArchiveString(const SArchiveStringSpan &span)
{
    const QByteArrayView text = span.characters;
    if (!span.bUnicode) {
        // Plain ASCII reads the same in every supported code page; skipping the converter
        // for it makes a million-song MPL load several times faster.
        const bool ascii = std::all_of(text.begin(), text.end(), [](char byte) { return quint8(byte) < 0x80; });
        return ascii ? QString::fromLatin1(text) : ToWide(kAnsiCodePage, text.toByteArray());
    }
    QString wide(text.size() / 2, Qt::Uninitialized);
    for (qsizetype i = 0; i < wide.size(); ++i)
        wide[i] = QChar(char16_t(quint8(text.at(2 * i)) | (quint8(text.at(2 * i + 1)) << 8)));
    return wide;
}

std::optional<QString> ReadArchiveString(CByteReader &reader)
{
    const std::optional<SArchiveStringSpan> span = SkipArchiveString(reader);
    if (!span)
        return std::nullopt;
    return DecodeArchiveString(*span);
}

} // namespace velmora
