// The song verification's side of the main view: verifying a song check, moving verified
// songs aside with the manifest that undoes it, and the undo.
#include "app/ui/QuillonView.h"

#include "app/VerdictSummary.h"
#include "check/ui/DirListView.h"
#include "check/ui/FolderDialog.h"
#include "platform/FileSystem.h"
#include "platform/MessagePrompt.h"
#include "platform/MessagePump.h"
#include "platform/StopRequest.h"
#include "verify/Quarantine.h"
#include "verify/VerifyRun.h"

#include <QDir>
#include <QFileDialog>
#include <QSet>

namespace velmora {

using namespace Qt::Literals::StringLiterals;

namespace {

QList<int> TickedRows(const CDirItemList &list)
{
    QList<int> rows;
    for (int row = 0; row < list.GetItemCount(); ++row) {
        if (list.Item(row).IsChecked())
            rows.append(row);
    }
    return rows;
}

// Refusals listed in a message, at most this many by name.
constexpr qsizetype kRefusalsNamed = 10;

QString RefusalsText(const QString &heading, const QList<SQuarantineMove> &moves)
{
    QString text = heading;
    for (qsizetype i = 0; i < moves.size() && i < kRefusalsNamed; ++i)
        text += u"\n"_s + moves.at(i).strFrom + u": "_s + moves.at(i).strReason;
    if (moves.size() > kRefusalsNamed)
        text += u"\n... and %1 more"_s.arg(moves.size() - kRefusalsNamed);
    return text;
}

} // namespace

void CQuillonView::ForgetVerdicts()
{
    m_resultList->ShowVerdicts(nullptr);
    m_verdicts.reset();
}

void CQuillonView::VerifySongCheck()
{
    auto report = std::make_unique<SVerifyReport>();
    m_bVerifying = true;
    {
        // Busy as a check is: Stop asks the verification to end before its next file.
        CDirItemList::CCheckScope busy(m_dirItems);
        SVerifyOptions options;
        options.nJobs = m_dirItems.m_tuning.nJobs;
        options.progress = [this](int done, int total) {
            emit VerifyProgressChanged(done, total);
            PumpMessages();
            return !CStopRequest::IsRaised();
        };
        *report = VerifyAndLog(m_dirItems, options);
    }
    m_bVerifying = false;
    m_verdicts = std::move(report);
    m_resultList->ShowVerdicts(m_verdicts.get());
    const QString summary = VerdictSummaryText(m_dirItems, *m_verdicts);
    emit WorkEnded(m_verdicts->bComplete ? summary : u"Verification stopped: "_s + summary);
}

void CQuillonView::QuarantineTickedRows()
{
    const QList<int> rows = TickedRows(m_dirItems);
    if (rows.isEmpty()) {
        MessagePrompt().ShowMessage(u"No match file or No check box !"_s);
        return;
    }
    CFolderDialog picker(this);
    const QString target = picker.PickTargetFolder();
    if (target.isEmpty())
        return;
    const QString folder = m_dirItems.m_strCurrentFolder;
    const QList<SQuarantineMove> plan = PlanQuarantineOfRows(m_dirItems, rows, folder, target);
    SQuarantineRun run;
    m_bMoving = true;
    {
        CDirItemList::CCheckScope busy(m_dirItems);
        run = RunQuarantine(plan, folder, target, LocalFileSystem(), [this](int done, int total, const QString &name) {
            emit MoveProgressChanged(done, total, name);
        });
    }
    m_bMoving = false;
    if (!run.strManifestError.isEmpty())
        MessagePrompt().ShowMessage(run.strManifestError);
    QSet<QString> moved;
    for (const SQuarantineMove &move : run.moves) {
        if (move.state == SQuarantineMove::EState::Moved)
            moved.insert(move.strFrom);
    }
    // A row whose files all went is done with; one with a file left stays ticked.
    for (const int row : rows) {
        const QStringList files = m_dirItems.Item(row).FilePaths();
        const bool allMoved = std::all_of(files.begin(), files.end(), [&moved](const QString &file) {
            return moved.contains(file);
        });
        if (allMoved) {
            m_dirItems.Item(row).dwFlags &= ~ITEM_CHECKED;
            m_dirItems.RedrawRow(row);
        }
    }
    if (run.strManifest.isEmpty())
        return;
    const auto failed = std::count_if(run.moves.begin(), run.moves.end(), [](const SQuarantineMove &move) {
        return move.state == SQuarantineMove::EState::Failed;
    });
    QString text = u"%1 of %2 files moved to %3; File > Undo Quarantine puts them back (%4)"_s.arg(moved.size())
                       .arg(run.moves.size())
                       .arg(QDir::cleanPath(target), QDir(run.strManifest).dirName());
    if (failed > 0)
        text += u", %1 failed (see Error View)"_s.arg(failed);
    emit WorkEnded(text);
}

void CQuillonView::OnUndoQuarantine()
{
    if (RefuseWhileChecking())
        return;
    const QString manifest = QFileDialog::getOpenFileName(this, u"Undo Quarantine"_s, QDir::homePath(),
                                                          u"Quarantine manifests (velmora-quarantine-*.json);;All Files (*)"_s);
    if (!manifest.isEmpty())
        UndoQuarantine(manifest);
}

void CQuillonView::UndoQuarantine(const QString &manifest)
{
    if (RefuseWhileChecking())
        return;
    const SUndoRun run = velmora::UndoQuarantine(manifest, LocalFileSystem());
    if (!run.strError.isEmpty()) {
        MessagePrompt().ShowMessage(u"Cannot undo "_s + manifest + u": "_s + run.strError);
        return;
    }
    emit WorkEnded(u"%1 put back, %2 already back, %3 not put back"_s.arg(run.restored.size())
                       .arg(run.alreadyBack.size())
                       .arg(run.refused.size()));
    if (!run.refused.isEmpty())
        MessagePrompt().ShowMessage(RefusalsText(u"Not put back:"_s, run.refused));
}

} // namespace velmora
