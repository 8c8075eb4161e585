#include "inspect/KnownLibraryAnswer.h"

#include "inspect/CdgPacket.h"
#include "inspect/CdgReader.h"
#include "inspect/FileBytes.h"
#include "inspect/FileList.h"
#include "inspect/MediaInfoLibrary.h"

#include <atomic>
#include <cstdio>

namespace velmora {

using namespace Qt::Literals::StringLiterals;

namespace {

constexpr quint8 kSymbolBits = 0x3F;
constexpr quint8 kEmptyPacket = 0;
constexpr quint8 kTvGraphicsPacket = 9;

std::atomic<bool> g_useKnownAnswers{true};

bool OnlySixBitSymbols(QByteArrayView bytes)
{
    quint8 high = 0;
    for (const char byte : bytes)
        high |= quint8(byte) & quint8(~kSymbolBits);
    return high == 0;
}

// The report names the file on its first line; a name with a line break or a run of blanks
// could hold a section or padded key that the report lookup would find.
bool NameCannotMimicReport(const QString &path)
{
    return !path.contains(u"  ") && !path.contains(u'\r') && !path.contains(u'\n');
}

// The bytes of a file the library learns nothing from but its size, or nullopt. Only names
// the library has no parser for: its choice of parsers may follow the name.
std::optional<QByteArray> BareStreamBytes(const QString &path)
{
    if (!g_useKnownAnswers || !HasEnding(path, u".cdg") || !NameCannotMimicReport(path)
        || CMediaInfoModule::Shared().Load() != 1)
        return std::nullopt;
    std::optional<QByteArray> bytes = ReadWholeFile(path, kMaxGraphicsFileSize);
    if (!bytes || !IsBareCdgStream(*bytes))
        return std::nullopt;
    return bytes;
}

// A report line: the key padded to the library's value column, then ": " and the value.
QString ReportLine(const QString &key, const QString &value)
{
    constexpr qsizetype kValueColumn = 41;
    return key.leftJustified(kValueColumn, u' ') + u": "_s + value + u"\r\n"_s;
}

// 1234567 -> "1 234 567"
QString GroupedThousands(QString digits)
{
    for (qsizetype at = digits.size() - 3; at > 0; at -= 3)
        digits.insert(at, u' ');
    return digits;
}

} // namespace

QString LibraryFileSizeText(qint64 size)
{
    static const char16_t *const kUnits[] = {u"KiB", u"MiB", u"GiB", u"TiB"};
    float value = float(size);
    int unit = -1;
    while (value >= 1024.0f && unit < 3) {
        value /= 1024.0f;
        ++unit;
    }
    const int decimals = value >= 100.0f ? 0 : value >= 10.0f ? 1 : 2;
    // The C library's rounding: a tie goes to the even digit (1.125 KiB is "1.12 KiB").
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", decimals, double(value));
    QString number = QString::fromLatin1(text);
    if (decimals == 0)
        number = GroupedThousands(number);
    if (unit >= 0)
        return number + u' ' + QString::fromUtf16(kUnits[unit]);
    return number + (value < 2.0f ? u" Byte"_s : u" Bytes"_s);
}

std::optional<QString> KnownMediaLibraryReport(const QString &path)
{
    const std::optional<QByteArray> bytes = BareStreamBytes(path);
    if (!bytes)
        return std::nullopt;
    return u"General\r\n"_s + ReportLine(u"Complete name"_s, path)
         + ReportLine(u"File size"_s, LibraryFileSizeText(bytes->size())) + u"\r\n"_s;
}

bool IsBareCdgStream(QByteArrayView bytes)
{
    if (bytes.isEmpty() || bytes.size() % kCdgPackSize != 0 || !OnlySixBitSymbols(bytes))
        return false;
    bool decoded = false;
    for (qsizetype at = 0; at < bytes.size(); at += kCdgPacketSize) {
        const QByteArrayView packet = bytes.sliced(at, kCdgPacketSize);
        const quint8 command = quint8(packet.front());
        if (command != kEmptyPacket && command != kTvGraphicsPacket)
            return false;
        decoded = decoded || DecodeCdgPacket(packet, 0).has_value();
    }
    return decoded;
}

void UseKnownLibraryAnswers(bool use)
{
    g_useKnownAnswers = use;
}

std::optional<QStringList> KnownMediaLibraryAnswer(const QString &path)
{
    if (!BareStreamBytes(path))
        return std::nullopt;
    return QStringList{QStringLiteral("0"), QStringLiteral("0"), QString()};
}

} // namespace velmora
