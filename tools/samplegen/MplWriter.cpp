#include "samplegen/MplWriter.h"

#include <QtEndian>

namespace velmora::samplegen {

namespace {

QByteArray LittleEndian(quint64 value, int bytes)
{
    QByteArray out;
    for (int i = 0; i < bytes; ++i)
        out.append(char((value >> (8 * i)) & 0xFF));
    return out;
}

// The widening length prefix after any Unicode marker.
QByteArray LengthPrefix(qsizetype length)
{
    if (length < 0xFF)
        return LittleEndian(quint64(length), 1);
    if (length < 0xFFFF)
        return "\xFF" + LittleEndian(quint64(length), 2);
    return "\xFF\xFF\xFF" + LittleEndian(quint64(length), 4);
}

QByteArray Latin1252(const QString &text)
{
    // The samples keep to the characters that code page 1252 shares with Latin-1.
    return text.toLatin1();
}

} // namespace

QByteArray ArchiveString8(const QByteArray &bytes)
{
    return LengthPrefix(bytes.size()) + bytes;
}

QByteArray ArchiveString16(const QString &text)
{
    QByteArray units;
    for (const QChar ch : text)
        units += LittleEndian(ch.unicode(), 2);
    return "\xFF\xFE\xFF" + LengthPrefix(text.size()) + units;
}

QByteArray MakeMplFile(const QString &magic, const QList<QStringList> &records, bool unicode)
{
    const auto string = [unicode](const QString &text) {
        return unicode ? ArchiveString16(text) : ArchiveString8(Latin1252(text));
    };
    QByteArray out = string(magic) + LittleEndian(quint64(records.size()), 4);
    for (const QStringList &record : records)
        for (const QString &field : record)
            out += string(field);
    return out;
}

} // namespace velmora::samplegen
