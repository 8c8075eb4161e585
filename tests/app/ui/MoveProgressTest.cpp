#include "app/ui/WindowFixture.h"
#include "app/ui/WindowDriving.h"

#include "app/ui/MainFrame.h"
#include "app/ui/QuillonView.h"
#include "app/ui/WorkStatus.h"

#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

using namespace velmora;
using namespace Qt::Literals::StringLiterals;

namespace {

class MoveProgress : public test::CWindowFixture
{
};

int TickedRows(CQuillonView &view)
{
    int ticked = 0;
    for (int row = 0; row < view.DirItems().GetItemCount(); ++row)
        ticked += view.DirItems().Item(row).IsChecked() ? 1 : 0;
    return ticked;
}

} // namespace

// Twelve files the check ticks; Stop pressed while the third one moves ends the Move before
// the fourth, and the status bar told which file was on its way.
TEST_F(MoveProgress, StatusBarNamesEachFileAndStopEndsTheMoveBetweenTwoFiles)
{
    constexpr int kFiles = 12;
    for (int i = 0; i < kFiles; ++i)
        test::WriteBytes(Library(u"song%1.xyz"_s.arg(i, 2, 10, QChar(u'0'))), "nothing to learn");
    QTemporaryDir target;
    CMainFrame frame;
    frame.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&frame));
    CQuillonView &view = frame.View();
    view.CheckFolder(Library(), 1);
    ASSERT_EQ(TickedRows(view), kFiles);
    test::TurnAtEveryLine(frame);

    CWorkStatus &status = frame.WorkStatus();
    QStringList shown;
    bool stopVisible = false, barVisible = false;
    QString thirdName;
    const QMetaObject::Connection watch = QObject::connect(&view, &CQuillonView::MoveProgressChanged, &frame,
                     [&](int done, int total, const QString &name) {
                         EXPECT_EQ(total, kFiles);
                         if (done != 3)
                             return;
                         thirdName = name;
                         // Runs after the status bar took the progress, like the user's click.
                         QMetaObject::invokeMethod(&frame, [&] {
                             shown.append(status.Text().text());
                             stopVisible = status.StopButton().isVisible();
                             barVisible = status.Bar().isVisible();
                             status.StopButton().click();
                         }, Qt::QueuedConnection);
                     });
    test::AnswerNextDialog(target.path());
    QTest::mouseClick(&view.Button(IDC_MOVE), Qt::LeftButton);

    ASSERT_EQ(shown.size(), 1) << test::DecodeRunLog(test::ReadBytes(DataFile(u"directory.log"_s))).join(u'\n').toStdString();
    EXPECT_EQ(shown.first(), u"Moving 3 of 12: "_s + thirdName);
    EXPECT_TRUE(thirdName.startsWith(u"song"_s));
    EXPECT_TRUE(stopVisible);
    EXPECT_TRUE(barVisible);
    EXPECT_FALSE(view.IsChecking());
    EXPECT_FALSE(status.StopButton().isVisible());
    EXPECT_EQ(QDir(target.path()).entryList(QDir::Files).size(), 3);
    EXPECT_EQ(TickedRows(view), kFiles - 3);
    const QStringList log = test::DecodeRunLog(test::ReadBytes(DataFile(u"directory.log"_s)));
    EXPECT_EQ(log.filter(u"MoveFile '"_s).size(), 3);
    EXPECT_EQ(log.filter(u"MOVE, Move stopped by the user after 3 of 12 files"_s).size(), 1)
        << log.join(u'\n').toStdString();
    EXPECT_TRUE(status.Text().text().startsWith(u"Move stopped: 3 of 12 files moved to "_s))
        << status.Text().text().toStdString();
    // A later Move is not stopped by the old request.
    QObject::disconnect(watch);
    test::AnswerNextDialog(target.path());
    QTest::mouseClick(&view.Button(IDC_MOVE), Qt::LeftButton);
    EXPECT_EQ(QDir(target.path()).entryList(QDir::Files).size(), kFiles);
    EXPECT_EQ(status.Text().text(), u"9 of 9 files moved to "_s + QDir::cleanPath(target.path()));
}
