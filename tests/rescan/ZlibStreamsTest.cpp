#include "rescan/ZlibStreams.h"

#include <QRandomGenerator>

#include <gtest/gtest.h>

using namespace velmora;

namespace {

QByteArray SampleBytes()
{
    QByteArray bytes;
    QRandomGenerator random(11);
    for (int i = 0; i < 20000; ++i) {
        bytes.append("LIST, AddListItem /home/me/Songs/KV");
        bytes.append(QByteArray::number(random.bounded(100000)));
        bytes.append(char(random.bounded(256)));
    }
    return bytes;
}

QByteArray PackInPieces(const QByteArray &bytes, qsizetype piece)
{
    CDeflater deflater;
    for (qsizetype at = 0; at < bytes.size(); at += piece)
        deflater.Add(QByteArrayView(bytes).sliced(at, std::min(piece, bytes.size() - at)));
    EXPECT_EQ(deflater.BytesIn(), bytes.size());
    return deflater.Finish();
}

bool Unpack(const QByteArray &packed, qint64 expected, QByteArray *out, qsizetype chunk = 4096)
{
    return InflateChunks(packed, expected, [&](QByteArrayView bytes) {
        EXPECT_LE(bytes.size(), chunk);
        out->append(bytes);
        return true;
    }, chunk);
}

} // namespace

TEST(ZlibStreams, BytesComeBackWholeHoweverTheyWereCut)
{
    const QByteArray bytes = SampleBytes();
    for (qsizetype piece : {qsizetype(1) << 20, qsizetype(4093), qsizetype(1)}) {
        const QByteArray packed = PackInPieces(piece == 1 ? bytes.left(5000) : bytes, piece);
        const QByteArray expected = piece == 1 ? bytes.left(5000) : bytes;
        ASSERT_FALSE(packed.isEmpty());
        QByteArray out;
        EXPECT_TRUE(Unpack(packed, expected.size(), &out)) << piece;
        EXPECT_EQ(out, expected) << piece;
    }
    QByteArray none;
    EXPECT_TRUE(Unpack(PackInPieces({}, 1), 0, &none));
    EXPECT_TRUE(none.isEmpty());
}

// A kept part that is cut, padded, altered or of another size is never taken as whole.
TEST(ZlibStreams, DamagedStreamsAndWrongSizesAreNotWhole)
{
    const QByteArray bytes = SampleBytes();
    const QByteArray packed = PackInPieces(bytes, 65536);
    QByteArray out;
    EXPECT_FALSE(Unpack(packed.left(packed.size() / 2), bytes.size(), &out));
    out.clear();
    EXPECT_FALSE(Unpack(packed.left(packed.size() - 1), bytes.size(), &out));
    out.clear();
    EXPECT_FALSE(Unpack(packed + "tail", bytes.size(), &out));
    out.clear();
    EXPECT_FALSE(Unpack(packed, bytes.size() - 1, &out));
    EXPECT_LE(out.size(), bytes.size() - 1); // never more than was said
    out.clear();
    EXPECT_FALSE(Unpack(packed, bytes.size() + 1, &out));
    QByteArray altered = packed;
    altered[altered.size() / 2] = char(altered[altered.size() / 2] ^ 0x5A);
    out.clear();
    EXPECT_FALSE(Unpack(altered, bytes.size(), &out));
    EXPECT_FALSE(InflateChunks("not zlib at all", 5, [](QByteArrayView) { return true; }));
    EXPECT_FALSE(InflateChunks(packed, bytes.size(), [](QByteArrayView) { return false; }));
}
