#include "update/ZipArchiveState.h"

#include "update/ZipNameGuard.h"
#include "update/ZipOutputFile.h"

#include <limits>

namespace velmora {

namespace {

// unzReadCurrentFile takes an unsigned count; one read never asks for more than this.
constexpr qsizetype kMaxReadPiece = 1 << 30;

ZipResult ReadErrorResult(int error)
{
    switch (error) {
    case UNZ_ERRNO:
    case UNZ_INTERNALERROR:
        return ZR_READ;
    case UNZ_PARAMERROR:
        return ZR_ARGS;
    case UNZ_BADZIPFILE:
        return ZR_CORRUPT;
    default:
        return ZR_FLATE;  // zlib's data, stream and memory errors
    }
}

// Opens the item for reading and returns its declared unpacked size in *declared.
ZipResult OpenItem(CZipArchive &reader, int index, qint64 *declared)
{
    reader.CloseStreamingItem();
    if (!reader.GoToItem(index))
        return ZR_CORRUPT;
    unz_file_info64 info{};
    if (unzGetCurrentFileInfo64(reader.m_unzip, &info, nullptr, 0, nullptr, 0, nullptr, 0) != UNZ_OK)
        return ZR_CORRUPT;
    // No password is ever given; reading such an item would only produce noise.
    if (info.flag & 1)
        return ZR_PASSWORD;
    // Only stored and deflated items are read here. minizip would hand out the packed bytes
    // of other methods (bzip2) as they are, which then fail their checksum as damaged data;
    // they are unreadable here instead, which sends them to the outside tool.
    if (info.compression_method != 0 && info.compression_method != Z_DEFLATED)
        return ZR_CORRUPT;
    // A local header that disagrees with the central directory, or a method minizip does
    // not know, makes the item unreadable here (the outside tool may still manage).
    if (unzOpenCurrentFile(reader.m_unzip) != UNZ_OK)
        return ZR_CORRUPT;
    *declared = info.uncompressed_size > ZPOS64_T(std::numeric_limits<qint64>::max())
                    ? std::numeric_limits<qint64>::max() : qint64(info.uncompressed_size);
    return ZR_OK;
}

// Ends the open item: complete only when exactly the declared size came out and, when it
// did, the checksum matched. minizip stops at the declared size, so a member that would
// inflate to more than it claims fails its checksum instead of growing.
ZipResult CloseItem(CZipArchive &reader, qint64 delivered, qint64 declared)
{
    const int closed = unzCloseCurrentFile(reader.m_unzip);
    reader.m_nStreamingItem = -1;
    reader.m_nStreamedBytes = 0;
    if (delivered != declared || closed == UNZ_CRCERROR)
        return ZR_FLATE;
    return closed == UNZ_OK ? ZR_OK : ZR_READ;
}

// Reads up to buffer's size; the count read, or a negative minizip error.
qsizetype ReadPiece(CZipArchive &reader, std::span<char> buffer)
{
    const qsizetype piece = qMin<qsizetype>(qsizetype(buffer.size()), kMaxReadPiece);
    return unzReadCurrentFile(reader.m_unzip, buffer.data(), unsigned(piece));
}

ZipResult WriteItem(CZipArchive &reader, int index, QFile &file)
{
    qint64 declared = 0;
    const ZipResult code = OpenItem(reader, index, &declared);
    if (code != ZR_OK)
        return code;
    reader.m_nStreamingItem = index;  // so that any failure closes it
    if (reader.m_transfer.isEmpty())
        reader.m_transfer.resize(CZipArchive::kTransferSize);
    const std::span<char> transfer(reader.m_transfer.data(), size_t(reader.m_transfer.size()));
    qint64 written = 0;
    for (;;) {
        const qsizetype got = ReadPiece(reader, transfer);
        if (got < 0) {
            reader.CloseStreamingItem();
            return ReadErrorResult(int(got));
        }
        if (got == 0)
            break;
        if (file.write(transfer.data(), got) != got) {
            reader.CloseStreamingItem();
            return ZR_WRITE;
        }
        written += got;
    }
    return CloseItem(reader, written, declared);
}

ZipResult ExtractFolder(const CZipArchive &reader, const QStringList &parts)
{
    return MakeFoldersBelow(reader.m_strRoot, parts) ? ZR_OK : ZR_NOFILE;
}

ZipResult ExtractFile(CZipArchive &reader, QStringList parts, const SZipEntry &item)
{
    if (parts.isEmpty())
        return ZR_NOFILE;
    const QString fileName = parts.takeLast();
    if (!MakeFoldersBelow(reader.m_strRoot, parts))
        return ZR_NOFILE;
    const QString path = reader.m_strRoot + (parts.isEmpty() ? QString() : parts.join(u'/') + u'/') + fileName;
    std::unique_ptr<QFile> file = CreateOutputFile(path);
    if (!file)
        return ZR_NOFILE;
    const ZipResult code = WriteItem(reader, item.nIndex, *file);
    if (code != ZR_OK) {
        // A half-written file must not pass for the item.
        file.reset();
        RemoveOutputFile(path);
        return code;
    }
    FinishOutputFile(*file, item);
    return ZR_OK;
}

} // namespace

ZipResult ExtractItemToFile(CZipArchive *handle, int index, const QString &name)
{
    CZipArchive *reader = CheckedReader(handle);
    if (!reader)
        return LastZipResult();
    SZipEntry item;
    const ZipResult described = DescribeItem(handle, index, item);
    if (described != ZR_OK)
        return described;
    // The caller's name is cleaned again and must stay below the root: the root is the only
    // place an item may be written, whatever the name says.
    const std::optional<QStringList> parts = ConfinedNameParts(CleanItemName(name));
    if (!parts)
        return SetLastZipResult(ZR_NOFILE);
    if (item.dwAttributes & ZIP_ATTR_FOLDER)
        return SetLastZipResult(ExtractFolder(*reader, *parts));
    return SetLastZipResult(ExtractFile(*reader, *parts, item));
}

ZipResult ExtractItemToBuffer(CZipArchive *handle, int index, std::span<char> buffer, qsizetype *filled)
{
    if (filled)
        *filled = 0;
    CZipArchive *reader = CheckedReader(handle);
    if (!reader)
        return LastZipResult();
    if (index < 0 || index >= reader->ItemCount())
        return SetLastZipResult(ZR_ARGS);
    if (reader->m_nStreamingItem != index) {
        qint64 declared = 0;
        const ZipResult opened = OpenItem(*reader, index, &declared);
        if (opened != ZR_OK)
            return SetLastZipResult(opened);
        reader->m_nStreamingItem = index;
        reader->m_nStreamingDeclared = declared;
    }
    qsizetype count = 0;
    while (count < qsizetype(buffer.size())) {
        const qsizetype got = ReadPiece(*reader, buffer.subspan(size_t(count)));
        if (got < 0) {
            reader->CloseStreamingItem();
            return SetLastZipResult(ReadErrorResult(int(got)));
        }
        if (got == 0)
            break;
        count += got;
        reader->m_nStreamedBytes += got;
    }
    if (filled)
        *filled = count;
    if (count == qsizetype(buffer.size()) && !unzeof(reader->m_unzip))
        return SetLastZipResult(ZR_MORE);
    return SetLastZipResult(CloseItem(*reader, reader->m_nStreamedBytes, reader->m_nStreamingDeclared));
}

} // namespace velmora
