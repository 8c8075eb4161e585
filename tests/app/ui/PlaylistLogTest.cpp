#include "app/ui/WindowFixture.h"

#include "app/ui/MainFrame.h"
#include "app/ui/QuillonView.h"
#include "playlist/ui/RevListView.h"

#include <QDir>
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

} // namespace

// A shown window paints the grid while the rows are looked for; the lines it logs are those
// of the command line, the folder and file of every row included.
TEST_F(PlaylistLog, TheWindowLogsWhatTheCommandLineLogsForTheSamePlaylist)
{
    const QString folder = Library(u"Songs"_s) + u'/';
    QString text = u"; Header playlist: Number, Title, Artist, Files, Folder, Album, Settings, Track.\r\n"_s;
    for (int i = 0; i < 60; ++i) {
        const QString name = i % 3 == 2 ? u"gone %1.mp3"_s.arg(i) : u"Song 100% %1.mp3"_s.arg(i);
        if (i % 3 != 2)
            test::WriteBytes(folder + name, "audio");
        text += u"%1|Title %1|Artist|%2|%3||||\r\n"_s.arg(i + 1).arg(name, folder);
    }
    test::WriteBytes(Library(u"list.txt"_s), Utf16WithMark(text));

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
