#pragma once

#include <QObject>
#include <QString>

class QLabel;
class QProgressBar;
class QPushButton;
class QStatusBar;

namespace velmora {

// The status bar's account of the long task that runs (a check or a Move): what it is doing,
// a bar of the files done, and the Stop button beside it. Progress comes per file; the bar
// and the text follow at the window's next turn.
class CWorkStatus : public QObject
{
    Q_OBJECT
public:
    enum class EWork { Check, Move };

    explicit CWorkStatus(QStatusBar &bar);

    QLabel &Text() { return *m_text; }
    QProgressBar &Bar() { return *m_bar; }
    QPushButton &StopButton() { return *m_stop; }

    void Begin(EWork work);
    void CheckProgress(int done, int total);
    // A Move begins its done-th file of total.
    void MoveProgress(int done, int total, const QString &name);
    // The task ended; text stays in the status bar until the next task.
    void End(const QString &text);
    // Shows the progress heard since the last call.
    void ShowPending();

private:
    void Schedule();

    QLabel *m_text;
    QProgressBar *m_bar;
    QPushButton *m_stop;
    EWork m_work = EWork::Check;
    int m_nDone = 0;
    int m_nTotal = 0;
    QString m_strName;
    bool m_bPending = false;
};

} // namespace velmora
