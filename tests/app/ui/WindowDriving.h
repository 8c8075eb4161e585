#pragma once

#include "app/ui/MainFrame.h"

#include <QApplication>
#include <QDialog>
#include <QFileDialog>
#include <QTimer>

#include <chrono>
#include <memory>

namespace velmora::test {

// Answers the next file or folder dialog the window opens with path, as a user would.
inline void AnswerNextDialog(const QString &path, bool selectFile = false)
{
    auto *timer = new QTimer;
    QObject::connect(timer, &QTimer::timeout, [timer, path, selectFile] {
        auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
        if (!dialog || !dialog->isVisible())
            return;
        timer->stop();
        timer->deleteLater();
        if (selectFile)
            dialog->selectFile(path);
        else
            dialog->setDirectory(path);
        static_cast<QDialog *>(dialog)->accept();
    });
    timer->start(20);
}

// A clock that makes a window turn due at every run-log line, so that a click queued during
// a long task is taken before the task's next line.
inline void TurnAtEveryLine(CMainFrame &frame)
{
    // Starts from the steady clock, which the budget may have used already.
    auto now = std::make_shared<qint64>(
        std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now().time_since_epoch()).count());
    frame.PumpBudget().SetClock([now] { return *now += 1'000'000'000; });
}

} // namespace velmora::test
