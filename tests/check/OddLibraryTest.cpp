// Libraries copied from Windows machines, NAS shares and old discs: pipes, long paths, ";"
// and case twins in names, dots in folder names, names that are not UTF-8.
#include "check/CheckFixture.h"

#include "check/ListSelectDirectory.h"
#include "platform/NativeName.h"
#include "platform/OpenFile.h"
#include "samplegen/CdgWriter.h"
#include "samplegen/Id3Writer.h"
#include "samplegen/Mp3Writer.h"

#include <QDir>
#include <QSet>
#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;
using namespace velmora;

namespace {

QByteArray TaggedMp3(const QString &title)
{
    const samplegen::SId3Fields tags{title, u"Singer"_s, u"Album"_s, 1999, 2, u"Pop"_s, 13, {}};
    return samplegen::MakeMp3File(&tags, true, true, samplegen::Mp3FramesForSeconds(2));
}

// The row whose file list, as shown, begins with that file.
const _ITEMINFO *RowOf(const CDirItemList &list, const QString &firstName)
{
    for (int i = 0; i < list.GetItemCount(); ++i) {
        const QString &shown = list.Item(i).szFileName;
        if (shown == firstName || shown.startsWith(firstName + u';'))
            return &list.Item(i);
    }
    return nullptr;
}

void SongCheck(test::CCheckFixture &f, const QString &folder)
{
    f.list.m_nTopLevel = 0;
    ListSelectDirectory(f.list, folder);
}

void MediaDetailsCheck(test::CCheckFixture &f, const QString &folder, bool subfolders)
{
    f.list.m_nTopLevel = 1;
    f.list.m_nIncludeSubfolders = subfolders ? 1 : 0;
    ListSelectDirectory(f.list, folder);
}

// The log lines as stored, with nothing mended on the way: lone surrogates stay visible.
bool LogIsValidUtf16(test::CLogCapture &capture, const QString &name)
{
    capture.Logs().Flush();
    const QByteArray bytes = test::ReadBytes(QDir(capture.Folder()).filePath(name));
    const QString text = QString::fromUtf16(reinterpret_cast<const char16_t *>(bytes.constData()), bytes.size() / 2);
    return !bytes.isEmpty() && text.isValidUtf16();
}

} // namespace

TEST(OddLibrary, PipeIsARowLikeAnUnreadableFileInBothChecks)
{
    test::CCheckFixture f;
    const test::CStuckPipe pipe(f.Path(u"stuck.mp3"_s));
    ASSERT_TRUE(pipe.Made());
    f.AddFile(u"song.mp3"_s, TaggedMp3(u"Fine"_s));

    SongCheck(f, f.Root());
    ASSERT_NE(RowOf(f.list, u"stuck.mp3"_s), nullptr);
    EXPECT_TRUE(RowOf(f.list, u"stuck.mp3"_s)->szTitle.IsEmpty());
    EXPECT_TRUE(RowOf(f.list, u"stuck.mp3"_s)->szResult.IsEmpty());
    EXPECT_EQ(RowOf(f.list, u"song.mp3"_s)->szTitle.Text(), u"Fine"_s);

    MediaDetailsCheck(f, f.Root(), false);
    ASSERT_NE(RowOf(f.list, u"stuck.mp3"_s), nullptr);
    EXPECT_EQ(RowOf(f.list, u"stuck.mp3"_s)->MarkClass(), 3);
    EXPECT_EQ(RowOf(f.list, u"stuck.mp3"_s)->szResult.Text(), u"AUDIO - Unknown Media"_s);
    EXPECT_EQ(RowOf(f.list, u"song.mp3"_s)->MarkClass(), 0);
    EXPECT_FALSE(pipe.Rescued()) << "the check waited for the pipe";
}

TEST(OddLibrary, FilesUnderLongPathsAreCheckedLikeAnyOther)
{
    test::CCheckFixture f;
    QString deep = f.Root();
    for (int i = 0; deep.size() <= 300; ++i)
        deep += u"/a-rather-long-folder-name-from-a-nas-share-%1"_s.arg(i);
    QDir().mkpath(deep);
    test::WriteBytes(deep + u"/Deep Song.mp3"_s, TaggedMp3(u"Deep"_s));
    test::WriteBytes(deep + u"/Deep Song.cdg"_s, samplegen::MakeCdgPackets(2));

    SongCheck(f, deep);
    const _ITEMINFO *song = RowOf(f.list, u"Deep Song.cdg"_s);
    ASSERT_NE(song, nullptr);
    EXPECT_EQ(song->szTitle.Text(), u"Deep"_s);
    EXPECT_TRUE(song->szResult.IsEmpty()) << song->szResult.Text().toStdString();
    EXPECT_EQ(song->szPath.Text().size(), 259); // the field keeps its limit
    EXPECT_TRUE(f.capture.ErrorLog().filter(u"LoadMediaFile"_s).isEmpty());

    MediaDetailsCheck(f, deep, false);
    ASSERT_EQ(f.list.GetItemCount(), 2);
    for (int i = 0; i < f.list.GetItemCount(); ++i) {
        EXPECT_EQ(f.list.Item(i).MarkClass(), 0) << f.list.Item(i).szFileName.Text().toStdString();
        EXPECT_GT(f.list.Item(i).nDuration, 0);
    }
}

TEST(OddLibrary, SemicolonsInNamesAreReadAsNames)
{
    test::CCheckFixture f;
    f.AddFile(u"Rock; Roll.mp3"_s, TaggedMp3(u"Rock and Roll"_s));
    f.AddFile(u"Rock; Roll.cdg"_s, samplegen::MakeCdgPackets(2));
    f.AddFile(u";"_s, TaggedMp3(u"Just a Semicolon"_s));

    SongCheck(f, f.Root());
    ASSERT_EQ(f.list.GetItemCount(), 2);
    const _ITEMINFO *song = RowOf(f.list, u"Rock; Roll.cdg"_s);
    ASSERT_NE(song, nullptr);
    EXPECT_EQ(song->szFileName.Text(), u"Rock; Roll.cdg;Rock; Roll.mp3"_s); // as shown and logged
    EXPECT_EQ(song->szTitle.Text(), u"Rock and Roll"_s);
    EXPECT_TRUE(song->szResult.IsEmpty()) << song->szResult.Text().toStdString();
    const _ITEMINFO *semicolon = RowOf(f.list, u";"_s);
    ASSERT_NE(semicolon, nullptr);
    EXPECT_EQ(semicolon->szTitle.Text(), u"Just a Semicolon"_s);
    EXPECT_TRUE(semicolon->szResult.IsEmpty()) << semicolon->szResult.Text().toStdString();
    EXPECT_TRUE(f.capture.ErrorLog().filter(u"LoadMediaFile"_s).isEmpty());
}

TEST(OddLibrary, CaseTwinsMergeWithoutLosingARow)
{
    test::CCheckFixture f;
    f.AddFile(u"Song.cdg"_s, samplegen::MakeCdgPackets(2));
    f.AddFile(u"song.cdg"_s, samplegen::MakeCdgPackets(2));
    f.AddFile(u"Song.mp3"_s, TaggedMp3(u"Song"_s));
    f.AddFile(u"Vol.mp3"_s, TaggedMp3(u"Vol"_s));
    f.AddFile(u"Zed.mp3"_s, TaggedMp3(u"Zed"_s));

    SongCheck(f, f.Root());
    QStringList files;
    for (int i = 0; i < f.list.GetItemCount(); ++i)
        files += f.list.Item(i).szFileName.Text().split(u';');
    files.sort();
    EXPECT_EQ(files, QStringList({u"Song.cdg"_s, u"Song.mp3"_s, u"Vol.mp3"_s, u"Zed.mp3"_s, u"song.cdg"_s}));
    ASSERT_NE(RowOf(f.list, u"Zed.mp3"_s), nullptr);
    EXPECT_EQ(RowOf(f.list, u"Zed.mp3"_s)->szTitle.Text(), u"Zed"_s);
    ASSERT_NE(RowOf(f.list, u"Vol.mp3"_s), nullptr);
    EXPECT_EQ(RowOf(f.list, u"Vol.mp3"_s)->szTitle.Text(), u"Vol"_s);
}

TEST(OddLibrary, CompanionsShareTheFileNameInTheirOwnFolder)
{
    test::CCheckFixture f;
    f.AddFile(u"Vol.mp3"_s, TaggedMp3(u"Healthy"_s));
    f.AddFile(u"Vol.2/README"_s, "notes");
    f.AddFolder(u"D.cdg"_s);
    f.AddFile(u"D.mp3"_s, "broken");
    f.AddFile(u"Bad.mp3"_s, "broken");
    f.AddFile(u"Bad.cdg"_s, samplegen::MakeCdgPackets(2));

    MediaDetailsCheck(f, f.Root(), true);
    ASSERT_NE(RowOf(f.list, u"README"_s), nullptr);
    EXPECT_EQ(RowOf(f.list, u"README"_s)->MarkClass(), 3);
    EXPECT_EQ(RowOf(f.list, u"Vol.mp3"_s)->MarkClass(), 0);
    EXPECT_FALSE(RowOf(f.list, u"Vol.mp3"_s)->IsChecked());
    EXPECT_EQ(RowOf(f.list, u"Bad.cdg"_s)->MarkClass(), 2); // a real companion still is one

    MediaDetailsCheck(f, f.Root(), false);
    EXPECT_EQ(RowOf(f.list, u"D.mp3"_s)->MarkClass(), 3);
    ASSERT_NE(RowOf(f.list, u"D.cdg"_s), nullptr);
    EXPECT_EQ(RowOf(f.list, u"D.cdg"_s)->MarkClass(), 0);
    EXPECT_FALSE(RowOf(f.list, u"D.cdg"_s)->IsChecked());
}

TEST(OddLibrary, NamesThatAreNotUtf8AreCheckedAndLoggedAsValidText)
{
    test::CCheckFixture f;
    const QString name = DecodeNativeName(QByteArray("Caf\xE9.mp3"));
    {
        const auto file = OpenFileForWrite(f.Path(name), true, true);
        ASSERT_NE(file, nullptr);
        file->write(TaggedMp3(u"Cafe"_s));
    }

    SongCheck(f, f.Root());
    ASSERT_NE(RowOf(f.list, name), nullptr);
    EXPECT_EQ(RowOf(f.list, name)->szTitle.Text(), u"Cafe"_s);
    EXPECT_TRUE(LogIsValidUtf16(f.capture, u"directory.log"_s));
    EXPECT_TRUE(f.capture.DirectoryLog().contains(u"LOAD, LoadMediaFile "_s + f.Root() + u"/Caf\\xE9.mp3"_s));

    MediaDetailsCheck(f, f.Root(), false);
    EXPECT_EQ(RowOf(f.list, name)->MarkClass(), 0);
    EXPECT_TRUE(LogIsValidUtf16(f.capture, u"directory.log"_s));
}
