// velmora-screenshots LIBRARY PLAYLIST OUT_DIR
// Opens the program's main window as it starts, runs it through the states a user sees
// (empty, a media-details check, a song check, a verified song check, a playlist, the About
// box, a Move in progress, every look) and
// saves each at 1000 x 700 and at the window's minimum size as OUT_DIR/NAME-WxH.png.
#include "app/ApplicationIdentity.h"
#include "app/ApplicationLook.h"
#include "app/ui/AboutDialog.h"
#include "app/ui/MainFrame.h"
#include "app/ui/QuillonView.h"
#include "app/ui/WindowApplication.h"
#include "widgets/ui/FileIcons.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QThread>
#include <cstdio>

using namespace velmora;
using namespace Qt::Literals::StringLiterals;

namespace {

QString g_outDir;

// Lets the window finish its layout and painting.
void Settle()
{
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < 150) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(10);
    }
}

bool Save(QWidget &widget, const QString &name)
{
    Settle();
    const QString path = QDir(g_outDir).filePath(u"%1-%2x%3.png"_s.arg(name).arg(widget.width()).arg(widget.height()));
    if (!widget.grab().save(path)) {
        std::fprintf(stderr, "velmora-screenshots: cannot write %s\n", qPrintable(path));
        return false;
    }
    std::printf("%s\n", qPrintable(path));
    return true;
}

QSize MinimumSize(const QWidget &widget)
{
    return widget.minimumSize().expandedTo(widget.minimumSizeHint());
}

// The state as the user sees it at the default size and at the smallest one.
bool SaveBothSizes(CMainFrame &frame, const QString &name)
{
    frame.resize(1000, 700);
    bool saved = Save(frame, name);
    frame.resize(MinimumSize(frame));
    saved = Save(frame, name) && saved;
    frame.resize(1000, 700);
    return saved;
}

bool SaveAbout(CMainFrame &frame)
{
    CAboutDialog about(&frame);
    about.show();
    return Save(about, u"about"_s);
}

// Answers the next folder dialog with path, as a user picking it would.
void AnswerNextFolderDialog(const QString &path)
{
    auto *timer = new QTimer(QCoreApplication::instance());
    QObject::connect(timer, &QTimer::timeout, [timer, path] {
        auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
        if (!dialog || !dialog->isVisible())
            return;
        dialog->setDirectory(path);
        static_cast<QDialog *>(dialog)->accept();
        timer->stop();
        timer->deleteLater();
    });
    timer->start(50);
}

// A Move of the rows a media-details check ticked, pictured while its second file moves.
bool SaveMoveInProgress(CMainFrame &frame, const QString &library)
{
    frame.View().CheckFolder(library, 1);
    QTemporaryDir target;
    bool saved = true;
    bool shot = false;
    const QMetaObject::Connection during = QObject::connect(&frame.View(), &CQuillonView::MoveProgressChanged,
        [&](int done, int, const QString &) {
            if (done == 1 && !shot) {
                shot = true;
                saved = SaveBothSizes(frame, u"move"_s);
            }
        });
    AnswerNextFolderDialog(target.path());
    frame.View().Button(IDC_MOVE).click();
    QObject::disconnect(during);
    return saved && shot && SaveBothSizes(frame, u"move-ended"_s);
}

} // namespace

int main(int argc, char **argv)
{
    QApplication application(argc, argv);
    const QStringList arguments = QCoreApplication::arguments().mid(1);
    if (arguments.size() != 3) {
        std::fputs("usage: velmora-screenshots LIBRARY PLAYLIST OUT_DIR\n", stderr);
        return 2;
    }
    const QString library = arguments[0];
    const QString playlist = arguments[1];
    g_outDir = arguments[2];
    NameApplication();
    ApplyApplicationFont();
    ApplyApplicationIcon();
    ChooseIconTheme();

    CMainFrame frame(0);
    frame.show();
    frame.View().ShowResultList();
    bool saved = SaveBothSizes(frame, u"empty"_s);

    frame.View().SubFolderBox().setChecked(false);
    frame.View().CheckFolder(library, 1);
    saved = SaveBothSizes(frame, u"media-details"_s) && saved;
    for (int look = kLookWindows2000; look <= kLookAqua; ++look) {
        frame.ApplyLook(look);
        saved = SaveBothSizes(frame, u"look-%1"_s.arg(look)) && saved;
    }
    frame.ApplyLook(kDefaultLook);

    frame.View().CheckFolder(library, 0);
    saved = SaveBothSizes(frame, u"song-check"_s) && saved;

    frame.View().OpenPlaylist(playlist);
    saved = SaveBothSizes(frame, u"playlist"_s) && saved;

    saved = SaveAbout(frame) && saved;

    frame.View().SetVerifySongChecks(true);
    frame.View().CheckFolder(library, 0);
    saved = SaveBothSizes(frame, u"verified-song-check"_s) && saved;
    frame.View().SetVerifySongChecks(false);

    // Last: the Move takes files out of the library.
    saved = SaveMoveInProgress(frame, library) && saved;
    return saved ? 0 : 1;
}
