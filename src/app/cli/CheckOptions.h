#pragma once

#include <QString>
#include <QStringList>
#include <optional>

namespace velmora {

enum class EOutputFormat { Text, Json, Csv };

// What a move does with a target that exists: keep it (the default) or replace it.
enum class EExistingTarget { Keep, Overwrite };

struct SCheckOptions
{
    bool bSongs = false;
    bool bSubfolders = false;
    bool bTrace = false;
    bool bQuiet = false;   // no progress line on a terminal
    EOutputFormat format = EOutputFormat::Text;
    QString strDataDir;
    int nAnsiCodePage = 0; // 0: as configured
    QString strEngine;     // empty: as configured
    int nJobs = 0;         // 0: as configured
    bool bNoCache = false; // read every file, neither using nor filling the results cache
    bool bFullCheck = false; // check an unchanged tree in full instead of replaying the kept check
    QString strFolder;
    QString strMoveTo;     // empty: no move after the check
    EExistingTarget existing = EExistingTarget::Keep;
    bool bDryRun = false;
    bool bVerify = false;       // verify every song after the song check
    bool bOnlyProblems = false; // print only the rows with a problem
};

// Reads the arguments that follow "check"; on a usage error returns nullopt and sets *error.
std::optional<SCheckOptions> ParseCheckOptions(const QStringList &arguments, QString *error);

} // namespace velmora
