#pragma once

#include <QDate>
#include <QString>
#include <QStringList>

namespace velmora {

class CAutoUpdater;

// Empties the update folder of what earlier runs left (the manifests, the updater package
// and the updater), or creates it. False for an empty folder path, which is left alone.
bool PrepareUpdateFolder(const QString &folder, const QString &manifest);

// An [UPDATE] FILENAME names a file directly in the channel folder: no separator, no parent
// step, no drive and nothing absolute.
bool IsPlainFileName(const QString &name);

// Whether the updater package at local must be fetched, given the [UPDATE] record's
// VERSION and BUILDDATE: when it is missing, older, built earlier, or not made today.
bool MustFetchPackage(const QString &local, const QString &version, const QString &buildDate,
                      const QDate &today = QDate::currentDate());

// A package is refused when it holds more than this in all or more items than this.
constexpr qint64 kMaxPackageBytes = qint64(256) << 20;
constexpr int kMaxPackageItems = 1000;

// Takes the [UPDATE] record out of records, fetches and unpacks its package into folder and
// returns the updater's path ("" without an [UPDATE] record, or when its FILENAME is not a
// plain file name, before anything is touched). Archive items are extracted below folder
// only; the archive is deleted afterwards.
QString CheckUpdate(QStringList &records, CAutoUpdater &updater, const QString &folder);

// How an update run ended; RunDodOdevOdiviz gives 0 for Started and 1 for the others.
enum class EUpdateRun { Started, NoManifest, NoUpdate, Declined, NoUpdater };

struct SUpdateRun
{
    EUpdateRun eResult = EUpdateRun::NoManifest;
    QString strOfferedVersion;
};

// The updater's parameters in their order: the channel folder URL, the program folder, the
// user data folder, the update folder, the [KILL] record, then the records (header and
// files). The text form quotes every parameter but the first.
QStringList UpdaterArguments(const QString &channelUrl, const QString &folder, const QStringList &records);
QString UpdaterParameterText(const QStringList &arguments);

// "open" when the program folder is ours to write, "runas" (through pkexec) when it is not.
QString UpdaterVerb(const QString &programFolder);

// The update run against host: fetch manifest into folder, decide (asking the user), fetch the
// updater package and start the updater. check 1 updates only to a newer version (a
// manifest name with "-debug" clears it).
SUpdateRun RunUpdate(const QString &host, const QString &folder, const QString &channel, const QString &manifest,
                     int check, bool silent);
int RunDodOdevOdiviz(const QString &folder, const QString &channel, const QString &manifest, int check, int silent);

// The channel folder URLs of host, tried in order.
QStringList UpdateBaseUrls(const QString &host);

} // namespace velmora
