#include "update/ZipNameGuard.h"

#include "update/ZipArchive.h"

namespace velmora {

using namespace Qt::Literals::StringLiterals;

namespace {

// The length of the front part that one cleaning step drops, 0 when no step applies.
qsizetype DroppedFront(const QString &name)
{
    if (name.size() >= 2 && name.at(1) == u':')
        return 2;
    if (name.startsWith(u'\\') || name.startsWith(u'/'))
        return 1;
    for (const QString &step : {u"\\..\\"_s, u"\\../"_s, u"/../"_s, u"/..\\"_s}) {
        const qsizetype at = name.indexOf(step);
        if (at >= 0)
            return at + step.size();
    }
    // A name that starts with a parent step would otherwise keep it.
    if (name.startsWith(u"../"_s) || name.startsWith(u"..\\"_s))
        return 3;
    if (name == u".."_s)
        return 2;
    return 0;
}

} // namespace

QString CleanItemName(QString name)
{
    for (qsizetype drop = DroppedFront(name); drop > 0; drop = DroppedFront(name))
        name.remove(0, drop);
    return name;
}

QString ItemNameFromBytes(QByteArrayView stored)
{
    const qsizetype zero = stored.indexOf('\0');
    QString name = QString::fromUtf8(zero >= 0 ? stored.first(zero) : stored);
    if (name.size() > kMaxZipItemName) {
        qsizetype keep = kMaxZipItemName;
        if (name.at(keep - 1).isHighSurrogate())
            --keep;
        name.truncate(keep);
    }
    return CleanItemName(name);
}

std::optional<QStringList> ConfinedNameParts(const QString &name)
{
    QStringList parts;
    const QStringList steps = QString(name).replace(u'\\', u'/').split(u'/', Qt::SkipEmptyParts);
    for (const QString &step : steps) {
        if (step == u"."_s)
            continue;
        if (step == u".."_s) {
            if (parts.isEmpty())
                return std::nullopt;
            parts.removeLast();
            continue;
        }
        parts.append(step);
    }
    return parts;
}

} // namespace velmora
