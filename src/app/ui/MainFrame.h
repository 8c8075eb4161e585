#pragma once

#include "base/RunLogs.h"

#include <QMainWindow>

class QActionGroup;
class QLabel;
class QProgressBar;
class QPushButton;
class QSplitter;

namespace velmora {

class CQuillonView;
class CTraceView;

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
    int Look() const { return m_nLook; }
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
    void OpenRunLogsReporting();
    void OnBusyChanged(bool busy);
    void OnProgress(int done, int total);

    CRunLogs m_logs;
    int m_nLook;
    int m_nUpdateType;
    bool m_bRowsSized = false;
    bool m_bCloseAfterCheck = false;
    QSplitter *m_splitter;
    CQuillonView *m_view;
    CTraceView *m_trace;
    QActionGroup *m_looks = nullptr;
    QLabel *m_status = nullptr;
    QProgressBar *m_progress = nullptr;
    QPushButton *m_stop = nullptr;
};

} // namespace velmora
