// The song check of a folder with a juke.txt list: the list's records give the rows their
// details without the media files being read.
#include "playlist/PlaylistFixture.h"

#include "check/DirItemList.h"
#include "check/ListSelectDirectory.h"
#include "samplegen/SampleLibrary.h"

using namespace Qt::Literals::StringLiterals;
using namespace velmora;

namespace {

class JukeSongCheck : public test::CPlaylistFixture
{
protected:
    void Check(const QString &folder)
    {
        m_list.m_nTopLevel = 0;
        ListSelectDirectory(m_list, folder);
    }
    QStringList FileNames() const
    {
        QStringList names;
        for (const _ITEMINFO &item : m_list.m_items)
            names.append(item.szFileName.Text());
        return names;
    }

    test::CLogCapture m_capture;
    CDirItemList m_list;
};

} // namespace

TEST_F(JukeSongCheck, SampleJukeFolderTakesItsDetailsFromTheList)
{
    QString error;
    ASSERT_TRUE(samplegen::WriteSampleLibrary(m_dir.path(), &error)) << qPrintable(error);
    Check(Path(u"Juke"_s));

    ASSERT_EQ(FileNames(), QStringList({u".."_s, u"00001.cdg;00001.mp3"_s, u"00002.cdg;00002.mp3"_s,
                                        u"00003.cdg;00003.mp3"_s, u"00004.cdg;00004.mp3"_s}));
    const _ITEMINFO &first = m_list.Item(1);
    EXPECT_TRUE(first.IsDetailsLoaded());
    EXPECT_EQ(first.szTitle.Text(), u"Paper Boats"_s);
    EXPECT_EQ(first.szArtist.Text(), u"Amber Coast"_s);
    EXPECT_EQ(first.szAlbum.Text(), u"Harbour Lights"_s);
    EXPECT_EQ(first.nDuration, 185);
    const std::array<quint16, 9> settings{50, 0, 0, 1, 0, 0xFFF7, 0, 0, 185};
    EXPECT_TRUE(std::equal(settings.begin(), settings.end(), first.anSettings.begin()));
    EXPECT_EQ(first.szMemo.Text(), u"Birthday"_s);
    EXPECT_EQ(first.szType.Text(), u"Bar 12"_s);
    EXPECT_EQ(first.nTrack, 3);
    EXPECT_EQ(first.szGenre.Text(), u"Pop"_s);
    EXPECT_EQ(first.nYear, 1999);

    // The record split over two lines.
    const _ITEMINFO &second = m_list.Item(2);
    EXPECT_EQ(second.szTitle.Text(), u"Midnight Ferry"_s);
    EXPECT_EQ(second.szAlbum.Text(), u"Night Crossing"_s);
    EXPECT_EQ(second.nDuration, 242);
    EXPECT_EQ(second.szGenre.Text(), u"Rock"_s);

    const _ITEMINFO &third = m_list.Item(3);
    EXPECT_EQ(third.szTitle.Text(), u"Caf\u00e9 Soleil"_s);
    EXPECT_EQ(third.anSettings[2], 0xFFFF);
    EXPECT_EQ(third.anSettings[7], 20);
    EXPECT_EQ(third.nDuration, 201);

    // Not in the list: its own tags are read.
    const _ITEMINFO &unlisted = m_list.Item(4);
    EXPECT_EQ(unlisted.szTitle.Text(), u"Unlisted Song"_s);
    EXPECT_GT(unlisted.nDuration, 0);
    EXPECT_LT(unlisted.nDuration, 5);

    EXPECT_TRUE(m_capture.DirectoryLog().contains(u"LIST, DirectoryItemInfoJUKE"_s));
    EXPECT_TRUE(Messages().isEmpty());
}

TEST_F(JukeSongCheck, EightBitListMatchesByNumber)
{
    Write(u"JUKE.TXT"_s, "1|One|Band\r\n2|Two|Band\r\n");
    Write(u"_Songs/1.mp3"_s, "not really audio");
    Write(u"_Songs/3.mp3"_s, "not really audio");
    Check(m_dir.path());
    ASSERT_EQ(FileNames(), QStringList({u".."_s, u"1.mp3"_s, u"3.mp3"_s}));
    EXPECT_EQ(m_list.Item(1).szTitle.Text(), u"One"_s);
    EXPECT_TRUE(m_list.Item(1).IsDetailsLoaded());
    EXPECT_TRUE(m_list.Item(2).szTitle.IsEmpty());
}

TEST_F(JukeSongCheck, UnusableListFallsBackToThePlainWalk)
{
    Write(u"juke.txt"_s, "nothing that looks like a song list\r\n");
    Write(u"1.mp3"_s, "x");
    Check(m_dir.path());
    EXPECT_EQ(FileNames(), QStringList({u"1.mp3"_s, u"juke.txt"_s}));
    EXPECT_EQ(Messages(), QStringList{u"Invalid KLOV *.txt file"_s});
    EXPECT_TRUE(m_capture.DirectoryLog().contains(u"LIST, DirectoryItemInfo"_s));
}
