#include "update/ZipArchiveState.h"

#include "platform/OpenFile.h"
#include "update/ZipItemDetails.h"
#include "update/ZipNameGuard.h"

#include <QBuffer>
#include <QDir>

#include <limits>

namespace velmora {

namespace {

// Each thread sees the results of its own calls only: a check reads packages on several
// threads at once, and one package's verdict must never be taken for another's.
thread_local ZipResult t_lastResult = ZR_OK;

QString WithTrailingSlash(QString folder)
{
    if (!folder.endsWith(u'/'))
        folder += u'/';
    return folder;
}

qint64 ClampedSize(ZPOS64_T size)
{
    return size > ZPOS64_T(std::numeric_limits<qint64>::max()) ? std::numeric_limits<qint64>::max()
                                                               : qint64(size);
}

HZIP OpenOverDevice(std::unique_ptr<QIODevice> device, const QString &rootFolder)
{
    HZIP archive(new CZipArchive(std::move(device), rootFolder));
    unz_global_info64 global{};
    if (!archive->IsOpen() || unzGetGlobalInfo64(archive->m_unzip, &global) != UNZ_OK
        || global.number_entry > ZPOS64_T(std::numeric_limits<int>::max())) {
        SetLastZipResult(ZR_READ);
        return nullptr;
    }
    archive->m_nCount = int(global.number_entry);
    SetLastZipResult(ZR_OK);
    return archive;
}

// Reads the description of the item under minizip's cursor.
ZipResult ReadCurrentItem(unzFile unzip, int index, SZipEntry &item)
{
    unz_file_info64 info{};
    if (unzGetCurrentFileInfo64(unzip, &info, nullptr, 0, nullptr, 0, nullptr, 0) != UNZ_OK)
        return ZR_CORRUPT;
    // Both lengths are 16-bit fields of the central directory, so these stay small.
    QByteArray name(qsizetype(info.size_filename), '\0');
    QByteArray extra(qsizetype(info.size_file_extra), '\0');
    if (unzGetCurrentFileInfo64(unzip, &info, name.data(), uLong(name.size()), extra.data(),
                                uLong(extra.size()), nullptr, 0) != UNZ_OK)
        return ZR_CORRUPT;
    item = SZipEntry{};
    item.nIndex = index;
    item.strName = ItemNameFromBytes(name);
    item.dwAttributes = ZipItemAttributes(quint32(info.version), quint32(info.external_fa));
    item.ftCreationTime = item.ftLastAccessTime = item.ftLastWriteTime = DosTimeToFileTime(quint32(info.dosDate));
    ApplyExtendedTimes(extra, item);
    item.nCompressedSize = ClampedSize(info.compressed_size);
    item.nUncompressedSize = ClampedSize(info.uncompressed_size);
    return ZR_OK;
}

} // namespace

CZipArchive::CZipArchive(std::unique_ptr<QIODevice> device, const QString &rootFolder)
    : m_device(std::move(device))
    , m_strRoot(WithTrailingSlash(rootFolder.isEmpty() ? QDir::currentPath() : rootFolder))
{
    zlib_filefunc64_def functions = ZipDeviceFunctions(&m_device);
    m_unzip = unzOpen2_64("", &functions);
}

CZipArchive::~CZipArchive()
{
    CloseStreamingItem();
    if (m_unzip)
        unzClose(m_unzip);
}

bool CZipArchive::GoToItem(int index)
{
    if (m_nCursor < 0 || index < m_nCursor) {
        m_nCursor = -1;
        if (unzGoToFirstFile(m_unzip) != UNZ_OK)
            return false;
        m_nCursor = 0;
    }
    while (m_nCursor < index) {
        if (unzGoToNextFile(m_unzip) != UNZ_OK) {
            m_nCursor = -1;
            return false;
        }
        ++m_nCursor;
    }
    return true;
}

void CZipArchive::CloseStreamingItem()
{
    if (m_nStreamingItem >= 0 && m_unzip)
        unzCloseCurrentFile(m_unzip);
    m_nStreamingItem = -1;
    m_nStreamedBytes = 0;
}

void CZipArchiveDeleter::operator()(CZipArchive *archive) const
{
    delete archive;
}

ZipResult SetLastZipResult(ZipResult code)
{
    t_lastResult = code;
    return code;
}

ZipResult LastZipResult()
{
    return t_lastResult;
}

CZipArchive *CheckedReader(CZipArchive *handle)
{
    if (!handle) {
        SetLastZipResult(ZR_ARGS);
        return nullptr;
    }
    if (handle->m_nKind != CZipArchive::kReaderKind) {
        SetLastZipResult(ZR_NOTREADER);
        return nullptr;
    }
    return handle;
}

HZIP OpenArchive(const QString &path, const QString &rootFolder)
{
    std::unique_ptr<QFile> file = OpenFileForRead(path);
    if (!file) {
        SetLastZipResult(ZR_NOFILE);
        return nullptr;
    }
    return OpenOverDevice(std::move(file), rootFolder);
}

HZIP OpenArchiveFromMemory(const QByteArray &image, const QString &rootFolder)
{
    auto buffer = std::make_unique<QBuffer>();
    buffer->setData(image);
    if (!buffer->open(QIODevice::ReadOnly)) {
        SetLastZipResult(ZR_NOFILE);
        return nullptr;
    }
    return OpenOverDevice(std::move(buffer), rootFolder);
}

ZipResult DescribeItem(CZipArchive *handle, int index, SZipEntry &item)
{
    CZipArchive *reader = CheckedReader(handle);
    if (!reader)
        return LastZipResult();
    if (index == -1) {
        item = SZipEntry{};
        item.nIndex = reader->ItemCount();
        return SetLastZipResult(ZR_OK);
    }
    if (index < 0 || index >= reader->ItemCount())
        return SetLastZipResult(ZR_ARGS);
    if (reader->m_cachedItem && reader->m_cachedItem->nIndex == index) {
        item = *reader->m_cachedItem;
        return SetLastZipResult(ZR_OK);
    }
    if (!reader->GoToItem(index))
        return SetLastZipResult(ZR_CORRUPT);
    SZipEntry described;
    const ZipResult code = ReadCurrentItem(reader->m_unzip, index, described);
    if (code != ZR_OK)
        return SetLastZipResult(code);
    reader->m_cachedItem = described;
    item = described;
    return SetLastZipResult(ZR_OK);
}

ZipResult CloseArchive(HZIP &handle)
{
    if (!handle)
        return SetLastZipResult(ZR_ARGS);
    const bool reader = handle->m_nKind == CZipArchive::kReaderKind;
    handle.reset();
    return SetLastZipResult(reader ? ZR_OK : ZR_NOTREADER);
}

} // namespace velmora
