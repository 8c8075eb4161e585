#include "app/ui/VerdictCommands.h"

#include "app/ui/QuillonView.h"
#include "check/ui/DirListView.h"

#include <QAction>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>

namespace velmora {

using namespace Qt::Literals::StringLiterals;

namespace {

QMenu *MenuTitled(QMenuBar &bar, const QString &title)
{
    for (QAction *action : bar.actions()) {
        if (action->menu() && action->text() == title)
            return action->menu();
    }
    return nullptr;
}

} // namespace

void AddVerdictCommands(QMainWindow &frame, CQuillonView &view)
{
    QMenuBar &bar = *frame.menuBar();
    auto *verify = new QMenu(u"&Verify"_s, &frame);
    QAction *songChecks = verify->addAction(u"&Verify Song Checks"_s);
    songChecks->setObjectName(u"verifySongChecks"_s);
    songChecks->setCheckable(true);
    songChecks->setChecked(view.VerifiesSongChecks());
    songChecks->setToolTip(u"Read every file of each song after a song check and give it a verdict"_s);
    QObject::connect(songChecks, &QAction::toggled, &view, &CQuillonView::SetVerifySongChecks);
    QAction *onlyReasons = verify->addAction(u"Only Rows with a &Reason"_s);
    onlyReasons->setObjectName(u"onlyRowsWithReasons"_s);
    onlyReasons->setCheckable(true);
    QObject::connect(onlyReasons, &QAction::toggled, &view.ResultList(), &CDirListView::SetOnlyRowsWithReasons);
    QMenu *help = MenuTitled(bar, u"&Help"_s);
    bar.insertMenu(help ? help->menuAction() : nullptr, verify);

    if (QMenu *file = MenuTitled(bar, u"&File"_s)) {
        auto *undo = new QAction(u"&Undo Quarantine..."_s, &frame);
        undo->setObjectName(u"undoQuarantine"_s);
        QObject::connect(undo, &QAction::triggered, &view, &CQuillonView::OnUndoQuarantine);
        const QList<QAction *> actions = file->actions();
        file->insertAction(actions.isEmpty() ? nullptr : actions.first(), undo);
        file->insertSeparator(actions.isEmpty() ? nullptr : actions.first());
    }
}

} // namespace velmora
