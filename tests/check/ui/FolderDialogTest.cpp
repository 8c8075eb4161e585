// The Move command's folder picker over Qt's folder dialog, answered from a timer.
#include "check/ui/FolderDialog.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QTemporaryDir>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;
using namespace velmora;

namespace {

// Waits for the modal folder dialog to open, then lets answer act on it.
void AnswerDialog(std::function<void(QFileDialog *)> answer)
{
    auto *timer = new QTimer;
    QObject::connect(timer, &QTimer::timeout, [timer, answer] {
        auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
        if (!dialog || !dialog->isVisible())
            return;
        timer->stop();
        timer->deleteLater();
        answer(dialog);
    });
    timer->start(20);
}

} // namespace

TEST(CFolderDialogTest, OpensAtHomeForFoldersTitledTargetDirectory)
{
    CFolderDialog picker;
    EXPECT_EQ(picker.InitialFolder(), QDir::homePath());
    QString title;
    QString start;
    bool foldersOnly = false;
    AnswerDialog([&](QFileDialog *dialog) {
        title = dialog->windowTitle();
        start = dialog->directory().absolutePath();
        foldersOnly = dialog->fileMode() == QFileDialog::Directory && dialog->testOption(QFileDialog::ShowDirsOnly);
        dialog->reject();
    });
    EXPECT_EQ(picker.DoModal(), CFolderDialog::kCancelled);
    EXPECT_TRUE(picker.GetFolderPath().isEmpty());
    EXPECT_EQ(title, u"Target Directory"_s);
    EXPECT_EQ(start, QDir(QDir::homePath()).absolutePath());
    EXPECT_TRUE(foldersOnly);
}

// Accepting with nothing typed chooses the folder shown, here an empty one, so the dialog's
// file list (filled in the background) has nothing to select instead.
TEST(CFolderDialogTest, ReturnsTheChosenFolderAndNothingOnCancel)
{
    QTemporaryDir chosen;
    CFolderDialog picker;
    picker.SetInitialFolder(chosen.path());
    AnswerDialog([](QFileDialog *dialog) { static_cast<QDialog *>(dialog)->accept(); });
    EXPECT_EQ(picker.PickTargetFolder(), QDir::cleanPath(chosen.path()));
    EXPECT_EQ(picker.GetFolderPath(), QDir::cleanPath(chosen.path()));

    AnswerDialog([](QFileDialog *dialog) { dialog->reject(); });
    EXPECT_TRUE(picker.PickTargetFolder().isEmpty());
}
