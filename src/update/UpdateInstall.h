#pragma once

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

namespace velmora {

// What the program hands its updater (see UpdaterArguments).
struct SUpdaterRequest
{
    QString strBaseUrl;
    QString strProgramFolder;
    QString strUserFolder;
    QString strUpdateFolder;
    QString strKillName;      // the program to wait for, as the [KILL] record names it
    QStringList fileRecords;  // the "[FILE]|…" records, in order
};
std::optional<SUpdaterRequest> ParseUpdaterArguments(const QStringList &arguments);

// The file in programFolder that killName ("Velmora.exe") stands for: the same name without
// regard to case, with or without ".exe". Empty when there is none.
QString ResolveProgramFile(const QString &programFolder, const QString &killName);

// Waits until no process runs the executable at path; false when one still does after
// timeoutMs.
bool WaitForProgramExit(const QString &path, int timeoutMs);

// The SHA-256 of a file in lower-case hex; empty when it cannot be read.
QString FileSha256(const QString &path);

// Installs every [FILE] record from the update folder (fetching from the base URL what is
// not there) into the program folder, all or nothing. First an install that was cut short
// earlier is undone (UpdateJournal.h). Then every record is checked, and a package with a
// refused record or two records for one target is refused before anything is touched. Every
// file is copied beside its place under a new name and checked; a journal lists the changes;
// then each new file is renamed over its target while the old one keeps a second name. A
// failure, or a crash undone later, leaves every old file as it was. *error says what
// failed. afterEachChange runs after each change to the program folder (tests stop there).
bool InstallUpdateFiles(const SUpdaterRequest &request, QString *error,
                        const std::function<void()> &afterEachChange = {});

} // namespace velmora
