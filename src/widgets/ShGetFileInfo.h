#pragma once

#include <QHash>
#include <QString>
#include <QStringList>
#include <memory>

namespace velmora {

// Where type names and icons come from. The stand-in for the Windows shell answers from the
// MIME database by file name, without touching the file.
class IShellTypeSource
{
public:
    virtual ~IShellTypeSource() = default;
    // The type name of a file of that name; empty when none is known.
    virtual QString TypeNameOf(const QString &path) = 0;
    // Index of the icon in the process-wide image list.
    virtual int IconIndexOf(const QString &path, bool isFolder, bool open) = 0;
};

// Type names and icon indices per file extension, cached for the life of the process
// because asking for every row of a large folder is slow; at most 512 extensions are kept.
class CShGetFileInfo
{
public:
    static CShGetFileInfo &Instance();

    explicit CShGetFileInfo(std::unique_ptr<IShellTypeSource> source);

    QString TypeName(const QString &path, bool isFolder);
    int IconIndex(const QString &path, bool isFolder, bool open);

    int CacheSize() const { return int(m_entries.size()); }

    // Text from the last "." of the whole path to its end; empty when there is none.
    static QString ExtensionOfPath(const QString &path);
    // The name as the shell reads it, a C string: up to its first NUL. Playlists can hold
    // NULs in names, and Qt's MIME lookup reads outside its cache for some of them
    // ("a\0\0.html" with Qt 6.4), so no name the source is asked about holds one.
    static QString ShellName(const QString &path);

private:
    struct SEntry
    {
        QString typeName;
        int iconIndex = 0;
    };

    QString ShellTypeName(const QString &path);
    const SEntry &AddEntry(const QString &extension, const QString &path, bool open);
    // The cached entry of the path's extension, or nullptr; the extension of the last hit is
    // compared in place, so a folder of a few types needs no text or hash per row.
    const SEntry *CachedEntry(const QString &path, qsizetype dot);
    const SEntry &Remember(const QString &extension, const SEntry &entry);
    int UncachedIconIndex(const QString &path, bool open);

    std::unique_ptr<IShellTypeSource> m_source;
    QHash<QString, SEntry> m_entries;
    QString m_lastExtension;
    SEntry m_lastEntry;
    // Icons of whole names without an extension, or past the table's bound (closed, open).
    QHash<QString, int> m_uncachedIcons[2];
};

} // namespace velmora
