#include "verify/Quarantine.h"

#include "platform/StopRequest.h"

#include "base/RunLogs.h"
#include "check/DirItemList.h"
#include "inspect/FileList.h"
#include "platform/FileMove.h"
#include "platform/FileSystem.h"
#include "platform/FolderCreate.h"
#include "platform/OpenFile.h"
#include "verify/FileVerify.h"
#include "verify/QuarantineManifest.h"
#include "verify/VerifyRun.h"

#include <QDateTime>
#include <QFile>
#include <QHash>
#include <QSet>

#include <cerrno>

namespace velmora {

using namespace Qt::Literals::StringLiterals;

namespace {

constexpr char16_t kSeparatorLine[] = u"================================================\r\n";
constexpr int kManifestNameTries = 1000;

QString Trimmed(QString folder)
{
    while (folder.size() > 1 && folder.endsWith(u'/'))
        folder.chop(1);
    return folder;
}

QString ParentOf(const QString &path)
{
    return path.left(qMax<qsizetype>(path.lastIndexOf(u'/'), 0));
}

QString NameOf(const QString &path)
{
    return path.mid(path.lastIndexOf(u'/') + 1);
}

// The path without its extension, case aside: companions share it.
QString StemKey(const QString &path)
{
    const QString name = NameOf(path);
    const qsizetype dot = name.lastIndexOf(u'.');
    return (ParentOf(path) + u'/' + (dot <= 0 ? name : name.left(dot))).toLower();
}

// The folders between base and path, or nullopt when path is not below base.
std::optional<QStringList> FoldersBetween(const QString &base, const QString &path)
{
    const QString prefix = base.endsWith(u'/') ? base : base + u'/';
    if (!path.startsWith(prefix))
        return std::nullopt;
    QStringList parts = path.mid(prefix.size()).split(u'/');
    parts.removeLast();
    return parts;
}

class CPlanner
{
public:
    CPlanner(const QString &folder, const QString &target) : m_prefix(folder + u'/'), m_target(target) {}

    void Add(const QString &path)
    {
        // A quarantine inside the checked tree holds songs moved before: they stay.
        if (!path.startsWith(m_prefix) || path.startsWith(m_target + u'/') || m_planned.contains(path))
            return;
        m_planned.insert(path);
        SQuarantineMove move;
        move.strFrom = path;
        move.strTo = m_target + u'/' + path.mid(m_prefix.size());
        m_moves.append(move);
    }
    QList<SQuarantineMove> Moves() const { return m_moves; }

private:
    QString m_prefix;
    QString m_target;
    QSet<QString> m_planned;
    QList<SQuarantineMove> m_moves;
};

bool IsSongOfItsOwn(const QStringList &files)
{
    for (const QString &file : files) {
        const EFileKind kind = FileKindOf(NameOf(file));
        if (kind != EFileKind::Other)
            return true;
    }
    return false;
}

int WriteAll(IFileSystem &fileSystem, int handle, const QByteArray &bytes)
{
    qint64 at = 0;
    while (at < bytes.size()) {
        qint64 done = 0;
        if (const int error = fileSystem.Write(handle, bytes.constData() + at, bytes.size() - at, &done))
            return error;
        if (done <= 0)
            return ENOSPC;
        at += done;
    }
    return 0;
}

// Creates path anew (never over a file, never through a link) with bytes, made durable.
int WriteNewFile(IFileSystem &fileSystem, const QString &path, const QByteArray &bytes)
{
    int handle = -1;
    if (const int error = fileSystem.CreateNew(path, 0644, &handle))
        return error;
    int error = WriteAll(fileSystem, handle, bytes);
    if (!error)
        error = fileSystem.Sync(handle);
    const int closed = fileSystem.Close(handle);
    if (error || closed) {
        fileSystem.Remove(path);
        return error ? error : closed;
    }
    return 0;
}

// A manifest name of its own in target: the time of the run, numbered when taken.
QString CreateManifest(IFileSystem &fileSystem, const QString &target, const QByteArray &bytes, int *error)
{
    const QString stamp = QDateTime::currentDateTimeUtc().toString(u"yyyyMMdd-HHmmss"_s);
    for (int n = 1; n <= kManifestNameTries; ++n) {
        const QString path = target + u"/velmora-quarantine-"_s + stamp + (n > 1 ? u"-%1"_s.arg(n) : QString()) + u".json"_s;
        *error = WriteNewFile(fileSystem, path, bytes);
        if (*error != EEXIST)
            return *error ? QString() : path;
    }
    return {};
}

// Writes the manifest again beside it and renames it over the old one, so that a crash
// leaves one whole manifest or the other.
int RewriteManifest(IFileSystem &fileSystem, const QString &path, const QByteArray &bytes)
{
    const QString temporary = ParentOf(path) + u"/."_s + NameOf(path) + u".part"_s;
    if (fileSystem.Status(temporary, false, nullptr) == 0)
        fileSystem.Remove(temporary);
    if (const int error = WriteNewFile(fileSystem, temporary, bytes))
        return error;
    if (const int error = fileSystem.Rename(temporary, path, true)) {
        fileSystem.Remove(temporary);
        return error;
    }
    fileSystem.SyncFolder(ParentOf(path));
    return 0;
}

void MoveOne(IFileSystem &fileSystem, const QString &target, SQuarantineMove &move)
{
    SNodeStatus status;
    if (fileSystem.Status(move.strFrom, false, &status) == 0)
        move.nSize = qint64(status.nSize);
    const std::optional<QStringList> folders = FoldersBetween(target, move.strTo);
    const int made = folders ? MakeRealFoldersBelow(target, *folders) : EINVAL;
    if (made != 0) {
        move.state = SQuarantineMove::EState::Failed;
        move.strReason = u"cannot make its folder in the quarantine: "_s + MoveErrorText(made);
        WriteLog(Problem, u"MoveFile failed: %s\r\n", move.strReason);
        return;
    }
    WriteLog(Plain, u"MoveFile '%s' to '%s'\r\n", LogSafePath(move.strFrom), LogSafePath(move.strTo));
    const SMoveResult result = MoveFileTo(fileSystem, move.strFrom, move.strTo, false);
    if (result.IsMoved()) {
        move.state = SQuarantineMove::EState::Moved;
        return;
    }
    move.state = SQuarantineMove::EState::Failed;
    move.strReason = result.strReason;
    WriteLog(Problem, u"MoveFile failed: %s\r\n", move.strReason);
}

std::optional<QByteArray> ReadManifestFile(const QString &path, QString *error)
{
    const auto file = OpenFileForRead(path);
    if (!file) {
        *error = u"cannot open the manifest"_s;
        return std::nullopt;
    }
    if (file->size() > kMaxManifestSize) {
        *error = u"the manifest is too large to be one of velmora's"_s;
        return std::nullopt;
    }
    return file->read(kMaxManifestSize);
}

void UndoOne(IFileSystem &fileSystem, const SQuarantineManifest &manifest, const SQuarantineMove &move, SUndoRun &run)
{
    SNodeStatus quarantined;
    const bool inQuarantine = fileSystem.Status(move.strTo, false, &quarantined) == 0;
    const bool placeTaken = fileSystem.Status(move.strFrom, false, nullptr) == 0;
    auto refuse = [&](const QString &reason) {
        SQuarantineMove refused = move;
        refused.strReason = reason;
        run.refused.append(refused);
    };
    if (!inQuarantine) {
        if (placeTaken)
            run.alreadyBack.append(move);
        else
            refuse(u"it is neither in the quarantine nor at its place"_s);
        return;
    }
    if (placeTaken)
        return refuse(u"its place is taken: a file of that name is there now"_s);
    if (move.nSize >= 0 && qint64(quarantined.nSize) != move.nSize)
        return refuse(u"it has changed in the quarantine (%1 bytes, %2 when it was moved)"_s.arg(quarantined.nSize).arg(move.nSize));
    const std::optional<QStringList> folders = FoldersBetween(manifest.strFolder, move.strFrom);
    const int made = folders ? MakeRealFoldersBelow(manifest.strFolder, *folders) : 0;
    if (made != 0)
        return refuse(u"cannot make its folder again: "_s + MoveErrorText(made));
    const SMoveResult result = MoveFileTo(fileSystem, move.strTo, move.strFrom, false);
    if (!result.IsMoved())
        return refuse(result.strReason);
    run.restored.append(move);
}

} // namespace

QList<SQuarantineMove> PlanQuarantine(const CDirItemList &list, const SVerifyReport &report,
                                      const QString &checkedFolder, const QString &target)
{
    QList<int> broken;
    for (int i = 0; i < list.GetItemCount() && i < report.rows.size(); ++i) {
        if (report.rows.at(i).verdict == EVerdict::Broken)
            broken.append(i);
    }
    return PlanQuarantineOfRows(list, broken, checkedFolder, target);
}

QList<SQuarantineMove> PlanQuarantineOfRows(const CDirItemList &list, const QList<int> &rows,
                                            const QString &checkedFolder, const QString &target)
{
    CPlanner planner(Trimmed(checkedFolder), Trimmed(target));
    QHash<QString, QStringList> companions;
    QSet<QString> allFiles;
    QList<QStringList> rowFiles;
    for (int i = 0; i < list.GetItemCount(); ++i) {
        const QStringList files = list.Item(i).IsFolder() ? QStringList() : list.Item(i).FilePaths();
        rowFiles.append(files);
        for (const QString &file : files)
            allFiles.insert(file);
        if (!IsSongOfItsOwn(files)) {
            for (const QString &file : files)
                companions[StemKey(file)].append(file);
        }
    }
    for (const int i : rows) {
        if (i < 0 || i >= list.GetItemCount())
            continue;
        QStringList song = rowFiles.at(i);
        for (const QString &file : rowFiles.at(i))
            song.append(companions.value(StemKey(file)));
        for (const QString &file : std::as_const(song)) {
            planner.Add(file);
            const QString appleDouble = ParentOf(file) + u"/._"_s + NameOf(file);
            if (allFiles.contains(appleDouble))
                planner.Add(appleDouble);
        }
    }
    return planner.Moves();
}

int SQuarantineRun::Failed() const
{
    int failed = 0;
    for (const SQuarantineMove &move : moves)
        failed += move.state == SQuarantineMove::EState::Moved ? 0 : 1;
    return failed;
}

SQuarantineRun RunQuarantine(QList<SQuarantineMove> plan, const QString &checkedFolder, const QString &target,
                             IFileSystem &fileSystem, const QuarantineProgress &progress)
{
    SQuarantineRun run;
    SQuarantineManifest manifest;
    manifest.strFolder = Trimmed(checkedFolder);
    manifest.strTarget = Trimmed(target);
    manifest.strCreated = QDateTime::currentDateTimeUtc().toString(Qt::ISODate);
    manifest.moves = std::move(plan);
    run.moves = manifest.moves;
    if (manifest.moves.isEmpty())
        return run;
    // The plan is on disk before the first file moves: after a crash, undo still finds them.
    int error = 0;
    run.strManifest = CreateManifest(fileSystem, manifest.strTarget, ManifestJson(manifest), &error);
    if (run.strManifest.isEmpty()) {
        run.strManifestError = u"cannot write the manifest in "_s + manifest.strTarget + u": "_s + MoveErrorText(error);
        return run;
    }
    WriteLog(Plain, u"\r\n");
    WriteLog(Plain, kSeparatorLine);
    WriteLog(Plain, u"MOVE (%d), Directory %s\r\n", int(manifest.moves.size()), LogSafePath(manifest.strTarget));
    WriteLog(Plain, kSeparatorLine);
    int done = 0;
    for (SQuarantineMove &move : manifest.moves) {
        // A stop ends the quarantine between two files; the rest stay planned in the manifest.
        if (CStopRequest::IsRaised()) {
            WriteLog(Plain, u"MOVE, Move stopped by the user after %d of %d files\r\n", done,
                     int(manifest.moves.size()));
            break;
        }
        if (progress)
            progress(done + 1, int(manifest.moves.size()), NameOf(move.strFrom));
        MoveOne(fileSystem, manifest.strTarget, move);
        ++done;
    }
    run.moves = manifest.moves;
    if (const int rewrite = RewriteManifest(fileSystem, run.strManifest, ManifestJson(manifest)))
        run.strManifestError = u"cannot bring the manifest up to date: "_s + MoveErrorText(rewrite)
            + u"; it still lists every file as planned"_s;
    return run;
}

SUndoRun UndoQuarantine(const QString &manifestPath, IFileSystem &fileSystem)
{
    SUndoRun run;
    const std::optional<QByteArray> bytes = ReadManifestFile(manifestPath, &run.strError);
    if (!bytes)
        return run;
    const std::optional<SQuarantineManifest> manifest = ParseManifest(*bytes, &run.strError);
    if (!manifest)
        return run;
    for (const SQuarantineMove &move : manifest->moves) {
        if (move.state != SQuarantineMove::EState::Failed)
            UndoOne(fileSystem, *manifest, move, run);
    }
    return run;
}

} // namespace velmora
