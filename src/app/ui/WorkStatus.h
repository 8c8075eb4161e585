#pragma once

#include <QObject>
#include <QString>

#include <functional>

class QLabel;
class QProgressBar;
class QPushButton;
class QStatusBar;

namespace velmora {

// The status bar's account of the long task that runs (a check, a verification, a Move):
// what it is doing, a bar of the files done of all with the time left once that can be told,
// and the Stop button beside it. Progress comes per file; the bar and the text follow at the
// window's next turn.
class CWorkStatus : public QObject
{
    Q_OBJECT
public:
    enum class EWork { Check, Verify, Move, Playlist };

    explicit CWorkStatus(QStatusBar &bar);

    QLabel &Text() { return *m_text; }
    QProgressBar &Bar() { return *m_bar; }
    QPushButton &StopButton() { return *m_stop; }
    // A monotonic clock in milliseconds; the steady clock unless a test gives its own.
    void SetClock(std::function<qint64()> nowMs);

    void Begin(EWork work);
    // done files of total are through; a new kind of work starts its own clock.
    void Progress(EWork work, int done, int total);
    void CheckProgress(int done, int total) { Progress(EWork::Check, done, total); }
    // A Move begins its done-th file of total (done - 1 are through).
    void MoveProgress(int done, int total, const QString &name);
    // The task ended; text stays in the status bar until the next task.
    void End(const QString &text);
    // Shows the progress heard since the last call.
    void ShowPending();

private:
    void Schedule();
    QString PhaseText() const;

    QLabel *m_text;
    QProgressBar *m_bar;
    QPushButton *m_stop;
    std::function<qint64()> m_nowMs;
    EWork m_work = EWork::Check;
    bool m_bPhaseClock = false; // the clock of the current kind of work runs
    qint64 m_nPhaseStartMs = 0;
    int m_nDone = 0;
    int m_nTotal = 0;
    QString m_strName;
    bool m_bPending = false;
};

} // namespace velmora
