#include "fuzz/ScratchFile.h"

#include <QDir>
#include <QFile>

#include <unistd.h>

namespace velmora::fuzz {

using namespace Qt::Literals::StringLiterals;

namespace {

class CScratchFolder
{
public:
    CScratchFolder()
        : m_path((QDir(u"/dev/shm"_s).exists() ? u"/dev/shm"_s : QDir::tempPath())
                 + u"/velmora-fuzz-%1"_s.arg(getpid()))
    {
        QDir().mkpath(m_path);
    }
    ~CScratchFolder() { QDir(m_path).removeRecursively(); }
    CScratchFolder(const CScratchFolder &) = delete;
    CScratchFolder &operator=(const CScratchFolder &) = delete;

    const QString &Path() const { return m_path; }

private:
    QString m_path;
};

} // namespace

QString WriteScratchFile(const QString &name, QByteArrayView data)
{
    static const CScratchFolder folder;
    QFile file(folder.Path() + u'/' + name);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(data.data(), data.size()) != data.size())
        return {};
    return file.fileName();
}

} // namespace velmora::fuzz
