#include "inspect/KnownLibraryAnswer.h"

#include "inspect/CdgPacket.h"
#include "inspect/CdgReader.h"
#include "inspect/FileBytes.h"
#include "inspect/FileList.h"
#include "inspect/MediaInfoLibrary.h"

#include <atomic>

namespace velmora {

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

} // namespace

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

// Only names the library has no parser for: its choice of parsers may follow the name.
std::optional<QStringList> KnownMediaLibraryAnswer(const QString &path)
{
    if (!g_useKnownAnswers || !HasEnding(path, u".cdg") || !NameCannotMimicReport(path)
        || CMediaInfoModule::Shared().Load() != 1)
        return std::nullopt;
    const std::optional<QByteArray> bytes = ReadWholeFile(path, kMaxGraphicsFileSize);
    if (!bytes || !IsBareCdgStream(*bytes))
        return std::nullopt;
    return QStringList{QStringLiteral("0"), QStringLiteral("0"), QString()};
}

} // namespace velmora
