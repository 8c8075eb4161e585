#pragma once

#include "TestSupport.h"

#include "check/DirItemList.h"

#include <QDir>
#include <QTemporaryDir>

namespace velmora::test {

// A folder of files to check, the list, and run logs captured for the test.
class CCheckFixture
{
public:
    QString Path(const QString &name) const { return QDir(m_dir.path()).filePath(name); }
    QString Root() const { return m_dir.path(); }
    void AddFile(const QString &name, const QByteArray &bytes = "data") { WriteBytes(Path(name), bytes); }
    void AddFolder(const QString &name) { QDir(m_dir.path()).mkpath(name); }

    QStringList FileNames() const
    {
        QStringList names;
        for (int i = 0; i < list.GetItemCount(); ++i)
            names.append(list.Item(i).szFileName.Text());
        return names;
    }

    QTemporaryDir m_dir;
    CLogCapture capture;
    CDirItemList list;
};

} // namespace velmora::test
