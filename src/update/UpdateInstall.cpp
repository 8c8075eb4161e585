#include "update/UpdateInstall.h"

#include "platform/NativeName.h"
#include "update/AutoUpdater.h"
#include "update/UpdateJournal.h"
#include "update/UpdateManifest.h"

#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QSet>
#include <QThread>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace velmora {

using namespace Qt::Literals::StringLiterals;

namespace {

constexpr qint64 kCopyBlock = 256 * 1024;
constexpr char kStageEnding[] = ".new";
constexpr char kBackupEnding[] = ".old";

// A file of the package as the records describe it; nothing on disk is looked at yet.
struct SPlannedFile
{
    QString strName;      // relative to the update folder
    QString strTarget;    // relative to the program folder
    QString strChecksum;  // lower-case hex, or empty
};

struct SStagedFile
{
    SPlannedFile plan;
    QString strStage;   // the complete new file beside its target, relative to the program folder
    QString strBackup;  // the old file's second name while the new one goes in; empty for none
};

// A relative path of plain steps, "\" read as "/"; nullopt for absolute paths and climbs.
std::optional<QString> ContainedPath(const QString &text)
{
    QString path = QString(text).replace(u'\\', u'/');
    if (path.startsWith(u'/') || (path.size() >= 2 && path.at(1) == u':'))
        return std::nullopt;
    QStringList steps;
    for (const QString &step : path.split(u'/', Qt::SkipEmptyParts)) {
        if (step == u".."_s)
            return std::nullopt;
        if (step != u"."_s)
            steps.append(step);
    }
    return steps.join(u'/');
}

// LOCALDIR names a folder below the program folder, relative to it ("" for the folder
// itself). The maker's absolute Windows folders have no meaning here and stand for the
// program folder itself.
std::optional<QString> TargetFolder(const QString &localDir)
{
    const QString slashed = QString(localDir).replace(u'\\', u'/');
    if (slashed.isEmpty() || slashed.startsWith(u'/') || (slashed.size() >= 2 && slashed.at(1) == u':'))
        return QString();
    return ContainedPath(slashed);
}

bool IsSha256Text(const QString &text)
{
    if (text.size() != 64)
        return false;
    for (const QChar ch : text) {
        if (!ch.isDigit() && !(ch.toLower() >= u'a' && ch.toLower() <= u'f'))
            return false;
    }
    return true;
}

QString Joined(const QString &folder, const QString &relative)
{
    if (folder.isEmpty() || relative.isEmpty())
        return folder + relative;
    return folder + u'/' + relative;
}

QByteArray Native(const QString &path)
{
    return EncodeNativeName(path);
}

bool Exists(const QString &path)
{
    struct stat info {};
    return ::lstat(Native(path).constData(), &info) == 0;
}

std::optional<SPlannedFile> PlanRecord(const QString &record, QString *error)
{
    const std::optional<QString> name = ContainedPath(RecordField(record, 1));
    const std::optional<QString> folder = TargetFolder(RecordField(record, 4));
    const QString checksum = RecordField(record, 5).trimmed();
    if (!name || name->isEmpty() || !folder || (!checksum.isEmpty() && !IsSha256Text(checksum))) {
        *error = u"refused record: "_s + record;
        return std::nullopt;
    }
    const QString target = Joined(*folder, *name);
    const QString journal = QString::fromUtf16(kUpdateJournalName);
    if (target == journal || target == journal + u".new"_s) {
        *error = u"refused record: "_s + record;
        return std::nullopt;
    }
    return SPlannedFile{*name, target, checksum.toLower()};
}

// Every record is checked before anything is fetched or written. Two records for one target
// would replace the first new file (and its backup) with the second: the package is refused.
bool PlanPackage(const SUpdaterRequest &request, QList<SPlannedFile> &plans, QString *error)
{
    QSet<QString> targets;
    for (const QString &record : request.fileRecords) {
        const std::optional<SPlannedFile> plan = PlanRecord(record, error);
        if (!plan)
            return false;
        if (targets.contains(plan->strTarget)) {
            *error = u"two records for one target: "_s + plan->strTarget;
            return false;
        }
        targets.insert(plan->strTarget);
        plans.append(*plan);
    }
    return true;
}

bool FetchMissing(const SUpdaterRequest &request, const SPlannedFile &plan, CAutoUpdater &fetcher, QString *error)
{
    const QString source = request.strUpdateFolder + u'/' + plan.strName;
    if (!QFileInfo(source).isFile())
        fetcher.Download(plan.strName, request.strUpdateFolder);
    if (!QFileInfo(source).isFile()) {
        *error = u"missing update file: "_s + plan.strName;
        return false;
    }
    return true;
}

bool CopyInto(const QString &source, int handle)
{
    QFile input(source);
    if (!input.open(QIODevice::ReadOnly))
        return false;
    QByteArray block(kCopyBlock, Qt::Uninitialized);
    for (;;) {
        const qint64 got = input.read(block.data(), block.size());
        if (got < 0)
            return false;
        if (got == 0)
            return ::fsync(handle) == 0;
        qint64 done = 0;
        while (done < got) {
            const ssize_t written = ::write(handle, block.constData() + done, size_t(got - done));
            if (written < 0 && errno == EINTR)
                continue;
            if (written <= 0)
                return false;
            done += written;
        }
    }
}

QString RandomToken()
{
    static constexpr char kLetters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    QString token;
    for (int i = 0; i < 6; ++i)
        token += QLatin1Char(kLetters[QRandomGenerator::system()->bounded(int(sizeof kLetters) - 1)]);
    return token;
}

// Hidden names beside the target, relative to the program folder, that nothing has yet: the
// stage file of the new content and the old file's second name.
std::optional<SJournalEntry> NamesBeside(const QString &programFolder, const QString &target, bool hadOld)
{
    const qsizetype slash = target.lastIndexOf(u'/');
    const QString folder = slash < 0 ? QString() : target.left(slash);
    for (int attempt = 0; attempt < 16; ++attempt) {
        const QString base = Joined(folder, u"."_s + target.mid(slash + 1) + u'.' + RandomToken());
        SJournalEntry entry{target, base + QString::fromLatin1(kStageEnding),
                            hadOld ? base + QString::fromLatin1(kBackupEnding) : QString()};
        if (!Exists(programFolder + u'/' + entry.strStage)
            && (entry.strBackup.isEmpty() || !Exists(programFolder + u'/' + entry.strBackup)))
            return entry;
    }
    return std::nullopt;
}

bool WriteStage(const QString &path, const QString &source, mode_t mode)
{
    const int handle = ::open(Native(path).constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (handle < 0)
        return false;
    const bool copied = CopyInto(source, handle) && ::fchmod(handle, mode) == 0;
    ::close(handle);
    return copied;
}

// Copies the new file beside its target under a new name, noted in the journal before it is
// made, and checks it.
std::optional<SStagedFile> StageFile(const SUpdaterRequest &request, const SPlannedFile &plan,
                                     CUpdateJournalFile &journal, QString *error)
{
    const QString source = request.strUpdateFolder + u'/' + plan.strName;
    const QString target = request.strProgramFolder + u'/' + plan.strTarget;
    struct stat old {};
    const bool hadOld = ::lstat(Native(target).constData(), &old) == 0;
    if (hadOld && S_ISDIR(old.st_mode)) {
        *error = u"a folder has the name of "_s + target;
        return std::nullopt;
    }
    const mode_t mode = hadOld ? (old.st_mode & 07777)
                               : (QFileInfo(source).permissions() & QFileDevice::ExeOwner ? 0755 : 0644);
    std::optional<SJournalEntry> names;
    if (QDir().mkpath(QFileInfo(target).absolutePath()))
        names = NamesBeside(request.strProgramFolder, plan.strTarget, hadOld);
    if (!names || !journal.Add(*names) || !WriteStage(request.strProgramFolder + u'/' + names->strStage, source, mode)) {
        *error = u"cannot copy "_s + source;
        return std::nullopt;
    }
    if (!plan.strChecksum.isEmpty() && FileSha256(request.strProgramFolder + u'/' + names->strStage) != plan.strChecksum) {
        *error = u"checksum mismatch: "_s + source;
        return std::nullopt;
    }
    return SStagedFile{plan, names->strStage, names->strBackup};
}

// Before the journal is sealed only stage files exist; they go, and so does the journal.
void DropStagedFiles(const QString &programFolder, CUpdateJournalFile &journal)
{
    for (const SJournalEntry &entry : journal.Journal().entries)
        ::unlink(Native(programFolder + u'/' + entry.strStage).constData());
    journal.Finish();
}

// The old file gets its second name first; where the file system has no hard links, a copy
// made durable stands in.
bool MakeBackup(const QString &target, const QString &backup)
{
    if (::link(Native(target).constData(), Native(backup).constData()) == 0)
        return true;
    if (errno != EPERM && errno != EOPNOTSUPP && errno != EMLINK)
        return false;
    const int handle = ::open(Native(backup).constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (handle < 0)
        return false;
    const bool copied = CopyInto(target, handle);
    ::close(handle);
    return copied;
}

// The target name holds a complete program at every moment: the old file until the rename,
// the new one after it.
bool CommitFile(const QString &programFolder, const SStagedFile &file, const std::function<void()> &afterEachChange)
{
    const QString target = programFolder + u'/' + file.plan.strTarget;
    if (!file.strBackup.isEmpty()) {
        if (!MakeBackup(target, programFolder + u'/' + file.strBackup))
            return false;
        afterEachChange();
    }
    if (std::rename(Native(programFolder + u'/' + file.strStage).constData(), Native(target).constData()) != 0)
        return false;
    afterEachChange();
    return true;
}

} // namespace

std::optional<SUpdaterRequest> ParseUpdaterArguments(const QStringList &arguments)
{
    if (arguments.size() < 5 || !arguments[4].startsWith(u"[KILL]|"_s, Qt::CaseInsensitive))
        return std::nullopt;
    SUpdaterRequest request{arguments[0], arguments[1], arguments[2], arguments[3], RecordField(arguments[4], 1), {}};
    for (qsizetype i = 5; i < arguments.size(); ++i) {
        if (arguments[i].startsWith(u"[FILE]|"_s, Qt::CaseInsensitive))
            request.fileRecords.append(arguments[i]);
    }
    if (request.strProgramFolder.isEmpty() || request.strUpdateFolder.isEmpty())
        return std::nullopt;
    return request;
}

QString ResolveProgramFile(const QString &programFolder, const QString &killName)
{
    if (killName.isEmpty() || killName.contains(u'/') || killName.contains(u'\\'))
        return {};
    QString bare = killName;
    if (bare.endsWith(u".exe"_s, Qt::CaseInsensitive))
        bare.chop(4);
    const QDir folder(programFolder);
    QString found;
    for (const QString &name : folder.entryList(QDir::Files)) {
        if (name == killName || name == bare)
            return folder.filePath(name);
        if (found.isEmpty() && (name.compare(killName, Qt::CaseInsensitive) == 0 || name.compare(bare, Qt::CaseInsensitive) == 0))
            found = folder.filePath(name);
    }
    return found;
}

bool WaitForProgramExit(const QString &path, int timeoutMs)
{
    const QString wanted = QFileInfo(path).canonicalFilePath();
    if (wanted.isEmpty())
        return true; // no such program, so nothing runs it
    const QDeadlineTimer deadline(timeoutMs);
    for (;;) {
        bool running = false;
        for (const QString &pid : QDir(u"/proc"_s).entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
            if (pid.toInt() <= 0 || pid.toInt() == int(::getpid()))
                continue;
            if (QFile::symLinkTarget(u"/proc/"_s + pid + u"/exe"_s) == wanted) {
                running = true;
                break;
            }
        }
        if (!running)
            return true;
        if (deadline.hasExpired())
            return false;
        QThread::msleep(200);
    }
}

QString FileSha256(const QString &path)
{
    QFile file(path);
    QCryptographicHash hash(QCryptographicHash::Sha256);
    if (!file.open(QIODevice::ReadOnly) || !hash.addData(&file))
        return {};
    return QString::fromLatin1(hash.result().toHex());
}

bool InstallUpdateFiles(const SUpdaterRequest &request, QString *error, const std::function<void()> &afterEachChange)
{
    const std::function<void()> step = afterEachChange ? afterEachChange : [] {};
    const QString &programFolder = request.strProgramFolder;
    if (!RecoverInterruptedUpdate(programFolder, error))
        return false;
    QList<SPlannedFile> plans;
    if (!PlanPackage(request, plans, error))
        return false;
    CAutoUpdater fetcher;
    fetcher.SetBaseUrl(request.strBaseUrl);
    for (const SPlannedFile &plan : plans) {
        if (!FetchMissing(request, plan, fetcher, error))
            return false;
    }
    CUpdateJournalFile journal(programFolder);
    if (!journal.Begin()) {
        *error = u"cannot write the update journal in "_s + programFolder;
        return false;
    }
    QList<SStagedFile> files;
    for (const SPlannedFile &plan : plans) {
        std::optional<SStagedFile> file = StageFile(request, plan, journal, error);
        if (!file) {
            DropStagedFiles(programFolder, journal);
            return false;
        }
        files.append(*file);
        step();
    }
    if (!journal.Seal()) {
        *error = u"cannot write the update journal in "_s + programFolder;
        DropStagedFiles(programFolder, journal);
        return false;
    }
    step();
    for (const SStagedFile &file : files) {
        if (!CommitFile(programFolder, file, step)) {
            *error = u"cannot replace "_s + programFolder + u'/' + file.plan.strTarget;
            UndoInstall(programFolder, journal.Journal());
            journal.Finish();
            return false;
        }
    }
    // Once the journal says so, the new files are the program, and the old ones may go.
    if (!journal.MarkDone()) {
        *error = u"cannot write the update journal in "_s + programFolder;
        UndoInstall(programFolder, journal.Journal());
        journal.Finish();
        return false;
    }
    step();
    for (const SStagedFile &file : files) {
        if (!file.strBackup.isEmpty())
            ::unlink(Native(programFolder + u'/' + file.strBackup).constData());
    }
    step();
    journal.Finish();
    return true;
}

} // namespace velmora
