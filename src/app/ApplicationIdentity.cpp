#include "app/ApplicationIdentity.h"

#include "res/Version.h"

#include <QCoreApplication>

namespace velmora {

using namespace Qt::Literals::StringLiterals;

void NameApplication()
{
    QCoreApplication::setApplicationName(QString::fromUtf16(kApplicationTitle));
    QCoreApplication::setOrganizationName(u"Klovenix"_s);
    QCoreApplication::setApplicationVersion(QString::fromUtf16(kVersionText));
}

} // namespace velmora
