#include "widgets/ui/ReadableColours.h"

#include "widgets/TextContrast.h"

namespace velmora {

namespace {

SRgb Rgb(const QColor &colour)
{
    return {colour.red(), colour.green(), colour.blue()};
}

QColor Colour(SRgb rgb)
{
    return QColor(rgb.r, rgb.g, rgb.b);
}

} // namespace

QColor ReadableOn(const QColor &text, const QColor &background)
{
    return Colour(ReadableColour(Rgb(text), Rgb(background)));
}

QColor DisabledOn(const QColor &text, const QColor &background)
{
    return Colour(DisabledColour(Rgb(text), Rgb(background)));
}

void SetTextColours(QPalette &palette, QPalette::ColorRole textRole, QPalette::ColorRole backgroundRole,
                    const QColor &text)
{
    for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive})
        palette.setColor(group, textRole, ReadableOn(text, palette.color(group, backgroundRole)));
    const QColor readable = palette.color(QPalette::Active, textRole);
    palette.setColor(QPalette::Disabled, textRole,
                     DisabledOn(readable, palette.color(QPalette::Disabled, backgroundRole)));
}

} // namespace velmora
