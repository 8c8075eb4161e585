// The media-library branch may answer for a bare CD+G stream itself; the answer must be the
// one the library gives, for every such file the samples and look-alikes hold.
#include "TestSupport.h"

#include "inspect/FileList.h"
#include "inspect/KnownLibraryAnswer.h"
#include "inspect/MediaAnalysis.h"
#include "inspect/MediaInfoLibrary.h"
#include "samplegen/CdgWriter.h"
#include "samplegen/GraphicsSamples.h"
#include "samplegen/Mp3Writer.h"
#include "samplegen/SampleLibrary.h"
#include "samplegen/ScaledLibrary.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;
using namespace velmora;

namespace {

QByteArray WithByte(QByteArray bytes, qsizetype at, char value)
{
    bytes[at] = value;
    return bytes;
}

// Files that look like bare streams in ways a real collection may hold: names the library
// could take for an image sequence, an upper-case ending, a long song, a stream whose data
// symbols spell start codes of video formats, and a stream that is nearly all empty packets.
QList<samplegen::SSampleFile> LookAlikes()
{
    const QByteArray song = samplegen::MakeCdgPackets(3);
    QByteArray startCodes = song;
    for (qsizetype at = 4; at + 4 < startCodes.size(); at += samplegen::kCdgPacketBytes)
        startCodes.replace(at, 4, QByteArray("\x00\x00\x01\x0F", 4));
    QByteArray sparse(96 * 750, '\0');
    sparse.replace(0, samplegen::kCdgPacketBytes, song.first(samplegen::kCdgPacketBytes));
    return {{u"Look/Track 01.cdg"_s, song},
            {u"Look/Track 02.cdg"_s, song},
            {u"Look/Track 03.cdg"_s, song},
            {u"Look/SHOUTED.CDG"_s, song},
            {u"Look/Long.cdg"_s, samplegen::MakeCdgPackets(240)},
            {u"Look/Start Codes.cdg"_s, startCodes},
            {u"Look/Sparse.cdg"_s, sparse},
            {u"Look/Pq Bits.cdg"_s, WithByte(song, 0, '\x49')},
            {u"Look/Cut Short.cdg"_s, song.chopped(24)},
            {u"Look/Mp3 Inside.cdg"_s, samplegen::MakeMp3File(nullptr, false, false, 100)}};
}

QString LibraryOwnReport(const QString &path)
{
    CMediaInfo info;
    if (!info.Create() || !info.Open(path))
        return {};
    return info.Report();
}

QStringList LibraryOwnAnswer(const QString &path)
{
    UseKnownLibraryAnswers(false);
    QStringList result;
    AnalyseMediaFile(path, result);
    UseKnownLibraryAnswers(true);
    return result;
}

} // namespace

TEST(KnownLibraryAnswer, OnlyWholePacksOfSixBitGraphicsCount)
{
    const QByteArray song = samplegen::MakeCdgPackets(2);
    EXPECT_TRUE(IsBareCdgStream(song));
    EXPECT_FALSE(IsBareCdgStream(QByteArray()));
    EXPECT_FALSE(IsBareCdgStream(song.chopped(1)));                     // not whole packs
    EXPECT_FALSE(IsBareCdgStream(WithByte(song, 0, '\x49')));           // subchannel bits kept
    EXPECT_FALSE(IsBareCdgStream(WithByte(song, 30, '\x40')));          // a data byte past 6 bits
    EXPECT_FALSE(IsBareCdgStream(WithByte(song, 0, '\x08')));           // another mode
    EXPECT_FALSE(IsBareCdgStream(QByteArray(96 * 10, '\0')));           // no instruction at all
    EXPECT_FALSE(IsBareCdgStream(samplegen::MakeMp3File(nullptr, false, false, 20)));
}

TEST(KnownLibraryAnswer, EqualsTheLibrarysAnswerOnEverySampleAndLookAlike)
{
    if (CMediaInfoModule::Shared().Load() != 1)
        GTEST_SKIP() << "the media-information library is needed";
    QList<samplegen::SSampleFile> files = samplegen::BuildScaledLibrary(150, 1);
    files += samplegen::BuildSampleLibrary();
    samplegen::AddGraphicsSamples(files);
    files += LookAlikes();

    QTemporaryDir folder;
    int answered = 0;
    int asked = 0;
    for (const samplegen::SSampleFile &file : std::as_const(files)) {
        const QString path = QDir(folder.path()).filePath(file.relativePath);
        QDir().mkpath(QFileInfo(path).path());
        test::WriteBytes(path, file.content);
        SCOPED_TRACE(file.relativePath.toStdString());
        const std::optional<QStringList> known = KnownMediaLibraryAnswer(path);
        const std::optional<QString> knownReport = KnownMediaLibraryReport(path);
        EXPECT_EQ(known.has_value(), knownReport.has_value());
        if (!known) {
            asked += HasEnding(path, u".cdg") ? 1 : 0;
            continue;
        }
        ++answered;
        EXPECT_EQ(*known, LibraryOwnAnswer(path));
        EXPECT_EQ(knownReport.value_or(QString()), LibraryOwnReport(path));
        QStringList analysed;
        EXPECT_FALSE(AnalyseMediaFile(path, analysed));
        EXPECT_EQ(analysed, *known);
    }
    EXPECT_GT(answered, 150); // every generated CD+G file and the look-alikes that are streams
    EXPECT_GE(asked, 5);      // the tagged, MCG-like, MP3 and damaged ones go to the library
}

TEST(KnownLibraryAnswer, NamesTheReportLookupCouldMisreadAreAsked)
{
    if (CMediaInfoModule::Shared().Load() != 1)
        GTEST_SKIP() << "the media-information library is needed";
    QTemporaryDir folder;
    const QByteArray stream = samplegen::MakeCdgPackets(2);
    for (const QString &name : {u"Track name  x.cdg"_s, u"two\nlines.cdg"_s, u"song.cdg.bin"_s}) {
        const QString path = QDir(folder.path()).filePath(name);
        test::WriteBytes(path, stream);
        EXPECT_FALSE(KnownMediaLibraryAnswer(path).has_value()) << name.toStdString();
    }
    const QString plain = QDir(folder.path()).filePath(u"song.cdg"_s);
    test::WriteBytes(plain, stream);
    EXPECT_TRUE(KnownMediaLibraryAnswer(plain).has_value());
    UseKnownLibraryAnswers(false);
    EXPECT_FALSE(KnownMediaLibraryAnswer(plain).has_value());
    UseKnownLibraryAnswers(true);
}

// The report gives the size as the library writes it: checked against the library near each
// change of unit or digits, on ties of the last digit (1.125 KiB is "1.12 KiB"), on sizes that
// single precision rounds up (2^30 - 1 bytes is "1.00 GiB", 2^20 - 1 is "1 024 KiB"), and on
// sizes bare streams have. The library reads files of 8 to 16 MiB whole; those are left out.
TEST(KnownLibraryAnswer, FileSizeTextIsTheLibrarys)
{
    if (CMediaInfoModule::Shared().Load() != 1)
        GTEST_SKIP() << "the media-information library is needed";
    QList<qint64> sizes = {0,       1,       2,       9,       10,       99,       100,        101,
                           999,     1000,    1023,    1024,    1025,     1152,     2688,       10239,
                           10240,   102399,  102400,  1047552, 1048575,  1048576,  1048577,    16777217,
                           67108864, 1073741823};
    for (qint64 packs = 1; packs <= 12; ++packs)
        sizes.append(96 * packs);
    for (double packs = 12; packs * 96 <= 2.0 * 1024 * 1024; packs *= 1.2)
        sizes.append(96 * qint64(packs));
    QTemporaryDir folder;
    const QString path = QDir(folder.path()).filePath(u"sized.xyz"_s);
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    for (const qint64 size : std::as_const(sizes)) {
        ASSERT_TRUE(QFile::resize(path, size)); // sparse: no bytes written
        const QString report = LibraryOwnReport(path);
        const QString line = report.section(u"\r\n"_s, 2, 2);
        ASSERT_TRUE(line.startsWith(u"File size"_s)) << report.toStdString();
        EXPECT_EQ(LibraryFileSizeText(size), line.section(u": "_s, 1)) << size;
    }
}
