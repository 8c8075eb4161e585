#include "app/ui/MainFrame.h"

#include "app/ApplicationLook.h"
#include "base/LogKind.h"
#include "base/UserPaths.h"
#include "app/ViewLayout.h"
#include "app/ui/AboutDialog.h"
#include "app/ui/LookStyles.h"
#include "app/ui/QuillonView.h"
#include "check/CheckTuning.h"
#include "app/ui/VerdictCommands.h"
#include "app/ui/WorkStatus.h"
#include "check/ui/DirListModel.h"
#include "check/ui/DirListView.h"
#include "platform/MessagePrompt.h"
#include "platform/MessagePump.h"
#include "update/UpdateCommands.h"
#include "widgets/ui/TraceView.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QFileInfo>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QShortcut>
#include <QSplitter>
#include <QStatusBar>
#include <QUrl>

namespace velmora {

using namespace Qt::Literals::StringLiterals;

CMainFrame::CMainFrame(int updateType, QWidget *parent)
    : QMainWindow(parent)
    , m_nLook(LoadApplicationLook())
    , m_nUpdateType(updateType)
    , m_splitter(new QSplitter(Qt::Vertical, this))
    , m_view(new CQuillonView(m_splitter))
    , m_trace(new CTraceView(m_splitter))
{
    setWindowTitle(u"KLOV Velmora v15"_s);
    m_splitter->setChildrenCollapsible(false);
    m_view->setMinimumHeight(kMinimumRowHeight);
    m_trace->setMinimumHeight(kMinimumRowHeight);
    setCentralWidget(m_splitter);

    m_logs.SetTraceSink(m_trace);
    SetActiveRunLogs(&m_logs);
    OpenRunLogsReporting();
    // Checks run on this thread and offer the window a turn after every log line; it takes
    // one as often as the budget allows, to repaint and take clicks.
    SetMessagePumpHook([this] { m_pump.RunIfDue([this] { RunWindowTurn(); }); });

    CreateMenus();
    CreateLookCommands();
    CreateProgress();
    ApplyMinimumSize();
    ApplyLook(m_nLook);

    connect(m_view, &CQuillonView::TraceAndLogsResetRequested, this, [this] {
        m_trace->Clear();
        OpenRunLogsReporting();
    });
    connect(m_view, &CQuillonView::BusyChanged, this, &CMainFrame::OnBusyChanged);
    connect(m_view, &CQuillonView::ProgressChanged, this, &CMainFrame::OnProgress);
    connect(m_view, &CQuillonView::MoveProgressChanged, m_work, &CWorkStatus::MoveProgress);
    connect(m_view, &CQuillonView::WorkEnded, m_work, &CWorkStatus::End);
    connect(m_view, &CQuillonView::PlaylistProgressChanged, m_work,
            [this](int done, int total) { m_work->Progress(CWorkStatus::EWork::Playlist, done, total); });
    connect(m_view, &CQuillonView::VerifyProgressChanged, m_work,
            [this](int done, int total) { m_work->Progress(CWorkStatus::EWork::Verify, done, total); });
    AddVerdictCommands(*this, *m_view);
    connect(m_view, &CQuillonView::CommandRefused, this,
            [this](const QString &why) { statusBar()->showMessage(why, 5000); });
    resize(1000, 700);
}

CMainFrame::~CMainFrame()
{
    SetMessagePumpHook({});
    SetActiveRunLogs(nullptr);
    m_logs.SetTraceSink(nullptr);
    m_logs.CloseRunLogs();
}

// A data folder that cannot be written leaves the logs closed; the pane says so, since it is
// then the only record of the run.
void CMainFrame::OpenRunLogsReporting()
{
    m_logs.OpenRunLogs();
    if (!m_logs.IsDirectoryLogOpen() || !m_logs.IsErrorLogOpen())
        m_trace->AddLine(Problem, u"Cannot write the run logs in "_s + UserDataPath()
                                      + u"; lines are shown here only"_s);
}

void CMainFrame::CreateMenus()
{
    QMenu *file = menuBar()->addMenu(u"&File"_s);
    // Results of unchanged files are taken from the results cache; the same setting as the
    // command line's, which --no-cache overrides for one check.
    QAction *cache = file->addAction(u"&Keep Results for Rescans"_s);
    cache->setObjectName(u"keepResults"_s);
    cache->setCheckable(true);
    cache->setChecked(m_view->DirItems().m_tuning.bUseCache);
    connect(cache, &QAction::toggled, this, [this](bool keep) {
        m_view->DirItems().m_tuning.bUseCache = keep;
        StoreResultsCacheSetting(keep);
    });
    file->addSeparator();
    file->addAction(u"E&xit"_s, this, &QWidget::close);
    QMenu *help = menuBar()->addMenu(u"&Help"_s);
    help->addAction(u"User Manual"_s, this, &CMainFrame::OnUserManual);
    QAction *upgrade = help->addAction(u"Online Upgrade"_s, this, &CMainFrame::OnOnlineUpgrade);
    upgrade->setObjectName(u"onlineUpgrade"_s);
    upgrade->setEnabled(m_nUpdateType == 1);
    help->addAction(u"&About Quillon..."_s, this, &CMainFrame::OnAbout);
}

// The looks are not on the menu; Ctrl+Alt+1 to Ctrl+Alt+9 pick 210 to 218.
void CMainFrame::CreateLookCommands()
{
    m_looks = new QActionGroup(this);
    m_looks->setExclusive(true);
    for (int look = kLookWindows2000; look <= kLookAqua; ++look) {
        auto *action = new QAction(LookLabel(look), this);
        action->setCheckable(true);
        action->setData(look);
        action->setShortcut(QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key(Qt::Key_1 + look - kLookWindows2000)));
        action->setShortcutContext(Qt::ApplicationShortcut);
        connect(action, &QAction::triggered, this, [this, look] { ApplyLook(look); });
        m_looks->addAction(action);
        addAction(action);
    }
}

void CMainFrame::CreateProgress()
{
    m_work = new CWorkStatus(*statusBar());
    connect(&m_work->StopButton(), &QPushButton::clicked, m_view, &CQuillonView::StopCheck);
    auto *escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, m_view, &CQuillonView::StopCheck);
}

// The width follows from the command bar's own minimum, through the window's layout.
void CMainFrame::ApplyMinimumSize()
{
    setMinimumHeight(kMinimumWindowHeight);
}

void CMainFrame::ApplyLook(int look)
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    m_nLook = look;
    ApplyLookStyle(look);
    for (QAction *action : m_looks->actions())
        action->setChecked(action->data().toInt() == look);
    update();
    StoreApplicationLook(look);
    QApplication::restoreOverrideCursor();
}

void CMainFrame::ApplyIdealRowHeights()
{
    const SSplitterRows rows = IdealSplitterRows(m_splitter->height());
    m_splitter->setSizes({rows.nTop, rows.nBottom});
}

void CMainFrame::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    if (m_bRowsSized)
        return;
    m_bRowsSized = true;
    ApplyIdealRowHeights();
}

// A check runs inside this window's event handling; the window may go only once it ended.
void CMainFrame::closeEvent(QCloseEvent *event)
{
    if (!m_view->IsChecking()) {
        QMainWindow::closeEvent(event);
        return;
    }
    m_bCloseAfterCheck = true;
    m_view->StopCheck();
    event->ignore();
}

void CMainFrame::RunWindowTurn()
{
    ShowPendingChanges();
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

void CMainFrame::ShowPendingChanges()
{
    m_view->ResultList().Model().ShowPendingChanges();
    m_trace->ShowPendingLines();
    m_work->ShowPending();
}

void CMainFrame::OnBusyChanged(bool busy)
{
    m_trace->ShowPendingLines();
    if (busy) {
        m_work->Begin(m_view->IsMoving()            ? CWorkStatus::EWork::Move
                      : m_view->IsVerifying()       ? CWorkStatus::EWork::Verify
                      : m_view->IsLoadingPlaylist() ? CWorkStatus::EWork::Playlist
                                                    : CWorkStatus::EWork::Check);
        QApplication::setOverrideCursor(Qt::BusyCursor);
        return;
    }
    QApplication::restoreOverrideCursor();
    // A finished command's lines are on disk before anyone looks.
    m_logs.Flush();
    m_work->End(m_view->DirItems().IsStopRequested() ? u"Stopped"_s : QString());
    if (m_bCloseAfterCheck)
        QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection);
}

void CMainFrame::OnProgress(int done, int total)
{
    m_work->CheckProgress(done, total);
}

// The online page when the maker's server answers, else the manual installed with the
// program, in the desktop's viewer for it.
void CMainFrame::OnUserManual()
{
    const QString target = CUpdateCommands(m_nUpdateType).UserManualTarget();
    const bool online = target.startsWith(u"http://"_s) || target.startsWith(u"https://"_s);
    const QUrl url = online ? QUrl(target) : QUrl::fromLocalFile(target);
    if ((!online && !QFileInfo(target).isFile()) || !QDesktopServices::openUrl(url))
        MessagePrompt().ShowMessage(u"The Help file not found ! (Help.htm)"_s);
}

void CMainFrame::OnOnlineUpgrade()
{
    CUpdateCommands commands(m_nUpdateType);
    if (!commands.IsOnlineUpgradeEnabled())
        return;
    if (commands.OnlineUpgrade() == EUpgradeOutcome::UpdaterStarted)
        QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection);
}

void CMainFrame::OnAbout()
{
    CAboutDialog about(this);
    about.exec();
}

} // namespace velmora
