// The frame walk over MP3 streams: what counts as audio, as damage, as a cut-off end, and
// what are only tags.
#include "VerifyBytes.h"

#include "verify/Mp3FrameWalk.h"
#include "verify/StreamReasons.h"

#include <gtest/gtest.h>

using namespace velmora;
using namespace velmora::test;

namespace {

// Hands the stream over in pieces of the given size, keeping back what the walker leaves.
SMp3Walk Walk(const QByteArray &stream, qsizetype piece = 1 << 20)
{
    CMp3FrameWalker walker;
    QByteArray held;
    for (qsizetype at = 0; at < stream.size(); at += piece) {
        held += stream.mid(at, piece);
        held.remove(0, walker.Feed(held, false));
    }
    walker.Feed(held, true);
    return walker.Result();
}

QStringList Codes(const SMp3Walk &walk)
{
    QStringList codes;
    for (const SFileReason &reason : Mp3Reasons(walk))
        codes.append(reason.strCode + (reason.severity == ESeverity::Broken ? u"/broken"_qs : u"/warning"_qs));
    return codes;
}

constexpr double kFrameSeconds = 1152.0 / 44100.0;

} // namespace

TEST(Mp3FrameWalkTest, CleanStreamsAndTheirTagsGiveNoReason)
{
    const QByteArray frames = Mp3Frames(200);
    for (const QByteArray &stream : {frames, Id3v2Tag(300 * 1024) + frames, frames + Id3v1Tag(),
                                     frames + ApeTag() + Lyrics3v2Tag() + Id3v1Tag(), frames + Lyrics3v2Tag() + ApeTag(),
                                     Id3v2Tag(4096) + QByteArray(700, '\0') + frames}) {
        const SMp3Walk walk = Walk(stream);
        EXPECT_EQ(walk.nFrames, 200);
        EXPECT_TRUE(Codes(walk).isEmpty()) << Codes(walk).join(u' ').toStdString();
        EXPECT_NEAR(walk.dSeconds, 200 * kFrameSeconds, 1e-9);
    }
}

TEST(Mp3FrameWalkTest, VbrWithXingHeaderCountsOnlyTheAudioFrames)
{
    const SMp3Walk walk = Walk(Id3v2Tag(1024) + XingFrame(150) + VbrFrames(150));
    EXPECT_EQ(walk.nDeclaredFrames, 150);
    EXPECT_EQ(walk.nFrames, 150);
    EXPECT_TRUE(Codes(walk).isEmpty()) << Codes(walk).join(u' ').toStdString();
    // An Info header of a CBR stream is read the same way.
    EXPECT_TRUE(Codes(Walk(XingFrame(100, "Info") + Mp3Frames(100))).isEmpty());
}

TEST(Mp3FrameWalkTest, PiecesOfAnySizeGiveTheSameWalk)
{
    const QByteArray stream = Id3v2Tag(2000) + QByteArray(500, '\0') + XingFrame(300) + Mp3Frames(120) + Garbage(5000)
        + Mp3Frames(100, 7) + QByteArray(3000, '\0') + Mp3Frames(40, 9) + Id3v1Tag();
    const SMp3Walk whole = Walk(stream);
    // Also all of it at once, as the last piece of a stream.
    CMp3FrameWalker once;
    once.Feed(stream, true);
    EXPECT_EQ(once.Result().nFrames, whole.nFrames);
    EXPECT_EQ(once.Result().digest, whole.digest);
    for (const qsizetype piece : {1, 3, 417, 4096}) {
        const SMp3Walk pieces = Walk(stream, piece);
        EXPECT_EQ(pieces.nFrames, whole.nFrames) << piece;
        EXPECT_EQ(pieces.digest, whole.digest) << piece;
        ASSERT_EQ(pieces.damaged.size(), whole.damaged.size()) << piece;
        for (qsizetype i = 0; i < whole.damaged.size(); ++i) {
            EXPECT_EQ(pieces.damaged.at(i).nOffset, whole.damaged.at(i).nOffset);
            EXPECT_EQ(pieces.damaged.at(i).nSize, whole.damaged.at(i).nSize);
        }
    }
    EXPECT_EQ(whole.nFrames, 260);
    EXPECT_EQ(whole.damaged.size(), 2);
}

TEST(Mp3FrameWalkTest, GarbageInTheMiddleIsNamedByOffsetSizeAndTime)
{
    const QByteArray head = Id3v2Tag(1000) + Mp3Frames(1000);
    const SMp3Walk walk = Walk(head + Garbage(50 * 1024) + Mp3Frames(500, 3));
    ASSERT_EQ(walk.damaged.size(), 1);
    EXPECT_EQ(walk.damaged.first().nOffset, head.size());
    EXPECT_EQ(walk.damaged.first().nSize, 50 * 1024);
    EXPECT_NEAR(walk.damaged.first().dSeconds, 1000 * kFrameSeconds, 1e-9);
    EXPECT_EQ(walk.nFrames, 1500);
    const QList<SFileReason> reasons = Mp3Reasons(walk);
    ASSERT_EQ(reasons.size(), 1);
    EXPECT_EQ(reasons.first().strCode, u"audio-damaged");
    EXPECT_EQ(reasons.first().severity, ESeverity::Broken);
    EXPECT_TRUE(reasons.first().strText.startsWith(
        u"51200 bytes at byte %1 (at 0:26 of the audio) are not MPEG audio frames"_qs.arg(head.size())))
        << reasons.first().strText.toStdString();
}

TEST(Mp3FrameWalkTest, ZerosForeignFramesAndJoinedFilesAreDamageSaidAsSuch)
{
    const QByteArray zeroed = Walk(Mp3Frames(300) + QByteArray(10000, '\0') + Mp3Frames(300, 5)).damaged.value(0).nZeros == 10000
        ? QByteArray("zeros") : QByteArray("not zeros");
    EXPECT_EQ(zeroed, "zeros");
    // A frame of another stream (MPEG-2, 22050 Hz) between two frames of this one.
    const QByteArray foreign = QByteArray::fromHex("FFF390C4") + QByteArray(284, '\x11');
    const SMp3Walk mixed = Walk(Mp3Frames(300) + foreign + Mp3Frames(300, 5));
    ASSERT_EQ(mixed.damaged.size(), 1);
    EXPECT_EQ(mixed.damaged.first().nSize, foreign.size());
    EXPECT_TRUE(Mp3Reasons(mixed).first().strText.contains(u"MPEG-2 Layer 3, 22050 Hz"));
    // Two files joined: the second one's tag sits in the middle of the audio.
    const QByteArray song = Id3v2Tag(600) + XingFrame(200) + Mp3Frames(200);
    const SMp3Walk joined = Walk(song + song);
    ASSERT_EQ(joined.damaged.size(), 1);
    EXPECT_EQ(joined.damaged.first().nOffset, song.size());
    EXPECT_EQ(joined.damaged.first().nSize, 600);
    EXPECT_TRUE(Mp3Reasons(joined).first().strText.contains(u"another file was joined on"));
}

TEST(Mp3FrameWalkTest, ManyDamagedPlacesAreSummedUpAfterTheFirstThree)
{
    QByteArray stream;
    for (int i = 0; i < 6; ++i)
        stream += Mp3Frames(50, i * 50) + Garbage(700, i + 1);
    stream += Mp3Frames(50, 400);
    const QList<SFileReason> reasons = Mp3Reasons(Walk(stream));
    ASSERT_EQ(reasons.size(), 4);
    EXPECT_TRUE(reasons.last().strText.startsWith(u"3 more damaged places"));
}

TEST(Mp3FrameWalkTest, AStreamCutInsideAFrameLosesLessThanASecond)
{
    const QByteArray stream = Mp3Frames(300);
    const SMp3Walk walk = Walk(stream.left(stream.size() - 100));
    EXPECT_EQ(walk.nFrames, 299);
    EXPECT_EQ(walk.nCutFrameMissing, 100);
    EXPECT_EQ(Codes(walk), QStringList{u"audio-truncated/warning"_qs});
    // The same cut with an ID3v1 tag written after it.
    const SMp3Walk tagged = Walk(stream.left(stream.size() - 100) + Id3v1Tag());
    EXPECT_EQ(tagged.nCutFrameMissing, 100);
    EXPECT_EQ(Codes(tagged), QStringList{u"audio-truncated/warning"_qs});
}

TEST(Mp3FrameWalkTest, AStreamHeaderThatPromisesMoreFramesShowsWhatIsMissing)
{
    const SMp3Walk walk = Walk(XingFrame(400) + Mp3Frames(300));
    EXPECT_EQ(Codes(walk), QStringList{u"audio-truncated/broken"_qs});
    EXPECT_TRUE(Mp3Reasons(walk).first().strText.contains(u"promises 400 frames (0:10) but it holds 300 (0:07)"));
    // One frame short is how some encoders count their header frame: no reason.
    EXPECT_TRUE(Codes(Walk(XingFrame(301) + Mp3Frames(300))).isEmpty());
    // 30 frames (0.8 s) short: a warning.
    EXPECT_EQ(Codes(Walk(XingFrame(330) + Mp3Frames(300))), QStringList{u"audio-truncated/warning"_qs});
}

TEST(Mp3FrameWalkTest, ZerosInsteadOfTheLastPartAreAnEarlyEnd)
{
    const QByteArray frames = Mp3Frames(1000);
    QByteArray stream = frames;
    stream.replace(600 * 417, stream.size() - 600 * 417, QByteArray(stream.size() - 600 * 417, '\0'));
    const SMp3Walk walk = Walk(stream + Id3v1Tag());
    EXPECT_EQ(Codes(walk), QStringList{u"audio-truncated/broken"_qs});
    EXPECT_TRUE(Mp3Reasons(walk).first().strText.contains(u"(all zeros)")) << Mp3Reasons(walk).first().strText.toStdString();
    // A few bytes of junk after the last frame: the room of less than a second, a warning.
    EXPECT_EQ(Codes(Walk(frames + Garbage(300))), QStringList{u"audio-truncated/warning"_qs});
}

TEST(Mp3FrameWalkTest, NoRunOfFramesIsUnreadableAndChanceSyncsAreNotAudio)
{
    for (const QByteArray &stream : {Garbage(40000), QByteArray(40000, '\0'), Id3v2Tag(3000),
                                     QByteArray("RIFF") + Garbage(4000),
                                     // One header followed by junk: a chance sync, not a frame.
                                     Mp3Frame() + Garbage(3000, 4) + Mp3Frame() + Garbage(2000, 5)}) {
        const SMp3Walk walk = Walk(stream);
        EXPECT_FALSE(walk.HasFrames());
        EXPECT_EQ(Codes(walk), QStringList{u"audio-unreadable/broken"_qs});
    }
    EXPECT_TRUE(Mp3Reasons(Walk(QByteArray("RIFF") + Garbage(4000))).first().strText.endsWith(u"it begins like a RIFF (WAV or AVI) file"));
}

TEST(Mp3FrameWalkTest, SameFramesUnderOtherTagsHaveTheSameDigest)
{
    const QByteArray frames = Mp3Frames(100);
    EXPECT_EQ(Walk(frames).digest, Walk(Id3v2Tag(5000) + frames + Id3v1Tag()).digest);
    EXPECT_NE(Walk(frames).digest, Walk(Mp3Frames(100, 1)).digest);
}
