#pragma once

#include "update/ZipArchive.h"
#include "update/ZipDeviceIo.h"

#include <unzip.h>

#include <optional>

namespace velmora {

// The reader state behind a handle; shared by the files that implement the reader.
class CZipArchive
{
public:
    static constexpr int kReaderKind = 1;
    static constexpr qsizetype kTransferSize = 16384;

    CZipArchive(std::unique_ptr<QIODevice> device, const QString &rootFolder);
    ~CZipArchive();
    CZipArchive(const CZipArchive &) = delete;
    CZipArchive &operator=(const CZipArchive &) = delete;

    bool IsOpen() const { return m_unzip != nullptr; }
    int ItemCount() const { return m_nCount; }

    // Moves minizip's cursor to an item; false when the central directory gives out first.
    bool GoToItem(int index);
    // Closes the item open for streaming, if any.
    void CloseStreamingItem();

    int m_nKind = kReaderKind;
    CZipDevice m_device;
    unzFile m_unzip = nullptr;
    QString m_strRoot;            // ends in "/"
    int m_nCount = 0;
    int m_nCursor = -1;           // the item minizip's cursor is on, -1 when unknown
    int m_nStreamingItem = -1;    // the item open for streaming
    qint64 m_nStreamedBytes = 0;  // bytes of it handed out so far
    qint64 m_nStreamingDeclared = 0;  // and its declared unpacked size
    std::optional<SZipEntry> m_cachedItem;
    QByteArray m_transfer;        // allocated at the first extraction to a file
};

// Stores code as the last result and returns it.
ZipResult SetLastZipResult(ZipResult code);
// The handle's reader, or null with the last result set (ZR_ARGS or ZR_NOTREADER).
CZipArchive *CheckedReader(CZipArchive *handle);

} // namespace velmora
