#pragma once

#include <QString>
#include <QStringList>

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
// not there) into the program folder, all or nothing: every file is copied beside its
// place and checked first, then each replaces its old file by rename, the old one kept as
// ".bak" until the new one is in place. A failure puts every old file back. *error says
// what failed.
bool InstallUpdateFiles(const SUpdaterRequest &request, QString *error);

} // namespace velmora
