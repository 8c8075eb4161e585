#include "app/ui/WindowFixture.h"

#include "app/ui/MainFrame.h"
#include "app/ui/QuillonView.h"
#include "app/ui/WindowDriving.h"
#include "app/ui/WorkStatus.h"
#include "playlist/ui/RevListView.h"

#include <QDir>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace velmora;
using namespace Qt::Literals::StringLiterals;

namespace {

class PlaylistLog : public test::CWindowFixture
{
};

QByteArray Utf16WithMark(const QString &text)
{
    QByteArray bytes("\xFF\xFE", 2);
    bytes.append(reinterpret_cast<const char *>(text.utf16()), text.size() * 2);
    return bytes;
}

// The run-log lines from the playlist's section header on, without the time of day.
QStringList PlaylistSection(const QString &logPath)
{
    const QStringList lines = test::DecodeRunLog(test::ReadBytes(logPath));
    const qsizetype start = lines.indexOf(lines.filter(u"LIST, ListSelectDirectory "_s).value(0));
    return start < 0 ? QStringList() : lines.mid(start);
}

// A playlist of count songs in folder, every third missing.
void WritePlaylist(const QString &path, const QString &folder, int count)
{
    QString text = u"; Header playlist: Number, Title, Artist, Files, Folder, Album, Settings, Track.\r\n"_s;
    for (int i = 0; i < count; ++i) {
        const QString name = i % 3 == 2 ? u"gone %1.mp3"_s.arg(i) : u"Song 100% %1.mp3"_s.arg(i);
        if (i % 3 != 2)
            test::WriteBytes(folder + name, "audio");
        text += u"%1|Title %1|Artist|%2|%3||||\r\n"_s.arg(i + 1).arg(name, folder);
    }
    test::WriteBytes(path, Utf16WithMark(text));
}

} // namespace

// A shown window paints the grid while the rows are looked for; the lines it logs are those
// of the command line, the folder and file of every row included.
TEST_F(PlaylistLog, TheWindowLogsWhatTheCommandLineLogsForTheSamePlaylist)
{
    WritePlaylist(Library(u"list.txt"_s), Library(u"Songs"_s) + u'/', 60);

    CMainFrame frame;
    frame.resize(1000, 700);
    frame.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&frame));
    frame.View().OpenPlaylist(Library(u"list.txt"_s));
    const QStringList window = PlaylistSection(DataFile(u"directory.log"_s));

    QTemporaryDir cliData;
    QProcess cli;
    cli.start(QStringLiteral(VELMORA_BINARY),
              {u"playlist"_s, u"--quiet"_s, u"--data-dir"_s, cliData.path(), Library(u"list.txt"_s)});
    ASSERT_TRUE(cli.waitForFinished(30000));
    const QStringList commandLine = PlaylistSection(QDir(cliData.path()).filePath(u"directory.log"_s));

    ASSERT_EQ(commandLine.filter(u"CHECK, MediaFileStatus "_s).size(), 60);
    EXPECT_EQ(commandLine.filter(u"CHECK, MediaFileStatus "_s + Library(u"Songs"_s)).size(), 60);
    EXPECT_EQ(commandLine.filter(u"(Song 100? 0.mp3), OK"_s).size(), 1);
    ASSERT_EQ(window.size(), commandLine.size());
    for (qsizetype i = 0; i < window.size(); ++i)
        ASSERT_EQ(window.at(i).toStdString(), commandLine.at(i).toStdString()) << "line " << i;
}

// The rows' files of a long playlist are looked for with the bar and Stop of a check; Stop
// ends the file check before the next row, and says so in the run logs.
TEST_F(PlaylistLog, StopEndsTheFileCheckOfAPlaylistBetweenTwoRows)
{
    WritePlaylist(Library(u"list.txt"_s), Library(u"Songs"_s) + u'/', 60);
    CMainFrame frame;
    frame.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&frame));
    test::TurnAtEveryLine(frame);
    CWorkStatus &status = frame.WorkStatus();
    QString shown;
    bool barShown = false;
    QObject::connect(&frame.View(), &CQuillonView::PlaylistProgressChanged, &frame, [&](int done, int total) {
        EXPECT_EQ(total, 60);
        if (done != 5)
            return;
        QMetaObject::invokeMethod(&frame, [&] {
            shown = status.Text().text();
            barShown = status.Bar().isVisible() && status.StopButton().isVisible();
            status.StopButton().click();
        }, Qt::QueuedConnection);
    });
    frame.View().OpenPlaylist(Library(u"list.txt"_s));

    EXPECT_EQ(shown, u"Looking for file 6 of 60"_s);
    EXPECT_TRUE(barShown);
    const QStringList log = test::DecodeRunLog(test::ReadBytes(DataFile(u"directory.log"_s)));
    const QStringList stopped = log.filter(u"LIST, Check stopped by the user after "_s);
    ASSERT_EQ(stopped.size(), 1) << log.join(u'\n').toStdString();
    EXPECT_EQ(stopped.first(), u"LIST, Check stopped by the user after 6 of 60 files"_s);
    EXPECT_EQ(log.filter(u"CHECK, MediaFileStatus "_s).size(), 6);
    EXPECT_EQ(status.Text().text(), u"Stopped: 6 of 60 files looked for"_s);
    EXPECT_FALSE(status.StopButton().isVisible());
    EXPECT_FALSE(frame.View().IsChecking());
    EXPECT_EQ(frame.View().Grid().GetItemCount(), 60); // the rows stay
}
