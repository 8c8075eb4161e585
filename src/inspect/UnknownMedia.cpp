#include "inspect/UnknownMedia.h"

#include "base/Format.h"

namespace velmora {

using namespace Qt::Literals::StringLiterals;

namespace {

bool EndsWithAny(const QString &ending, std::initializer_list<const char16_t *> endings)
{
    for (const char16_t *candidate : endings) {
        if (ending.compare(QStringView(candidate), Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

SUnknownMedia Labelled(const QString &label, const QString &path)
{
    return {Format(u"INFO, %s - Unknown Media %s\r\n", label, path), true, label + u" - Unknown Media"_s};
}

} // namespace

SUnknownMedia DescribeUnknownMedia(const QString &path, const QString &typeText)
{
    return DescribeUnknownMedia(path, typeText, path);
}

SUnknownMedia DescribeUnknownMedia(const QString &fullPath, const QString &typeText, const QString &path)
{
    const QString ending = fullPath.right(4);
    if (EndsWithAny(ending, {u".zip"}))
        return Labelled(u"ZIP"_s, path);
    if (EndsWithAny(ending, {u".mp3", u".wma"}))
        return Labelled(u"AUDIO"_s, path);
    if (EndsWithAny(ending, {u".avi", u".wmv"}))
        return Labelled(u"VIDEO"_s, path);
    if (EndsWithAny(ending, {u".cdg", u".mcg", u".ncg", u".pcg", u".qcg"}))
        return {Format(u"INFO, KLOV Karaoke - Unknown Media %s\r\n", path), false, {}};
    if (EndsWithAny(ending, {u".mdk", u".wrk", u".mid", u".kar"}))
        return Labelled(u"Synth"_s, path);
    return {Format(u"TYPE, '%s' Type %s\r\n", typeText, path), true, Format(u"'%s' Type", typeText)};
}

} // namespace velmora
