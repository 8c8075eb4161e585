#include "widgets/ui/FileIcons.h"

#include "widgets/MimeTypeSource.h"

#include <QDir>
#include <QHash>
#include <QStandardPaths>

namespace velmora {

using namespace Qt::Literals::StringLiterals;

namespace {

QIcon IconNamed(const QString &name)
{
    QIcon icon = QIcon::fromTheme(name);
    if (icon.isNull() && name.contains(u'-'))
        icon = QIcon::fromTheme(name.section(u'-', 0, 0) + u"-x-generic"_s);
    if (icon.isNull())
        icon = QIcon::fromTheme(u"text-x-generic"_s);
    return icon;
}

} // namespace

QIcon FileIcon(int iconIndex)
{
    static QHash<int, QIcon> icons;
    const auto found = icons.constFind(iconIndex);
    if (found != icons.constEnd())
        return *found;
    const QIcon icon = IconNamed(CMimeTypeSource::IconNames().value(iconIndex));
    icons.insert(iconIndex, icon);
    return icon;
}

void ChooseIconTheme()
{
    if (!QIcon::themeName().isEmpty() && QIcon::themeName() != u"hicolor"_s)
        return;
    for (const QString &theme : {u"Adwaita"_s, u"breeze"_s, u"gnome"_s}) {
        const QString index = QStandardPaths::locate(QStandardPaths::GenericDataLocation,
                                                      u"icons/"_s + theme + u"/index.theme"_s);
        if (!index.isEmpty()) {
            QIcon::setThemeName(theme);
            return;
        }
    }
}

} // namespace velmora
