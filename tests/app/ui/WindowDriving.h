#pragma once

#include "app/ui/MainFrame.h"

#include <QApplication>
#include <QDialog>
#include <QFileDialog>
#include <QLineEdit>
#include <QPointer>
#include <QTimer>

#include <chrono>
#include <memory>

namespace velmora::test {

// Answers the next file or folder dialog the window opens with path, as a user would.
inline void AnswerNextDialog(const QString &path, bool selectFile = false)
{
    // A dialog still filling itself may refuse the first accept: it is tried again until the
    // dialog has gone. Only the first dialog seen is answered.
    // Owned by the application: a test that ends right after the dialog leaves no turn for
    // the timer to remove itself.
    auto *timer = new QTimer(QCoreApplication::instance());
    auto answered = std::make_shared<QPointer<QFileDialog>>();
    auto seen = std::make_shared<bool>(false);
    QObject::connect(timer, &QTimer::timeout, [timer, path, selectFile, answered, seen] {
        auto *dialog = *seen ? answered->data() : qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
        if (!dialog || !dialog->isVisible()) {
            if (*seen) {
                timer->stop();
                timer->deleteLater();
            }
            return;
        }
        *seen = true;
        *answered = dialog;
        if (selectFile) {
            // Typed as a user would: selectFile leaves a focused name field alone.
            if (auto *name = dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit")))
                name->setText(path);
        } else {
            dialog->setDirectory(path);
        }
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
