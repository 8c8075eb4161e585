#include "widgets/ShGetFileInfo.h"

#include "widgets/MimeTypeSource.h"
#include "widgets/OwnMimeTypes.h"

#include <QFile>
#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;
using namespace velmora;

namespace {

// Answers from the name alone and counts the questions.
class CCountingSource final : public IShellTypeSource
{
public:
    explicit CCountingSource(int *asked) : m_asked(asked) {}
    QString TypeNameOf(const QString &path) override
    {
        EXPECT_FALSE(path.contains(QChar(0)));
        ++*m_asked;
        return u"Type of "_s + path.section(u'.', -1);
    }
    int IconIndexOf(const QString &path, bool isFolder, bool open) override
    {
        EXPECT_FALSE(path.contains(QChar(0)));
        ++*m_asked;
        return int(qHash(path.section(u'.', -1)) % 1000) + (isFolder ? 1000 : 0) + (open ? 2000 : 0);
    }

private:
    int *m_asked;
};

} // namespace

TEST(ShGetFileInfo, KnownExtensionsAreAskedOnce)
{
    int asked = 0;
    CShGetFileInfo info(std::make_unique<CCountingSource>(&asked));
    const int mp3 = info.IconIndex(u"/songs/a.mp3"_s, false, false);
    const int cdg = info.IconIndex(u"/songs/a.cdg"_s, false, false);
    const int askedForTwo = asked;
    for (int i = 0; i < 100; ++i) {
        EXPECT_EQ(info.IconIndex(u"/songs/b.mp3"_s, false, false), mp3);
        EXPECT_EQ(info.IconIndex(u"/songs/b.cdg"_s, false, false), cdg);
    }
    EXPECT_EQ(info.TypeName(u"/x/c.mp3"_s, false), u"Type of mp3"_s);
    EXPECT_EQ(asked, askedForTwo);
    EXPECT_EQ(info.CacheSize(), 2);
}

// A hostile playlist can give every row an extension of its own: the table stops growing,
// and the answers stay the source's.
TEST(ShGetFileInfo, TheTableOfExtensionsIsBounded)
{
    int asked = 0;
    CCountingSource reference(&asked);
    CShGetFileInfo info(std::make_unique<CCountingSource>(&asked));
    for (int i = 0; i < 2000; ++i) {
        const QString path = u"C:\\Songs\\song.x%1"_s.arg(i);
        ASSERT_EQ(info.IconIndex(path, false, false), reference.IconIndexOf(path, false, false)) << i;
        ASSERT_EQ(info.TypeName(path, false), reference.TypeNameOf(path)) << i;
    }
    EXPECT_EQ(info.CacheSize(), 512);
    // What was kept before the bound is still answered from the table.
    const int before = asked;
    EXPECT_EQ(info.IconIndex(u"other.x7"_s, false, false), reference.IconIndexOf(u"other.x7"_s, false, false));
    EXPECT_EQ(asked, before + 1); // the reference's own question
}

// Rows without an extension (a playlist of empty records, or of a few odd names) ask once
// for each name, a few hundred names at a time; folders are never answered from files.
TEST(ShGetFileInfo, NamesWithoutExtensionAreAskedOnceEach)
{
    int asked = 0;
    CShGetFileInfo info(std::make_unique<CCountingSource>(&asked));
    const int empty = info.IconIndex(QString(), false, false);
    for (int i = 0; i < 1000; ++i) {
        ASSERT_EQ(info.IconIndex(QString(), false, false), empty);
        info.IconIndex(u"README"_s, false, false);
        info.IconIndex(u"C:\\K\\song"_s, false, false);
    }
    EXPECT_EQ(asked, 3);
    info.IconIndex(u"README"_s, false, true);
    EXPECT_EQ(asked, 4);
    EXPECT_NE(info.IconIndex(QString(), true, false), empty);
    EXPECT_EQ(info.CacheSize(), 0);

    // Past 256 names the remembered ones are let go, and asked for again.
    asked = 0;
    for (int i = 0; i < 300; ++i)
        info.IconIndex(u"name%1"_s.arg(i), false, false);
    info.IconIndex(QString(), false, false);
    EXPECT_EQ(asked, 301);
}

// Names end at their first NUL, as the shell reads them: playlists can hold NULs, and the
// MIME database of Qt 6.4 reads outside its cache for some such names and crashes.
TEST(ShGetFileInfo, NamesStopAtTheirFirstNul)
{
    const QString html = u"a"_s + QChar(0) + QChar(0) + u".html"_s;
    CShGetFileInfo info(std::make_unique<CMimeTypeSource>());
    EXPECT_EQ(info.IconIndex(html, false, false), info.IconIndex(u"a"_s, false, false));
    EXPECT_EQ(info.TypeName(html, false), info.TypeName(u"a"_s, false));
    EXPECT_EQ(info.IconIndex(u"x"_s + QChar(0) + u"y.htm"_s, true, false), info.IconIndex(u"x"_s, true, false));
    // What the cut name gave is not kept for the extension that followed the NUL.
    EXPECT_EQ(info.IconIndex(u"song.html"_s, false, false), CMimeTypeSource().IconIndexOf(u"song.html"_s, false, false));

    int asked = 0;
    CShGetFileInfo counted(std::make_unique<CCountingSource>(&asked));
    counted.IconIndex(html, false, false);
    counted.TypeName(u"b"_s + QChar(0) + u".mp3"_s, false);
    EXPECT_GT(asked, 0);
}

// MPL playlists are ours by name, whatever the desktop's database says of ".mpl" (MPlayer2
// subtitles in shared-mime-info); the name and comment are those the package installs.
TEST(ShGetFileInfo, MplPlaylistsAreTypedAsOurs)
{
    CMimeTypeSource source;
    EXPECT_EQ(source.TypeNameOf(u"/songs/Bar List.mpl"_s), u"Velmora MPL playlist"_s);
    EXPECT_EQ(source.TypeNameOf(u"/songs/OLD.MPL"_s), u"Velmora MPL playlist"_s);
    EXPECT_NE(source.TypeNameOf(u"/songs/a.mp3"_s), u"Velmora MPL playlist"_s);
    EXPECT_EQ(CMimeTypeSource::IconNames().value(source.IconIndexOf(u"a.mpl"_s, false, false)), u"audio-x-generic"_s);

    QFile xml(QStringLiteral(VELMORA_TEST_SOURCE_DIR "/../packaging/velmora-mime.xml"));
    ASSERT_TRUE(xml.open(QIODevice::ReadOnly));
    const QString definition = QString::fromUtf8(xml.readAll());
    const SOwnMimeType *own = OwnMimeTypeOf(u"x.mpl"_s);
    ASSERT_NE(own, nullptr);
    EXPECT_TRUE(definition.contains(u"type=\""_s + QString::fromUtf16(own->szName) + u'"'));
    EXPECT_TRUE(definition.contains(u"<comment>"_s + QString::fromUtf16(own->szComment) + u"</comment>"_s));
    EXPECT_TRUE(definition.contains(u"<glob pattern=\"*."_s + QString::fromUtf16(own->szSuffix) + u'"'));
    EXPECT_TRUE(definition.contains(u"<generic-icon name=\""_s + QString::fromUtf16(own->szIcon) + u'"'));
}
