#include "widgets/ui/ColorButton.h"

#include "widgets/ui/ColorRef.h"

namespace velmora {

CColorButton::CColorButton(const QString &caption, QWidget *parent)
    : QPushButton(caption, parent)
{
    QPalette palette = this->palette();
    palette.setColor(QPalette::Button, ColorFromColorRef(kBarColour));
    setPalette(palette);
    setAutoFillBackground(true);
}

} // namespace velmora
