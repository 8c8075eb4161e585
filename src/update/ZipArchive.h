#pragma once

#include "platform/FileTime.h"

#include <QByteArray>
#include <QString>

#include <memory>
#include <span>

namespace velmora {

// Result codes of the zip archive reader. Every call also leaves its code as the last result
// of the calling thread (LastZipResult).
using ZipResult = quint32;
constexpr ZipResult ZR_OK = 0;
constexpr ZipResult ZR_NOFILE = 0x200;        // the archive or an output file cannot be opened or created
constexpr ZipResult ZR_WRITE = 0x400;         // writing an output file failed
constexpr ZipResult ZR_MORE = 0x600;          // more data of the item remains (extraction to memory)
constexpr ZipResult ZR_CORRUPT = 0x700;       // the archive is corrupt, or an item is packed by a method not read here
constexpr ZipResult ZR_READ = 0x800;          // reading the archive failed
constexpr ZipResult ZR_PASSWORD = 0x1000;     // the item is encrypted; no password is ever known
constexpr ZipResult ZR_ARGS = 0x10000;        // no handle, index out of range
constexpr ZipResult ZR_NOTREADER = 0x80000;   // the handle is not a reader
constexpr ZipResult ZR_ALREADYOPEN = 0x1000000;
constexpr ZipResult ZR_FLATE = 0x5000000;     // the compressed data is damaged

// Item names are kept to this many UTF-16 units.
constexpr qsizetype kMaxZipItemName = 260;

// Windows file-attribute values, as items report them.
constexpr quint32 ZIP_ATTR_READONLY = 0x01;
constexpr quint32 ZIP_ATTR_HIDDEN = 0x02;
constexpr quint32 ZIP_ATTR_SYSTEM = 0x04;
constexpr quint32 ZIP_ATTR_FOLDER = 0x10;
constexpr quint32 ZIP_ATTR_ARCHIVE = 0x20;

// One item of an archive. For a request with index -1, nIndex holds the number of items.
struct SZipEntry
{
    int nIndex = -1;
    QString strName;  // cleaned by the name guard
    quint32 dwAttributes = 0;
    SFileTime ftCreationTime;
    SFileTime ftLastAccessTime;
    SFileTime ftLastWriteTime;
    qint64 nCompressedSize = 0;
    qint64 nUncompressedSize = 0;
};

class CZipArchive;
struct CZipArchiveDeleter
{
    void operator()(CZipArchive *archive) const;
};
// An open archive. Dropping the handle closes it as CloseArchive does.
using HZIP = std::unique_ptr<CZipArchive, CZipArchiveDeleter>;

// Opens an archive file for reading; null when it cannot be opened (ZR_NOFILE) or is not a
// readable zip archive (ZR_READ). Items are extracted below rootFolder, or below the
// current folder at the time of opening when rootFolder is empty.
HZIP OpenArchive(const QString &path, const QString &rootFolder = {});
// The same over an archive image in memory.
HZIP OpenArchiveFromMemory(const QByteArray &image, const QString &rootFolder = {});

// Index -1 gives the number of items in item.nIndex; 0 to count-1 describe an item.
ZipResult DescribeItem(CZipArchive *handle, int index, SZipEntry &item);
// Writes an item below the root folder as name (normally its cleaned name). The name goes
// through the name guard again, so nothing is ever written outside the root folder.
ZipResult ExtractItemToFile(CZipArchive *handle, int index, const QString &name);
// Fills buffer with the next part of the item: ZR_OK when the item is complete (*filled
// says how many bytes of buffer hold data), ZR_MORE when the buffer is full and more
// remains (call again with the same index), an error code otherwise.
ZipResult ExtractItemToBuffer(CZipArchive *handle, int index, std::span<char> buffer,
                              qsizetype *filled = nullptr);
// Closes the archive and frees the handle.
ZipResult CloseArchive(HZIP &handle);

// The code of the calling thread's last call.
ZipResult LastZipResult();

} // namespace velmora
