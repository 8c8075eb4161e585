// Zip archives: the in-process reader over an image in memory, and the unzip tool's output.
#include "fuzz/FuzzTargets.h"

#include "inspect/UnzipOutput.h"
#include "update/ZipArchive.h"

#include <QDir>

#include <algorithm>
#include <vector>

namespace velmora::fuzz {

using namespace Qt::Literals::StringLiterals;

namespace {

// Items looked at, and pieces of each unpacked: a small archive can claim endless items
// or unpack to gigabytes, which would only slow the fuzzer down.
constexpr int kMaxItems = 64;
constexpr int kMaxPieces = 16;

bool IsConfinedName(const QString &name)
{
    return name.size() <= kMaxZipItemName && !name.startsWith(u'/') && !name.startsWith(u'\\')
        && !name.startsWith(u"../"_s) && !name.startsWith(u"..\\"_s);
}

// Unpacks the item piece by piece into an exact heap block, so a write past it is caught.
bool UnpackItem(CZipArchive *zip, int index)
{
    std::vector<char> buffer(4096);
    ZipResult result = ZR_MORE;
    for (int piece = 0; piece < kMaxPieces && result == ZR_MORE; ++piece) {
        qsizetype filled = -1;
        result = ExtractItemToBuffer(zip, index, buffer, &filled);
        if (filled < 0 || filled > qsizetype(buffer.size()) || result != LastZipResult())
            return false;
    }
    return true;
}

} // namespace

bool FuzzZipArchive(QByteArrayView data)
{
    // Nothing is extracted to files; the root folder is never written.
    HZIP zip = OpenArchiveFromMemory(data.toByteArray(), QDir::tempPath() + u"/velmora-fuzz-never-written"_s);
    if (!zip)
        return LastZipResult() != ZR_OK;
    SZipEntry count;
    if (DescribeItem(zip.get(), -1, count) != ZR_OK || count.nIndex < 0)
        return false;
    for (int index = 0; index < std::min(count.nIndex, kMaxItems); ++index) {
        SZipEntry item;
        if (DescribeItem(zip.get(), index, item) == ZR_OK
            && (item.nIndex != index || !IsConfinedName(item.strName) || item.nUncompressedSize < 0))
            return false;
        if (!UnpackItem(zip.get(), index))
            return false;
    }
    return CloseArchive(zip) == ZR_OK && !zip;
}

bool FuzzUnzipOutput(QByteArrayView data)
{
    const QStringList lines = QString::fromUtf8(data).split(u'\n');
    const SZipListing listing = ParseUnzipListing(lines);
    if (listing.nMp3Length < 0 || listing.nGraphicsLength < 0)
        return false;
    if (lines.size() > kMaxUnzipListingLines && (listing.dwMarks != 0 || listing.nMp3Length != 0))
        return false;
    if (ExtractedMemberNames(lines).size() > lines.size())
        return false;
    return std::all_of(lines.begin(), lines.end(), [](const QString &line) { return LeadingLength(line) >= 0; });
}

} // namespace velmora::fuzz
