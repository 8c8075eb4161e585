#include "rescan/PackedStreams.h"

#include <QRandomGenerator>

#include <zstd.h>

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
    CPacker packer;
    for (qsizetype at = 0; at < bytes.size(); at += piece)
        packer.Add(QByteArrayView(bytes).sliced(at, std::min(piece, bytes.size() - at)));
    EXPECT_EQ(packer.BytesIn(), bytes.size());
    return packer.Finish();
}

bool Unpack(const QByteArray &packed, qint64 expected, QByteArray *out, qsizetype chunk = 4096)
{
    return UnpackChunks(packed, expected, [&](QByteArrayView bytes) {
        EXPECT_LE(bytes.size(), chunk);
        out->append(bytes);
        return true;
    }, chunk);
}

} // namespace

TEST(PackedStreams, BytesComeBackWholeHoweverTheyWereCut)
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
TEST(PackedStreams, DamagedStreamsAndWrongSizesAreNotWhole)
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
    EXPECT_FALSE(UnpackChunks("not a frame at all", 5, [](QByteArrayView) { return true; }));
    EXPECT_FALSE(UnpackChunks(packed, bytes.size(), [](QByteArrayView) { return false; }));
}

// A frame that asks for a window of 128 MiB would make the unpacking take that much memory
// for a few bytes of input; it is refused, while the same bytes in a frame of ours unpack.
TEST(PackedStreams, AFrameAskingForAHugeWindowIsRefused)
{
    const QByteArray bytes(1000, 'w');
    ZSTD_CCtx *context = ZSTD_createCCtx();
    ASSERT_NE(context, nullptr);
    ASSERT_FALSE(ZSTD_isError(ZSTD_CCtx_setParameter(context, ZSTD_c_windowLog, 27)));
    QByteArray frame(4096, Qt::Uninitialized);
    ZSTD_inBuffer input{bytes.data(), size_t(bytes.size()), 0};
    ZSTD_outBuffer output{frame.data(), size_t(frame.size()), 0};
    // Given in two calls, so that the frame does not know its size and keeps the window.
    ASSERT_FALSE(ZSTD_isError(ZSTD_compressStream2(context, &output, &input, ZSTD_e_continue)));
    ASSERT_EQ(ZSTD_compressStream2(context, &output, &input, ZSTD_e_end), 0u);
    ZSTD_freeCCtx(context);
    frame.resize(qsizetype(output.pos));
    QByteArray plain(bytes.size(), Qt::Uninitialized);
    ASSERT_EQ(ZSTD_decompress(plain.data(), size_t(plain.size()), frame.constData(), size_t(frame.size())),
              size_t(bytes.size())) << "a sound frame, only its window is large";

    QByteArray out;
    EXPECT_FALSE(Unpack(frame, bytes.size(), &out));
    out.clear();
    EXPECT_TRUE(Unpack(PackInPieces(bytes, 100), bytes.size(), &out));
    EXPECT_EQ(out, bytes);
}
