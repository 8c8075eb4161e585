#include "widgets/ShGetFileInfo.h"

#include "widgets/MimeTypeSource.h"

namespace velmora {

using namespace Qt::Literals::StringLiterals;

namespace {
constexpr qsizetype kTypeNameMax = 79;
// A library uses a few dozen extensions; a hostile playlist can give every row a new one
// ("extension" is whatever follows the path's last dot), so past this many nothing more is
// kept and each further one is asked of the source.
constexpr qsizetype kMaxCachedExtensions = 512;
constexpr qsizetype kMaxUncachedNames = 256;
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
    const auto found = m_entries.constFind(extension.toString());
    // The last hit shares the table's own key, so switching between known extensions
    // allocates nothing that outlives the lookup.
    return found == m_entries.constEnd() ? nullptr : &Remember(found.key(), *found);
}

QString CShGetFileInfo::ShellName(const QString &path)
{
    return path.left(path.indexOf(QChar(0)));
}

QString CShGetFileInfo::TypeName(const QString &path, bool isFolder)
{
    if (isFolder)
        return u"Folder"_s;
    if (path.contains(QChar(0)))
        return TypeName(ShellName(path), false);
    const qsizetype dot = path.lastIndexOf(u'.');
    if (dot < 0)
        return ShellTypeName(path);
    if (const SEntry *entry = CachedEntry(path, dot))
        return entry->typeName;
    if (m_entries.size() >= kMaxCachedExtensions)
        return ShellTypeName(path);
    const QString extension = path.mid(dot);
    return Remember(extension, AddEntry(extension, path, false)).typeName;
}

int CShGetFileInfo::IconIndex(const QString &path, bool isFolder, bool open)
{
    if (path.contains(QChar(0)))
        return IconIndex(ShellName(path), isFolder, open);
    if (isFolder)
        return m_source->IconIndexOf(path, true, open);
    const qsizetype dot = path.lastIndexOf(u'.');
    if (dot >= 0) {
        if (const SEntry *entry = CachedEntry(path, dot))
            return entry->iconIndex;
        if (m_entries.size() < kMaxCachedExtensions) {
            const QString extension = path.mid(dot);
            return Remember(extension, AddEntry(extension, path, open)).iconIndex;
        }
    }
    return UncachedIconIndex(path, open);
}

int CShGetFileInfo::UncachedIconIndex(const QString &path, bool open)
{
    // Names the table of extensions cannot hold are remembered whole, a few hundred at a
    // time: the rows of a playlist of empty records, or of a few odd names, ask once each.
    QHash<QString, int> &names = m_uncachedIcons[open ? 1 : 0];
    const auto known = names.constFind(path);
    if (known != names.constEnd())
        return *known;
    if (names.size() >= kMaxUncachedNames)
        names.clear();
    return *names.insert(path, m_source->IconIndexOf(path, false, open));
}

} // namespace velmora
