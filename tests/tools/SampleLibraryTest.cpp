#include "samplegen/CdgWriter.h"
#include "samplegen/Id3Writer.h"
#include "samplegen/Mp3Writer.h"
#include "samplegen/SampleLibrary.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QTemporaryDir>
#include <QtEndian>

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;
using namespace velmora::samplegen;

namespace {

quint8 Byte(const QByteArray &bytes, qsizetype index)
{
    return quint8(bytes.at(index));
}

quint32 BigEndian32(const QByteArray &bytes, qsizetype offset)
{
    return quint32(Byte(bytes, offset)) << 24 | quint32(Byte(bytes, offset + 1)) << 16
        | quint32(Byte(bytes, offset + 2)) << 8 | Byte(bytes, offset + 3);
}

// Frame id -> content, walking the frames of a version 2.3 tag up to the padding.
QMap<QByteArray, QByteArray> ReadFrames(const QByteArray &tag, qsizetype bodyEnd)
{
    QMap<QByteArray, QByteArray> frames;
    qsizetype pos = kId3v2HeaderBytes;
    while (pos + 10 <= bodyEnd && tag.at(pos) != '\0') {
        const qsizetype size = BigEndian32(tag, pos + 4);
        EXPECT_LE(pos + 10 + size, bodyEnd) << "frame runs past the tag";
        frames.insert(tag.mid(pos, 4), tag.mid(pos + 10, size));
        pos += 10 + size;
    }
    return frames;
}

SId3Fields SampleFields()
{
    return {u"Caf\u00e9 Soleil"_s, u"Nina Castell"_s, u"Aurora \u2013 Live"_s, 2011, 7, u"Jazz"_s, 8, u"Hi"_s};
}

// Every file below root, by its "/"-separated relative path.
QMap<QString, QByteArray> ReadTree(const QString &root)
{
    QMap<QString, QByteArray> files;
    const QDir dir(root);
    QDirIterator it(root, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        QFile in(it.next());
        EXPECT_TRUE(in.open(QIODevice::ReadOnly)) << qPrintable(in.fileName());
        files.insert(dir.relativeFilePath(in.fileName()), in.readAll());
    }
    return files;
}

} // namespace

TEST(SampleMp3, FramesAreSilentMpeg1Layer3At128k)
{
    const QByteArray frames = MakeMp3Frames(5);
    ASSERT_EQ(frames.size(), 5 * 417);
    for (qsizetype offset = 0; offset < frames.size(); offset += 417) {
        EXPECT_EQ(frames.mid(offset, 4), QByteArray::fromHex("FFFB9064")) << offset;
        EXPECT_EQ(frames.mid(offset + 4, 413).count('\0'), 413) << offset;
    }
    EXPECT_TRUE(MakeMp3Frames(0).isEmpty());
    EXPECT_TRUE(MakeMp3Frames(-3).isEmpty());
    EXPECT_TRUE(MakeMp3Frames(kMaxMp3Frames + 1).isEmpty());
    EXPECT_EQ(Mp3FramesForSeconds(4), 154); // 4 * 44100 / 1152 = 153.1, rounded up
}

TEST(SampleMp3, FileLaysOutTagFramesTrailer)
{
    const SId3Fields fields = SampleFields();
    const QByteArray v2 = MakeId3v23Tag(fields);
    const QByteArray file = MakeMp3File(&fields, true, true, 3);
    ASSERT_EQ(file.size(), v2.size() + 3 * 417 + 128);
    EXPECT_TRUE(file.startsWith(v2));
    EXPECT_EQ(file.mid(v2.size(), 4), QByteArray::fromHex("FFFB9064"));
    EXPECT_EQ(file.right(128), MakeId3v1Tag(fields));
    EXPECT_EQ(MakeMp3File(nullptr, true, true, 3), MakeMp3Frames(3));
}

TEST(SampleId3, Version23HeaderSizeMatchesBodyAndFramesParse)
{
    const QByteArray tag = MakeId3v23Tag(SampleFields());
    ASSERT_GT(tag.size(), kId3v2HeaderBytes);
    EXPECT_EQ(tag.left(6), QByteArray("ID3\x03\x00\x00", 6));
    quint32 size = 0;
    for (int i = 6; i < 10; ++i) {
        EXPECT_LT(Byte(tag, i), 0x80) << "not synchsafe";
        size = size << 7 | Byte(tag, i);
    }
    EXPECT_EQ(qsizetype(size), tag.size() - kId3v2HeaderBytes);

    const auto frames = ReadFrames(tag, tag.size());
    for (const char *id : {"TIT2", "TPE1", "TALB", "TYER", "TRCK", "TCON", "COMM"})
        EXPECT_TRUE(frames.contains(id)) << id;
    EXPECT_EQ(frames.value("TIT2"), QByteArray("\0Caf\xE9 Soleil", 12));
    EXPECT_EQ(frames.value("TYER"), QByteArray("\0" "2011", 5));
    EXPECT_EQ(frames.value("TRCK"), QByteArray("\0" "7", 2));
    EXPECT_EQ(frames.value("COMM"), QByteArray("\0eng\0Hi", 7));
    // The en dash does not fit ISO-8859-1, so the album is UTF-16 LE with its mark.
    const QByteArray album = frames.value("TALB");
    EXPECT_EQ(album.left(3), QByteArray("\x01\xFF\xFE", 3));
    EXPECT_EQ(album.size(), 3 + 2 * 13);
    EXPECT_EQ(album.mid(3 + 2 * 7, 2), QByteArray("\x13\x20", 2));
}

TEST(SampleId3, EmptyFieldsLeaveFramesOut)
{
    const QByteArray tag = MakeId3v23Tag(SId3Fields{u"Only Title"_s});
    const auto frames = ReadFrames(tag, tag.size());
    EXPECT_EQ(frames.keys(), QList<QByteArray>{"TIT2"});
}

TEST(SampleId3, Version1TrailerFields)
{
    SId3Fields fields = SampleFields();
    fields.title = u"A title that is longer than thirty characters"_s;
    const QByteArray tag = MakeId3v1Tag(fields);
    ASSERT_EQ(tag.size(), 128);
    EXPECT_EQ(tag.left(3), "TAG");
    EXPECT_EQ(tag.mid(3, 30), fields.title.toLatin1().left(30));
    EXPECT_EQ(tag.mid(33, 13), QByteArray("Nina Castell\0", 13));
    EXPECT_EQ(tag.mid(63, 14), QByteArray("Aurora ? Live\0", 14));
    EXPECT_EQ(tag.mid(93, 4), "2011");
    EXPECT_EQ(tag.mid(97, 3), QByteArray("Hi\0", 3));
    EXPECT_EQ(Byte(tag, 125), 0);
    EXPECT_EQ(Byte(tag, 126), 7);
    EXPECT_EQ(Byte(tag, 127), 8);

    fields.track = 300;
    fields.genreIndex = -1;
    const QByteArray outOfRange = MakeId3v1Tag(fields);
    EXPECT_EQ(Byte(outOfRange, 126), 0);
    EXPECT_EQ(Byte(outOfRange, 127), 255);
}

TEST(SampleCdg, StreamIsWholePacketsOfRealInstructions)
{
    const QByteArray stream = MakeCdgPackets(3);
    ASSERT_EQ(stream.size(), 3 * 7200);
    ASSERT_EQ(stream.size() % 24, 0);
    EXPECT_TRUE(MakeCdgPackets(0).isEmpty());
    EXPECT_TRUE(MakeCdgPackets(kMaxCdgSeconds + 1).isEmpty());

    QMap<int, qsizetype> firstSeen;
    qsizetype lastInstructionPacket = -1;
    for (qsizetype p = 0; p * 24 < stream.size(); ++p) {
        const QByteArray packet = stream.mid(p * 24, 24);
        if (packet.count('\0') == 24)
            continue;
        ASSERT_EQ(Byte(packet, 0), kCdgTvGraphics) << p;
        for (qsizetype i = 4; i < 20; ++i)
            EXPECT_LT(Byte(packet, i), 0x40) << "packet " << p << " symbol " << i;
        const int instruction = Byte(packet, 1);
        if (instruction == kCdgTileNormal || instruction == kCdgTileXor) {
            EXPECT_LT(Byte(packet, 5), 0x20) << "tile would be skipped";
            EXPECT_LT(Byte(packet, 6), 18) << "row";
            EXPECT_LT(Byte(packet, 7), 50) << "column";
        }
        if (!firstSeen.contains(instruction))
            firstSeen.insert(instruction, p);
        lastInstructionPacket = p;
    }
    ASSERT_EQ(firstSeen.keys(), (QList<int>{1, 2, 6, 30, 31, 38}));
    // Colours are loaded and the screen cleared before anything is drawn.
    for (int setup : {1, 2, 30, 31})
        EXPECT_LT(firstSeen.value(setup), firstSeen.value(kCdgTileNormal)) << setup;
    EXPECT_LT(firstSeen.value(kCdgTileNormal), firstSeen.value(kCdgTileXor));
    // The last wipe step is in the final pack, so a time taken from pack numbers
    // comes out close to the one taken from the size.
    EXPECT_EQ(lastInstructionPacket / 4, 3 * 75 - 1);
}

TEST(SampleLibrary, WritesTheSameBytesAndTimesEveryRun)
{
    QTemporaryDir first;
    QTemporaryDir second;
    ASSERT_TRUE(first.isValid() && second.isValid());
    int count = 0;
    QString error;
    ASSERT_TRUE(WriteSampleLibrary(first.path(), &error, &count)) << qPrintable(error);
    ASSERT_TRUE(WriteSampleLibrary(second.filePath(u"nested/out"_s), &error)) << qPrintable(error);

    const QList<SSampleFile> library = BuildSampleLibrary();
    EXPECT_EQ(count, library.size());
    const auto a = ReadTree(first.path());
    const auto b = ReadTree(second.filePath(u"nested/out"_s));
    EXPECT_EQ(a.size(), library.size());
    EXPECT_TRUE(a == b);
    qsizetype total = 0;
    for (const SSampleFile &file : library) {
        EXPECT_EQ(a.value(file.relativePath), file.content) << qPrintable(file.relativePath);
        const QFileInfo info(QDir(first.path()).filePath(file.relativePath));
        EXPECT_EQ(info.lastModified(), SampleFileTime()) << qPrintable(file.relativePath);
        total += file.content.size();
    }
    EXPECT_EQ(QFileInfo(first.filePath(u"More Songs"_s)).lastModified(), SampleFileTime());
    // The 210-second CD+G of the graphics samples alone is 1,512,000 bytes.
    EXPECT_LT(total, 4 * 1024 * 1024);
}

TEST(SampleLibrary, OverwritesOnlyItsOwnFiles)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QFile foreign(dir.filePath(u"keep me.txt"_s));
    ASSERT_TRUE(foreign.open(QIODevice::WriteOnly));
    foreign.write("mine");
    foreign.close();
    QFile stale(dir.filePath(u"notes.xyz"_s));
    ASSERT_TRUE(stale.open(QIODevice::WriteOnly));
    stale.write(QByteArray(100000, 'x')); // longer than the real file: must be truncated
    stale.close();

    ASSERT_TRUE(WriteSampleLibrary(dir.path(), nullptr));
    EXPECT_TRUE(QFileInfo::exists(dir.filePath(u"keep me.txt"_s)));
    QFile notes(dir.filePath(u"notes.xyz"_s));
    ASSERT_TRUE(notes.open(QIODevice::ReadOnly));
    EXPECT_TRUE(notes.readAll().startsWith("Velmora sample library\n"));
    EXPECT_LT(notes.size(), 1000);
}

TEST(SampleLibrary, ReportsAFolderItCannotCreate)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QFile blocker(dir.filePath(u"file"_s));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    QString error;
    EXPECT_FALSE(WriteSampleLibrary(dir.filePath(u"file"_s), &error));
    EXPECT_TRUE(error.startsWith(u"cannot create folder"_s)) << qPrintable(error);
}

TEST(SampleLibrary, ContentsMatchTheirRoles)
{
    QMap<QString, QByteArray> files;
    for (const SSampleFile &file : BuildSampleLibrary())
        files.insert(file.relativePath, file.content);

    const QByteArray broken = files.value(u"Broken Song.mp3"_s);
    ASSERT_GT(broken.size(), 1024);
    EXPECT_FALSE(broken.contains('\xFF'));
    EXPECT_FALSE(broken.contains("ID3"));
    EXPECT_FALSE(broken.contains("TAG"));

    // Every graphics file is whole packets below 4 MiB and has its MP3 beside it
    // (Song.cdg pairs with Song-.mp3).
    for (auto it = files.cbegin(); it != files.cend(); ++it) {
        // The graphics samples include tagged and fake ".cdg" files; they are checked below.
        if (!it.key().endsWith(u".cdg"_s) || it.key().startsWith(u"Graphics/"_s))
            continue;
        EXPECT_EQ(it.value().size() % 7200, 0) << qPrintable(it.key());
        EXPECT_LT(it.value().size(), 4 * 1024 * 1024);
        QString mp3 = it.key().chopped(4) + u".mp3"_s;
        if (!files.contains(mp3))
            mp3 = it.key().chopped(4) + u"-.mp3"_s;
        EXPECT_TRUE(files.contains(mp3)) << qPrintable(it.key());
    }
    for (const QString &name : {u"9.mp3"_s, u"10.mp3"_s, u"abc.mp3"_s})
        EXPECT_TRUE(files.value(name).startsWith("ID3")) << qPrintable(name);
    EXPECT_TRUE(files.contains(u"More Songs/Lena Moor - Quiet Harbour.cdg"_s));
}

TEST(SampleLibrary, GroupShapesAndMakerFiles)
{
    QMap<QString, QByteArray> files;
    for (const SSampleFile &file : BuildSampleLibrary())
        files.insert(file.relativePath, file.content);

    const QByteArray mdk = files.value(u"Klov Song.mdk"_s);
    ASSERT_GE(mdk.size(), 32);
    EXPECT_TRUE(mdk.startsWith("MD-LJM"));
    EXPECT_EQ(qFromLittleEndian<quint32>(mdk.constData() + 16), 205'999u);

    const QByteArray wav = files.value(u"Trio - Three Parts.wav"_s);
    EXPECT_TRUE(wav.startsWith("RIFF"));
    EXPECT_EQ(qFromLittleEndian<quint32>(wav.constData() + 4), quint32(wav.size() - 8));

    // The package holds the pair beside it, byte for byte, stored uncompressed.
    const QByteArray zip = files.value(u"Packed - Zip End.zip"_s);
    ASSERT_GE(zip.size(), 22);
    EXPECT_TRUE(zip.startsWith("PK\x03\x04"));
    const QByteArray end = zip.right(22);
    EXPECT_TRUE(end.startsWith("PK\x05\x06"));
    EXPECT_EQ(qFromLittleEndian<quint16>(end.constData() + 10), 2);
    EXPECT_TRUE(zip.contains(files.value(u"Packed - Zip End.mp3"_s)));

    EXPECT_TRUE(files.value(u"Midi Night.kar"_s).startsWith("MThd"));
}
