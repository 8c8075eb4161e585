// The packet scan of CD+G streams: whole packets, instructions, drawing, and the maker's forms.
#include "VerifyBytes.h"

#include "verify/CdgPackScan.h"
#include "verify/StreamReasons.h"

#include <gtest/gtest.h>

using namespace velmora;
using namespace velmora::test;

namespace {

SCdgScan Scan(const QByteArray &stream, qsizetype piece = 1 << 20)
{
    CCdgPackScan scan;
    QByteArray held;
    for (qsizetype at = 0; at < stream.size(); at += piece) {
        held += stream.mid(at, piece);
        held.remove(0, scan.Feed(held, false));
    }
    scan.Feed(held, true);
    return scan.Result();
}

QStringList Codes(const SCdgScan &scan)
{
    QStringList codes;
    for (const SFileReason &reason : CdgReasons(scan))
        codes.append(reason.strCode);
    return codes;
}

} // namespace

TEST(CdgPackScanTest, AGoodStreamPlaysForItsPacketsAndGivesNoReason)
{
    const SCdgScan scan = Scan(CdgStream(210));
    EXPECT_EQ(scan.nPackets, 210 * 300);
    EXPECT_DOUBLE_EQ(scan.Seconds(), 210.0);
    EXPECT_GT(scan.nDrawing, 0);
    EXPECT_TRUE(Codes(scan).isEmpty());
    EXPECT_EQ(Scan(CdgStream(20), 7).digest, scan.nPackets ? Scan(CdgStream(20)).digest : QByteArray());
}

TEST(CdgPackScanTest, AFewForeignPacketsAsRippingLeavesThemAreNoDamage)
{
    QByteArray stream = CdgStream(30);
    for (int packet = 100; packet < 110; ++packet)
        stream.replace(packet * 24, 24, Garbage(24, packet));
    EXPECT_TRUE(Codes(Scan(stream)).isEmpty());
}

TEST(CdgPackScanTest, LeftoverBytesAndForeignPacketsAreDamage)
{
    const SCdgScan leftover = Scan(CdgStream(10) + QByteArray(10, '\0'));
    EXPECT_EQ(leftover.nLeftover, 10);
    EXPECT_EQ(Codes(leftover), QStringList{u"graphics-damaged"_qs});
    EXPECT_TRUE(CdgReasons(leftover).first().strText.contains(u"10 bytes are left over"));

    QByteArray garbled = CdgStream(10);
    garbled.replace(24 * 1000, 24 * 2000, Garbage(24 * 2000));
    const SCdgScan scan = Scan(garbled);
    EXPECT_EQ(Codes(scan), QStringList{u"graphics-damaged"_qs});
    EXPECT_EQ(scan.nFirstForeignOffset, 24 * 1000);
    EXPECT_TRUE(CdgReasons(scan).first().strText.contains(u"the first at byte 24000 (at 0:03)"));
}

TEST(CdgPackScanTest, AStreamThatNeverDrawsIsBlank)
{
    // Colour tables and a screen preset, but no tile: the screen stays empty.
    QByteArray stream = CdgStream(10);
    for (qsizetype at = 4 * 24; at < stream.size(); at += 24)
        stream.replace(at, 24, QByteArray(24, '\0'));
    EXPECT_EQ(Codes(Scan(stream)), QStringList{u"graphics-blank"_qs});
    EXPECT_EQ(Codes(Scan(QByteArray(7200 * 5, '\0'))), QStringList{u"graphics-blank"_qs});
}

TEST(CdgPackScanTest, TheMakersFormsAreRecognisedAtTheEnd)
{
    EXPECT_TRUE(Scan(QByteArray("KLOVMC") + QByteArray(1000, '\0')).bMakerForm);
    QByteArray tagged = Garbage(16 * 100);
    tagged += QByteArray(3, '\0') + QByteArray("KLOVUSA") + QByteArray(6, '\0');
    EXPECT_TRUE(Scan(tagged, 5).bMakerForm);
    EXPECT_FALSE(Scan(CdgStream(3)).bMakerForm);
}
