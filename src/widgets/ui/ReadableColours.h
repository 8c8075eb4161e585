#pragma once

#include <QColor>
#include <QPalette>

namespace velmora {

// The text colour, or the nearest one of its hue that can be read on the background (a
// contrast of at least 4.5:1).
QColor ReadableOn(const QColor &text, const QColor &background);

// Text that is there but cannot be used: between the text colour and its background.
QColor DisabledOn(const QColor &text, const QColor &background);

// Gives a text role the readable colour for active and inactive windows and the disabled
// colour for disabled controls, both against the background role of the same palette.
void SetTextColours(QPalette &palette, QPalette::ColorRole textRole, QPalette::ColorRole backgroundRole,
                    const QColor &text);

} // namespace velmora
