#include "inspect/ZipPackageMarks.h"

namespace velmora {

using namespace Qt::Literals::StringLiterals;

quint32 ZipMemberMark(const QString &name)
{
    if (name.endsWith(u".cdg"_s, Qt::CaseInsensitive))
        return ZIP_MARK_CDG;
    if (name.endsWith(u".mcg"_s, Qt::CaseInsensitive))
        return ZIP_MARK_MCG;
    if (name.endsWith(u".ncg"_s, Qt::CaseInsensitive))
        return ZIP_MARK_NCG;
    if (name.endsWith(u".mp3"_s, Qt::CaseInsensitive))
        return ZIP_MARK_MP3;
    return 0;
}

} // namespace velmora
