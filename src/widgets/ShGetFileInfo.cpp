#include "widgets/ShGetFileInfo.h"

#include "widgets/MimeTypeSource.h"

namespace velmora {

using namespace Qt::Literals::StringLiterals;

namespace {
constexpr qsizetype kTypeNameMax = 79;
}

CShGetFileInfo &CShGetFileInfo::Instance()
{
    static CShGetFileInfo instance(std::make_unique<CMimeTypeSource>());
    return instance;
}

CShGetFileInfo::CShGetFileInfo(std::unique_ptr<IShellTypeSource> source)
    : m_source(std::move(source))
{
}

QString CShGetFileInfo::ExtensionOfPath(const QString &path)
{
    const qsizetype dot = path.lastIndexOf(u'.');
    return dot < 0 ? QString() : path.mid(dot);
}

QString CShGetFileInfo::ShellTypeName(const QString &path)
{
    QString name = m_source->TypeNameOf(path).left(kTypeNameMax);
    if (!name.isEmpty())
        return name;
    const qsizetype lastSeparator = path.lastIndexOf(u'/');
    const qsizetype dot = path.lastIndexOf(u'.');
    if (dot > lastSeparator)
        return (path.mid(dot + 1).toUpper() + u" File"_s).left(kTypeNameMax);
    return u"File"_s;
}

const CShGetFileInfo::SEntry &CShGetFileInfo::AddEntry(const QString &extension, const QString &path, bool open)
{
    SEntry entry{ShellTypeName(path), m_source->IconIndexOf(path, false, open)};
    return *m_entries.insert(extension, entry);
}

const CShGetFileInfo::SEntry &CShGetFileInfo::Remember(const QString &extension, const SEntry &entry)
{
    m_lastExtension = extension;
    m_lastEntry = entry;
    return m_lastEntry;
}

const CShGetFileInfo::SEntry *CShGetFileInfo::CachedEntry(const QString &path, qsizetype dot)
{
    const QStringView extension = QStringView(path).sliced(dot);
    if (!m_lastExtension.isEmpty() && extension == m_lastExtension)
        return &m_lastEntry;
    const QString key = extension.toString();
    const auto found = m_entries.constFind(key);
    return found == m_entries.constEnd() ? nullptr : &Remember(key, *found);
}

QString CShGetFileInfo::TypeName(const QString &path, bool isFolder)
{
    if (isFolder)
        return u"Folder"_s;
    const qsizetype dot = path.lastIndexOf(u'.');
    if (dot < 0)
        return ShellTypeName(path);
    if (const SEntry *entry = CachedEntry(path, dot))
        return entry->typeName;
    const QString extension = path.mid(dot);
    return Remember(extension, AddEntry(extension, path, false)).typeName;
}

int CShGetFileInfo::IconIndex(const QString &path, bool isFolder, bool open)
{
    const qsizetype dot = path.lastIndexOf(u'.');
    if (isFolder || dot < 0)
        return m_source->IconIndexOf(path, isFolder, open);
    if (const SEntry *entry = CachedEntry(path, dot))
        return entry->iconIndex;
    const QString extension = path.mid(dot);
    return Remember(extension, AddEntry(extension, path, open)).iconIndex;
}

} // namespace velmora
