#include "samplegen/Mp3Writer.h"
#include "samplegen/ScaledLibrary.h"
#include "verify/Mp3FrameWalk.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QSet>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>

using namespace Qt::Literals::StringLiterals;
using namespace velmora::samplegen;

namespace {

QMap<QString, QByteArray> ByPath(const QList<SSampleFile> &files)
{
    QMap<QString, QByteArray> byPath;
    for (const SSampleFile &file : files)
        byPath.insert(file.relativePath, file.content);
    return byPath;
}

QString Extension(const QString &path)
{
    return path.mid(path.lastIndexOf(u'.') + 1);
}

} // namespace

TEST(ScaledLibrary, SameSeedGivesTheSameLibraryAndAnotherSeedDiffers)
{
    const QList<SSampleFile> first = BuildScaledLibrary(150, 42);
    const QList<SSampleFile> again = BuildScaledLibrary(150, 42);
    ASSERT_EQ(first.size(), again.size());
    for (qsizetype i = 0; i < first.size(); ++i) {
        EXPECT_EQ(first.at(i).relativePath, again.at(i).relativePath) << i;
        EXPECT_EQ(first.at(i).content, again.at(i).content) << qPrintable(first.at(i).relativePath);
    }

    // Another seed keeps the shape but changes names and contents.
    const QList<SSampleFile> other = BuildScaledLibrary(150, 43);
    ASSERT_EQ(other.size(), first.size());
    int samePaths = 0;
    int sameContents = 0;
    for (qsizetype i = 0; i < first.size(); ++i) {
        samePaths += first.at(i).relativePath == other.at(i).relativePath ? 1 : 0;
        sameContents += first.at(i).content == other.at(i).content ? 1 : 0;
    }
    EXPECT_LT(samePaths, first.size() / 10);
    EXPECT_LT(sameContents, first.size() / 2);
}

TEST(ScaledLibrary, SongsAreMadeIndependentlyOfTheOnesBefore)
{
    const QList<SSampleFile> library = BuildScaledLibrary(60, 9);
    const QList<SSampleFile> song = BuildScaledSong(57, 9);
    const QMap<QString, QByteArray> byPath = ByPath(library);
    ASSERT_FALSE(song.isEmpty());
    for (const SSampleFile &file : song)
        EXPECT_EQ(byPath.value(file.relativePath), file.content) << qPrintable(file.relativePath);
}

TEST(ScaledLibrary, CountsMatchTheFilesMade)
{
    const int songs = 250; // five whole cycles of kinds, three folders, the last one partial
    const SScaledLibraryCounts counts = CountScaledLibrary(songs);
    EXPECT_EQ(counts.nSongs, 250);
    EXPECT_EQ(counts.nPairs, 5 * 41);
    EXPECT_EQ(counts.nZips, 5 * 3);
    EXPECT_EQ(counts.nMidi, 5 * 4);
    EXPECT_EQ(counts.nBrokenMp3, 5);
    EXPECT_EQ(counts.nLoneMp3, 5);
    EXPECT_EQ(counts.nUnknown, 3);
    EXPECT_EQ(counts.nFolders, 5); // three artist folders, "Duets" in the two full ones

    const QList<SSampleFile> files = BuildScaledLibrary(songs, 5);
    ASSERT_EQ(files.size(), counts.nFiles);
    QMap<QString, int> byExtension;
    QSet<QString> paths;
    QSet<QString> folders;
    for (const SSampleFile &file : files) {
        ++byExtension[Extension(file.relativePath)];
        paths.insert(file.relativePath);
        folders.insert(QFileInfo(file.relativePath).path());
        EXPECT_FALSE(file.content.isEmpty()) << qPrintable(file.relativePath);
        EXPECT_TRUE(std::all_of(file.relativePath.begin(), file.relativePath.end(),
                                [](QChar c) { return c.unicode() < 0x80; }))
            << "names stay plain ASCII: " << qPrintable(file.relativePath);
    }
    EXPECT_EQ(paths.size(), files.size()) << "no file overwrites another";
    EXPECT_EQ(folders.size(), counts.nFolders);
    EXPECT_EQ(byExtension.value(u"zip"_s), counts.nZips);
    EXPECT_EQ(byExtension.value(u"xyz"_s), counts.nUnknown);
    EXPECT_EQ(byExtension.value(u"cdg"_s), counts.nPairs + counts.nBrokenMp3);
    EXPECT_EQ(byExtension.value(u"mp3"_s), counts.nPairs + counts.nBrokenMp3 + counts.nLoneMp3);
    EXPECT_EQ(byExtension.value(u"kar"_s) + byExtension.value(u"mid"_s) + byExtension.value(u"wrk"_s),
              counts.nMidi);
}

TEST(ScaledLibrary, SongsAreShortAndProblemSongsHaveNoFrameSync)
{
    for (int index = 0; index < 50; ++index) {
        const QList<SSampleFile> song = BuildScaledSong(index, 77);
        for (const SSampleFile &file : song) {
            if (Extension(file.relativePath) != u"mp3"_s)
                continue;
            // 2 to 4 seconds of 128 kbit/s frames, plus at most the tags.
            EXPECT_GE(file.content.size(), Mp3FramesForSeconds(2) * kMp3FrameBytes) << index;
            EXPECT_LE(file.content.size(), Mp3FramesForSeconds(4) * kMp3FrameBytes + 1024) << index;
            const bool broken = ScaledSongKind(index) == EScaledSongKind::BrokenMp3;
            EXPECT_EQ(file.content.contains(char(0xFF)), !broken) << index;
        }
        if (ScaledSongKind(index) == EScaledSongKind::Zip) {
            ASSERT_EQ(song.size(), 1);
            EXPECT_TRUE(song.at(0).content.startsWith("PK\x03\x04"));
        }
    }
}

TEST(ScaledLibrary, WritesExactlyTheBuiltFilesAndRefusesBadCounts)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString root = dir.filePath(u"lib"_s);
    QString error;
    SScaledLibraryCounts written;
    ASSERT_TRUE(WriteScaledLibrary(root, 120, 11, &error, &written)) << qPrintable(error);

    const QMap<QString, QByteArray> expected = ByPath(BuildScaledLibrary(120, 11));
    EXPECT_EQ(written.nFiles, expected.size());
    EXPECT_EQ(written.nSongs, 120);
    QMap<QString, QByteArray> onDisk;
    QDirIterator it(root, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        QFile in(it.next());
        ASSERT_TRUE(in.open(QIODevice::ReadOnly));
        onDisk.insert(QDir(root).relativeFilePath(in.fileName()), in.readAll());
        EXPECT_EQ(QFileInfo(in.fileName()).lastModified().toUTC(), SampleFileTime());
    }
    EXPECT_TRUE(onDisk == expected);

    EXPECT_FALSE(WriteScaledLibrary(dir.filePath(u"none"_s), 0, 1, &error));
    EXPECT_TRUE(error.contains(u"1 to"_s)) << qPrintable(error);
    EXPECT_FALSE(WriteScaledLibrary(dir.filePath(u"none"_s), kMaxScaledSongs + 1, 1, &error));
    EXPECT_FALSE(QFileInfo::exists(dir.filePath(u"none"_s)));
}

// Full-length songs are what real libraries hold: MP3s of 3 to 5 MB whose every frame a
// frame walk accepts, CD+G of the same playing time, and no two songs alike.
TEST(ScaledLibrary, FullLengthSongsHaveRealSizesAndRealFrames)
{
    QMap<QString, QByteArray> audio;
    QMap<QString, QByteArray> graphics;
    for (int index : {0, 1, 9}) { // two pairs and a zip package
        for (const SSampleFile &file : BuildScaledSong(index, 5, ESongSize::Full)) {
            if (file.relativePath.endsWith(u".mp3"_s))
                audio.insert(file.relativePath, file.content);
            if (file.relativePath.endsWith(u".cdg"_s))
                graphics.insert(file.relativePath, file.content);
            if (file.relativePath.endsWith(u".zip"_s)) {
                EXPECT_GT(file.content.size(), 4'000'000);
                EXPECT_LT(file.content.size(), 7'000'000);
            }
        }
    }
    ASSERT_EQ(audio.size(), 2);
    ASSERT_EQ(graphics.size(), 2);
    for (const QString &path : audio.keys()) {
        const QByteArray &mp3 = audio.value(path);
        EXPECT_GE(mp3.size(), 3'000'000) << qPrintable(path);
        EXPECT_LE(mp3.size(), 5'100'000) << qPrintable(path);
        velmora::CMp3FrameWalker walker;
        walker.Feed(mp3, true);
        const velmora::SMp3Walk &walk = walker.Result();
        EXPECT_TRUE(walk.damaged.isEmpty());
        EXPECT_EQ(walk.nDeclaredFrames, walk.nFrames);
        EXPECT_LT(walk.nCutFrameOffset, 0);
        EXPECT_LT(walk.nTrailingOffset, 0);
        const QString cdg = path.left(path.size() - 4) + u".cdg"_s;
        // The graphics run as long as the audio, give or take the last frame.
        EXPECT_NEAR(double(graphics.value(cdg).size()) / 7200.0, walk.dSeconds, 0.1) << qPrintable(path);
    }
    EXPECT_NE(audio.first().mid(50'000, 100'000), audio.last().mid(50'000, 100'000));
    EXPECT_NE(graphics.first().left(2000), graphics.last().left(2000));
    // The small songs stay as they were.
    EXPECT_EQ(BuildScaledSong(0, 5).first().content, BuildScaledSong(0, 5, ESongSize::Small).first().content);
    EXPECT_LT(BuildScaledSong(0, 5).last().content.size(), 100'000);
}
