#include "TestSupport.h"

#include "inspect/CdgPacket.h"
#include "inspect/CdgReader.h"
#include "inspect/KaraokeIdentification.h"

#include <QFile>
#include <QRandomGenerator>

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;
using namespace velmora;

namespace {

using Symbols = std::array<quint8, 16>;

QByteArray Packet(quint8 command, quint8 instruction, const Symbols &d = {})
{
    QByteArray packet(24, '\0');
    packet[0] = char(command);
    packet[1] = char(instruction);
    packet[2] = '\x3F'; // parity is ignored
    for (int i = 0; i < 16; ++i)
        packet[4 + i] = char(d[size_t(i)]);
    packet[20] = '\x2A';
    return packet;
}

QByteArray Graphics(quint8 instruction, const Symbols &d = {})
{
    return Packet(0x09, instruction, d);
}

// Packets placed into a stream of whole empty packs: packetIndex counts 24-byte packets.
QByteArray Stream(qsizetype packs, const QList<std::pair<qsizetype, QByteArray>> &packets)
{
    QByteArray stream(packs * 96, '\0');
    for (const auto &[index, packet] : packets)
        stream.replace(index * 24, 24, packet);
    return stream;
}

QByteArray Record(std::initializer_list<int> leading, quint16 pack)
{
    QByteArray record(16, '\0');
    int i = 0;
    for (const int byte : leading)
        record[i++] = char(byte);
    record[14] = char(pack & 0xFF);
    record[15] = char(pack >> 8);
    return record;
}

QByteArray Decoded(QByteArrayView bytes, bool *found = nullptr)
{
    QByteArray records;
    const bool ok = DecodeKaraokeGraphics(bytes, &records);
    if (found)
        *found = ok;
    return records;
}

// The maker's tagged CD+G: each record stored as its pack number, then its first 14 bytes,
// followed by a trailer unit with the tag at offset 3.
QByteArray Tagged(const QList<QByteArray> &records)
{
    QByteArray bytes;
    for (const QByteArray &record : records)
        bytes += record.right(2) + record.left(14);
    bytes += QByteArray("\0\0\0KLOVUSA\0\0\0\0\0\0", 16);
    return bytes;
}

QByteArray Mcg(int units)
{
    QByteArray bytes = QByteArray("KLOVMC").leftJustified(16, '\0');
    for (int i = 0; i < units; ++i)
        bytes += QByteArray(16, char(0x40 + i));
    return bytes + QByteArray("\x01KLOVUSA\0\0\0\0\0\0\0\0", 16);
}

} // namespace

TEST(CdgPacket, SixBitValuesPackFourToThreeBytes)
{
    std::array<quint8, 4> out{};
    PackSixBitValues(QByteArray::fromHex("3F00152A"), out);
    EXPECT_EQ(out, (std::array<quint8, 4>{0xFC, 0x05, 0x6A, 0x00}));
    // The two top bits of a symbol belong to other subchannels and are dropped.
    PackSixBitValues(QByteArray::fromHex("C1C2C3C4"), out);
    EXPECT_EQ(out, (std::array<quint8, 4>{0x04, 0x20, 0xC4, 0x00}));
    // A partial last byte is padded with zeros; nothing is written past the output.
    std::array<quint8, 3> small{0xEE, 0xEE, 0xEE};
    PackSixBitValues(QByteArray::fromHex("3F"), std::span(small).first(1));
    EXPECT_EQ(small, (std::array<quint8, 3>{0xFC, 0xEE, 0xEE}));
    PackSixBitValues(QByteArray::fromHex("3F3F3F3F3F3F3F3F"), std::span(small).first(2));
    EXPECT_EQ(small, (std::array<quint8, 3>{0xFF, 0xFF, 0xEE}));
}

TEST(CdgReader, MemoryPresetInOnePackAndTooShortFiles)
{
    QByteArray pack = Stream(1, {{0, Graphics(1, {5, 0})}});
    bool found = false;
    const QByteArray records = Decoded(pack, &found);
    EXPECT_TRUE(found);
    EXPECT_EQ(records, Record({0x00, 0x05}, 0));
    EXPECT_EQ(GraphicsPlayingTime(records), 0); // only one record

    EXPECT_FALSE(DecodeKaraokeGraphics(pack.left(95)));
    EXPECT_FALSE(DecodeKaraokeGraphics(pack.left(1)));
    EXPECT_FALSE(DecodeKaraokeGraphics({}));
    EXPECT_FALSE(DecodeKaraokeGraphics(QByteArray(7200, '\0')));
}

TEST(CdgReader, EveryInstructionKind)
{
    const Symbols colours = {0x3F, 0x00, 0x15, 0x2A, 0x3F, 0x00, 0x15, 0x2A,
                             0x3F, 0x00, 0x15, 0x2A, 0x3F, 0x00, 0x15, 0x2A};
    const Symbols tile = {0x0A, 0x13, 0xC5, 0xFF, 1, 2, 3, 4, 1, 2, 3, 4, 0x3F, 0x00, 0x15, 0x2A};
    const QByteArray stream = Stream(3, {{0, Graphics(1, {0x37, 0x03})},
                                         {1, Graphics(2, {0x3C})},
                                         {2, Graphics(30, colours)},
                                         {3, Graphics(31, colours)},
                                         {4, Graphics(6, tile)},
                                         {5, Graphics(38, tile)},
                                         {9, Graphics(20, {0xC5, 0x06, 0x07, 0x08, 0x09})},
                                         {11, Graphics(24, {0x01, 0x02, 0x03, 0x3F})}});
    bool found = false;
    const QByteArray records = Decoded(stream, &found);
    ASSERT_TRUE(found);
    ASSERT_EQ(records.size(), 8 * 16);
    const QByteArray packed = QByteArray::fromHex("FC056AFC056AFC056AFC056A");
    const QByteArray tilePixels = QByteArray::fromHex("0420C40420C4FC056A");
    EXPECT_EQ(records.mid(0, 16), Record({0, 0x37}, 0));
    EXPECT_EQ(records.mid(16, 16), Record({1, 0x0C}, 0));
    EXPECT_EQ(records.mid(32, 16), QByteArray(1, 2) + packed + QByteArray(3, 0));
    EXPECT_EQ(records.mid(48, 16), QByteArray(1, 3) + packed + QByteArray(3, 0));
    // Colours 0x0A and 0x13 -> 0x3A; row 0xC5 -> 0x05; column 0xFF -> 0x3F.
    EXPECT_EQ(records.mid(64, 16), QByteArray::fromHex("043A053F") + tilePixels + QByteArray::fromHex("000100"));
    EXPECT_EQ(records.mid(80, 16), QByteArray::fromHex("053A053F") + tilePixels + QByteArray::fromHex("000100"));
    EXPECT_EQ(records.mid(96, 16), Record({6, 0x05, 0x06, 0x07, 0x08}, 2));
    EXPECT_EQ(records.mid(112, 16), Record({7, 0x01, 0x02, 0x03, 0x3F}, 2));
}

TEST(CdgReader, OnlyTvGraphicsAndDrawnTilesMakeRecords)
{
    const QByteArray stream = Stream(2, {{0, Packet(0x49, 2, {7})},       // upper bits ignored
                                         {1, Packet(0x08, 2, {7})},       // another mode
                                         {2, Packet(0x19, 2, {7})},       // low 6 bits 0x19
                                         {3, Packet(0x09, 0xC2, {8})},    // instruction 0xC2 is 2
                                         {4, Graphics(6, {0, 0x21})},     // skipped tile
                                         {5, Graphics(38, {0, 0x20})},    // skipped tile
                                         {6, Graphics(6, {0, 0x1F})},     // drawn
                                         {7, Graphics(28, {1, 2, 3})}});  // not read
    const QByteArray records = Decoded(stream);
    ASSERT_EQ(records.size(), 3 * 16);
    EXPECT_EQ(records.mid(0, 16), Record({1, 7}, 0));
    EXPECT_EQ(records.mid(16, 16), Record({1, 8}, 0));
    EXPECT_EQ(records.mid(32, 4), QByteArray::fromHex("04F00000"));
    EXPECT_EQ(records.right(2), QByteArray::fromHex("0100"));

    bool found = true;
    Decoded(Stream(2, {{1, Graphics(6, {0, 0x21})}, {6, Packet(0x0A, 1)}}), &found);
    EXPECT_FALSE(found);
}

// Every packet of the stream yields a record, the case in which an in-place decode that
// overtook its reading would corrupt what it has not read yet.
TEST(CdgReader, InPlaceDecodeKeepsEveryPacket)
{
    QList<std::pair<qsizetype, QByteArray>> packets;
    QList<QByteArray> expected;
    for (qsizetype i = 0; i < 40; ++i) {
        Symbols d{};
        for (size_t k = 0; k < d.size(); ++k)
            d[k] = quint8((i * 7 + qsizetype(k) * 13) & 0x3F);
        d[1] &= 0x1F; // keep tiles drawn
        const quint8 instruction = std::array<quint8, 8>{1, 2, 6, 20, 24, 30, 31, 38}[size_t(i % 8)];
        const QByteArray packet = Graphics(instruction, d);
        packets.append({i, packet});
        const auto record = DecodeCdgPacket(packet, quint16(i / 4));
        ASSERT_TRUE(record.has_value());
        expected.append(QByteArray(reinterpret_cast<const char *>(record->data()), 16));
    }
    KaraokeGraphics graphics;
    ASSERT_TRUE(graphics.Decode(Stream(10, packets)));
    EXPECT_EQ(graphics.BufferLength(), 960);
    EXPECT_EQ(graphics.DecodedLength(), 640);
    EXPECT_EQ(graphics.Records().toByteArray(), expected.join());

    // The caller's bytes are left alone when they are shared with the reader.
    const QByteArray original = Stream(10, packets);
    const QByteArray shared = original;
    ASSERT_TRUE(graphics.Decode(shared));
    EXPECT_EQ(shared, original);
}

TEST(CdgReader, PlayingTimeFromTheLastPackNumber)
{
    const QByteArray stream = Stream(15'750, {{0, Graphics(1)}, {15'749 * 4 + 3, Graphics(2)}});
    ASSERT_EQ(stream.size(), 1'512'000);
    const QByteArray records = Decoded(stream);
    ASSERT_EQ(records.size(), 32);
    EXPECT_EQ(GraphicsPlayingTime(records), 209);

    // A trailing partial pack is not read.
    QByteArray partial = Stream(3, {{0, Graphics(1)}, {8, Graphics(2)}});
    partial += Graphics(2) + Graphics(2);
    EXPECT_EQ(Decoded(partial).size(), 32);

    // Pack numbers stop at the largest 16-bit value instead of wrapping to small ones.
    const QByteArray longStream = Stream(70'000, {{0, Graphics(1)}, {69'999 * 4, Graphics(2)}});
    EXPECT_EQ(Decoded(longStream).right(2), QByteArray::fromHex("FFFF"));
}

TEST(CdgReader, TaggedCdgMovesPackNumbersToTheEnd)
{
    const QList<QByteArray> records = {Record({0, 5}, 0), Record({4, 0x3A, 3, 4, 9, 9}, 300),
                                       Record({7, 1, 2, 3, 4}, 15'749)};
    const QByteArray tagged = Tagged(records);
    ASSERT_EQ(tagged.indexOf("KLOVUSA"), tagged.size() - 13);
    bool found = false;
    const QByteArray decoded = Decoded(tagged, &found);
    EXPECT_TRUE(found);
    EXPECT_EQ(decoded, records.join());
    EXPECT_EQ(GraphicsPlayingTime(decoded), 209);

    // Only the trailer, or units that do not line up with the tag: no graphics.
    EXPECT_FALSE(DecodeKaraokeGraphics(Tagged({})));
    EXPECT_FALSE(DecodeKaraokeGraphics("x" + tagged));
    EXPECT_FALSE(DecodeKaraokeGraphics(QByteArray("KLOVUSA").rightJustified(13, '\0').leftJustified(20, '\0')));
}

TEST(CdgReader, McgNeedsUnitsUpToItsTrailer)
{
    bool found = false;
    const QByteArray records = Decoded(Mcg(3), &found);
    EXPECT_TRUE(found);
    EXPECT_TRUE(records.isEmpty()); // the units' encoding is not known: playing time 0
    EXPECT_EQ(Mcg(3).indexOf("KLOVUSA"), Mcg(3).size() - 15);

    EXPECT_FALSE(DecodeKaraokeGraphics(Mcg(0)));
    EXPECT_FALSE(DecodeKaraokeGraphics(Mcg(3).chopped(1)));  // trailer unit cut short
    EXPECT_FALSE(DecodeKaraokeGraphics(Mcg(3).insert(20, 'x'))); // trailer off the unit grid
    EXPECT_FALSE(DecodeKaraokeGraphics(QByteArray("KLOVMC")));
    // A KLOVMC file is never read as plain CD+G, whatever its packets hold.
    EXPECT_FALSE(DecodeKaraokeGraphics("KLOVMC" + Stream(2, {{1, Graphics(1)}})));
}

TEST(CdgReader, NcgContentIsNotReadAsGraphics)
{
    // A header-only NCG has no content; a longer one holds scrambled bytes that must not be
    // taken for instructions, even where they happen to look like packets.
    QByteArray header = QByteArray("KLOVNCG").leftJustified(32, '\0');
    EXPECT_FALSE(DecodeKaraokeGraphics(header));
    EXPECT_FALSE(DecodeKaraokeGraphics(header + Stream(2, {{0, Graphics(1)}, {5, Graphics(2)}})));
    header[14] = 1;
    EXPECT_FALSE(DecodeKaraokeGraphics(header + QByteArray(10, '\0')));
}

TEST(CdgReader, FilesAndReloading)
{
    QTemporaryDir dir;
    const QByteArray stream = Stream(4, {{0, Graphics(1)}, {13, Graphics(2, {3})}});
    const QString good = dir.filePath(u"song.cdg"_s);
    test::WriteBytes(good, stream);
    QByteArray records;
    EXPECT_TRUE(LoadKaraokeGraphics(good, &records));
    EXPECT_EQ(records, Decoded(stream));

    KaraokeGraphics graphics;
    ASSERT_TRUE(graphics.Load(good));
    EXPECT_EQ(graphics.DecodedLength(), 32);
    EXPECT_FALSE(graphics.Load(dir.filePath(u"missing.cdg"_s)));
    EXPECT_EQ(graphics.BufferLength(), 0);
    EXPECT_EQ(graphics.DecodedLength(), 0);
    EXPECT_FALSE(graphics.Load(dir.path()));

    // NCG by name: a header-only file restores to nothing, whatever the case of its ending.
    const QString ncg = dir.filePath(u"song.NCG"_s);
    test::WriteBytes(ncg, QByteArray("KLOVNCG").leftJustified(32, '\0'));
    records = "stale";
    EXPECT_FALSE(LoadKaraokeGraphics(ncg, &records));
    EXPECT_TRUE(records.isEmpty());
    // Under its own name, plain CD+G in a .ncg file is still sent through the conversion.
    test::WriteBytes(ncg, stream);
    EXPECT_FALSE(LoadKaraokeGraphics(ncg));
}

TEST(CdgReader, HugeAndSparseFilesAreRefusedUnread)
{
    QTemporaryDir dir;
    for (const QString &name : {u"huge.cdg"_s, u"huge.ncg"_s}) {
        QFile file(dir.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        ASSERT_TRUE(file.resize(qint64(4) * 1024 * 1024 * 1024));
        file.close();
        EXPECT_FALSE(LoadKaraokeGraphics(file.fileName())) << qPrintable(name);
    }
    // Real graphics at the start do not make a file above the limit readable.
    QFile over(dir.filePath(u"over.cdg"_s));
    ASSERT_TRUE(over.open(QIODevice::WriteOnly));
    over.write(Stream(1, {{0, Graphics(1)}}));
    ASSERT_TRUE(over.resize(kMaxGraphicsFileSize + 1));
    over.close();
    EXPECT_FALSE(LoadKaraokeGraphics(over.fileName()));
    ASSERT_TRUE(QFile::resize(over.fileName(), kMaxGraphicsFileSize));
    EXPECT_TRUE(LoadKaraokeGraphics(over.fileName()));
}

TEST(CdgReader, GarbageNeverBreaksTheDecoder)
{
    QRandomGenerator random(7);
    const QList<QByteArray> tags = {"KLOVNCG", "KLOVMC", "KLOVUSA", QByteArray(1, 0x09)};
    for (int round = 0; round < 2000; ++round) {
        QByteArray bytes(random.bounded(0, 400), '\0');
        for (char &byte : bytes)
            byte = char(random.bounded(256));
        // Tags at the places the forms look for them, so every branch gets garbage.
        const QByteArray &tag = tags[random.bounded(int(tags.size()))];
        const qsizetype at = random.bounded(3) == 0 ? bytes.size() - 13 : random.bounded(qsizetype(bytes.size() + 1));
        if (at >= 0)
            bytes.replace(at, tag.size(), tag);
        KaraokeGraphics graphics;
        const bool found = graphics.Decode(bytes);
        EXPECT_LE(graphics.DecodedLength(), graphics.BufferLength());
        EXPECT_EQ(graphics.DecodedLength() % 16, 0);
        if (!found) {
            EXPECT_EQ(graphics.DecodedLength(), 0);
        }
    }
}
