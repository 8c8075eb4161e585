#pragma once

#include <QDialog>

namespace velmora {

// "About Velmora": the program's icon, its name and version, and OK.
class CAboutDialog : public QDialog
{
    Q_OBJECT
public:
    explicit CAboutDialog(QWidget *parent);
};

} // namespace velmora
