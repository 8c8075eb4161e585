#include "TestSupport.h"

#include "inspect/KaraokeIdentification.h"
#include "samplegen/GraphicsSamples.h"

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;
using namespace velmora;

namespace {

class CIdentification : public ::testing::Test
{
protected:
    QString Write(const QString &name, const QByteArray &bytes)
    {
        const QString path = m_dir.filePath(name);
        test::WriteBytes(path, bytes);
        return path;
    }
    QByteArray Mdk(quint32 milliseconds, int size = 32)
    {
        QByteArray bytes("MD-LJM");
        bytes.resize(size, '\0');
        for (int i = 0; i < 4 && 16 + i < size; ++i)
            bytes[16 + i] = char((milliseconds >> (8 * i)) & 0xFF);
        return bytes;
    }
    QTemporaryDir m_dir;
};

QByteArray WithTailTag(int size, int bytesBeforeEnd, const QByteArray &head = {})
{
    QByteArray bytes = head;
    bytes.resize(size, '\x01');
    bytes.replace(size - bytesBeforeEnd, 7, "KLOVUSA");
    return bytes;
}

} // namespace

TEST_F(CIdentification, MdkHeaderGivesLabelsAndPlayingTime)
{
    QString general = u"MIDI"_s, format, duration;
    IdentifyKaraokeFileByExtension(Write(u"a.MDK"_s, Mdk(205'999)), general, format, duration);
    EXPECT_EQ(general, u"KLOV Karaoke File"_s);
    EXPECT_EQ(format, u"ZR310 MDK Midi File"_s);
    EXPECT_EQ(duration, u"3mn 25s"_s);

    // Too short to hold the time, or without the header: nothing changes.
    for (const QByteArray &bytes : {Mdk(1000, 18), QByteArray("MD-LJX").leftJustified(32, '\0'), QByteArray()}) {
        QString g = u"G"_s, f, d;
        IdentifyKaraokeFileByExtension(Write(u"b.mdk"_s, bytes), g, f, d);
        EXPECT_EQ(g, u"G"_s);
        EXPECT_TRUE(f.isEmpty());
        EXPECT_TRUE(d.isEmpty());
    }
}

TEST_F(CIdentification, OtherEndingsAndRejectedGraphicsChangeNothing)
{
    QString general = u"G"_s, format, duration;
    IdentifyKaraokeFileByExtension(Write(u"a.mp3"_s, Mdk(5000)), general, format, duration);
    IdentifyKaraokeFileByExtension(Write(u"a.cdg"_s, QByteArray(7200, '\0')), general, format, duration);
    IdentifyKaraokeFileByExtension(m_dir.filePath(u"missing.mdk"_s), general, format, duration);
    EXPECT_EQ(general, u"G"_s);
    EXPECT_TRUE(format.isEmpty());
    EXPECT_TRUE(duration.isEmpty());
}

TEST_F(CIdentification, ContentTagsPickTheFormatLabel)
{
    const auto formatOf = [&](const QString &name, const QByteArray &bytes) {
        return IdentifyKaraokeFileByContent(Write(name, bytes)).strFormat;
    };
    EXPECT_EQ(formatOf(u"a.bin"_s, QByteArray("KLOVNCG").leftJustified(100, '\0')), u"ZR310 NCG File"_s);
    EXPECT_EQ(formatOf(u"b.bin"_s, WithTailTag(100, 15, "KLOVMC")), u"KLOV MCG File"_s);
    EXPECT_EQ(formatOf(u"c.bin"_s, WithTailTag(100, 13)), u"ZR30 CDG File"_s);
    EXPECT_EQ(formatOf(u"d.cdg"_s, QByteArray(24 * 5, '\0')), u"CDG File"_s);

    const SKaraokeIdentity plain = IdentifyKaraokeFileByContent(Write(u"e.CDG"_s, QByteArray(48, '\0')));
    EXPECT_EQ(plain.strGeneral, u"CDG Karaoke File"_s);
    const SKaraokeIdentity maker = IdentifyKaraokeFileByContent(Write(u"f.bin"_s, WithTailTag(64, 13)));
    EXPECT_EQ(maker.strGeneral, u"KLOV Karaoke File"_s);
}

TEST_F(CIdentification, ScdgTrailerSearchAndMcgPrecedence)
{
    // KLOVMC header, FF padding at trailer bytes 13-16, KLOVUSA at offset 16n + 1 of the
    // last 8192 bytes (tagShift moves it off that grid).
    const auto scdg = [](int size, int tagShift = 0) {
        QByteArray bytes("KLOVMC");
        bytes.resize(size, '\0');
        bytes.replace(size - 32 + 13, 4, QByteArray(4, '\xFF'));
        bytes.replace(size - 8192 + 16 * 100 + 1 + tagShift, 7, "KLOVUSA");
        return bytes;
    };
    const auto formatOf = [&](const QString &name, const QByteArray &bytes) {
        return IdentifyKaraokeFileByContent(Write(name, bytes)).strFormat;
    };
    EXPECT_EQ(formatOf(u"s.bin"_s, scdg(20000)), u"KLOV SCDG File"_s);
    EXPECT_TRUE(formatOf(u"t.bin"_s, scdg(20000, 2)).isEmpty());
    // Files of 8192 bytes or less are never searched.
    EXPECT_TRUE(formatOf(u"v.bin"_s, scdg(8192)).isEmpty());
    EXPECT_EQ(formatOf(u"w.bin"_s, scdg(8193)), u"KLOV SCDG File"_s);

    // The MCG trailer tag wins over the SCDG result.
    QByteArray both = scdg(20000);
    both.replace(20000 - 15, 7, "KLOVUSA");
    EXPECT_EQ(formatOf(u"u.bin"_s, both), u"KLOV MCG File"_s);
}

TEST_F(CIdentification, PlainCdgLimits)
{
    EXPECT_TRUE(IdentifyKaraokeFileByContent(Write(u"big.cdg"_s, QByteArray(4'194'304, '\0'))).strFormat.isEmpty());
    EXPECT_FALSE(IdentifyKaraokeFileByContent(Write(u"ok.cdg"_s, QByteArray(4'194'304 - 16, '\0'))).strFormat.isEmpty());
    EXPECT_TRUE(IdentifyKaraokeFileByContent(Write(u"x.scdg"_s, QByteArray(240, '\0'))).strFormat.isEmpty());
    EXPECT_TRUE(IdentifyKaraokeFileByContent(Write(u"odd.cdg"_s, QByteArray(25, '\0'))).strFormat.isEmpty());
}

TEST_F(CIdentification, TinyAndMissingFilesAreSafe)
{
    for (int size = 0; size < 40; ++size) {
        QByteArray bytes = QByteArray("KLOVUSA").repeated(6).left(size);
        const SKaraokeIdentity identity = IdentifyKaraokeFileByContent(Write(u"tiny.bin"_s, bytes));
        EXPECT_FALSE(identity.bAccepted);
    }
    EXPECT_TRUE(IdentifyKaraokeFileByContent(m_dir.filePath(u"missing.cdg"_s)).strFormat.isEmpty());
    EXPECT_TRUE(IdentifyKaraokeFileByContent(m_dir.path()).strFormat.isEmpty());
}

// The graphics samples of every form, written to disk and identified the way the checker does.
TEST_F(CIdentification, GraphicsSamplesAreRecognised)
{
    QList<samplegen::SSampleFile> samples;
    samplegen::AddGraphicsSamples(samples);
    for (const samplegen::SSampleFile &sample : samples)
        Write(sample.relativePath, sample.content);
    const auto path = [&](const QString &name) { return m_dir.filePath(u"Graphics/"_s + name); };

    // Pass A: a ".cdg" the reader accepts gets its time from the size.
    const struct
    {
        QString name;
        QString duration;
    } byExtension[] = {{u"Every Instruction.cdg"_s, u"0mn 3s"_s},
                       {u"Long Song.cdg"_s, u"3mn 30s"_s},
                       {u"Tagged Song.cdg"_s, u"0mn 0s"_s}};
    for (const auto &expected : byExtension) {
        QString general = u"MPEG Audio"_s, format, duration;
        IdentifyKaraokeFileByExtension(path(expected.name), general, format, duration);
        EXPECT_EQ(general, u"MPEG Audio, CDG Karaoke File"_s) << qPrintable(expected.name);
        EXPECT_EQ(format, u"CDG File"_s);
        EXPECT_EQ(duration, expected.duration);
    }
    QString general, format, duration;
    IdentifyKaraokeFileByExtension(path(u"Not Graphics.cdg"_s), general, format, duration);
    EXPECT_TRUE(general.isEmpty() && format.isEmpty() && duration.isEmpty());

    // Pass B: labels from the tags, time from the decoded pack numbers.
    const struct
    {
        QString name;
        QString general;
        QString format;
        int seconds;
    } byContent[] = {{u"Every Instruction.cdg"_s, u"CDG Karaoke File"_s, u"CDG File"_s, 224 / 75},
                     {u"Long Song.cdg"_s, u"CDG Karaoke File"_s, u"CDG File"_s, 209},
                     {u"Tagged Song.cdg"_s, u"KLOV Karaoke File"_s, u"ZR30 CDG File"_s, 299 / 75},
                     {u"Maker Song.mcg"_s, u"KLOV Karaoke File"_s, u"KLOV MCG File"_s, 0},
                     {u"Trailer Song.scdg"_s, u"KLOV Karaoke File"_s, u"KLOV SCDG File"_s, 0}};
    for (const auto &expected : byContent) {
        const SKaraokeIdentity identity = IdentifyKaraokeFileByContent(path(expected.name));
        EXPECT_TRUE(identity.bAccepted) << qPrintable(expected.name);
        EXPECT_EQ(identity.strGeneral, expected.general);
        EXPECT_EQ(identity.strFormat, expected.format);
        EXPECT_EQ(identity.nDuration, expected.seconds) << qPrintable(expected.name);
    }
    EXPECT_FALSE(IdentifyKaraokeFileByContent(path(u"Not Graphics.cdg"_s)).bAccepted);
    EXPECT_FALSE(IdentifyKaraokeFileByContent(path(u"Every Instruction.mp3"_s)).bAccepted);
}

TEST_F(CIdentification, EncodedGraphicsAreLabelledButNotAccepted)
{
    // NCG content cannot be restored here, so the label is found and the reader says no.
    QByteArray ncg = QByteArray("KLOVNCG").leftJustified(32, '\0');
    for (const QByteArray &bytes : {ncg, ncg + QByteArray(960, '\x09')}) {
        const SKaraokeIdentity identity = IdentifyKaraokeFileByContent(Write(u"song.ncg"_s, bytes));
        EXPECT_EQ(identity.strFormat, u"ZR310 NCG File"_s);
        EXPECT_FALSE(identity.bAccepted);
        EXPECT_EQ(identity.nDuration, 0);
    }
}

TEST(GraphicsPlayingTime, LastPackNumberOver75)
{
    QByteArray records(32, '\0');
    records[30] = char(0xE0); // 0x2EE0 = 12000 packs
    records[31] = char(0x2E);
    EXPECT_EQ(GraphicsPlayingTime(records), 160);
    EXPECT_EQ(GraphicsPlayingTime(records.left(16)), 0);
    EXPECT_EQ(GraphicsPlayingTime({}), 0);
}
