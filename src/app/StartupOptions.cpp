#include "app/StartupOptions.h"

namespace velmora {

bool IsNoUpdateSwitch(const QString &argument)
{
    return argument.compare(QStringLiteral("-iDodOdevOdiviz"), Qt::CaseInsensitive) == 0;
}

SStartupOptions ReadStartupOptions(const QStringList &arguments)
{
    SStartupOptions options;
    for (const QString &argument : arguments) {
        if (IsNoUpdateSwitch(argument))
            options.nUpdateType = 0;
        else if (options.strFolder.isEmpty())
            options.strFolder = argument;
    }
    return options;
}

} // namespace velmora
