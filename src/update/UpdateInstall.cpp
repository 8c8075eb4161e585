#include "update/UpdateInstall.h"

#include "update/AutoUpdater.h"
#include "update/UpdateManifest.h"

#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QThread>

#include <cerrno>
#include <cstdio>
#include <unistd.h>

namespace velmora {

using namespace Qt::Literals::StringLiterals;

namespace {

struct SStagedFile
{
    QString strSource;
    QString strTarget;
    QString strStage;
    QString strBackup;
    QString strChecksum;
    bool bHadOld = false;
    bool bBackupMade = false;
    bool bCommitted = false;
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

// LOCALDIR names a folder below the program folder. The maker's absolute Windows folders
// have no meaning here and stand for the program folder itself.
std::optional<QString> TargetFolder(const QString &programFolder, const QString &localDir)
{
    const QString slashed = QString(localDir).replace(u'\\', u'/');
    if (slashed.isEmpty() || slashed.startsWith(u'/') || (slashed.size() >= 2 && slashed.at(1) == u':'))
        return programFolder;
    const std::optional<QString> relative = ContainedPath(slashed);
    if (!relative)
        return std::nullopt;
    return relative->isEmpty() ? programFolder : programFolder + u'/' + *relative;
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

bool StageFile(SStagedFile &file, QString *error)
{
    QFile::remove(file.strStage);
    if (!QDir().mkpath(QFileInfo(file.strTarget).absolutePath()) || !QFile::copy(file.strSource, file.strStage)) {
        *error = u"cannot copy "_s + file.strSource;
        return false;
    }
    if (!file.strChecksum.isEmpty() && FileSha256(file.strStage) != file.strChecksum.toLower()) {
        *error = u"checksum mismatch: "_s + file.strSource;
        return false;
    }
    file.bHadOld = QFileInfo::exists(file.strTarget);
    const QFileDevice::Permissions mode = file.bHadOld ? QFile::permissions(file.strTarget)
                                                       : QFile::permissions(file.strSource) | QFileDevice::ReadOwner;
    if (!QFile::setPermissions(file.strStage, mode)) {
        *error = u"cannot set the mode of "_s + file.strStage;
        return false;
    }
    return true;
}

bool Rename(const QString &from, const QString &to)
{
    return std::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) == 0;
}

// The old file stays as .bak (a second name of the same file) while the new one is renamed
// over it, so at every moment the target name holds a complete program.
bool CommitFile(SStagedFile &file)
{
    if (file.bHadOld) {
        QFile::remove(file.strBackup);
        if (::link(QFile::encodeName(file.strTarget).constData(), QFile::encodeName(file.strBackup).constData()) != 0
            && !QFile::copy(file.strTarget, file.strBackup))
            return false;
        file.bBackupMade = true;
    }
    file.bCommitted = Rename(file.strStage, file.strTarget);
    return file.bCommitted;
}

void RollBack(QList<SStagedFile> &files)
{
    for (SStagedFile &file : files) {
        if (file.bCommitted && file.bBackupMade)
            Rename(file.strBackup, file.strTarget);
        else if (file.bCommitted)
            QFile::remove(file.strTarget);
        else if (file.bBackupMade)
            QFile::remove(file.strBackup);
        QFile::remove(file.strStage);
    }
}

std::optional<SStagedFile> PlanFile(const SUpdaterRequest &request, const QString &record, CAutoUpdater &fetcher,
                                    QString *error)
{
    const std::optional<QString> name = ContainedPath(RecordField(record, 1));
    const std::optional<QString> folder = TargetFolder(request.strProgramFolder, RecordField(record, 4));
    const QString checksum = RecordField(record, 5).trimmed();
    if (!name || name->isEmpty() || !folder || (!checksum.isEmpty() && !IsSha256Text(checksum))) {
        *error = u"refused record: "_s + record;
        return std::nullopt;
    }
    SStagedFile file;
    file.strSource = request.strUpdateFolder + u'/' + *name;
    if (!QFileInfo(file.strSource).isFile())
        fetcher.Download(*name, request.strUpdateFolder);
    if (!QFileInfo(file.strSource).isFile()) {
        *error = u"missing update file: "_s + *name;
        return std::nullopt;
    }
    file.strTarget = *folder + u'/' + *name;
    const QFileInfo target(file.strTarget);
    file.strStage = target.absolutePath() + u"/."_s + target.fileName() + u".new"_s;
    file.strBackup = file.strTarget + u".bak"_s;
    file.strChecksum = checksum;
    return file;
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

bool InstallUpdateFiles(const SUpdaterRequest &request, QString *error)
{
    CAutoUpdater fetcher;
    fetcher.SetBaseUrl(request.strBaseUrl);
    QList<SStagedFile> files;
    for (const QString &record : request.fileRecords) {
        std::optional<SStagedFile> file = PlanFile(request, record, fetcher, error);
        if (!file) {
            RollBack(files);
            return false;
        }
        files.append(*file);
        if (!StageFile(files.last(), error)) {
            RollBack(files);
            return false;
        }
    }
    for (SStagedFile &file : files) {
        if (!CommitFile(file)) {
            *error = u"cannot replace "_s + file.strTarget;
            RollBack(files);
            return false;
        }
    }
    for (const SStagedFile &file : files)
        QFile::remove(file.strBackup);
    return true;
}

} // namespace velmora
