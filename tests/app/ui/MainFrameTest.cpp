#include "app/ui/WindowFixture.h"
#include "widgets/ui/PaintCount.h"

#include "app/ApplicationLook.h"
#include "app/ui/AboutDialog.h"
#include "app/ui/MainFrame.h"
#include "app/ui/QuillonView.h"
#include "check/DirItemList.h"
#include "check/DirListTexts.h"
#include "check/ui/DirListModel.h"
#include "check/ui/DirListView.h"
#include "platform/Settings.h"
#include "widgets/ui/TraceView.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QMimeData>
#include <QUrl>
#include <QFileDialog>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QAbstractItemView>
#include <QSet>
#include <QSignalSpy>
#include <QSplitter>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <memory>

using namespace velmora;
using namespace Qt::Literals::StringLiterals;

namespace {

class MainFrame : public test::CWindowFixture
{
};

qint64 SizeOf(const QString &path)
{
    return QFileInfo(path).size();
}

} // namespace

TEST_F(MainFrame, TitleSplitterAndLookDefault)
{
    CMainFrame frame;
    EXPECT_EQ(frame.windowTitle(), u"KLOV Velmora v15"_s);
    EXPECT_EQ(frame.Look(), kDefaultLook);
    EXPECT_EQ(OpenSettings()->value(u"Workspace/ApplicationLook"_s).toInt(), 214);
    frame.resize(1000, 700);
    frame.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&frame));
    frame.Splitter().resize(1000, 600 + frame.Splitter().handleWidth());
    frame.ApplyIdealRowHeights();
    const QList<int> sizes = frame.Splitter().sizes();
    ASSERT_EQ(sizes.size(), 2);
    EXPECT_NEAR(sizes[0], 450, 2);
    EXPECT_NEAR(sizes[1], 150, 2);
    EXPECT_EQ(frame.View().minimumHeight(), 50);
    EXPECT_EQ(frame.Trace().minimumHeight(), 50);
}

TEST_F(MainFrame, ChosenLookIsKeptAcrossFrames)
{
    {
        CMainFrame frame;
        frame.ApplyLook(kLookBlack);
    }
    CMainFrame again;
    EXPECT_EQ(again.Look(), kLookBlack);
}

// The original's 84 pixels per control, widened where a caption needs more at the font in use;
// the path field takes what is left between SubFolder and Playlist.
TEST_F(MainFrame, CommandBarFollowsTheLayoutRules)
{
    CQuillonView view(nullptr);
    view.resize(1000, 400);
    view.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
    const QList<QWidget *> controls{&view.Button(IDC_FOLDER), &view.SubFolderBox(), &view.Button(IDC_PLAYLIST),
                                    &view.Button(IDC_CLEAR), &view.Button(IDC_SAVE), &view.Button(IDC_ERRORVIEW),
                                    &view.Button(IDC_MOVE)};
    for (QWidget *control : controls) {
        EXPECT_EQ(control->width(), std::max(84, control->sizeHint().width())) << control->objectName().toStdString();
        EXPECT_EQ(control->height(), 28);
        EXPECT_EQ(control->y(), 0);
    }
    int e = 1000;
    for (const int id : {IDC_MOVE, IDC_ERRORVIEW, IDC_SAVE, IDC_CLEAR, IDC_PLAYLIST}) {
        e -= view.Button(id).width();
        EXPECT_EQ(view.Button(id).x(), e - 2) << id;
    }
    EXPECT_EQ(view.Button(IDC_FOLDER).x(), 2);
    EXPECT_EQ(view.SubFolderBox().x(), view.Button(IDC_FOLDER).width() + 2);
    const int pathLeft = view.Button(IDC_FOLDER).width() + view.SubFolderBox().width() + 17;
    EXPECT_EQ(view.PathField().geometry(), QRect(pathLeft, 1, view.Button(IDC_PLAYLIST).x() - 23 - pathLeft, 26));
    EXPECT_EQ(view.ResultList().geometry(), QRect(0, 28, 1000, 372));
    EXPECT_EQ(view.palette().color(QPalette::Window), QColor(0xF4, 0xF7, 0xFC));
}

// Every caption fits its control at the application font, two sizes larger than the
// desktop's: nothing reads "SubFolde".
TEST_F(MainFrame, EveryCaptionFitsItsControlAtTheApplicationFont)
{
    const QFont before = QApplication::font();
    QFont large = before;
    large.setPointSizeF(before.pointSizeF() + 2);
    QApplication::setFont(large);
    {
        CQuillonView view(nullptr);
        view.resize(1000, 400);
        view.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
        EXPECT_GT(view.SubFolderBox().width(), 84);
        for (QWidget *control : view.findChildren<QAbstractButton *>(Qt::FindDirectChildrenOnly)) {
            const auto *button = static_cast<QAbstractButton *>(control);
            EXPECT_GE(button->width(), button->sizeHint().width()) << button->text().toStdString();
            EXPECT_GE(button->width(), 84);
        }
        EXPECT_GT(view.PathField().x(), view.SubFolderBox().geometry().right());
        EXPECT_LT(view.PathField().geometry().right(), view.Button(IDC_PLAYLIST).x());
    }
    QApplication::setFont(before);
}

TEST_F(MainFrame, ButtonsFollowTheRowsOfEachCheck)
{
    CMainFrame frame;
    CQuillonView &view = frame.View();
    view.ShowResultList();
    EXPECT_FALSE(view.Button(IDC_CLEAR).isEnabled());
    EXPECT_FALSE(view.Button(IDC_MOVE).isEnabled());

    view.CheckFolder(Library(), 1); // nothing in it
    EXPECT_FALSE(view.Button(IDC_CLEAR).isEnabled());
    EXPECT_FALSE(view.Button(IDC_MOVE).isEnabled());
    EXPECT_EQ(view.PathField().text(), Library());

    test::WriteBytes(Library(u"noise.xyz"_s), "nothing to learn");
    view.CheckFolder(Library(), 1);
    EXPECT_EQ(view.ResultList().model()->rowCount(), 1);
    EXPECT_TRUE(view.Button(IDC_CLEAR).isEnabled());
    EXPECT_TRUE(view.Button(IDC_MOVE).isEnabled());
    EXPECT_TRUE(view.Button(IDC_FOLDER).isEnabled());
}

TEST_F(MainFrame, ClearEmptiesListPaneAndBothLogs)
{
    CMainFrame frame;
    test::WriteBytes(Library(u"noise.xyz"_s), "nothing to learn");
    frame.View().CheckFolder(Library(), 1);
    ASSERT_GT(frame.Trace().LineCount(), 0);
    ASSERT_GT(SizeOf(DataFile(u"directory.log"_s)), 0);
    ASSERT_GT(SizeOf(DataFile(u"error.log"_s)), 0);

    QTest::mouseClick(&frame.View().Button(IDC_CLEAR), Qt::LeftButton);
    EXPECT_EQ(frame.View().DirItems().GetItemCount(), 0);
    EXPECT_EQ(frame.Trace().LineCount(), 0);
    EXPECT_TRUE(QFileInfo::exists(DataFile(u"directory.log"_s)));
    EXPECT_EQ(SizeOf(DataFile(u"directory.log"_s)), 0);
    EXPECT_EQ(SizeOf(DataFile(u"error.log"_s)), 0);
    EXPECT_FALSE(frame.View().Button(IDC_CLEAR).isEnabled());
}

TEST_F(MainFrame, SubFolderIsRememberedWithoutStartingACheck)
{
    {
        CMainFrame frame;
        EXPECT_FALSE(frame.View().SubFolderBox().isChecked());
        QTest::mouseClick(&frame.View().SubFolderBox(), Qt::LeftButton);
        EXPECT_TRUE(frame.View().SubFolderBox().isChecked());
        EXPECT_EQ(frame.Trace().LineCount(), 0);
    }
    CMainFrame again;
    EXPECT_TRUE(again.View().SubFolderBox().isChecked());
    EXPECT_EQ(again.View().DirItems().m_nIncludeSubfolders, 1);
}

TEST_F(MainFrame, DataFolderThatCannotBeWrittenIsReportedInThePane)
{
    test::WriteBytes(DataFile(u"blocker"_s), "a file, not a folder");
    SetUserDataFolder(DataFile(u"blocker"_s));
    CMainFrame frame;
    ASSERT_GE(frame.Trace().LineCount(), 1);
    EXPECT_TRUE(frame.Trace().LineText(0).startsWith(u"Cannot write the run logs"_s));
    EXPECT_EQ(frame.Trace().LineColour(0), 0x0000FFu);
    // A check still runs and shows its lines.
    test::WriteBytes(Library(u"noise.xyz"_s), "nothing to learn");
    frame.View().CheckFolder(Library(), 1);
    EXPECT_EQ(frame.View().DirItems().GetItemCount(), 1);
    EXPECT_GT(frame.Trace().LineCount(), 1);
}

TEST_F(MainFrame, OnlineUpgradeFollowsTheUpdateType)
{
    CMainFrame withoutUpdates(0);
    CMainFrame withUpdates(1);
    const auto upgrade = [](CMainFrame &frame) { return frame.findChild<QAction *>(u"onlineUpgrade"_s); };
    ASSERT_NE(upgrade(withoutUpdates), nullptr);
    EXPECT_FALSE(upgrade(withoutUpdates)->isEnabled());
    EXPECT_TRUE(upgrade(withUpdates)->isEnabled());
}

TEST_F(MainFrame, AboutNamesTheVersion)
{
    CAboutDialog about(nullptr);
    EXPECT_EQ(about.windowTitle(), u"About Velmora"_s);
    const QLabel *text = about.findChild<QLabel *>(u"aboutText"_s);
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(text->text(), u"Velmora, Version 1.0.0.15"_s);
}

TEST_F(MainFrame, ClosingDuringACheckStopsItFirst)
{
    for (int i = 0; i < 6; ++i)
        test::WriteBytes(Library(u"song%1.xyz"_s.arg(i)), "nothing to learn");
    CMainFrame frame;
    frame.show();
    bool closedEarly = false;
    // The first progress report arrives inside the check: ask to close right then.
    QObject::connect(&frame.View(), &CQuillonView::ProgressChanged, &frame, [&](int done, int) {
        if (done == 1) {
            frame.close();
            closedEarly = !frame.View().IsChecking();
        }
    });
    frame.View().CheckFolder(Library(), 1);
    EXPECT_FALSE(closedEarly);
    EXPECT_EQ(frame.View().DirItems().GetItemCount(), 6);
    QTest::qWait(50);
    EXPECT_FALSE(frame.isVisible()); // closed once the check had stopped
}

TEST_F(MainFrame, FolderThatVanishesDuringTheCheckLeavesItsRowsMarked)
{
    for (int i = 0; i < 4; ++i)
        test::WriteBytes(Library(u"Gone/song%1.mp3"_s.arg(i)), "nothing to learn");
    CMainFrame frame;
    QObject::connect(&frame.View(), &CQuillonView::ProgressChanged, &frame, [this](int done, int) {
        if (done == 1)
            QDir(Library(u"Gone"_s)).removeRecursively();
    });
    frame.View().CheckFolder(Library(u"Gone"_s), 1);
    CDirItemList &rows = frame.View().DirItems();
    ASSERT_EQ(rows.GetItemCount(), 4);
    for (int i = 1; i < 4; ++i)
        EXPECT_EQ(rows.Item(i).MarkClass(), 3) << i;
    EXPECT_FALSE(frame.View().IsChecking());
    EXPECT_TRUE(frame.View().Button(IDC_FOLDER).isEnabled());
}

TEST_F(MainFrame, EscapeStopsARunningCheckAndKeepsItsRows)
{
    for (int i = 0; i < 5; ++i)
        test::WriteBytes(Library(u"song%1.xyz"_s.arg(i)), "nothing to learn");
    CMainFrame frame;
    frame.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&frame));
    QObject::connect(&frame.View(), &CQuillonView::ProgressChanged, &frame, [&frame](int done, int) {
        if (done == 2)
            QTest::keyClick(&frame, Qt::Key_Escape);
    });
    frame.View().CheckFolder(Library(), 1);
    EXPECT_EQ(frame.View().DirItems().GetItemCount(), 5);
    const QStringList log = test::DecodeRunLog(test::ReadBytes(DataFile(u"directory.log"_s)));
    EXPECT_TRUE(log.contains(u"LIST, Check stopped by the user after 2 of 5 files"_s));
    // Rows after the stop were never read, so none of them is marked.
    EXPECT_EQ(frame.View().DirItems().Item(4).MarkClass(), 0);
    EXPECT_EQ(frame.View().DirItems().Item(0).MarkClass(), 3);
}

TEST_F(MainFrame, MoveWithoutTicksSaysSoAndOpensNoPicker)
{
    test::CScriptedPrompt prompt;
    SetMessagePrompt(&prompt);
    test::WriteBytes(Library(u"noise.xyz"_s), "nothing to learn");
    CMainFrame frame;
    frame.View().CheckFolder(Library(), 1);
    ASSERT_TRUE(frame.View().Button(IDC_MOVE).isEnabled());
    dirlist::SetAllChecks(frame.View().DirItems(), false); // the check ticked the problem file
    QTest::mouseClick(&frame.View().Button(IDC_MOVE), Qt::LeftButton);
    SetMessagePrompt(nullptr);
    EXPECT_EQ(prompt.m_messages, QStringList{u"No match file or No check box !"_s});
    EXPECT_TRUE(QFileInfo::exists(Library(u"noise.xyz"_s)));
}

TEST_F(MainFrame, PlaylistShowsTheGridLogsEachFileAndKeepsMoveOff)
{
    test::WriteBytes(Library(u"a.mp3"_s), "audio");
    const QString folder = Library() + u'/';
    const QString text = u"; Header playlist: Number, Title, Artist, Files, Folder, Album, Settings, Track.\r\n"_s
                       + u"1|Song|Artist|a.mp3|"_s + folder + u"||||\r\n"_s
                       + u"2|Lost|Nobody|gone.mp3|"_s + folder + u"||||\r\n"_s;
    QByteArray bytes("\xFF\xFE", 2);
    bytes.append(reinterpret_cast<const char *>(text.utf16()), text.size() * 2);
    test::WriteBytes(Library(u"list.txt"_s), bytes);

    CMainFrame frame;
    CQuillonView &view = frame.View();
    view.OpenPlaylist(Library(u"list.txt"_s));
    EXPECT_TRUE(view.IsPlaylistMode());
    EXPECT_EQ(view.Grid().GetItemCount(), 2);
    EXPECT_FALSE(view.Button(IDC_MOVE).isEnabled());
    EXPECT_TRUE(view.Button(IDC_CLEAR).isEnabled());
    EXPECT_EQ(OpenSettings()->value(u"CSongView/FolderName"_s).toString(), Library(u"list.txt"_s));
    const QStringList log = test::DecodeRunLog(test::ReadBytes(DataFile(u"directory.log"_s)));
    EXPECT_EQ(log.filter(u"CHECK, MediaFileStatus"_s).filter(u", OK"_s).size(), 1) << log.join(u'\n').toStdString();
    EXPECT_EQ(log.filter(u"CHECK, MediaFileStatus"_s).filter(u"FIle not found"_s).size(), 1);

    QTest::mouseClick(&view.Button(IDC_CLEAR), Qt::LeftButton);
    EXPECT_EQ(view.Grid().GetItemCount(), 0);
    EXPECT_FALSE(view.Button(IDC_CLEAR).isEnabled());
}

// One notes file of the same name per artist folder, all ticked by the check: Move takes the
// first into the target and never offers to put a later one over it.
TEST_F(MainFrame, MoveNeverOffersToReplaceWhatItMovedItself)
{
    test::CScriptedPrompt prompt; // would record any question
    SetMessagePrompt(&prompt);
    for (const QString &artist : {u"Abba"_s, u"Blur"_s, u"Cher"_s})
        test::WriteBytes(Library(artist + u"/Folder Notes.xyz"_s), (u"nothing to learn of "_s + artist).toUtf8());
    QTemporaryDir target;
    CMainFrame frame;
    QTest::mouseClick(&frame.View().SubFolderBox(), Qt::LeftButton);
    frame.View().CheckFolder(Library(), 1);
    auto *timer = new QTimer;
    QObject::connect(timer, &QTimer::timeout, [timer, &target] {
        auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
        if (!dialog || !dialog->isVisible())
            return;
        timer->stop();
        timer->deleteLater();
        dialog->setDirectory(target.path());
        static_cast<QDialog *>(dialog)->accept();
    });
    timer->start(20);
    QTest::mouseClick(&frame.View().Button(IDC_MOVE), Qt::LeftButton);
    SetMessagePrompt(nullptr);

    EXPECT_TRUE(prompt.m_messages.isEmpty()) << prompt.m_messages.join(u'|').toStdString();
    EXPECT_EQ(test::ReadBytes(QDir(target.path()).filePath(u"Folder Notes.xyz"_s)), "nothing to learn of Abba");
    EXPECT_TRUE(QFileInfo::exists(Library(u"Blur/Folder Notes.xyz"_s)));
    EXPECT_TRUE(QFileInfo::exists(Library(u"Cher/Folder Notes.xyz"_s)));
    int ticked = 0;
    for (int row = 0; row < frame.View().DirItems().GetItemCount(); ++row)
        ticked += frame.View().DirItems().Item(row).IsChecked() ? 1 : 0;
    EXPECT_EQ(ticked, 2);
    EXPECT_EQ(test::DecodeRunLog(test::ReadBytes(DataFile(u"error.log"_s)))
                  .filter(u"MoveFile failed: a file of this name was moved there by this Move"_s)
                  .size(),
              2);
}

namespace {

using test::CPaintCount;

// A clock that moves 1 ms whenever it is read, so that the window's turns during a check
// come at the same points on any machine: one per 40 or so log lines.
void StepTheClock(CMainFrame &frame)
{
    auto now = std::make_shared<qint64>(0);
    frame.PumpBudget().SetClock([now] { return *now += 1'000'000; });
}

QAbstractItemView &TraceList(CMainFrame &frame)
{
    return *frame.Trace().findChild<QAbstractItemView *>();
}

} // namespace

TEST_F(MainFrame, ALongCheckShowsRowsAndLinesInBlocksWhileItRuns)
{
    for (int i = 0; i < 150; ++i) {
        test::WriteBytes(Library(u"%1.cdg"_s.arg(i)), "not graphics");
        test::WriteBytes(Library(u"%1.mp3"_s.arg(i)), "not audio");
    }
    CMainFrame frame;
    frame.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&frame));
    StepTheClock(frame);
    QAbstractItemModel &rows = *frame.View().ResultList().model();
    QAbstractItemModel &lines = *TraceList(frame).model();
    int turns = 0;
    int rowBlocks = 0, rowBlocksWhileChecking = 0, lineBlocks = 0, lineBlocksWhileChecking = 0;
    const auto counter = [&frame](int &all, int &whileChecking) {
        return [&frame, &all, &whileChecking] {
            ++all;
            whileChecking += frame.View().IsChecking() ? 1 : 0;
        };
    };
    QObject::connect(&rows, &QAbstractItemModel::rowsInserted, &frame, counter(rowBlocks, rowBlocksWhileChecking));
    QObject::connect(&lines, &QAbstractItemModel::rowsInserted, &frame, counter(lineBlocks, lineBlocksWhileChecking));
    QSignalSpy redraws(&rows, &QAbstractItemModel::dataChanged);
    QSignalSpy resets(&rows, &QAbstractItemModel::modelReset);
    CPaintCount tracePaints(TraceList(frame).viewport());
    CPaintCount listPaints(frame.View().ResultList().viewport());
    QTimer tick; // runs only when the window does
    QObject::connect(&tick, &QTimer::timeout, &frame, [&turns] { ++turns; });
    tick.start(0);

    frame.View().CheckFolder(Library(), 0); // the song check, as a double-click starts it
    tick.stop();

    const int lineCount = frame.Trace().LineCount();
    ASSERT_GT(lineCount, 600); // 300 walk lines, 150 merges, 150 loads and the frame
    EXPECT_EQ(rows.rowCount(), 150);
    EXPECT_EQ(resets.count(), 1); // the list emptied at the start
    // Live: rows and lines came in while the check ran ...
    EXPECT_GE(turns, 5);
    EXPECT_GE(rowBlocksWhileChecking, 3);
    EXPECT_GE(lineBlocksWhileChecking, 5);
    // ... in blocks, and the panes were drawn per turn, not per line.
    EXPECT_LE(lineBlocks, lineCount / 20);
    EXPECT_LE(rowBlocks, 300 / 20);
    EXPECT_LE(redraws.count(), lineCount / 20);
    EXPECT_LE(tracePaints.m_paints, lineCount / 20);
    EXPECT_LE(listPaints.m_paints, lineCount / 20);
    // At the end every line is shown, the last one selected.
    EXPECT_EQ(lines.rowCount(), lineCount);
    EXPECT_EQ(frame.Trace().SelectedLine(), lineCount - 1);
}

TEST_F(MainFrame, ThePaneShowsEveryLineOfTheLogInOrderInTheColourOfItsKind)
{
    for (int i = 0; i < 40; ++i)
        test::WriteBytes(Library(u"noise%1.mp3"_s.arg(i)), "nothing to learn");
    CMainFrame frame;
    frame.show();
    StepTheClock(frame);
    frame.View().CheckFolder(Library(), 1);

    const QByteArray log = test::ReadBytes(DataFile(u"directory.log"_s));
    const QString logText = QString::fromUtf16(reinterpret_cast<const char16_t *>(log.constData() + 2),
                                               (log.size() - 2) / 2);
    QString paneText;
    QSet<quint32> colours;
    for (int i = 0; i < frame.Trace().LineCount(); ++i) {
        const QString line = frame.Trace().LineText(i);
        ASSERT_EQ(line.at(8), u'-') << line.toStdString(); // hh:mm:ss-mmm
        const QString message = line.mid(13);
        paneText += message;
        const quint32 expected = message.startsWith(u"INFO, "_s) ? 0x0000FFu
                               : message.startsWith(u"LOAD, "_s) || message.startsWith(u"LIST, DirectoryItemInfo"_s)
                                   ? 0xFF0000u
                                   : 0x000000u;
        EXPECT_EQ(frame.Trace().LineColour(i), expected) << message.toStdString();
        colours.insert(frame.Trace().LineColour(i));
    }
    EXPECT_EQ(paneText, logText);
    EXPECT_EQ(colours.size(), 3);
    EXPECT_EQ(TraceList(frame).model()->rowCount(), frame.Trace().LineCount());
}

TEST_F(MainFrame, StopTakenFromTheEventQueueEndsTheCheckAtTheWindowsNextTurn)
{
    constexpr int kFiles = 400;
    for (int i = 0; i < kFiles; ++i)
        test::WriteBytes(Library(u"song%1.xyz"_s.arg(i)), "nothing to learn");
    CMainFrame frame;
    frame.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&frame));
    StepTheClock(frame);
    QPushButton *stop = nullptr;
    for (QPushButton *button : frame.findChildren<QPushButton *>())
        stop = button->text() == u"Stop"_s ? button : stop;
    ASSERT_NE(stop, nullptr);
    bool stopVisible = false;
    // The click waits in the queue like a user's, until the check lets the window run.
    QObject::connect(&frame.View(), &CQuillonView::ProgressChanged, &frame, [&](int done, int) {
        if (done != 5)
            return;
        stopVisible = stop->isVisible();
        QMetaObject::invokeMethod(stop, &QPushButton::click, Qt::QueuedConnection);
    });
    frame.View().CheckFolder(Library(), 1);

    EXPECT_TRUE(stopVisible);
    EXPECT_FALSE(frame.View().IsChecking());
    EXPECT_EQ(frame.View().DirItems().GetItemCount(), kFiles);
    const QStringList log = test::DecodeRunLog(test::ReadBytes(DataFile(u"directory.log"_s)));
    const QStringList stopped = log.filter(u"LIST, Check stopped by the user after "_s);
    ASSERT_EQ(stopped.size(), 1) << log.join(u'\n').toStdString();
    const int done = stopped.first().section(u' ', 7, 7).toInt();
    EXPECT_GT(done, 5);
    EXPECT_LT(done, 5 + 60); // within one turn of about 40 lines
    EXPECT_FALSE(stop->isVisible());
}

// At its smallest the window still shows every control of the bar whole and apart, rows of
// the list and lines of the trace pane; at 400 pixels wide Playlist covered Folder.
TEST_F(MainFrame, AtItsMinimumSizeEveryControlCanBeSeenAndUsed)
{
    CMainFrame frame;
    frame.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&frame));
    frame.resize(400, 200);
    QCoreApplication::processEvents();
    EXPECT_GE(frame.height(), 400);
    EXPECT_GE(frame.width(), frame.View().minimumSizeHint().width());

    CQuillonView &view = frame.View();
    QList<QWidget *> controls{&view.Button(IDC_FOLDER), &view.SubFolderBox(), &view.PathField(),
                              &view.Button(IDC_PLAYLIST), &view.Button(IDC_CLEAR), &view.Button(IDC_SAVE),
                              &view.Button(IDC_ERRORVIEW), &view.Button(IDC_MOVE)};
    for (int i = 0; i < controls.size(); ++i) {
        const QRect rect = controls[i]->geometry();
        EXPECT_TRUE(view.rect().contains(rect)) << controls[i]->objectName().toStdString();
        EXPECT_GE(rect.width(), std::min(84, controls[i]->sizeHint().width()));
        for (int j = i + 1; j < controls.size(); ++j)
            EXPECT_FALSE(rect.intersects(controls[j]->geometry()))
                << controls[i]->objectName().toStdString() << " / " << controls[j]->objectName().toStdString();
    }
    const int rowHeight = view.ResultList().verticalHeader()->defaultSectionSize();
    EXPECT_GE(view.ResultList().viewport()->height(), 5 * rowHeight);
    EXPECT_GE(frame.Trace().height(), 50);
}

// Ctrl+X in the result list: the selected rows' files go to the clipboard and the rows leave
// the list, so that Move no longer takes them; the grid beside it (hidden) takes no part.
TEST_F(MainFrame, CutInTheResultListTakesTheSelectedRowsOut)
{
    CMainFrame frame;
    frame.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&frame));
    frame.View().ShowResultList();
    CDirItemList &items = frame.View().DirItems();
    for (const QString &name : {u"a.mp3"_s, u"b.mp3"_s, u"c.mp3"_s, u"d.mp3"_s}) {
        _ITEMINFO item;
        item.dwFlags = ITEM_WALK | ITEM_COLOURED;
        item.szFileName = name;
        item.szPath = u"/k/"_s + name;
        items.m_items.Add(item);
    }
    items.ShowAllRows();
    CDirListView &list = frame.View().ResultList();
    list.Model().ShowPendingChanges();
    list.setFocus();
    list.selectionModel()->select(list.model()->index(1, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
    list.selectionModel()->select(list.model()->index(3, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);

    QTest::keyClick(&list, Qt::Key_X, Qt::ControlModifier);
    ASSERT_EQ(items.GetItemCount(), 2);
    EXPECT_EQ(items.Item(0).szFileName.Text(), u"a.mp3"_s);
    EXPECT_EQ(items.Item(1).szFileName.Text(), u"c.mp3"_s);
    EXPECT_EQ(list.model()->rowCount(), 2);
    const QList<QUrl> cut = QApplication::clipboard()->mimeData()->urls();
    ASSERT_EQ(cut.size(), 2);
    EXPECT_EQ(cut[0].toLocalFile(), u"/k/b.mp3"_s);
    EXPECT_EQ(cut[1].toLocalFile(), u"/k/d.mp3"_s);
}
