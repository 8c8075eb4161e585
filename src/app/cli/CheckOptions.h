#pragma once

#include <QString>
#include <QStringList>
#include <optional>

namespace velmora {

enum class EOutputFormat { Text, Json, Csv };

struct SCheckOptions
{
    bool bSongs = false;
    bool bSubfolders = false;
    bool bTrace = false;
    EOutputFormat format = EOutputFormat::Text;
    QString strDataDir;
    int nAnsiCodePage = 0; // 0: as configured
    QString strEngine;     // empty: as configured
    int nJobs = 0;         // 0: as configured
    QString strFolder;
};

// Reads the arguments that follow "check"; on a usage error returns nullopt and sets *error.
std::optional<SCheckOptions> ParseCheckOptions(const QStringList &arguments, QString *error);

} // namespace velmora
