#pragma once

#include "app/PumpBudget.h"
#include "base/RunLogs.h"

#include <QMainWindow>

class QActionGroup;
class QSplitter;

namespace velmora {

class CQuillonView;
class CTraceView;
class CWorkStatus;

// The program's only top-level window: the main view above the trace pane, the run logs,
// the menu, the look, and the progress of a running check with its Stop button.
class CMainFrame : public QMainWindow
{
    Q_OBJECT
public:
    explicit CMainFrame(int updateType = 0, QWidget *parent = nullptr);
    ~CMainFrame() override;

    CQuillonView &View() { return *m_view; }
    CTraceView &Trace() { return *m_trace; }
    QSplitter &Splitter() { return *m_splitter; }
    CRunLogs &Logs() { return m_logs; }
    // How often a running check lets the window run.
    CPumpBudget &PumpBudget() { return m_pump; }
    int Look() const { return m_nLook; }
    CWorkStatus &WorkStatus() { return *m_work; }
    int UpdateType() const { return m_nUpdateType; }

    // Gives the splitter rows their ideal heights for the current client height.
    void ApplyIdealRowHeights();
    void ApplyLook(int look);

    void OnUserManual();
    void OnOnlineUpgrade();
    void OnAbout();

protected:
    void closeEvent(QCloseEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void CreateMenus();
    void CreateLookCommands();
    void CreateProgress();
    void ApplyMinimumSize();
    void OpenRunLogsReporting();
    void OnBusyChanged(bool busy);
    void OnProgress(int done, int total);
    // One turn of the window during a long task: what changed is shown, then every pending
    // event (paints, clicks, Stop) is handled.
    void RunWindowTurn();
    void ShowPendingChanges();

    CRunLogs m_logs;
    int m_nLook;
    int m_nUpdateType;
    bool m_bRowsSized = false;
    bool m_bCloseAfterCheck = false;
    CPumpBudget m_pump;
    QSplitter *m_splitter;
    CQuillonView *m_view;
    CTraceView *m_trace;
    QActionGroup *m_looks = nullptr;
    CWorkStatus *m_work = nullptr;
};

} // namespace velmora
