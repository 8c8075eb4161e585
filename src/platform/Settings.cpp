#include "platform/Settings.h"

namespace velmora {

using namespace Qt::Literals::StringLiterals;

std::unique_ptr<QSettings> OpenSettings()
{
    return std::make_unique<QSettings>(u"Klovenix"_s, u"Velmora"_s);
}

} // namespace velmora
