#pragma once

#include <QList>
#include <QString>

#include <functional>

namespace velmora {

class CDirItemList;
class IFileSystem;
struct SVerifyReport;

// One file of a broken song on its way to the quarantine folder and, on undo, back.
struct SQuarantineMove
{
    enum class EState { Planned, Moved, Failed };
    QString strFrom;
    QString strTo;
    qint64 nSize = -1;
    EState state = EState::Planned;
    QString strReason; // why it failed
};

// Every file of each broken song, its companions (files of the same name with another
// extension that are no songs of their own, and the AppleDouble files beside them) with
// it, each to the same place below target that it has below checkedFolder.
QList<SQuarantineMove> PlanQuarantine(const CDirItemList &list, const SVerifyReport &report,
                                      const QString &checkedFolder, const QString &target);
// The same for the rows chosen (a window's ticked rows), whatever their verdicts.
QList<SQuarantineMove> PlanQuarantineOfRows(const CDirItemList &list, const QList<int> &rows,
                                            const QString &checkedFolder, const QString &target);

struct SQuarantineRun
{
    QList<SQuarantineMove> moves;
    QString strManifest;      // the manifest written, empty when none could be
    QString strManifestError; // why no manifest could be written; then nothing was moved
    int Failed() const;
};

// Writes the manifest of the plan into target, moves the files (never over an existing
// file: such a move fails and the file stays), then writes the manifest again with what
// happened. A move that fails leaves its file where it was. The MOVE section and the
// MoveFile lines go to the run logs as the Move command writes them.
// progress, when given, hears of each file before it moves: files begun (from 1), of all,
// and its name.
using QuarantineProgress = std::function<void(int done, int total, const QString &name)>;
SQuarantineRun RunQuarantine(QList<SQuarantineMove> plan, const QString &checkedFolder, const QString &target,
                             IFileSystem &fileSystem, const QuarantineProgress &progress = {});

// What putting a quarantine back did.
struct SUndoRun
{
    QString strError;           // the manifest could not be read: nothing was done
    QList<SQuarantineMove> restored;
    QList<SQuarantineMove> alreadyBack;
    QList<SQuarantineMove> refused; // strReason says why
};

// Puts every moved file of a manifest back where it came from; a file whose place is taken
// now, that is missing or has changed size is left where it is and listed as refused.
SUndoRun UndoQuarantine(const QString &manifestPath, IFileSystem &fileSystem);

} // namespace velmora
