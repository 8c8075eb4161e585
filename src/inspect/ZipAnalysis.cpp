#include "inspect/ZipAnalysis.h"

#include "inspect/FileBytes.h"
#include "inspect/Mp3Analysis.h"
#include "inspect/ZipPackageMarks.h"
#include "inspect/ZipPackageTool.h"
#include "update/ZipArchive.h"

#include <QList>

namespace velmora {

namespace {

// Packages with this many entries or more are not examined.
constexpr int kMaxPackageEntries = 16;

// The code of the last call this analysis made to the reader, kept per call: other threads
// read other packages at the same time.
struct SReaderCalls
{
    ZipResult lastCode = ZR_OK;

    ZipResult Keep(ZipResult code)
    {
        lastCode = code;
        return code;
    }
};

// Names and unpacked sizes of the entries. Empty when the package has too many entries;
// false when the reader cannot describe one of them (the package is then not examined).
bool DescribeEntries(CZipArchive *archive, QList<SZipEntry> &entries, SReaderCalls &calls)
{
    SZipEntry count;
    if (calls.Keep(DescribeItem(archive, -1, count)) != ZR_OK)
        return false;
    if (count.nIndex >= kMaxPackageEntries)
        return true;
    for (int index = 0; index < count.nIndex; ++index) {
        SZipEntry entry;
        if (calls.Keep(DescribeItem(archive, index, entry)) != ZR_OK)
            return false;
        entries.append(entry);
    }
    return true;
}

quint32 MarksOf(const QList<SZipEntry> &entries)
{
    quint32 marks = 0;
    for (const SZipEntry &entry : entries)
        marks |= ZipMemberMark(entry.strName);
    return marks;
}

// A member is unpacked only when its declared size is below the analysis limit, into a
// buffer of exactly that size; it counts only when it inflates to exactly that size.
bool UnpackMember(CZipArchive *archive, const SZipEntry &entry, QByteArray &image, SReaderCalls &calls)
{
    if (entry.nUncompressedSize < 0 || entry.nUncompressedSize >= kMaxAnalysedFileSize)
        return false;
    image = QByteArray(qsizetype(entry.nUncompressedSize), '\0');
    const std::span<char> buffer(image.data(), size_t(image.size()));
    return calls.Keep(ExtractItemToBuffer(archive, entry.nIndex, buffer)) == ZR_OK;
}

// Reads every MP3 member of a karaoke package; the last one read decides.
bool ReadMp3Members(CZipArchive *archive, const QList<SZipEntry> &entries, QStringList &result, SReaderCalls &calls)
{
    if (!IsKaraokePackage(MarksOf(entries)))
        return false;
    bool analysed = false;
    for (const SZipEntry &entry : entries) {
        QByteArray image;
        if (ZipMemberMark(entry.strName) != ZIP_MARK_MP3 || !UnpackMember(archive, entry, image, calls))
            continue;
        QStringList values;
        ReadMp3ImageTags(image, values);
        result = values;
        analysed = true;
    }
    return analysed;
}

} // namespace

bool ReadZipPackageTags(const QString &path, QStringList &result)
{
    result.clear();
    const qint64 size = FileSizeOf(path);
    if (size < 0 || size >= kMaxAnalysedFileSize)
        return false;
    HZIP archive = OpenArchive(path);
    if (!archive)
        return false;
    QList<SZipEntry> entries;
    SReaderCalls calls;
    bool analysed = DescribeEntries(archive.get(), entries, calls) && ReadMp3Members(archive.get(), entries, result, calls);
    CloseArchive(archive);
    QStringList byTool;
    if (calls.lastCode == ZR_CORRUPT && ReadZipPackageByTool(path, byTool)) {
        result = byTool;
        analysed = true;
    }
    if (!analysed)
        result.clear();
    return analysed;
}

} // namespace velmora
