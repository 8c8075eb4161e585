#include "verify/NamePortability.h"

#include <QStringList>

namespace velmora {

using namespace Qt::Literals::StringLiterals;

namespace {

const QString kForbidden = u"<>:\"\\|?*"_s;

bool IsReservedName(const QString &name)
{
    const QString stem = name.section(u'.', 0, 0).trimmed().toUpper();
    static const QStringList kReserved = {u"CON"_s, u"PRN"_s, u"AUX"_s, u"NUL"_s};
    if (kReserved.contains(stem))
        return true;
    return stem.size() == 4 && (stem.startsWith(u"COM"_s) || stem.startsWith(u"LPT"_s)) && stem.at(3) >= u'1'
        && stem.at(3) <= u'9';
}

QString PartProblem(const QString &part)
{
    for (qsizetype i = 0; i < part.size(); ++i) {
        const QChar c = part.at(i);
        if (kForbidden.contains(c))
            return u"holds '%1', which FAT, exFAT and Windows do not allow in names"_s.arg(c);
        if (c.unicode() < 0x20)
            return u"holds the control character U+%1, which FAT, exFAT and Windows do not allow in names"_s
                .arg(c.unicode(), 4, 16, QChar(u'0'));
        // Names read from disk keep each byte that is no UTF-8 as a lone surrogate (NativeName.h).
        const bool paired = c.isLowSurrogate() && i > 0 && part.at(i - 1).isHighSurrogate();
        if (c.isLowSurrogate() && !paired)
            return u"holds bytes that are no valid UTF-8 text, which another system shows garbled or refuses"_s;
    }
    if (part.endsWith(u'.'))
        return u"ends in a dot, which Windows drops"_s;
    if (part.endsWith(u' '))
        return u"ends in a blank, which Windows drops"_s;
    if (IsReservedName(part))
        return u"is a device name Windows reserves (%1)"_s.arg(part.section(u'.', 0, 0).toUpper());
    return {};
}

} // namespace

QString NotPortableReason(const QString &relativePath, const QString &rootName)
{
    const QStringList parts = relativePath.split(u'/', Qt::SkipEmptyParts);
    for (qsizetype i = 0; i < parts.size(); ++i) {
        const QString problem = PartProblem(parts.at(i));
        if (!problem.isEmpty())
            return (i + 1 == parts.size() ? u"the name '%1' "_s : u"the folder name '%1' "_s).arg(parts.at(i)) + problem;
    }
    // A copy of the tree to the top of a drive keeps the folder's name: X:\ROOT\relative.
    const qsizetype length = 3 + (rootName.isEmpty() ? 0 : rootName.size() + 1) + relativePath.size();
    if (length > kMaxPortablePath)
        return u"its path is %1 characters long even at the top of a drive (X:\\%2), over the %3 Windows takes"_s
            .arg(length)
            .arg(rootName.isEmpty() ? relativePath.left(24) + u"..."_s : rootName + u"\\..."_s)
            .arg(kMaxPortablePath);
    return {};
}

} // namespace velmora
