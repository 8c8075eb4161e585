// velmora-window-bench [--songs] [--subfolders] [--engine tool|library] [--jobs N]
//                      [--stop-after MS] [--shot FILE --shot-after MS] --data-dir DIR FOLDER
//
// Opens the main window, runs one check of FOLDER in it the way the Folder command (or,
// with --songs, a double-click on a folder row) does, and prints one line of "key=value"
// fields for bench/window-bench.sh:
//   check_ms        the check, from the command to its end
//   rows, lines     rows of the result list and lines of the trace pane at the end
//   list_paints, trace_paints   repaints of the list and of the trace pane during the check
//   ticks           turns of a 20 ms timer during the check (how often the window ran)
//   longest_gap_ms  the longest time the window did not run during the check
//   stop_ms         with --stop-after: from the Stop click to the check's end
//   accessible      1 when an accessibility bridge was active (it hears every change)
// With --shot, a screenshot of the screen (of the window where the platform has no
// screen) is written MS milliseconds into the check.

#include "app/ApplicationIdentity.h"
#include "app/ui/MainFrame.h"
#include "app/ui/QuillonView.h"
#include "base/UserPaths.h"
#include "check/CheckTuning.h"
#include "check/ui/DirListView.h"
#include "widgets/ui/TraceView.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QPixmap>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QWindow>

#include <cstdio>

using namespace Qt::Literals::StringLiterals;
using namespace velmora;

namespace {

struct SOptions
{
    bool bSongs = false;
    bool bSubfolders = false;
    QString strEngine;
    int nJobs = 0;
    int nStopAfterMs = -1;
    QString strShot;
    int nShotAfterMs = 1000;
    QString strDataDir;
    QString strFolder;
};

bool ParseArguments(const QStringList &arguments, SOptions &options)
{
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString &argument = arguments.at(i);
        const auto value = [&]() { return i + 1 < arguments.size() ? arguments.at(++i) : QString(); };
        if (argument == u"--songs"_s)
            options.bSongs = true;
        else if (argument == u"--subfolders"_s)
            options.bSubfolders = true;
        else if (argument == u"--engine"_s)
            options.strEngine = value();
        else if (argument == u"--jobs"_s)
            options.nJobs = value().toInt();
        else if (argument == u"--stop-after"_s)
            options.nStopAfterMs = value().toInt();
        else if (argument == u"--shot"_s)
            options.strShot = value();
        else if (argument == u"--shot-after"_s)
            options.nShotAfterMs = value().toInt();
        else if (argument == u"--data-dir"_s)
            options.strDataDir = value();
        else if (argument.startsWith(u'-') || !options.strFolder.isEmpty())
            return false;
        else
            options.strFolder = argument;
    }
    return !options.strFolder.isEmpty() && !options.strDataDir.isEmpty();
}

// Counts the paint events of one widget.
class CPaintCounter : public QObject
{
public:
    explicit CPaintCounter(QWidget *widget) : QObject(widget) { widget->installEventFilter(this); }
    int Count() const { return m_count; }
    void Reset() { m_count = 0; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            ++m_count;
        return QObject::eventFilter(watched, event);
    }

private:
    int m_count = 0;
};

QWidget *ViewportOf(QWidget *widget)
{
    auto *view = qobject_cast<QAbstractItemView *>(widget);
    if (!view)
        view = widget->findChild<QAbstractItemView *>();
    return view ? view->viewport() : widget;
}

void SaveScreenshot(CMainFrame &frame, const QString &file)
{
    QPixmap shot;
    if (QScreen *screen = QGuiApplication::primaryScreen())
        shot = screen->grabWindow(0);
    if (shot.isNull())
        shot = frame.grab();
    shot.save(file);
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    NameApplication();
    SOptions options;
    if (!ParseArguments(QApplication::arguments().mid(1), options)) {
        std::fputs("usage: velmora-window-bench [--songs] [--subfolders] [--engine tool|library] [--jobs N]\n"
                   "       [--stop-after MS] [--shot FILE --shot-after MS] --data-dir DIR FOLDER\n",
                   stderr);
        return 2;
    }
    SetUserDataFolder(options.strDataDir);

    CMainFrame frame(0);
    frame.show();
    QElapsedTimer waited;
    waited.start();
    while (!(frame.windowHandle() && frame.windowHandle()->isExposed()) && waited.elapsed() < 5000)
        QApplication::processEvents(QEventLoop::AllEvents, 50);

    CQuillonView &view = frame.View();
    SCheckTuning &tuning = view.DirItems().m_tuning;
    if (!options.strEngine.isEmpty()) {
        bool ok = false;
        tuning.engine = EngineNamed(options.strEngine, &ok);
    }
    if (options.nJobs > 0)
        tuning.nJobs = options.nJobs;
    view.SubFolderBox().setChecked(options.bSubfolders);

    CPaintCounter listPaints(ViewportOf(&view.ResultList()));
    CPaintCounter tracePaints(ViewportOf(&frame.Trace()));

    QElapsedTimer clock;
    qint64 lastTick = 0;
    qint64 longestGap = 0;
    int ticks = 0;
    QTimer probe;
    probe.setInterval(20);
    QObject::connect(&probe, &QTimer::timeout, [&] {
        const qint64 now = clock.elapsed();
        longestGap = std::max(longestGap, now - lastTick);
        lastTick = now;
        ++ticks;
    });

    qint64 stopClicked = -1;
    double checkMs = 0;
    QTimer::singleShot(0, &frame, [&] {
        listPaints.Reset();
        tracePaints.Reset();
        if (options.nStopAfterMs >= 0) {
            QTimer::singleShot(options.nStopAfterMs, &frame, [&] {
                stopClicked = clock.elapsed();
                for (QPushButton *button : frame.findChildren<QPushButton *>())
                    if (button->text() == u"Stop"_s && button->isVisible())
                        button->click();
            });
        }
        if (!options.strShot.isEmpty())
            QTimer::singleShot(options.nShotAfterMs, &frame, [&] { SaveScreenshot(frame, options.strShot); });
        clock.start();
        probe.start();
        view.CheckFolder(options.strFolder, options.bSongs ? 0 : 1);
        checkMs = double(clock.nsecsElapsed()) / 1e6;
        probe.stop();
        longestGap = std::max(longestGap, clock.elapsed() - lastTick);
        QApplication::quit();
    });
    QApplication::exec();

    std::printf("check_ms=%.1f rows=%d lines=%d list_paints=%d trace_paints=%d ticks=%d longest_gap_ms=%lld "
                "stop_ms=%lld accessible=%d\n",
                checkMs, view.DirItems().GetItemCount(), frame.Trace().LineCount(), listPaints.Count(),
                tracePaints.Count(), ticks, longestGap,
                stopClicked >= 0 ? qint64(checkMs) - stopClicked : -1LL, QAccessible::isActive() ? 1 : 0);
    return 0;
}
