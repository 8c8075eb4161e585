#include "update/UpdateRun.h"

#include "base/TraceDebug.h"
#include "base/UserPaths.h"
#include "update/AutoUpdater.h"
#include "update/UpdateManifest.h"
#include "update/UpdateSettings.h"
#include "update/UpdaterLaunch.h"
#include "update/UpdateVersion.h"
#include "update/ZipArchive.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace velmora {

using namespace Qt::Literals::StringLiterals;

namespace {

QString JoinPath(const QString &folder, const QString &name)
{
    return (folder.endsWith(u'/') ? folder : folder + u'/') + name;
}

// The package's items fit the limits; a bomb or a flood of names is refused before any
// byte is written.
bool IsReasonablePackage(CZipArchive *archive, int *count)
{
    SZipEntry all;
    if (DescribeItem(archive, -1, all) != ZR_OK || all.nIndex > kMaxPackageItems)
        return false;
    qint64 total = 0;
    for (int i = 0; i < all.nIndex; ++i) {
        SZipEntry item;
        if (DescribeItem(archive, i, item) != ZR_OK)
            return false;
        total += std::max<qint64>(0, item.nUncompressedSize);
        if (total > kMaxPackageBytes)
            return false;
    }
    *count = all.nIndex;
    return true;
}

// Extracts every item below folder and returns the name of the last one ("" for none).
QString UnpackPackage(const QString &archivePath, const QString &folder)
{
    HZIP archive = OpenArchive(archivePath, folder);
    if (!archive)
        return {};
    QString last;
    int count = 0;
    if (IsReasonablePackage(archive.get(), &count)) {
        for (int i = 0; i < count; ++i) {
            SZipEntry item;
            if (DescribeItem(archive.get(), i, item) == ZR_OK && ExtractItemToFile(archive.get(), i, item.strName) == ZR_OK)
                last = item.strName;
        }
    }
    CloseArchive(archive);
    return last;
}

} // namespace

bool PrepareUpdateFolder(const QString &folder, const QString &manifest)
{
    if (folder.isEmpty())
        return false;
    QDir dir(folder);
    if (!dir.exists())
        return QDir().mkpath(folder);
    for (const QString &name : {u"update-copy.ini"_s, u"update-debug.ini"_s, u"update-last.ini"_s,
                                u"update-manual.ini"_s, manifest, u"DodOdevOdiviz.zip"_s, u"DodOdevOdiviz.exe"_s}) {
        const QFileInfo leftover(dir.filePath(name));
        if (leftover.isFile() || leftover.isSymLink())
            QFile::remove(leftover.filePath());
    }
    return true;
}

bool IsPlainFileName(const QString &name)
{
    return !name.isEmpty() && name != u"."_s && name != u".."_s && !name.contains(u'/') && !name.contains(u'\\')
        && !name.contains(u':') && !name.contains(QChar(0));
}

bool MustFetchPackage(const QString &local, const QString &version, const QString &buildDate, const QDate &today)
{
    const QFileInfo info(local);
    if (!info.exists())
        return true;
    const QString localVersion = FileVersionString(local);
    // The package's date is when it was written here, which is its modification time.
    const QString localDate = FileDateString(info.lastModified());
    TraceDebug(u"update file : %s, %s\r\n", localVersion, localDate);
    TraceDebug(u"update : %s, %s\r\n", version, buildDate);
    bool fetch = false;
    if (!version.isEmpty()) {
        fetch = CompareVersions(version, localVersion) == 1;
        TraceDebug(u"strVersion %d : (%s, %s)\r\n", int(fetch), version, localVersion);
    } else if (!buildDate.isEmpty()) {
        fetch = buildDate.compare(localDate, Qt::CaseInsensitive) > 0;
        TraceDebug(u"strBuildDate %d : (%s, %s)\r\n", int(fetch), buildDate, localDate);
    }
    if (!fetch) {
        const QString todayText = LocalDateString(today);
        fetch = localDate != todayText;
        TraceDebug(u"GetLocalTime %d : (%s, %s)\r\n", int(fetch), todayText, localDate);
    }
    return fetch;
}

QString CheckUpdate(QStringList &records, CAutoUpdater &updater, const QString &folder)
{
    const qsizetype at = FindRecord(records, u"[UPDATE]");
    if (at < 0)
        return {};
    const QString record = records.takeAt(at);
    const QString fileName = RecordField(record, 1);
    if (!IsPlainFileName(fileName)) {
        TraceDebug(u"CheckUpdate() refused file name %s\r\n", fileName);
        return {};
    }
    QString local = JoinPath(folder, fileName);
    TraceDebug(u"CheckUpdate() %s\r\n", local);
    if (!MustFetchPackage(local, RecordField(record, 2), RecordField(record, 3)))
        return local;
    TraceDebug(u"UPDATE FILE : (%s, %s)\r\n", fileName, folder);
    updater.Download(fileName, folder);
    if (fileName.endsWith(u".zip"_s, Qt::CaseInsensitive)) {
        const QString last = UnpackPackage(local, folder);
        if (!last.isEmpty())
            local = JoinPath(folder, last);
        TraceDebug(u"UPDATE DECOMPRESS : (%s)\n", local);
        QFile::remove(JoinPath(folder, fileName));
    }
    return local;
}

QStringList UpdaterArguments(const QString &channelUrl, const QString &folder, const QStringList &records)
{
    QStringList arguments{channelUrl, ProgramFolder(), UserDataPath(), folder, u"[KILL]|Velmora.exe||"_s};
    arguments += records;
    return arguments;
}

QString UpdaterParameterText(const QStringList &arguments)
{
    QString text = arguments.value(0);
    for (qsizetype i = 1; i < arguments.size(); ++i)
        text += u" \""_s + arguments[i] + u'"';
    return text;
}

QStringList UpdateBaseUrls(const QString &host)
{
    return {Format(u"http://%s/dododevodiviz/velmora/", host) + u"x86/"_s};
}

SUpdateRun RunUpdate(const QString &host, const QString &folder, const QString &channel, const QString &manifest,
                     int check, bool silent)
{
    TraceDebug(u"RunDodOdevOdiviz() : path=%s, file=%s, check=%x\r\n", channel, manifest, check);
    const QString lowerChannel = channel.toLower();
    const QString lowerManifest = manifest.toLower();
    if (check && lowerManifest.contains(u"-debug"_s))
        check = 0;
    SUpdateRun run;
    if (!IsPlausibleHost(host) || folder.isEmpty())
        return run;
    CAutoUpdater updater;
    for (const QString &base : UpdateBaseUrls(host)) {
        QStringList records;
        const QString channelUrl = (base + lowerChannel + u'/').toLower();
        updater.SetBaseUrl(channelUrl);
        if (updater.Download(lowerManifest, folder) != kDownloadDone)
            continue;
        const QString manifestPath = JoinPath(folder, lowerManifest);
        if (!ReadManifest(manifestPath, records, silent)) {
            const SManifestOffer offer = EvaluateOffer(records);
            run.strOfferedVersion = offer.strOfferedVersion;
            // A No stops the run even when the versions need not be checked: nothing is
            // installed against the user's answer.
            const bool declined = offer.IsNewer() && !silent;
            if (check || declined) {
                run.eResult = declined ? EUpdateRun::Declined : EUpdateRun::NoUpdate;
                QFile::remove(manifestPath);
                return run;
            }
        }
        const QString updaterPath = CheckUpdate(records, updater, folder);
        TraceDebug(u"strAutoupdate : %s\r\n", updaterPath);
        if (updaterPath.isEmpty() || !QFileInfo(updaterPath).isFile()) {
            run.eResult = EUpdateRun::NoUpdater;
            continue;
        }
        const QStringList arguments = UpdaterArguments(channelUrl, folder, records);
        TraceDebug(u"strParameters = %s\n", UpdaterParameterText(arguments));
        const QString verb = UpdaterVerb(ProgramFolder());
        TraceDebug(u"ShellExecuteEx (%s, %s)\n", verb, updaterPath);
        StartUpdater(verb, updaterPath, arguments);
        run.eResult = EUpdateRun::Started;
        return run;
    }
    return run;
}

int RunDodOdevOdiviz(const QString &folder, const QString &channel, const QString &manifest, int check, int silent)
{
    return RunUpdate(UpdateHost(), folder, channel, manifest, check, silent != 0).eResult == EUpdateRun::Started ? 0 : 1;
}

} // namespace velmora
