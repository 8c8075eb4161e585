#include "app/ui/WindowFixture.h"

#include "app/ui/MainFrame.h"
#include "app/ui/QuillonView.h"
#include "app/ui/WorkStatus.h"

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>

#include <memory>

using namespace velmora;
using namespace Qt::Literals::StringLiterals;

namespace {

class CheckProgressBar : public test::CWindowFixture
{
};

struct SBarState
{
    int nValue = -1;
    int nMaximum = -1;
    QString strText;
    QString strStatus;
    bool bVisible = false;
    bool bStopBeside = false;
};

} // namespace

// A long media-details check: the bar counts the files done of all, and once the rate has
// settled it says how long the rest will take.
TEST_F(CheckProgressBar, CountsTheFilesAndTellsTheTimeLeftOnceItIsMeaningful)
{
    constexpr int kFiles = 60;
    for (int i = 0; i < kFiles; ++i)
        test::WriteBytes(Library(u"song%1.xyz"_s.arg(i)), "nothing to learn");
    CMainFrame frame;
    frame.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&frame));
    CWorkStatus &status = frame.WorkStatus();
    // Each file takes half a second.
    auto now = std::make_shared<qint64>(0);
    status.SetClock([now] { return *now; });
    QMap<int, SBarState> seen;
    QObject::connect(&frame.View(), &CQuillonView::ProgressChanged, &frame, [&](int done, int) {
        *now = done * 500;
        if (done != 2 && done != 30)
            return;
        QMetaObject::invokeMethod(&frame, [&, done] {
            status.ShowPending();
            SBarState state;
            state.nValue = status.Bar().value();
            state.nMaximum = status.Bar().maximum();
            state.strText = status.Bar().text();
            state.strStatus = status.Text().text();
            state.bVisible = status.Bar().isVisible();
            state.bStopBeside = status.StopButton().isVisible()
                             && status.StopButton().geometry().left() >= status.Bar().geometry().right();
            seen.insert(done, state);
        }, Qt::QueuedConnection);
        QCoreApplication::processEvents();
    });
    frame.View().CheckFolder(Library(), 1);

    ASSERT_TRUE(seen.contains(2));
    ASSERT_TRUE(seen.contains(30));
    EXPECT_EQ(seen[2].nMaximum, kFiles);
    EXPECT_EQ(seen[2].nValue, 2);
    EXPECT_EQ(seen[2].strText, u"2 of 60 files"_s); // too early for a time left
    EXPECT_EQ(seen[2].strStatus, u"Checking file 3 of 60"_s);
    EXPECT_TRUE(seen[2].bVisible);
    EXPECT_TRUE(seen[2].bStopBeside);
    EXPECT_EQ(seen[30].nValue, 30);
    EXPECT_EQ(seen[30].strText, u"30 of 60 files, 0:15 left"_s);
    // The bar is shown whole: its text is not cut.
    EXPECT_GE(status.Bar().minimumWidth(), status.Bar().fontMetrics().horizontalAdvance(seen[30].strText));
    EXPECT_FALSE(status.Bar().isVisible());
    EXPECT_FALSE(status.StopButton().isVisible());
}
