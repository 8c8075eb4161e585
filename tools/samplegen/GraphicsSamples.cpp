#include "samplegen/GraphicsSamples.h"

#include "samplegen/CdgWriter.h"
#include "samplegen/Id3Writer.h"
#include "samplegen/Mp3Writer.h"

using namespace Qt::Literals::StringLiterals;

namespace velmora::samplegen {

namespace {

const QString kFolder = u"Graphics/"_s;

constexpr quint8 kScrollPreset = 20;
constexpr quint8 kScrollCopy = 24;
constexpr int kUnitBytes = 16;

void AddMp3(QList<SSampleFile> &files, const QString &baseName, const QString &title, int seconds)
{
    const SId3Fields tags{title, u"Graphics Lab"_s, u"Every Form"_s, 2021, 1, u"Pop"_s, 13, {}};
    files.append({kFolder + baseName + u".mp3"_s, MakeMp3File(&tags, true, true, Mp3FramesForSeconds(seconds))});
}

void PutPacket(QByteArray &stream, qsizetype pack, qsizetype packet, const QByteArray &bytes)
{
    stream.replace(pack * kCdgPacketBytes * kCdgPacketsPerPack + packet * kCdgPacketBytes, kCdgPacketBytes, bytes);
}

// The usual song stream, plus the two scroll instructions and two packets a reader must
// pass over: a tile marked as not drawn (0x20 in its second symbol) and a packet of another
// mode. They go into the second packet of packs the song leaves empty.
QByteArray EveryInstructionStream(int seconds)
{
    QByteArray stream = MakeCdgPackets(seconds);
    PutPacket(stream, 30, 1, MakeCdgPacket(kScrollPreset, {0, 0x02, 0x08}));
    PutPacket(stream, 31, 1, MakeCdgPacket(kScrollCopy, {0, 0x12, 0x08}));
    PutPacket(stream, 32, 1, MakeCdgPacket(kCdgTileNormal, {0, 0x21, 1, 1, 0x3F, 0x3F}));
    QByteArray otherMode = MakeCdgPacket(kCdgMemoryPreset, {});
    otherMode[0] = 0x08;
    PutPacket(stream, 33, 1, otherMode);
    return stream;
}

// One unit of the maker's tagged CD+G: the pack number first, then the record's kind and
// its data bytes.
QByteArray TaggedUnit(quint16 pack, quint8 kind, const QByteArray &data)
{
    QByteArray unit(kUnitBytes, '\0');
    unit[0] = char(pack & 0xFF);
    unit[1] = char(pack >> 8);
    unit[2] = char(kind);
    unit.replace(3, qMin(data.size(), qsizetype(13)), data.left(13));
    return unit;
}

// Screen set-up at pack 0, a tile a second, the last in the final pack of four seconds.
QByteArray TaggedCdg()
{
    QByteArray bytes = TaggedUnit(0, 2, QByteArray::fromHex("000FFF00CFF0C000C0888444"))
        + TaggedUnit(0, 3, QByteArray::fromHex("0CFF8080FF8C8F8CCC048222"))
        + TaggedUnit(0, 0, QByteArray(1, '\0')) + TaggedUnit(0, 1, QByteArray(1, '\0'));
    for (quint16 pack = 75; pack < 300; pack += 75)
        bytes += TaggedUnit(pack, 4, QByteArray::fromHex("1008") + char(pack / 75) + QByteArray(9, '\x55'));
    bytes += TaggedUnit(299, 5, QByteArray::fromHex("2008") + char(4) + QByteArray(9, '\xAA'));
    return bytes + QByteArray("\0\0\0KLOVUSA\0\0\0\0\0\0", kUnitBytes);
}

// Opaque units standing in for the maker's encoded records.
QByteArray McgUnits(int count)
{
    QByteArray units(qsizetype(count) * kUnitBytes, '\0');
    for (qsizetype i = 0; i < units.size(); ++i)
        units[i] = char((i * 37 + 11) & 0x7F);
    return units;
}

QByteArray McgHeader()
{
    return QByteArray("KLOVMC").leftJustified(kUnitBytes, '\0');
}

// The units end with a trailer unit holding the tag at its offset 1: 15 bytes before the end.
QByteArray McgFile()
{
    return McgHeader() + McgUnits(40) + QByteArray("\x01KLOVUSA\0\0\0\0\0\0\0\0", kUnitBytes);
}

// An MCG body followed by a padding block of 0xFF, so the trailer unit is found by searching
// the last 8 KiB rather than at the end. Longer than 8 KiB and whole units throughout.
QByteArray ScdgFile()
{
    return McgHeader() + McgUnits(600) + QByteArray("\x02KLOVUSA\0\0\0\0\0\0\0\0", kUnitBytes)
        + QByteArray(2 * kUnitBytes, '\xFF');
}

} // namespace

void AddGraphicsSamples(QList<SSampleFile> &files)
{
    files.append({kFolder + u"Every Instruction.cdg"_s, EveryInstructionStream(3)});
    AddMp3(files, u"Every Instruction"_s, u"Every Instruction"_s, 3);

    // 210 seconds of graphics, the length of a whole song; the MP3 beside it stays short to
    // keep the library small (the graphics time is taken from the CD+G alone).
    files.append({kFolder + u"Long Song.cdg"_s, MakeCdgPackets(210)});
    AddMp3(files, u"Long Song"_s, u"Long Song"_s, 2);

    files.append({kFolder + u"Tagged Song.cdg"_s, TaggedCdg()});
    AddMp3(files, u"Tagged Song"_s, u"Tagged Song"_s, 2);

    files.append({kFolder + u"Maker Song.mcg"_s, McgFile()});
    AddMp3(files, u"Maker Song"_s, u"Maker Song"_s, 2);

    files.append({kFolder + u"Trailer Song.scdg"_s, ScdgFile()});

    const SId3Fields tags{u"Wrong Name"_s, u"Graphics Lab"_s, u"Every Form"_s, 2021, 2, u"Pop"_s, 13, {}};
    files.append({kFolder + u"Not Graphics.cdg"_s, MakeMp3File(&tags, true, true, Mp3FramesForSeconds(2))});
}

} // namespace velmora::samplegen
