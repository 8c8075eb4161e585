#include "inspect/UnzipOutput.h"

#include "inspect/ZipPackageMarks.h"

#include <limits>

namespace velmora {

using namespace Qt::Literals::StringLiterals;

namespace {

QString WithoutTrailingBlanks(const QString &line)
{
    qsizetype end = line.size();
    while (end > 0 && line.at(end - 1).isSpace())
        --end;
    return line.left(end);
}

void TakeMemberLine(const QString &line, SZipListing &listing)
{
    switch (ZipMemberMark(line)) {
    case ZIP_MARK_CDG:
        // The first ".cdg" counts, and none after an ".mcg" or ".ncg" member.
        if (listing.nGraphicsLength == 0) {
            listing.dwMarks |= ZIP_MARK_CDG;
            listing.nGraphicsLength = LeadingLength(line);
        }
        break;
    case ZIP_MARK_MCG:
        listing.dwMarks |= ZIP_MARK_MCG;
        listing.nGraphicsLength = LeadingLength(line);
        break;
    case ZIP_MARK_NCG:
        listing.dwMarks |= ZIP_MARK_NCG;
        listing.nGraphicsLength = LeadingLength(line);
        break;
    case ZIP_MARK_MP3:
        listing.dwMarks |= ZIP_MARK_MP3;
        listing.nMp3Length = LeadingLength(line);
        listing.strMp3Extension = line.right(3);
        break;
    default:
        break;
    }
}

} // namespace

qint64 LeadingLength(QStringView line)
{
    qsizetype at = 0;
    while (at < line.size() && line.at(at).isSpace())
        ++at;
    bool negative = false;
    if (at < line.size() && (line.at(at) == u'+' || line.at(at) == u'-'))
        negative = line.at(at++) == u'-';
    qint64 value = 0;
    constexpr qint64 kMax = std::numeric_limits<qint64>::max();
    for (; at < line.size() && line.at(at) >= u'0' && line.at(at) <= u'9'; ++at) {
        const int digit = line.at(at).unicode() - u'0';
        value = value > (kMax - digit) / 10 ? kMax : value * 10 + digit;
    }
    return negative ? 0 : value;
}

SZipListing ParseUnzipListing(const QStringList &lines)
{
    static const QString opening = u"---------  ---------- -----   ----"_s;
    static const QString closing = u"---------                     -------"_s;
    SZipListing listing;
    if (lines.isEmpty() || lines.size() > kMaxUnzipListingLines)
        return listing;
    bool inMembers = false;
    for (const QString &raw : lines) {
        const QString line = WithoutTrailingBlanks(raw);
        if (!inMembers) {
            inMembers = line == opening;
            continue;
        }
        if (line == closing)
            break;
        TakeMemberLine(line, listing);
    }
    return listing;
}

QStringList ExtractedMemberNames(const QStringList &lines)
{
    // The tool names each member after the word of its packing method. Every kind counts:
    // a package often stores its MP3 and deflates its graphics, and members the in-process
    // reader hands over are packed by the other methods (bzip2 is "bunzipping").
    static const QStringList actions{u"inflating: "_s, u"extracting: "_s, u"bunzipping: "_s,
                                     u"exploding: "_s, u"unshrinking: "_s, u"unreducing: "_s};
    QStringList names;
    for (const QString &line : lines) {
        const QString trimmed = line.trimmed();
        for (const QString &action : actions) {
            if (trimmed.startsWith(action)) {
                names.append(trimmed.mid(action.size()));
                break;
            }
        }
    }
    return names;
}

} // namespace velmora
