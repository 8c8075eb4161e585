#include "app/ApplicationLook.h"

#include "platform/Settings.h"

#include <array>

namespace velmora {

using namespace Qt::Literals::StringLiterals;

namespace {

// The framework kept its own state, the look among it, in a section of this name.
constexpr QStringView kLookKey = u"Workspace/ApplicationLook";

constexpr std::array<QStringView, 9> kLabels = {
    u"Windows &2000", u"Office &XP",   u"&Windows XP",   u"Office 200&3", u"Visual Studio.NET 200&5",
    u"&Blue Style",   u"B&lack Style", u"&Silver Style", u"&Aqua Style",
};

} // namespace

QString LookLabel(int look)
{
    if (look < kLookWindows2000 || look > kLookAqua)
        return {};
    return kLabels[size_t(look - kLookWindows2000)].toString();
}

int LoadApplicationLook()
{
    const auto settings = OpenSettings();
    bool ok = false;
    const int look = settings->value(kLookKey.toString()).toInt(&ok);
    if (ok)
        return look;
    settings->setValue(kLookKey.toString(), kDefaultLook);
    return kDefaultLook;
}

void StoreApplicationLook(int look)
{
    OpenSettings()->setValue(kLookKey.toString(), look);
}

} // namespace velmora
