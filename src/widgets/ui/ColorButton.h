#pragma once

#include <QPushButton>

namespace velmora {

// A button of the command bar, painted on the bar's light colour. Used both as a push
// button and, checkable, as the SubFolder box.
class CColorButton : public QPushButton
{
    Q_OBJECT
public:
    CColorButton(const QString &caption, QWidget *parent);
};

} // namespace velmora
