#include "app/cli/UpdateCommand.h"

#include "update/AutoUpdater.h"
#include "update/ProfileFile.h"
#include "update/UpdateManifest.h"
#include "update/UpdateRun.h"
#include "update/UpdateSettings.h"

#include <QFile>
#include <cstdio>

namespace velmora {

using namespace Qt::Literals::StringLiterals;

namespace {

int Fail(const QString &text)
{
    std::fprintf(stderr, "velmora: %s\n", text.toUtf8().constData());
    return 2;
}

void Print(const QString &text)
{
    std::printf("%s\n", text.toUtf8().constData());
}

// Only "--check" and "--host HOST"; no host given leaves *host empty (the setting then).
bool ParseUpdateOptions(const QStringList &arguments, QString *host)
{
    bool check = false;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        if (arguments[i] == u"--check"_s)
            check = true;
        else if (arguments[i] == u"--host"_s && i + 1 < arguments.size())
            *host = arguments[++i];
        else
            return false;
    }
    return check;
}

int ReportOffer(const QStringList &records)
{
    const SManifestOffer offer = EvaluateOffer(records);
    if (!offer.bHeader)
        return Fail(u"the server sent no manifest header (no update information)"_s);
    Print(u"Offered: %1 %2"_s.arg(offer.strOfferedName, offer.strOfferedVersion));
    Print(u"Running: %1 %2"_s.arg(offer.strProgramName, offer.strProgramVersion));
    for (const QString &record : records)
        Print(u"  "_s + record);
    if (!offer.IsForProgram()) {
        Print(u"Up to date (the manifest is for another program)"_s);
        return 0;
    }
    if (offer.nComparison == -21)
        return Fail(u"the offered version is malformed: "_s + offer.strOfferedVersion);
    if (offer.nComparison == -22)
        return Fail(u"this program has no version"_s);
    if (offer.IsNewer()) {
        Print(u"Update available: "_s + offer.strOfferedVersion);
        return 1;
    }
    Print(u"Up to date ("_s + offer.strProgramVersion + u')');
    return 0;
}

} // namespace

int RunUpdateCommand(const QStringList &arguments)
{
    QString host;
    if (!ParseUpdateOptions(arguments, &host))
        return Fail(u"usage: velmora update --check [--host HOST] (see velmora --help)"_s);
    if (host.isEmpty())
        host = UpdateHost();
    if (host.isEmpty())
        return Fail(u"no update host is set (setting Update/Host, or --host)"_s);
    if (!IsPlausibleHost(host))
        return Fail(u"not a host name: "_s + host);
    const QString folder = UpdateFolder();
    const QString manifest = QString::fromUtf16(kStartupManifest);
    if (!PrepareUpdateFolder(folder, manifest))
        return Fail(u"no private update folder can be had"_s);
    CAutoUpdater updater;
    updater.SetBaseUrl(UpdateBaseUrls(host).value(0) + QString::fromUtf16(kUpdateChannel) + u'/');
    const int code = updater.Download(manifest, folder);
    if (code != kDownloadDone)
        return Fail(u"cannot fetch %1 (download code %2)"_s.arg(updater.BaseUrl() + manifest).arg(code));
    const QString path = folder + u'/' + manifest;
    CProfileFile profile;
    const bool read = profile.Load(path);
    QFile::remove(path);
    if (!read)
        return Fail(u"the manifest cannot be read (missing or larger than 16 MiB)"_s);
    return ReportOffer(BuildManifestRecords(profile));
}

} // namespace velmora
