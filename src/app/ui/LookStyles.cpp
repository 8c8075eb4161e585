#include "app/ui/LookStyles.h"

#include "app/ApplicationLook.h"
#include "widgets/ui/ReadableColours.h"

#include <QApplication>
#include <QPalette>
#include <QStyle>
#include <QStyleFactory>

namespace velmora {

using namespace Qt::Literals::StringLiterals;

namespace {

struct SLookColours
{
    const char16_t *style;
    QRgb window, button, base, text, highlight; // 0 keeps the style's own palette
};

SLookColours ColoursOf(int look)
{
    switch (look) {
    case kLookWindows2000: return {u"Windows", 0, 0, 0, 0, 0};
    case kLookOfficeXp: return {u"Fusion", 0xf7f6f3, 0xefeee9, 0xffffff, 0x000000, 0x316ac5};
    case kLookWindowsXp: return {u"Fusion", 0, 0, 0, 0, 0};
    case kLookOffice2003: return {u"Fusion", 0xe3effd, 0xc4daf8, 0xffffff, 0x000000, 0x3c7fb1};
    case kLookVisualStudio2005: return {u"Fusion", 0xf0efe6, 0xeeede5, 0xffffff, 0x000000, 0x3169c6};
    case kLookBlack: return {u"Fusion", 0x353535, 0x454545, 0x252525, 0xf0f0f0, 0x5a7fbf};
    case kLookSilver: return {u"Fusion", 0xe7e8ec, 0xd8dae1, 0xffffff, 0x000000, 0x7b8593};
    case kLookAqua: return {u"Fusion", 0xe0f3f5, 0xbfe6ea, 0xffffff, 0x000000, 0x2e8b9a};
    case kLookBlue:
    default: return {u"Fusion", 0xdfe9f5, 0xc2d7f0, 0xffffff, 0x000000, 0x3d6fb5};
    }
}

// Every text role readable on its background, disabled text fainter than enabled text, and
// the highlight dark enough for white text on it.
void MakeReadable(QPalette &palette, const QColor &text)
{
    SetTextColours(palette, QPalette::WindowText, QPalette::Window, text);
    SetTextColours(palette, QPalette::Text, QPalette::Base, text);
    SetTextColours(palette, QPalette::ButtonText, QPalette::Button, text);
    for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        const QColor highlighted = palette.color(group, QPalette::HighlightedText);
        palette.setColor(group, QPalette::Highlight, ReadableOn(palette.color(group, QPalette::Highlight), highlighted));
    }
}

QPalette PaletteOf(const SLookColours &colours, const QStyle &style)
{
    QPalette palette = style.standardPalette();
    if (colours.window == 0 && colours.button == 0) {
        MakeReadable(palette, palette.color(QPalette::Active, QPalette::WindowText));
        return palette;
    }
    palette.setColor(QPalette::Window, QColor(colours.window));
    palette.setColor(QPalette::Button, QColor(colours.button));
    palette.setColor(QPalette::Base, QColor(colours.base));
    palette.setColor(QPalette::AlternateBase, QColor(colours.window));
    palette.setColor(QPalette::Highlight, QColor(colours.highlight));
    palette.setColor(QPalette::HighlightedText, Qt::white);
    MakeReadable(palette, QColor(colours.text));
    return palette;
}

} // namespace

void ApplyLookStyle(int look)
{
    const SLookColours colours = ColoursOf(look);
    QStyle *style = QStyleFactory::create(QString::fromUtf16(colours.style));
    if (!style)
        style = QStyleFactory::create(u"Fusion"_s);
    if (!style)
        return;
    QApplication::setStyle(style);
    QApplication::setPalette(PaletteOf(colours, *style));
}

} // namespace velmora
