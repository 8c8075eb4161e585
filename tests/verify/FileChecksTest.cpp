// The smaller judgements of the verification: names a stick or Windows cannot take, and the
// audio of WAV files.
#include "TestSupport.h"
#include "VerifyBytes.h"

#include "verify/FileVerify.h"
#include "verify/NamePortability.h"

#include <QTemporaryDir>
#include <sys/stat.h>
#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;
using namespace velmora;

TEST(NamePortabilityTest, NamesWindowsRefusesAreNamedAndOthersPass)
{
    EXPECT_TRUE(NotPortableReason(u"Best Of./Song.mp3"_s, u"K"_s).startsWith(u"the folder name 'Best Of.' ends in a dot"_s));
    EXPECT_TRUE(NotPortableReason(u"Song .mp3 "_s, u"K"_s).contains(u"ends in a blank"_s));
    EXPECT_TRUE(NotPortableReason(u"lpt1.cdg"_s, u"K"_s).contains(u"a device name Windows reserves (LPT1)"_s));
    EXPECT_TRUE(NotPortableReason(u"Tab\there.mp3"_s, u"K"_s).contains(u"control character U+0009"_s));
    EXPECT_TRUE(NotPortableReason(u"Caf"_s + QChar(0xDCE9) + u".mp3"_s, u"K"_s).contains(u"no valid UTF-8"_s));
    EXPECT_TRUE(NotPortableReason(u"Who?.mp3"_s, u"K"_s).contains(u"holds '?'"_s));
    for (const QString &fine : {u"CONSOLE.mp3"_s, u"COM10.mp3"_s, u"Ünïcödé - Song.mp3"_s, u"A/B/C.cdg"_s,
                                u"Emoji "_s + QString::fromUcs4(U"\U0001F480") + u".mp3"_s})
        EXPECT_TRUE(NotPortableReason(fine, u"K"_s).isEmpty()) << fine.toStdString();
    // 3 + 2 + 254 = 259 characters pass, one more does not.
    EXPECT_TRUE(NotPortableReason(QString(250, u'x') + u".mp3"_s, u"K"_s).isEmpty());
    EXPECT_FALSE(NotPortableReason(QString(251, u'x') + u".mp3"_s, u"K"_s).isEmpty());
}

namespace {

QByteArray Wav(quint32 declaredBytes, qsizetype presentBytes)
{
    QByteArray wav("RIFF");
    wav += QByteArray::fromHex("00000000") + "WAVE" + "fmt " + QByteArray::fromHex("10000000");
    // PCM, 2 channels, 44100 Hz, 176400 bytes a second, blocks of 4, 16 bits.
    wav += QByteArray::fromHex("01000200" "44AC0000" "10B10200" "04001000");
    wav += "data";
    for (int i = 0; i < 4; ++i)
        wav += char((declaredBytes >> (8 * i)) & 0xFF);
    return wav + test::Garbage(int(presentBytes));
}

} // namespace

TEST(FileChecksTest, AWavFileGivesItsPlayingTimeAndTellsWhenItIsCutShort)
{
    QTemporaryDir dir;
    test::WriteBytes(dir.filePath(u"Whole.wav"_s), Wav(176400 * 3, 176400 * 3));
    test::WriteBytes(dir.filePath(u"Cut.wav"_s), Wav(176400 * 10, 176400 * 4));
    const SFileFindings whole = VerifyFile(dir.filePath(u"Whole.wav"_s));
    EXPECT_TRUE(whole.reasons.isEmpty());
    EXPECT_DOUBLE_EQ(whole.dAudioSeconds, 3.0);
    const SFileFindings cut = VerifyFile(dir.filePath(u"Cut.wav"_s));
    ASSERT_EQ(cut.reasons.size(), 1);
    EXPECT_EQ(cut.reasons.first().strCode, u"audio-truncated"_s);
    EXPECT_EQ(cut.reasons.first().severity, ESeverity::Broken);
    EXPECT_EQ(cut.reasons.first().strText,
              u"its data chunk declares 1764000 bytes (0:10) but the file holds 705600 of them: 6.0 s of audio missing"_s);
    EXPECT_DOUBLE_EQ(cut.dAudioSeconds, 4.0);
}

TEST(FileChecksTest, AFileThatIsNoRegularFileIsNotRead)
{
    QTemporaryDir dir;
    const QString pipe = dir.filePath(u"Song.mp3"_s);
    ASSERT_EQ(::mkfifo(pipe.toUtf8().constData(), 0600), 0);
    // A pipe with no writer would hold a plain open for ever.
    const SFileFindings findings = VerifyFile(pipe);
    EXPECT_FALSE(findings.bRead);
    EXPECT_TRUE(findings.reasons.isEmpty());
}
