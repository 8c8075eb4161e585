#include "widgets/OwnMimeTypes.h"

namespace velmora {

namespace {

constexpr SOwnMimeType kOwnTypes[] = {
    {u"application/x-velmora-mpl", u"mpl", u"Velmora MPL playlist", u"audio-x-generic"},
};

} // namespace

const SOwnMimeType *OwnMimeTypeOf(const QString &path)
{
    for (const SOwnMimeType &type : kOwnTypes) {
        const QString suffix = u'.' + QString::fromUtf16(type.szSuffix);
        if (path.endsWith(suffix, Qt::CaseInsensitive))
            return &type;
    }
    return nullptr;
}

} // namespace velmora
