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

QString CShGetFileInfo::TypeName(const QString &path, bool isFolder)
{
    if (isFolder)
        return u"Folder"_s;
    const QString extension = ExtensionOfPath(path);
    if (extension.isEmpty())
        return ShellTypeName(path);
    const auto found = m_entries.constFind(extension);
    if (found != m_entries.constEnd())
        return found->typeName;
    return AddEntry(extension, path, false).typeName;
}

int CShGetFileInfo::IconIndex(const QString &path, bool isFolder, bool open)
{
    const QString extension = ExtensionOfPath(path);
    if (isFolder || extension.isEmpty())
        return m_source->IconIndexOf(path, isFolder, open);
    const auto found = m_entries.constFind(extension);
    if (found != m_entries.constEnd())
        return found->iconIndex;
    return AddEntry(extension, path, open).iconIndex;
}

} // namespace velmora
