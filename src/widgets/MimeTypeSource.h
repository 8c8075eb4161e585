#pragma once

#include "widgets/ShGetFileInfo.h"

#include <QMimeDatabase>

namespace velmora {

// Type names from the MIME database's description of a file name, and icon indices into a
// process-wide list of icon names (the window maps those names to pictures).
class CMimeTypeSource final : public IShellTypeSource
{
public:
    QString TypeNameOf(const QString &path) override;
    int IconIndexOf(const QString &path, bool isFolder, bool open) override;

    // The icon names in index order.
    static const QStringList &IconNames();

private:
    static int IndexOfIcon(const QString &name);

    QMimeDatabase m_database;
};

} // namespace velmora
