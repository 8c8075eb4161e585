#include "app/ui/WindowFixture.h"
#include "app/ui/WindowDriving.h"

#include "app/ui/MainFrame.h"
#include "app/ui/QuillonView.h"
#include "app/ui/WorkStatus.h"
#include "check/ui/DirListModel.h"
#include "check/ui/DirListView.h"
#include "platform/MessagePrompt.h"
#include "platform/Settings.h"
#include "verify/VerifyRun.h"
#include "widgets/ui/TraceView.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QIcon>
#include <QLabel>
#include <QMenuBar>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

using namespace velmora;
using namespace Qt::Literals::StringLiterals;

namespace {

class VerdictView : public test::CWindowFixture
{
protected:
    // A song folder with one song of each verdict and a folder row.
    void MakeLibrary()
    {
        QDir().mkpath(Library(u"sub"_s));
        test::WriteBytes(Library(u"blank.cdg"_s), QByteArray(2400, '\0'));   // draws nothing, no audio
        test::WriteBytes(Library(u"empty.mp3"_s), QByteArray());              // no bytes at all
        QByteArray noise;
        for (int i = 0; i < 3000; ++i)
            noise.append(char(i * 131 % 251));
        test::WriteBytes(Library(u"noise.mp3"_s), noise);                    // no frames
        test::WriteBytes(Library(u"readme.txt"_s), "notes");                 // ok
        test::WriteBytes(Library(u"Thumbs.db"_s), "cache");                  // a sidecar
    }
    static QAction *Action(CMainFrame &frame, const QString &name) { return frame.findChild<QAction *>(name); }
    static int RowNamed(CQuillonView &view, const QString &name)
    {
        for (int row = 0; row < view.DirItems().GetItemCount(); ++row) {
            if (view.DirItems().Item(row).FileNames().value(0) == name)
                return row;
        }
        return -1;
    }
    static QVariant Cell(CQuillonView &view, int row, int column, int role)
    {
        QAbstractItemModel &model = *view.ResultList().model();
        return model.data(model.index(row, column), role);
    }
    // The run-log lines from the last section header on.
    static QStringList LastSection(const QString &logPath)
    {
        const QStringList lines = test::DecodeRunLog(test::ReadBytes(logPath));
        const qsizetype start = lines.lastIndexOf(lines.filter(u"LIST, ListSelectDirectory "_s).value(0));
        return start < 0 ? QStringList() : lines.mid(start);
    }
};

constexpr int kVerdict = CDirListModel::kVerdictColumn;

} // namespace

TEST_F(VerdictView, AVerifiedSongCheckShowsVerdictsReasonsAndASummaryAndLogsAsTheCommandLine)
{
    MakeLibrary();
    CMainFrame frame;
    frame.show();
    frame.resize(frame.minimumSize().expandedTo(frame.minimumSizeHint())); // where columns must give way
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&frame));
    CQuillonView &view = frame.View();
    QAction *verify = Action(frame, u"verifySongChecks"_s);
    ASSERT_NE(verify, nullptr);
    EXPECT_FALSE(verify->isChecked());
    view.CheckFolder(Library(), 0);
    EXPECT_EQ(view.Verdicts(), nullptr); // off by default: a song check as it always was
    EXPECT_TRUE(view.ResultList().isColumnHidden(kVerdict));

    verify->trigger();
    EXPECT_EQ(OpenSettings()->value(u"CSongView/Verify"_s).toInt(), 1);
    view.CheckFolder(Library(), 0);
    ASSERT_NE(view.Verdicts(), nullptr);
    EXPECT_FALSE(view.ResultList().isColumnHidden(kVerdict));
    // In view as Result is, not behind the horizontal scroll bar.
    const CDirListView &list = view.ResultList();
    EXPECT_LE(list.columnViewportPosition(kVerdict) + list.columnWidth(kVerdict), list.viewport()->width());
    EXPECT_EQ(view.ResultList().model()->headerData(kVerdict, Qt::Horizontal).toString(), u"Verdict"_s);
    // A folder is no song and shows no verdict.
    EXPECT_EQ(Cell(view, RowNamed(view, u"sub"_s), kVerdict, Qt::DisplayRole).toString(), QString());
    const QMap<QString, QString> verdicts{{u"blank.cdg"_s, u"broken"_s},
                                          {u"empty.mp3"_s, u"broken"_s}, {u"noise.mp3"_s, u"broken"_s},
                                          {u"readme.txt"_s, u"ok"_s},  {u"Thumbs.db"_s, u"warning"_s}};
    for (auto it = verdicts.begin(); it != verdicts.end(); ++it) {
        const int row = RowNamed(view, it.key());
        ASSERT_GE(row, 0) << it.key().toStdString();
        EXPECT_EQ(Cell(view, row, kVerdict, Qt::DisplayRole).toString(), it.value()) << it.key().toStdString();
        EXPECT_FALSE(Cell(view, row, kVerdict, Qt::DecorationRole).value<QIcon>().isNull());
    }
    // The reasons in the row's tooltip, on every cell; the file list stays first on the name.
    const int blank = RowNamed(view, u"blank.cdg"_s);
    const QString tip = Cell(view, blank, 2, Qt::ToolTipRole).toString();
    EXPECT_TRUE(tip.startsWith(u"broken graphics-blank: blank.cdg: "_s)) << tip.toStdString();
    EXPECT_TRUE(tip.contains(u"\nbroken no-audio: blank.cdg: "_s)) << tip.toStdString();
    EXPECT_EQ(Cell(view, blank, 0, Qt::ToolTipRole).toString(), u"blank.cdg\n"_s + tip);
    EXPECT_FALSE(Cell(view, RowNamed(view, u"readme.txt"_s), 2, Qt::ToolTipRole).isValid());
    // ... as lines in the trace pane ...
    int paneReasons = 0;
    for (int i = 0; i < frame.Trace().LineCount(); ++i)
        paneReasons += frame.Trace().LineText(i).mid(13).startsWith(u"VERIFY, "_s) ? 1 : 0;
    EXPECT_EQ(paneReasons, 7);
    // ... and the summary in the status bar.
    EXPECT_EQ(frame.WorkStatus().Text().text(), u"5 songs: 1 ok, 1 warning, 3 broken"_s);

    // Rows with a reason can be ticked; clean rows cannot.
    QAbstractItemModel &model = *view.ResultList().model();
    EXPECT_TRUE(model.flags(model.index(RowNamed(view, u"Thumbs.db"_s), 0)) & Qt::ItemIsUserCheckable);
    EXPECT_FALSE(model.flags(model.index(RowNamed(view, u"readme.txt"_s), 0)) & Qt::ItemIsUserCheckable);
    // The header's box ticks them with the marked rows, and unticks them again.
    view.ResultList().Model().ToggleAllChecks();
    EXPECT_TRUE(view.DirItems().Item(RowNamed(view, u"Thumbs.db"_s)).IsChecked());
    EXPECT_TRUE(view.DirItems().Item(blank).IsChecked());
    EXPECT_FALSE(view.DirItems().Item(RowNamed(view, u"readme.txt"_s)).IsChecked());
    view.ResultList().Model().ToggleAllChecks();
    EXPECT_FALSE(view.DirItems().Item(RowNamed(view, u"Thumbs.db"_s)).IsChecked());

    // The filter shows only the rows with a reason.
    Action(frame, u"onlyRowsWithReasons"_s)->trigger();
    EXPECT_TRUE(view.ResultList().isRowHidden(RowNamed(view, u"readme.txt"_s)));
    EXPECT_TRUE(view.ResultList().isRowHidden(RowNamed(view, u"sub"_s)));
    EXPECT_FALSE(view.ResultList().isRowHidden(RowNamed(view, u"Thumbs.db"_s)));
    EXPECT_FALSE(view.ResultList().isRowHidden(blank));
    Action(frame, u"onlyRowsWithReasons"_s)->trigger();
    EXPECT_FALSE(view.ResultList().isRowHidden(RowNamed(view, u"readme.txt"_s)));

    // What the window logged is what the command line logs for the same folder.
    const QStringList window = LastSection(DataFile(u"directory.log"_s));
    QTemporaryDir cliData;
    QProcess cli;
    cli.start(QStringLiteral(VELMORA_BINARY), {u"check"_s, u"--songs"_s, u"--verify"_s, u"--quiet"_s,
                                               u"--data-dir"_s, cliData.path(), Library()});
    ASSERT_TRUE(cli.waitForFinished(30000));
    const QStringList commandLine = LastSection(QDir(cliData.path()).filePath(u"directory.log"_s));
    ASSERT_EQ(commandLine.filter(u"VERIFY, "_s).size(), 7);
    ASSERT_EQ(window.size(), commandLine.size());
    for (qsizetype i = 0; i < window.size(); ++i)
        EXPECT_EQ(window.at(i).toStdString(), commandLine.at(i).toStdString()) << "line " << i;

    // The setting holds in the next window.
    CMainFrame next;
    EXPECT_TRUE(Action(next, u"verifySongChecks"_s)->isChecked());
}

TEST_F(VerdictView, MoveSetsTheTickedProblemSongsAsideAndUndoPutsThemBack)
{
    MakeLibrary();
    test::WriteBytes(Library(u"noise.txt"_s), "lyrics of noise"); // a companion goes with its song
    OpenSettings()->setValue(u"CSongView/Verify"_s, 1);
    test::CScriptedPrompt prompt;
    SetMessagePrompt(&prompt);
    QTemporaryDir target;
    CMainFrame frame;
    frame.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&frame));
    CQuillonView &view = frame.View();
    view.CheckFolder(Library(), 0);
    ASSERT_NE(view.Verdicts(), nullptr);
    QAbstractItemModel &model = *view.ResultList().model();
    for (const QString &name : {u"noise.mp3"_s, u"Thumbs.db"_s})
        ASSERT_TRUE(model.setData(model.index(RowNamed(view, name), 0), Qt::Checked, Qt::CheckStateRole));

    test::AnswerNextDialog(target.path());
    QTest::mouseClick(&view.Button(IDC_MOVE), Qt::LeftButton);

    const QDir aside(target.path());
    EXPECT_TRUE(aside.exists(u"noise.mp3"_s));
    EXPECT_TRUE(aside.exists(u"noise.txt"_s));
    EXPECT_TRUE(aside.exists(u"Thumbs.db"_s));
    EXPECT_FALSE(QFileInfo::exists(Library(u"noise.mp3"_s)));
    EXPECT_TRUE(QFileInfo::exists(Library(u"empty.mp3"_s))); // not ticked
    const QStringList manifests = aside.entryList({u"velmora-quarantine-*.json"_s}, QDir::Files);
    ASSERT_EQ(manifests.size(), 1);
    EXPECT_FALSE(view.DirItems().Item(RowNamed(view, u"noise.mp3"_s)).IsChecked());
    EXPECT_TRUE(frame.WorkStatus().Text().text().startsWith(u"3 of 3 files moved to "_s))
        << frame.WorkStatus().Text().text().toStdString();
    const QStringList log = test::DecodeRunLog(test::ReadBytes(DataFile(u"directory.log"_s)));
    EXPECT_EQ(log.filter(u"MOVE (3), Directory "_s).size(), 1);
    EXPECT_EQ(log.filter(u"MoveFile '"_s).size(), 3);

    // File > Undo Quarantine takes the manifest back.
    QAction *undo = Action(frame, u"undoQuarantine"_s);
    ASSERT_NE(undo, nullptr);
    EXPECT_EQ(frame.menuBar()->actions().first()->menu()->actions().first(), undo);
    test::AnswerNextDialog(aside.filePath(manifests.first()), true);
    undo->trigger();
    EXPECT_TRUE(QFileInfo::exists(Library(u"noise.mp3"_s)));
    EXPECT_TRUE(QFileInfo::exists(Library(u"noise.txt"_s)));
    EXPECT_TRUE(QFileInfo::exists(Library(u"Thumbs.db"_s)));
    EXPECT_FALSE(aside.exists(u"noise.mp3"_s));
    EXPECT_EQ(frame.WorkStatus().Text().text(), u"3 put back, 0 already back, 0 not put back"_s);
    SetMessagePrompt(nullptr);
    EXPECT_TRUE(prompt.m_messages.isEmpty()) << prompt.m_messages.join(u'|').toStdString();
}

// Stop during the verification ends it before its next file; the rows it judged keep their
// verdicts and the run logs say where it stopped.
TEST_F(VerdictView, StopEndsTheVerificationBetweenTwoFiles)
{
    for (int i = 0; i < 30; ++i)
        test::WriteBytes(Library(u"song%1.mp3"_s.arg(i, 2, 10, QChar(u'0'))), QByteArray());
    OpenSettings()->setValue(u"CSongView/Verify"_s, 1);
    CMainFrame frame;
    frame.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&frame));
    test::TurnAtEveryLine(frame);
    QString shown;
    QObject::connect(&frame.View(), &CQuillonView::VerifyProgressChanged, &frame, [&](int done, int) {
        if (done != 5)
            return;
        QMetaObject::invokeMethod(&frame, [&] {
            frame.WorkStatus().ShowPending();
            shown = frame.WorkStatus().Text().text();
            frame.WorkStatus().StopButton().click();
        }, Qt::QueuedConnection);
    });
    frame.View().CheckFolder(Library(), 0);
    EXPECT_EQ(shown, u"Verifying file 6 of 30"_s);
    ASSERT_NE(frame.View().Verdicts(), nullptr);
    EXPECT_FALSE(frame.View().Verdicts()->bComplete);
    EXPECT_LT(frame.View().Verdicts()->rows.size(), 30);
    const QStringList log = test::DecodeRunLog(test::ReadBytes(DataFile(u"directory.log"_s)));
    EXPECT_EQ(log.filter(u"LIST, Verification stopped by the user after "_s).size(), 1) << log.join(u'\n').toStdString();
    EXPECT_TRUE(frame.WorkStatus().Text().text().startsWith(u"Verification stopped: "_s));
    EXPECT_FALSE(frame.View().IsChecking());
}

// Verdicts are kept by row: once Cut takes rows out they would name other songs, so they go,
// and a Move after it is a plain Move again.
TEST_F(VerdictView, CutRowsTakeTheVerdictsWithThem)
{
    MakeLibrary();
    OpenSettings()->setValue(u"CSongView/Verify"_s, 1);
    CMainFrame frame;
    frame.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&frame));
    CQuillonView &view = frame.View();
    view.CheckFolder(Library(), 0);
    ASSERT_NE(view.Verdicts(), nullptr);
    CDirListView &list = view.ResultList();
    const int blank = RowNamed(view, u"blank.cdg"_s);
    ASSERT_GE(blank, 0);
    list.setFocus();
    list.selectionModel()->select(list.model()->index(blank, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);

    QTest::keyClick(&list, Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(RowNamed(view, u"blank.cdg"_s), -1);
    EXPECT_EQ(view.Verdicts(), nullptr);
    EXPECT_TRUE(list.isColumnHidden(kVerdict));
    for (int row = 0; row < list.model()->rowCount(); ++row)
        EXPECT_FALSE(Cell(view, row, kVerdict, Qt::DisplayRole).isValid() && !Cell(view, row, kVerdict, Qt::DisplayRole).toString().isEmpty());
}
