#include "app/ui/WindowFixture.h"

#include "app/ui/MainFrame.h"
#include "app/ui/QuillonView.h"
#include "cache/CachedValues.h"
#include "cache/FileKey.h"
#include "cache/ResultCache.h"
#include "platform/Settings.h"

#include <QAction>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QThread>

using namespace velmora;
using namespace Qt::Literals::StringLiterals;

namespace {

class ResultsCacheWindow : public test::CWindowFixture
{
};

// Ten silent MPEG frames and an ID3v1 trailer naming the song.
QByteArray TaggedMp3(const QByteArray &title)
{
    QByteArray frame("\xFF\xFB\x90\x64", 4);
    frame.append(QByteArray(417 - 4, '\0'));
    QByteArray trailer = "TAG" + title.leftJustified(30, '\0') + QByteArray("Window Singer").leftJustified(30, '\0');
    trailer = trailer.leftJustified(128, '\0');
    return frame.repeated(10) + trailer;
}

void PlantSongResult(const QString &database, const QString &path, const QStringList &result)
{
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(u"QSQLITE"_s, u"window-planter"_s);
        db.setDatabaseName(database);
        ASSERT_TRUE(db.open());
        QSqlQuery query(db);
        ASSERT_TRUE(query.prepare(u"UPDATE results SET value = ? WHERE kind = ? AND path = ?"_s));
        query.addBindValue(EncodeSongResult(result));
        query.addBindValue(int(ECacheKind::SongFile));
        query.addBindValue(QFile::encodeName(path));
        ASSERT_TRUE(query.exec()) << query.lastError().text().toStdString();
        ASSERT_EQ(query.numRowsAffected(), 1);
    }
    QSqlDatabase::removeDatabase(u"window-planter"_s);
}

} // namespace

// The window's checks go through the same core code as the command line's, and so through
// the same cache in the user data folder; its File menu turns the cache off and stores that.
TEST_F(ResultsCacheWindow, TheWindowsChecksTakeKeptResultsAndTheMenuTurnsThemOff)
{
    const QString song = Library(u"song.mp3"_s);
    test::WriteBytes(song, TaggedMp3("Window Song"));
    QThread::msleep(kSettledSeconds * 1000 + 100);

    CMainFrame frame;
    CQuillonView &view = frame.View();
    view.CheckFolder(Library(), 0);
    ASSERT_EQ(view.DirItems().GetItemCount(), 1);
    EXPECT_EQ(view.DirItems().Item(0).szTitle.Text(), u"Window Song"_s);
    ASSERT_TRUE(QFileInfo(DataFile(u"results-cache.sqlite"_s)).isFile());

    PlantSongResult(DataFile(u"results-cache.sqlite"_s), song,
                    {u"1"_s, u"2"_s, QString(), u"Kept Title"_s, u"a"_s, u"b"_s, u"2000"_s, u"1"_s, u"Pop"_s});
    view.CheckFolder(Library(), 0);
    EXPECT_EQ(view.DirItems().Item(0).szTitle.Text(), u"Kept Title"_s);

    QAction *keep = frame.findChild<QAction *>(u"keepResults"_s);
    ASSERT_NE(keep, nullptr);
    EXPECT_TRUE(keep->isChecked());
    keep->trigger();
    EXPECT_FALSE(OpenSettings()->value(u"Check/Cache"_s).toBool());
    view.CheckFolder(Library(), 0);
    EXPECT_EQ(view.DirItems().Item(0).szTitle.Text(), u"Window Song"_s);
    keep->trigger();
    EXPECT_TRUE(OpenSettings()->value(u"Check/Cache"_s).toBool());
}
